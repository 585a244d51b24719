#pragma once

#include "base/CString.h"
#include "base/CodePage.h"
#include "base/Expected.h"
#include "base/IntegerText.h"

#include <string_view>

// The rules every reader and writer of scripts and history files shares.

// The characters of a C name, as the resource compiler's preprocessor reads one: a letter or
// "_" first, then letters, digits and "_".
bool IsNameStart(char ch);
bool IsNameCharacter(char ch);
// Decimal digits and nothing else.
bool IsDecimal(std::string_view token);

// Without the blanks and TABs around it.
std::string_view TrimBlanks(std::string_view text);

// The script's bytes as they are; a failure says "cannot read the script".
Expected<CString> ReadScript(const CString& path);

// The statement line of a keyword: from its first occurrence at or after start up to, not
// including, the first CR after it. begin is -1 when the keyword is missing, end -1 when no CR
// follows it.
struct StatementLine {
    int begin = -1;
    int end = -1;

    bool IsWhole() const { return end >= 0; }
    std::string_view In(std::string_view text) const {
        return text.substr(static_cast<size_t>(begin), static_cast<size_t>(end - begin));
    }
};
StatementLine FindStatementLine(std::string_view text, std::string_view keyword, int start,
                                const CodePage& rule = CodePage::Active());

// Where the version resource begins: the first "VS_VERSION_INFO", or else the first VERSIONINFO
// keyword that stands as a resource statement ("1 VERSIONINFO"); -1 when there is neither.
int FindVersionBlock(std::string_view text, const CodePage& rule);
inline constexpr char kNoVersionResource[] =
    "no version resource (VS_VERSION_INFO, or a statement such as 1 VERSIONINFO)";
