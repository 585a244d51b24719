#pragma once

#include "framework/ProfileStore.h"

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// An INI file held in memory, read once and written once, with the rules the platform's profile
// functions follow per call: names match without regard to letter case, the first of duplicate
// sections and keys is the one read and written, a missing key reads as the default, surrounding
// blanks and one pair of enclosing quotes are not part of a value, a write replaces an existing
// key in place or adds it after the last line of its section (a new section goes at the end).
// Every line it does not write (comments, blank lines, keys and sections it does not know) stays
// as it was.
class IniDocument : public ProfileStore {
public:
    IniDocument() = default;
    explicit IniDocument(std::string_view text);

    // A missing or unreadable file is an empty document, as the platform's profile functions
    // read only defaults from it.
    static IniDocument Load(const CString& path);
    // Replaces the file as a whole (created when missing); false when it could not be written,
    // which leaves the file as it was.
    bool Save(const CString& path) const;

    // The file's bytes: every line ends in CR LF.
    std::string Text() const;

    int ReadInt(const char* section, const char* key, int defaultValue) const override;
    CString ReadString(const char* section, const char* key,
                       const char* defaultValue = "") const override;
    void WriteInt(const char* section, const char* key, int value) override;
    void WriteString(const char* section, const char* key, const char* value) override;

private:
    struct Line {
        std::string text;
        std::string key; // folded; empty for comments, blank lines and the header
    };
    struct Section {
        std::string name; // folded; the lines before the first header have none
        bool hasHeader = false;
        std::vector<Line> lines;
        std::unordered_map<std::string, size_t> keys; // first line of each key
    };

    const Line* FindLine(const char* section, const char* key) const;
    static void IndexLine(Section& section, size_t index);

    std::vector<Section> m_sections;
    std::unordered_map<std::string, size_t> m_sectionIndex; // first section of each name
};
