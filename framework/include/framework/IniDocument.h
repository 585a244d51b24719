#pragma once

#include "framework/ProfileStore.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

// An INI file held in memory, read once and written once, by the rules the platform's profile
// functions follow per call:
// - a file with a UTF-16 or UTF-8 mark is Unicode: its names and values are read in the ANSI code
//   page, and it is written back in its own form with its mark; any other file is ANSI text;
// - CR, LF and CR LF each end a line;
// - a line that starts with "[" is a section header when it holds a closing "]" (its name is what
//   stands before the last one); every other line with text is a key, with "=" and a value or
//   without them (then it reads as missing);
// - names match with ASCII letters folded, double-byte characters compared whole; the first of
//   duplicate sections and keys is the one read and written; blanks around names and values, and
//   one pair of enclosing quotes around a value, are not part of them;
// - a write replaces an existing key's line or adds the key after the last line of its section
//   that is not blank (a new section goes at the end).
// Every line that is not written keeps its bytes and its line end.
class IniDocument : public ProfileStore {
public:
    IniDocument() = default;
    // The bytes of the file.
    explicit IniDocument(std::string_view bytes);

    // A missing file is an empty document. A file that is there but cannot be read (a sync
    // client, an editor or a virus scanner may hold it for a moment) is tried again for about a
    // second, then given up with CFileException.
    static IniDocument Load(const CString& path);
    // Writes the whole file (created when missing); CFileException when it cannot, which leaves
    // the file as it was.
    void Save(const CString& path) const;

    // The bytes of the file.
    std::string Text() const;

    int ReadInt(const char* section, const char* key, int defaultValue) const override;
    CString ReadString(const char* section, const char* key,
                       const char* defaultValue = "") const override;
    void WriteInt(const char* section, const char* key, int value) override;
    void WriteString(const char* section, const char* key, const char* value) override;
    std::vector<CString> SectionNames() const override;

    // How long a read waits for another program to let go of the file.
    static constexpr int kReadPatienceMilliseconds = 1000;

private:
    enum class Form : std::uint8_t { ansi, utf8, utf16le, utf16be };
    enum class End : std::uint8_t { none, crlf, lf, cr };

    struct Line {
        Line(std::string text_, std::string bytes_, End end_)
            : text(std::move(text_)), bytes(std::move(bytes_)), end(end_) {}

        std::string text; // in the ANSI code page, without its end
        // The file's own bytes of the text, for a Unicode file's line that was not written.
        std::string bytes;
        End end = End::none;
        bool isKey = false;
        bool hasValue = false;
        bool written = false;
        std::string key; // folded
    };
    struct Section {
        std::string name; // as spelled; the lines before the first header have none
        bool hasHeader = false;
        std::vector<Line> lines;
        std::unordered_map<std::string, size_t> keys; // first line of each key
    };

    void AddLine(std::string text, std::string bytes, End end);
    const Line* FindLine(const char* section, const char* key) const;
    Section& SectionToWrite(const char* name);
    // Gives the document's last line an end before a line is added after it.
    void EndLastLine();
    std::string Encoded(std::string_view ansi) const;

    Form m_form = Form::ansi;
    std::string m_mark;
    // A last odd byte of a UTF-16 file, kept as it was.
    std::string m_oddByte;
    // The end the file's lines have (its first line's), for the lines added.
    End m_newLineEnd = End::crlf;
    std::vector<Section> m_sections;
    std::unordered_map<std::string, size_t> m_sectionIndex; // first section of each name
};
