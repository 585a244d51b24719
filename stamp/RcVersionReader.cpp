#include "stamp/RcVersionReader.h"

#include "framework/CFileException.h"
#include "stamp/StringTokenizer.h"
#include "stamp/TextRules.h"

namespace {
void SetFailure(CString* failure, const char* reason) {
    if (failure)
        *failure = reason;
}
} // namespace

BOOL ParseRcVersion(const CString& text, int& major, int& minor, int& sub, int& build,
                    CString* failure) {
    major = minor = sub = build = 0;
    const int block = FindMbcs(text.View(), "VS_VERSION_INFO", 0);
    if (block < 0) {
        SetFailure(failure, "no VS_VERSION_INFO resource");
        return FALSE;
    }
    StatementLine line;
    if (!FindStatementLine(text.View(), "FILEVERSION", block, line)) {
        SetFailure(failure, "no FILEVERSION statement ending in CR LF after VS_VERSION_INFO");
        return FALSE;
    }
    // A TAB is deliberately not a delimiter.
    StringTokenizer tokens(text.Mid(line.begin, line.end - line.begin), " ,\r\n");
    if (tokens.PeekToken().IsEmpty()) {
        SetFailure(failure, "empty FILEVERSION statement");
        return FALSE;
    }
    tokens.NextToken(); // the keyword itself
    for (int* number : {&major, &minor, &sub}) {
        if (tokens.PeekToken().IsEmpty()) {
            SetFailure(failure, "FILEVERSION statement does not hold four numbers");
            return FALSE;
        }
        *number = ParseAtoi(tokens.NextToken().View());
    }
    if (!tokens.HasMoreTokens()) {
        SetFailure(failure, "FILEVERSION statement does not hold four numbers");
        return FALSE;
    }
    build = ParseAtoi(tokens.NextToken().View());
    return TRUE;
}

BOOL ReadRcVersion(const CString& path, int& major, int& minor, int& sub, int& build,
                   CString* failure) {
    CString text;
    try {
        text = LoadTextFile(path);
    } catch (const CFileException& error) {
        if (failure)
            *failure = CString("cannot read the script: ") + error.Describe();
        return FALSE;
    }
    return ParseRcVersion(text, major, minor, sub, build, failure);
}
