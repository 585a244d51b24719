#include "stamp/RcVersionReader.h"

#include "framework/CFileException.h"
#include "stamp/ScriptEncoding.h"
#include "stamp/StringTokenizer.h"
#include "stamp/TextRules.h"

namespace {
void SetFailure(CString* failure, const CString& reason) {
    if (failure)
        *failure = reason;
}

BOOL ParseText(const ScriptEncoding& script, VersionNumber& version, CString* failure) {
    const std::string_view text = script.Text();
    const int block = FindMbcs(text, "VS_VERSION_INFO", 0, script.SearchRule());
    if (block < 0) {
        SetFailure(failure, "no VS_VERSION_INFO resource");
        return FALSE;
    }
    StatementLine line;
    if (!FindStatementLine(text, "FILEVERSION", block, line, script.SearchRule())) {
        SetFailure(failure, "no FILEVERSION statement ending in CR LF after VS_VERSION_INFO");
        return FALSE;
    }
    // A TAB is deliberately not a delimiter.
    StringTokenizer tokens(CString(text.substr(static_cast<size_t>(line.begin),
                                               static_cast<size_t>(line.end - line.begin))),
                           " ,\r\n");
    if (tokens.PeekToken().IsEmpty()) {
        SetFailure(failure, "empty FILEVERSION statement");
        return FALSE;
    }
    tokens.NextToken(); // the keyword itself
    for (int* number : {&version.major, &version.minor, &version.sub, &version.build}) {
        if (!tokens.HasMoreTokens()) {
            SetFailure(failure, "FILEVERSION statement does not hold four numbers");
            return FALSE;
        }
        const CString token = tokens.NextToken();
        // A macro such as VER_MAJOR would read as 0, and the rewrite would then replace the
        // project's version definitions with that 0.
        if (!IsNumberToken(token.View())) {
            SetFailure(failure,
                       "FILEVERSION holds " + script.ForMessage(token.View()) + ", not a number");
            return FALSE;
        }
        *number = ParseAtoi(token.View());
    }
    return TRUE;
}
} // namespace

BOOL ParseRcVersion(const CString& bytes, VersionNumber& version, CString* failure) {
    version = VersionNumber{};
    ScriptEncoding script;
    if (!script.Decode(bytes.View(), failure))
        return FALSE;
    return ParseText(script, version, failure);
}

BOOL ReadRcVersion(const CString& path, VersionNumber& version, CString* failure) {
    CString bytes;
    try {
        bytes = LoadFileBytes(path);
    } catch (const CFileException& error) {
        if (failure)
            *failure = CString("cannot read the script: ") + error.Describe();
        return FALSE;
    }
    return ParseRcVersion(bytes, version, failure);
}
