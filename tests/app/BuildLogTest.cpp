#include "app/BuildLog.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>

namespace {
// MSBuild's documented five parts, "Origin : Subcategory Category Code : Text": an origin (a
// file, its drive included, or a tool), a colon, an optional subcategory, the category "error" or
// "warning", a code without blanks or colons, a colon and the text.
const std::regex kMsBuild(R"(^((?:[A-Za-z]:)?[^:]*) : (?:[^:]* )?(error|warning) ([^: ]+): (.*)$)",
                          std::regex::icase);
// GNU's "program: file: warning: text", with the code where GCC puts its option.
const std::regex kGnu(R"(^revtally: (?:[^:]+: )?warning: (.*) \[(RVT[0-9]{4})\]$)");

// Each kind of line keeps its code, by which builds promote it to an error.
TEST(BuildLog, EveryKindReadsAsAWarningWithItsOwnCode) {
    const struct {
        LogCode code;
        const char* expected;
        const char* reason;
    } kinds[] = {
        {LogCode::noNumberToRaise, "RVT0101", "FILEVERSION holds VER_MAJOR, not a number"},
        {LogCode::fileOrLockError, "RVT0102", "cannot lock the script: access denied"},
        {LogCode::noHistoryEntry, "RVT0103",
         "the script now holds build 42, with no history entry"},
        {LogCode::folderNotSynced, "RVT0104", "its folder could not be synced to disk: disk full"},
        {LogCode::unsafeRewrite, "RVT0105", "\"FileVersion\" goes on after its string literal: X"},
        {LogCode::numberDoesNotFit, "RVT0106", "major 70000 is outside 0 to 65535"},
        {LogCode::badCommandLine, "RVT0107", "-b 70000 is not a build number from 0 to 65535"},
        {LogCode::notHandedToWindow, "RVT0108", "the path is too long to hand to the window"},
        {LogCode::unexpectedError, "RVT0109", "unexpected error: bad allocation"},
        {LogCode::stringDidNotMatch, "RVT0110",
         "\"FileVersion\" held \"2.2\", not the version 1.0.0.1; rewritten with 1.0.0.2"},
    };
    for (const auto& kind : kinds) {
        for (const char* origin : {"C:\\src\\app.rc", ""}) {
            SCOPED_TRACE(std::string(kind.expected) + " " + origin);
            std::smatch parts;
            const std::string msbuild =
                BuildLogLine(LogForm::msbuild, "Revtally", origin, kind.code, kind.reason).Str();
            ASSERT_TRUE(std::regex_match(msbuild, parts, kMsBuild)) << msbuild;
            EXPECT_EQ(parts[1], *origin ? origin : "Revtally");
            EXPECT_EQ(parts[2].str() + " " + parts[3].str(),
                      std::string("warning ") + kind.expected);
            EXPECT_EQ(parts[4], kind.reason);
            const std::string gnu = BuildLogLine(LogForm::gnu, "revtally", *origin ? "app.rc" : "",
                                                 kind.code, kind.reason)
                                        .Str();
            ASSERT_TRUE(std::regex_match(gnu, parts, kGnu)) << gnu;
            EXPECT_EQ(parts[1], kind.reason);
            EXPECT_EQ(parts[2], kind.expected);
        }
    }
}
} // namespace
