#pragma once

#include "base/CString.h"
#include "base/Expected.h"
#include "base/Unicode.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

// An INI file held in memory, read once and written once, by the rules the platform's profile
// functions follow per call. Every line that is not written keeps its bytes and its line end.
class IniDocument {
public:
    IniDocument() = default;
    // A document of a file's content, as it was read.
    explicit IniDocument(std::string_view bytes);

    // A missing file is an empty document. A file that is there but cannot be read is tried again
    // for about a second before the failure is given.
    static Expected<IniDocument> Load(const CString& path);
    // Writes the whole file, created when missing; a failure leaves the file as it was.
    Expected<void> Save(const CString& path) const;

    // What the file holds now: the lines as read, changed where written.
    std::string Text() const;

    // Names match without regard to ASCII letter case; a missing key reads as the default.
    int ReadInt(const char* section, const char* key, int defaultValue) const;
    CString ReadString(const char* section, const char* key, const char* defaultValue = "") const;
    void WriteInt(const char* section, const char* key, int value);
    void WriteString(const char* section, const char* key, const char* value);
    // The names of the sections there are, in their order, as they are spelled.
    std::vector<CString> SectionNames() const;

    // How long a read waits for another program to let go of the file.
    static constexpr int kReadPatienceMilliseconds = 1000;

private:
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

    TextForm m_form = TextForm::ansi;
    // A last odd byte of a UTF-16 file, kept as it was.
    std::string m_oddByte;
    // The end the file's lines have (its first line's), for the lines added.
    End m_newLineEnd = End::crlf;
    std::vector<Section> m_sections;
    std::unordered_map<std::string, size_t> m_sectionIndex; // first section of each name
};
