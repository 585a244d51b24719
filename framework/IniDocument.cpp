#include "framework/IniDocument.h"

#include "framework/AtomicFileWriter.h"
#include "framework/CFile.h"
#include "framework/CFileException.h"
#include "framework/CodePage.h"
#include "framework/IntegerText.h"

namespace {
constexpr std::string_view kBlanks = " \t";

std::string_view Trimmed(std::string_view text) {
    const size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

// "[NAME]" gives NAME; false for any other line.
bool SectionHeader(std::string_view line, std::string_view& name) {
    line = Trimmed(line);
    if (line.empty() || line.front() != '[')
        return false;
    const size_t close = line.find(']');
    name = Trimmed(line.substr(1, close == std::string_view::npos ? line.size() - 1 : close - 1));
    return true;
}

// The key of a "key=value" line, or false for comments and lines without "=".
bool KeyOf(std::string_view line, std::string_view& key, std::string_view* value = nullptr) {
    const std::string_view trimmed = Trimmed(line);
    if (trimmed.empty() || trimmed.front() == ';')
        return false;
    const size_t equals = trimmed.find('=');
    if (equals == std::string_view::npos)
        return false;
    key = Trimmed(trimmed.substr(0, equals));
    if (value)
        *value = Trimmed(trimmed.substr(equals + 1));
    return !key.empty();
}

} // namespace

IniDocument::IniDocument(std::string_view text) {
    m_sections.emplace_back();
    while (!text.empty()) {
        size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        std::string_view name;
        if (SectionHeader(line, name)) {
            Section section;
            section.name = FoldCaseMbcs(name);
            section.hasHeader = true;
            m_sectionIndex.emplace(section.name, m_sections.size());
            m_sections.push_back(std::move(section));
        }
        Section& section = m_sections.back();
        section.lines.push_back(Line{std::string(line), {}});
        if (section.lines.size() > 1 || !section.hasHeader)
            IndexLine(section, section.lines.size() - 1);
    }
}

void IniDocument::IndexLine(Section& section, size_t index) {
    std::string_view key;
    if (!KeyOf(section.lines[index].text, key))
        return;
    section.lines[index].key = FoldCaseMbcs(key);
    section.keys.emplace(section.lines[index].key, index);
}

IniDocument IniDocument::Load(const CString& path) {
    try {
        CFile file(path, CFile::modeRead | CFile::shareDenyNone | CFile::typeBinary);
        std::string bytes(static_cast<size_t>(file.GetLength()), '\0');
        bytes.resize(bytes.empty() ? 0 : file.Read(bytes.data(), bytes.size()));
        return IniDocument(bytes);
    } catch (const CFileException&) {
        return IniDocument();
    }
}

bool IniDocument::Save(const CString& path) const {
    try {
        AtomicFileWriter::ReplaceContents(path, Text());
        return true;
    } catch (const CFileException&) {
        return false;
    }
}

std::string IniDocument::Text() const {
    std::string text;
    for (const Section& section : m_sections) {
        for (const Line& line : section.lines) {
            text += line.text;
            text += "\r\n";
        }
    }
    return text;
}

const IniDocument::Line* IniDocument::FindLine(const char* section, const char* key) const {
    const auto found = m_sectionIndex.find(FoldCaseMbcs(section));
    if (found == m_sectionIndex.end())
        return nullptr;
    const Section& lines = m_sections[found->second];
    const auto line = lines.keys.find(FoldCaseMbcs(key));
    return line == lines.keys.end() ? nullptr : &lines.lines[line->second];
}

CString IniDocument::ReadString(const char* section, const char* key,
                                const char* defaultValue) const {
    const Line* line = FindLine(section, key);
    if (!line)
        return CString(defaultValue);
    std::string_view name;
    std::string_view value;
    KeyOf(line->text, name, &value);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return CString(value);
}

int IniDocument::ReadInt(const char* section, const char* key, int defaultValue) const {
    const Line* line = FindLine(section, key);
    if (!line)
        return defaultValue;
    const CString value = ReadString(section, key);
    return value.IsEmpty() ? defaultValue : ParseAtoi(value.View());
}

void IniDocument::WriteString(const char* section, const char* key, const char* value) {
    const std::string sectionName = FoldCaseMbcs(section);
    auto found = m_sectionIndex.find(sectionName);
    if (found == m_sectionIndex.end()) {
        Section added;
        added.name = sectionName;
        added.hasHeader = true;
        std::string header = "[";
        header += section;
        header += ']';
        added.lines.push_back(Line{std::move(header), {}});
        found = m_sectionIndex.emplace(sectionName, m_sections.size()).first;
        m_sections.push_back(std::move(added));
    }
    Section& target = m_sections[found->second];
    const std::string text = std::string(key) + "=" + value;
    const auto line = target.keys.find(FoldCaseMbcs(key));
    if (line != target.keys.end()) {
        // The key keeps the letter case it had in the file; only the value changes.
        std::string_view name;
        KeyOf(target.lines[line->second].text, name);
        target.lines[line->second].text = std::string(name) + "=" + value;
        return;
    }
    // After the section's last line that is not blank, so blank lines before the next section
    // stay where they are.
    size_t at = target.lines.size();
    while (at > 1 && Trimmed(target.lines[at - 1].text).empty())
        --at;
    if (at < target.lines.size()) {
        for (auto& [name, index] : target.keys)
            if (index >= at)
                ++index;
    }
    target.lines.insert(target.lines.begin() + static_cast<std::ptrdiff_t>(at),
                        Line{text, FoldCaseMbcs(key)});
    target.keys.emplace(target.lines[at].key, at);
}

void IniDocument::WriteInt(const char* section, const char* key, int value) {
    WriteString(section, key, std::to_string(value).c_str());
}
