#include "TextRules.h"

#include "CFile.h"
#include "CFileException.h"
#include "CodePage.h"

#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

CString LoadTextFile(const CString& path, bool* hadNul) {
    CFile file(path, CFile::modeRead | CFile::shareDenyNone | CFile::typeBinary);
    const std::uint64_t length = file.GetLength();
    if (length > static_cast<std::uint64_t>(std::numeric_limits<int>::max() - 2))
        throw CFileException(CFileException::genericException, 0, path);
    std::string buffer(static_cast<size_t>(length), '\0');
    const size_t got = file.Read(buffer.data(), buffer.size());
    buffer.resize(got);
    file.Close();
    const size_t nul = buffer.find('\0');
    if (hadNul)
        *hadNul = nul != std::string::npos;
    if (nul != std::string::npos)
        buffer.resize(nul);
    return CString(std::move(buffer));
}

int FindMbcs(std::string_view text, std::string_view what, int start) {
    if (start < 0 || static_cast<size_t>(start) > text.size())
        return -1;
    const CodePage& codePage = CodePage::Active();
    size_t from = static_cast<size_t>(start);
    size_t boundary = from;
    bool singleByteChecked = false;
    bool singleByte = false;
    for (;;) {
        const size_t candidate = text.find(what, from);
        if (candidate == std::string_view::npos)
            return -1;
        if (!singleByteChecked) {
            singleByte = !codePage.HasLeadBytes();
            singleByteChecked = true;
        }
        if (singleByte)
            return static_cast<int>(candidate);
        while (boundary < candidate) {
            const bool pair = codePage.IsLeadByte(text[boundary]) && boundary + 1 < text.size();
            boundary += pair ? 2 : 1;
        }
        if (boundary == candidate)
            return static_cast<int>(candidate);
        from = candidate + 1;
    }
}

int ReverseFindMbcs(std::string_view text, char ch) {
    const CodePage& codePage = CodePage::Active();
    if (!codePage.HasLeadBytes()) {
        const size_t at = text.rfind(ch);
        return at == std::string_view::npos ? -1 : static_cast<int>(at);
    }
    int last = -1;
    for (size_t i = 0; i < text.size(); ++i) {
        if (codePage.IsLeadByte(text[i]) && i + 1 < text.size()) {
            ++i;
            continue;
        }
        if (text[i] == ch)
            last = static_cast<int>(i);
    }
    return last;
}

bool FindStatementLine(std::string_view text, std::string_view keyword, int start,
                       StatementLine& line) {
    const int begin = FindMbcs(text, keyword, start);
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

int ParseAtoi(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    std::uint32_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = value * 10u + static_cast<std::uint32_t>(text[i] - '0');
    if (negative)
        value = 0u - value;
    // Two's-complement reading of the 32 bits, spelled out so no conversion is
    // implementation-defined.
    return value <= 0x7FFFFFFFu ? static_cast<int>(value) : -static_cast<int>(~value) - 1;
}
