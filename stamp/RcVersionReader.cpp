#include "stamp/RcVersionReader.h"

#include "framework/CFileException.h"
#include "stamp/ScriptEncoding.h"
#include "stamp/StringTokenizer.h"
#include "stamp/TextRules.h"

namespace {
StampResult ParseText(const ScriptEncoding& script, VersionNumber& version) {
    const std::string_view text = script.Text();
    const int block = FindVersionBlock(text, script.SearchRule());
    if (block < 0)
        return StampResult::LeftAlone(kNoVersionResource);
    StatementLine line;
    if (!FindStatementLine(text, "FILEVERSION", block, line, script.SearchRule()))
        return StampResult::LeftAlone(
            "no FILEVERSION statement ending in CR LF in the version resource");
    // A TAB is deliberately not a delimiter.
    StringTokenizer tokens(CString(text.substr(static_cast<size_t>(line.begin),
                                               static_cast<size_t>(line.end - line.begin))),
                           " ,\r\n");
    if (tokens.PeekToken().IsEmpty())
        return StampResult::LeftAlone("empty FILEVERSION statement");
    tokens.NextToken(); // the keyword itself
    for (int* number : {&version.major, &version.minor, &version.sub, &version.build}) {
        if (!tokens.HasMoreTokens())
            return StampResult::LeftAlone("FILEVERSION statement does not hold four numbers");
        const CString token = tokens.NextToken();
        // A macro such as VER_MAJOR would read as 0, and the rewrite would then replace the
        // project's version definitions with that 0.
        if (!IsNumberToken(token.View()))
            return StampResult::LeftAlone("FILEVERSION holds " + script.ForMessage(token.View()) +
                                          ", not a number");
        *number = ParseAtoi(token.View());
    }
    return StampResult::Done();
}
} // namespace

StampResult ParseRcVersion(const CString& bytes, VersionNumber& version) {
    version = VersionNumber{};
    ScriptEncoding script;
    CString failure;
    if (!script.Decode(bytes.View(), &failure))
        return StampResult::LeftAlone(failure);
    return ParseText(script, version);
}

StampResult ReadRcVersion(const CString& path, VersionNumber& version) {
    CString bytes;
    try {
        bytes = LoadFileBytes(path);
    } catch (const CFileException& error) {
        return StampResult::Failed(CString("cannot read the script: ") + error.Describe());
    }
    return ParseRcVersion(bytes, version);
}
