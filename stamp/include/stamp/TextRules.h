#pragma once

#include "framework/CString.h"
#include "framework/IntegerText.h"
#include "framework/CodePage.h"

#include <string_view>

// The rules every reader and writer of scripts and history files shares: how a file becomes text,
// how a keyword is found, what a statement line is.

// Loads the whole file. The text ends at the first NUL byte, as a C string would; *hadNul tells
// whether the file held one (so a writer can refuse to shorten it). Throws CFileException.
CString LoadTextFile(const CString& path, bool* hadNul = nullptr);

// Loads the whole file as it is, NUL bytes included, for a reader that tells the encoding first.
// Throws CFileException.
CString LoadFileBytes(const CString& path);

// First occurrence of what at or after start (start must lie on a character boundary), never
// beginning on the second byte of a double-byte character of the rule (the active code page unless
// the text is in another encoding); -1 if none.
int FindMbcs(std::string_view text, std::string_view what, int start = 0,
             const CodePage& rule = CodePage::Active());

// The statement line of a keyword: from the keyword's first occurrence at or after start up to,
// not including, the first CR after it. False when the keyword or the CR is missing.
struct StatementLine {
    int begin = -1;
    int end = -1;
};
bool FindStatementLine(std::string_view text, std::string_view keyword, int start,
                       StatementLine& line, const CodePage& rule = CodePage::Active());

// Where the version resource begins: the first "VS_VERSION_INFO", or, in a script without one, the
// first VERSIONINFO keyword that stands as a resource statement, its line holding only blanks and
// one name before it ("1 VERSIONINFO", as hand-written and MinGW scripts name it) and a blank, a
// line end or the end of the text after it. -1 when there is neither.
int FindVersionBlock(std::string_view text, const CodePage& rule);
inline constexpr char kNoVersionResource[] =
    "no version resource (VS_VERSION_INFO, or a statement such as 1 VERSIONINFO)";

// Whether ParseAtoi reads digits in the token: after the blanks it skips and an optional sign comes
// a decimal digit. A macro name, a quoted number or a comment word is not a number, and must be
// neither read as 0 nor overwritten.
bool IsNumberToken(std::string_view token);
