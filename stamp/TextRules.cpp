#include "stamp/TextRules.h"

#include "framework/CFile.h"
#include "framework/CFileException.h"
#include "framework/CodePage.h"

#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

CString LoadFileBytes(const CString& path) {
    CFile file(path, CFile::modeRead | CFile::shareDenyNone | CFile::typeBinary);
    const std::uint64_t length = file.GetLength();
    if (length > static_cast<std::uint64_t>(std::numeric_limits<int>::max() - 2))
        throw CFileException(CFileException::genericException, 0, path);
    std::string buffer(static_cast<size_t>(length), '\0');
    const size_t got = file.Read(buffer.data(), buffer.size());
    buffer.resize(got);
    file.Close();
    return CString(std::move(buffer));
}

CString LoadTextFile(const CString& path, bool* hadNul) {
    std::string buffer = std::move(LoadFileBytes(path).Str());
    const size_t nul = buffer.find('\0');
    if (hadNul)
        *hadNul = nul != std::string::npos;
    if (nul != std::string::npos)
        buffer.resize(nul);
    return CString(std::move(buffer));
}

int FindMbcs(std::string_view text, std::string_view what, int start, const CodePage& codePage) {
    if (start < 0 || static_cast<size_t>(start) > text.size())
        return -1;
    const bool singleByte = !codePage.HasLeadBytes();
    const size_t floor = static_cast<size_t>(start);
    for (size_t from = floor;;) {
        const size_t candidate = text.find(what, from);
        if (candidate == std::string_view::npos)
            return -1;
        if (singleByte)
            return static_cast<int>(candidate);
        // The byte before the nearest non-lead byte ends a character, so a character starts right
        // after it; from there the lead bytes pair up. An odd count of lead bytes just before the
        // candidate means it is the second byte of a pair. This looks back a few bytes instead of
        // walking the whole text from its start.
        size_t leads = 0;
        while (candidate - leads > floor && codePage.IsLeadByte(text[candidate - leads - 1]))
            ++leads;
        if (leads % 2 == 0)
            return static_cast<int>(candidate);
        from = candidate + 1;
    }
}

bool FindStatementLine(std::string_view text, std::string_view keyword, int start,
                       StatementLine& line, const CodePage& rule) {
    const int begin = FindMbcs(text, keyword, start, rule);
    if (begin < 0)
        return false;
    // A CR is never part of a double-byte character, so a plain byte search finds the line end.
    const size_t cr = text.find('\r', static_cast<size_t>(begin));
    if (cr == std::string_view::npos)
        return false;
    line.begin = begin;
    line.end = static_cast<int>(cr);
    return true;
}

int FindVersionBlock(std::string_view text, const CodePage& rule) {
    const int named = FindMbcs(text, "VS_VERSION_INFO", 0, rule);
    if (named >= 0)
        return named;
    constexpr std::string_view kKeyword = "VERSIONINFO";
    const auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    const auto isNameCharacter = [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
               c == '_';
    };
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
        while (i > 0 && isNameCharacter(text[i - 1]))
            --i, ++name;
        while (i > 0 && isBlank(text[i - 1]))
            --i;
        if (blanks > 0 && name > 0 && (i == 0 || text[i - 1] == '\r' || text[i - 1] == '\n'))
            return at;
    }
    return -1;
}

bool IsNumberToken(std::string_view token) {
    // The white space atoi skips: blank, TAB, LF, VT, FF and CR.
    size_t i = 0;
    while (i < token.size() && (token[i] == ' ' || (token[i] >= '\t' && token[i] <= '\r')))
        ++i;
    if (i < token.size() && (token[i] == '+' || token[i] == '-'))
        ++i;
    return i < token.size() && token[i] >= '0' && token[i] <= '9';
}
