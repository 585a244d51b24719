#include "stamp/TextRules.h"

#include "base/CFile.h"

bool IsNameStart(char ch) {
    return (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') || ch == '_';
}

bool IsNameCharacter(char ch) {
    return IsNameStart(ch) || ScanDigits(std::string_view(&ch, 1)).length == 1;
}

bool IsDecimal(std::string_view token) {
    return !token.empty() && ScanDigits(token).length == token.size();
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

Expected<CString> ReadScript(const CString& path) {
    const Expected<CString> bytes = ReadWholeFile(path);
    if (!bytes)
        return bytes.Error().Prefixed("cannot read the script: ");
    return bytes;
}

StatementLine FindStatementLine(std::string_view text, std::string_view keyword, int start,
                                const CodePage& rule) {
    StatementLine line;
    line.begin = FindMbcs(text, keyword, start, rule);
    if (line.begin < 0)
        return line;
    // A CR is never part of a double-byte character, so a plain byte search finds the line end.
    const size_t cr = text.find('\r', static_cast<size_t>(line.begin));
    if (cr != std::string_view::npos)
        line.end = static_cast<int>(cr);
    return line;
}

// A script without VS_VERSION_INFO names its resource otherwise ("1 VERSIONINFO", as hand-written
// and MinGW scripts do): the keyword counts when its line holds only blanks and one name before
// it, and a blank, a line end or the end of the text follows it.
int FindVersionBlock(std::string_view text, const CodePage& rule) {
    const int named = FindMbcs(text, "VS_VERSION_INFO", 0, rule);
    if (named >= 0)
        return named;
    constexpr std::string_view kKeyword = "VERSIONINFO";
    const auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    for (int at = FindMbcs(text, kKeyword, 0, rule); at >= 0;
         at = FindMbcs(text, kKeyword, at + static_cast<int>(kKeyword.size()), rule)) {
        const size_t end = static_cast<size_t>(at) + kKeyword.size();
        if (end < text.size() && !isBlank(text[end]) && text[end] != '\r' && text[end] != '\n')
            continue;
        // Back over the blanks and the name to the start of the line; CR and LF are never the
        // second byte of a double-byte character.
        size_t i = static_cast<size_t>(at);
        size_t blanks = 0;
        while (i > 0 && isBlank(text[i - 1]))
            --i, ++blanks;
        size_t name = 0;
        while (i > 0 && IsNameCharacter(text[i - 1]))
            --i, ++name;
        while (i > 0 && isBlank(text[i - 1]))
            --i;
        if (blanks > 0 && name > 0 && (i == 0 || text[i - 1] == '\r' || text[i - 1] == '\n'))
            return at;
    }
    return -1;
}
