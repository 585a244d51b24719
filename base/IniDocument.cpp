#include "base/IniDocument.h"

#include "base/AnsiText.h"
#include "base/AtomicFileWriter.h"
#include "base/CFile.h"
#include "base/CFileException.h"
#include "base/CodePage.h"
#include "base/IntegerText.h"
#include "base/Unicode.h"
#include "base/Utf16Codec.h"

#include <chrono>
#include <optional>
#include <thread>

// The rules of the platform's profile functions, which a user's hand-edited file was made for:
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

namespace {
// How many characters the program reads a string into, and the profile functions a number.
constexpr size_t kStringBuffer = 4096;
constexpr size_t kNumberBuffer = 30;

// The profile functions' blanks: ^Z, the end of a DOS text file, among them.
bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r' || c == '\n' || c == '\x1A';
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

size_t CharacterWidth(std::string_view text, size_t at) {
    return CodePage::Active().IsLeadByte(text[at]) && at + 1 < text.size() ? 2 : 1;
}

// A name as names match: without its blanks, ASCII letters in lower case; the second byte of a
// double-byte character is never folded, and full-width letters stay as they are.
std::string Folded(std::string_view name) {
    std::string folded(Trimmed(name));
    for (size_t i = 0; i < folded.size(); i += CharacterWidth(folded, i)) {
        if (folded[i] >= 'A' && folded[i] <= 'Z')
            folded[i] = static_cast<char>(folded[i] - 'A' + 'a');
    }
    return folded;
}

// "[NAME]" gives NAME; the name ends at the last "]" that is a character of its own. False for
// any other line.
bool SectionHeader(std::string_view line, std::string_view& name) {
    line = Trimmed(line);
    if (line.empty() || line.front() != '[')
        return false;
    size_t close = std::string_view::npos;
    for (size_t i = 1; i < line.size(); i += CharacterWidth(line, i)) {
        if (line[i] == ']')
            close = i;
    }
    if (close == std::string_view::npos)
        return false;
    name = Trimmed(line.substr(1, close - 1));
    return true;
}

struct KeyLine {
    std::string_view key;
    std::string_view value;
    bool hasValue = false;
};

// Any line with text that is not a header is a key, with or without "=" and a value.
bool ParseKey(std::string_view line, KeyLine& parsed) {
    const std::string_view text = Trimmed(line);
    if (text.empty())
        return false;
    const size_t equals = text.find('=');
    parsed.hasValue = equals != std::string_view::npos;
    parsed.key = Trimmed(text.substr(0, equals));
    parsed.value = parsed.hasValue ? Trimmed(text.substr(equals + 1)) : std::string_view();
    return true;
}

// What the profile functions hand over of a value for a buffer of that many characters: up to its
// first NUL, one pair of enclosing quotes taken off when the value fits, cut to the buffer.
std::string_view Entry(std::string_view value, size_t bufferCharacters) {
    value = value.substr(0, value.find('\0'));
    const bool quoted = value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                        value.back() == value.front();
    if (quoted)
        value.remove_prefix(1);
    size_t characters = 0;
    size_t fits = 0;
    size_t last = 0; // where the last character that fits starts
    for (size_t i = 0; i < value.size(); i += CharacterWidth(value, i), ++characters) {
        if (characters + 1 < bufferCharacters) {
            last = i;
            fits = i + CharacterWidth(value, i);
        }
    }
    value = value.substr(0, fits);
    // As the platform does it: the closing quote goes, or, when only the quote did not fit, the
    // character before it.
    if (quoted && bufferCharacters >= characters && !value.empty())
        value = value.substr(0, last);
    return value;
}

// A number as the profile functions read it: blanks and a sign may lead, "0x", "0o" and "0b" make
// it hexadecimal, octal or binary, it ends at the first character that is not a digit, and the
// digits are summed modulo 2^32.
int ProfileInteger(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && static_cast<unsigned char>(text[i]) <= ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    unsigned base = 10;
    if (i + 1 < text.size() && text[i] == '0') {
        const char prefix = text[i + 1];
        base = prefix == 'x' ? 16 : prefix == 'o' ? 8 : prefix == 'b' ? 2 : 10;
        if (base != 10)
            i += 2;
    }
    return ScanDigits(text.substr(i), base).Signed(negative);
}

// Calls add(start, end, lineEnd) for each line of the text, in units of its characters.
template <typename Unit, typename Add> void SplitLines(std::basic_string_view<Unit> text, Add add) {
    size_t start = 0;
    while (start < text.size()) {
        size_t end = start;
        while (end < text.size() && text[end] != Unit('\r') && text[end] != Unit('\n'))
            ++end;
        size_t next = end + 1;
        int kind = 0; // none
        if (end < text.size()) {
            const bool crlf =
                text[end] == Unit('\r') && end + 1 < text.size() && text[end + 1] == Unit('\n');
            kind = crlf ? 1 : text[end] == Unit('\n') ? 2 : 3;
            next = crlf ? end + 2 : end + 1;
        }
        add(start, end, kind);
        start = next;
    }
}

const char* const kEnds[] = {"", "\r\n", "\n", "\r"};

Expected<void> WriteInPlace(const CString& path, std::string_view bytes, const Failure& refused) {
    std::optional<CFile> file;
    // Not even opened: the safe way's reason is the one to tell.
    if (!FileCall([&] {
            file.emplace(path, CFile::modeWrite | CFile::modeCreate | CFile::shareDenyWrite);
        }))
        return refused;
    return FileCall([&] {
        file->Write(bytes.data(), bytes.size());
        file->Flush();
    });
}
} // namespace

IniDocument::IniDocument(std::string_view bytes) : m_form(FormOfMark(bytes)) {
    m_sections.emplace_back();
    const std::string_view body = bytes.substr(MarkOf(m_form).size());
    bool endSeen = false;
    auto add = [&](std::string text, std::string_view original, int end) {
        if (end != 0 && !endSeen) {
            m_newLineEnd = static_cast<End>(end);
            endSeen = true;
        }
        AddLine(std::move(text), std::string(original), static_cast<End>(end));
    };
    if (m_form == TextForm::ansi) {
        SplitLines(body, [&](size_t start, size_t end, int kind) {
            add(std::string(body.substr(start, end - start)), {}, kind);
        });
    } else if (m_form == TextForm::utf8) {
        SplitLines(body, [&](size_t start, size_t end, int kind) {
            const std::string_view original = body.substr(start, end - start);
            add(Utf8ToAnsi(original), original, kind);
        });
    } else {
        m_oddByte = body.substr(body.size() / 2 * 2);
        const std::u16string text = Utf16Units(body, m_form == TextForm::utf16be);
        SplitLines(std::u16string_view(text), [&](size_t start, size_t end, int kind) {
            add(Utf16ToAnsi(std::u16string_view(text).substr(start, end - start)),
                body.substr(2 * start, 2 * (end - start)), kind);
        });
    }
}

void IniDocument::AddLine(std::string text, std::string bytes, End end) {
    Line line{std::move(text), std::move(bytes), end};
    std::string_view name;
    if (SectionHeader(line.text, name)) {
        Section section;
        section.name = name;
        section.hasHeader = true;
        // A section without a name is never found, as by the profile functions.
        if (!section.name.empty())
            m_sectionIndex.emplace(Folded(name), m_sections.size());
        section.lines.push_back(std::move(line));
        m_sections.push_back(std::move(section));
        return;
    }
    Section& section = m_sections.back();
    KeyLine parsed;
    if (ParseKey(line.text, parsed)) {
        line.isKey = true;
        line.hasValue = parsed.hasValue;
        line.key = Folded(parsed.key);
        section.keys.emplace(line.key, section.lines.size());
    }
    section.lines.push_back(std::move(line));
}

Expected<IniDocument> IniDocument::Load(const CString& path) {
    // A sync client, an editor or a virus scanner may hold the file for a moment.
    const int retries = kReadPatienceMilliseconds / AtomicFileWriter::kShareRetryMilliseconds;
    for (int attempt = 0;; ++attempt) {
        const Expected<CString> bytes = ReadWholeFile(path);
        if (bytes)
            return IniDocument(bytes->View());
        const CFileException::Cause cause = bytes.Error().cause;
        if (cause == CFileException::fileNotFound || cause == CFileException::badPath)
            return IniDocument();
        if (attempt >= retries)
            return bytes.Error();
        std::this_thread::sleep_for(
            std::chrono::milliseconds(AtomicFileWriter::kShareRetryMilliseconds));
    }
}

Expected<void> IniDocument::Save(const CString& path) const {
    const std::string bytes = Text();
    const Expected<void> replaced = AtomicFileWriter::ReplaceContents(path, bytes);
    // A folder that takes no new file has no room for the temporary file; the file itself may
    // still be written in place, as the platform's profile functions always write it. A read-only
    // or locked file refuses that way too, and then its own reason is told.
    if (replaced || replaced.Error().cause != CFileException::accessDenied ||
        !CFile::Exists(path) || CFile::IsReadOnly(path))
        return replaced;
    return WriteInPlace(path, bytes, replaced.Error());
}

std::string IniDocument::Encoded(std::string_view ansi) const {
    switch (m_form) {
    case TextForm::ansi:
        return std::string(ansi);
    case TextForm::utf8:
        return AnsiToUtf8(ansi);
    case TextForm::utf16le:
    case TextForm::utf16be:
        break;
    }
    return Utf16Bytes(AnsiToUtf16(ansi), m_form == TextForm::utf16be);
}

std::string IniDocument::Text() const {
    std::string text(MarkOf(m_form));
    for (const Section& section : m_sections) {
        for (const Line& line : section.lines) {
            text += m_form == TextForm::ansi || line.written ? Encoded(line.text) : line.bytes;
            text += Encoded(kEnds[static_cast<int>(line.end)]);
        }
    }
    return text + m_oddByte;
}

std::vector<CString> IniDocument::SectionNames() const {
    std::vector<CString> names;
    for (const Section& section : m_sections) {
        if (section.hasHeader)
            names.emplace_back(section.name);
    }
    return names;
}

const IniDocument::Line* IniDocument::FindLine(const char* section, const char* key) const {
    const auto found = m_sectionIndex.find(Folded(section));
    if (found == m_sectionIndex.end())
        return nullptr;
    const Section& lines = m_sections[found->second];
    const auto line = lines.keys.find(Folded(key));
    return line == lines.keys.end() ? nullptr : &lines.lines[line->second];
}

CString IniDocument::ReadString(const char* section, const char* key,
                                const char* defaultValue) const {
    const Line* line = FindLine(section, key);
    if (!line || !line->hasValue)
        return CString(defaultValue);
    KeyLine parsed;
    ParseKey(line->text, parsed);
    const std::string_view entry = Entry(parsed.value, kStringBuffer);
    return CString(entry.substr(
        0, static_cast<size_t>(FitWholeCharacters(entry, static_cast<int>(kStringBuffer) - 1))));
}

int IniDocument::ReadInt(const char* section, const char* key, int defaultValue) const {
    const Line* line = FindLine(section, key);
    if (!line || !line->hasValue)
        return defaultValue;
    KeyLine parsed;
    ParseKey(line->text, parsed);
    const std::string_view entry = Entry(parsed.value, kNumberBuffer);
    return entry.empty() ? defaultValue : ProfileInteger(entry);
}

void IniDocument::EndLastLine() {
    for (auto section = m_sections.rbegin(); section != m_sections.rend(); ++section) {
        if (section->lines.empty())
            continue;
        Line& last = section->lines.back();
        if (last.end == End::none)
            last.end = m_newLineEnd;
        return;
    }
}

IniDocument::Section& IniDocument::SectionToWrite(const char* name) {
    const std::string folded = Folded(name);
    const auto found = m_sectionIndex.find(folded);
    if (found != m_sectionIndex.end())
        return m_sections[found->second];
    EndLastLine();
    Section added;
    added.name = name;
    added.hasHeader = true;
    added.lines.push_back(Line{"[" + added.name + "]", {}, m_newLineEnd});
    added.lines.back().written = true;
    m_sectionIndex.emplace(folded, m_sections.size());
    m_sections.push_back(std::move(added));
    return m_sections.back();
}

void IniDocument::WriteString(const char* section, const char* key, const char* value) {
    // The profile functions store a value without the blanks before it.
    std::string_view text = value;
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    Section& target = SectionToWrite(section);
    const std::string folded = Folded(key);
    const auto existing = target.keys.find(folded);
    if (existing != target.keys.end()) {
        // The key keeps its spelling in the file; only the value changes.
        Line& line = target.lines[existing->second];
        KeyLine parsed;
        ParseKey(line.text, parsed);
        line.text = std::string(parsed.key) + "=" + std::string(text);
        line.hasValue = true;
        line.written = true;
        line.bytes.clear();
        return;
    }
    // After the section's last line that is not blank, so blank lines before the next section
    // stay where they are.
    size_t at = target.lines.size();
    while (at > 1 && Trimmed(target.lines[at - 1].text).empty())
        --at;
    if (at == target.lines.size() && &target == &m_sections.back())
        EndLastLine();
    for (auto& [name, index] : target.keys) {
        if (index >= at)
            ++index;
    }
    Line line{std::string(key) + "=" + std::string(text), {}, m_newLineEnd};
    line.isKey = line.hasValue = line.written = true;
    line.key = folded;
    target.lines.insert(target.lines.begin() + static_cast<std::ptrdiff_t>(at), std::move(line));
    target.keys.emplace(folded, at);
}

void IniDocument::WriteInt(const char* section, const char* key, int value) {
    WriteString(section, key, std::to_string(value).c_str());
}
