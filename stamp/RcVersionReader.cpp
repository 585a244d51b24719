#include "stamp/RcVersionReader.h"

#include "stamp/StringTokenizer.h"
#include "stamp/TextRules.h"

Expected<VersionNumber> ReadVersion(const VersionScript& script) {
    const std::string_view text = script.Text();
    if (script.Block() < 0)
        return Failure::LeftAlone(kNoVersionResource);
    const StatementLine& line = script.FileVersion();
    if (!line.IsWhole())
        return Failure::LeftAlone(
            "no FILEVERSION statement ending in CR LF in the version resource");
    // A TAB is deliberately not a delimiter.
    StringTokenizer tokens(CString(line.In(text)), " ,\r\n");
    if (tokens.PeekToken().IsEmpty())
        return Failure::LeftAlone("empty FILEVERSION statement");
    tokens.NextToken(); // the keyword itself
    VersionNumber version;
    for (int* number : {&version.major, &version.minor, &version.sub, &version.build}) {
        if (!tokens.HasMoreTokens())
            return Failure::LeftAlone("FILEVERSION statement does not hold four numbers");
        const CString token = tokens.NextToken();
        // A macro such as VER_MAJOR would read as 0, and the rewrite would then replace the
        // project's version definitions with that 0.
        if (!IsNumberToken(token.View()))
            return Failure::LeftAlone("FILEVERSION holds " +
                                      script.Encoding().ForMessage(token.View()) +
                                      ", not a number");
        *number = ParseAtoi(token.View());
    }
    return version;
}

bool FileVersionHoldsNames(const VersionScript& script) {
    const StatementLine& line = script.FileVersion();
    if (script.Block() < 0 || !line.IsWhole())
        return false;
    StringTokenizer tokens(CString(line.In(script.Text()).substr(sizeof "FILEVERSION" - 1)),
                           " ,\r\n");
    for (int count = 0; count < 4 && tokens.HasMoreTokens(); ++count)
        if (!IsNumberToken(tokens.NextToken().View()))
            return true;
    return false;
}

Expected<VersionNumber> ParseRcVersion(std::string_view bytes) {
    return VersionScript::Locate(CString(bytes)).AndThen(ReadVersion);
}

Expected<VersionNumber> ReadRcVersion(const CString& path) {
    return VersionScript::Read(path).AndThen(ReadVersion);
}
