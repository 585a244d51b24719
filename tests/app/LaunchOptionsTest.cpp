#include "app/RevtallyApp.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
struct ParseCase {
    const char* title;
    std::vector<const char*> arguments; // after the program name
    const char* fileName;
    bool noFileGiven;
    bool trayMode;
    const char* others = ""; // the other switches it sets, as Others() spells them
};

std::string Others(const LaunchOptions& o) {
    return (o.buildGiven ? "b=" + o.buildText.Str() + " " : "") + (o.noWindow ? "n " : "") +
           (o.helpAsked ? "help " : "") + (o.versionAsked ? "version " : "");
}

LaunchOptions Parse(const std::vector<const char*>& arguments) {
    std::vector<CString> argv{"Revtally.exe"};
    for (const char* argument : arguments)
        argv.emplace_back(argument);
    LaunchOptions options;
    CRevtallyApp::ParseLaunchOptions(argv, options);
    return options;
}

class LaunchOptionsParse : public ::testing::TestWithParam<ParseCase> {};

TEST_P(LaunchOptionsParse, SetsFileAndModes) {
    const ParseCase& c = GetParam();
    const LaunchOptions options = Parse(c.arguments);
    EXPECT_STREQ(options.fileName, c.fileName);
    EXPECT_EQ(options.noFileGiven, c.noFileGiven);
    EXPECT_EQ(options.trayMode, c.trayMode);
    EXPECT_EQ(Others(options), c.others);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(CommandLines, LaunchOptionsParse, ::testing::Values(
    ParseCase{"none", {}, "", true, false},
    ParseCase{"tray", {"-t"}, "", true, true},
    ParseCase{"trayWord", {"-tray"}, "", true, true},
    ParseCase{"trayAndScript", {"-t", "app.rc"}, "app.rc", false, true},
    ParseCase{"otherSwitchIgnored", {"app.rc", "-x"}, "app.rc", false, false},
    ParseCase{"lastFileWins", {"one.rc", "two.rc"}, "two.rc", false, false},
    ParseCase{"emptyArgument", {""}, "", true, false},
    ParseCase{"emptyAfterFile", {"app.rc", ""}, "", false, false},
    ParseCase{"loneDash", {"-"}, "", true, false},
    ParseCase{"buildNumber", {"-b", "7", "app.rc"}, "app.rc", false, false, "b=7 "},
    ParseCase{"buildWithoutNumber", {"app.rc", "-B"}, "app.rc", false, false, "b= "},
    ParseCase{"noWindow", {"-n", "app.rc"}, "app.rc", false, false, "n "},
    ParseCase{"help", {"-h"}, "", true, false, "help "},
    ParseCase{"helpQuestion", {"-?"}, "", true, false, "help "},
    ParseCase{"helpWord", {"--help"}, "", true, false, "help "},
    ParseCase{"version", {"--version"}, "", true, false, "version "},
    ParseCase{"unknownWord", {"--tray", "--versions"}, "", true, false},
#ifdef _WIN32
    ParseCase{"slashSwitch", {"/T"}, "", true, true},
    ParseCase{"slashOtherSwitch", {"/x", "app.rc"}, "app.rc", false, false},
    ParseCase{"slashBuildAndHelp", {"/b", "9", "/?"}, "", true, false, "b=9 help "}
#else
    // An absolute POSIX path is a file, not a switch.
    ParseCase{"absolutePath", {"/home/dev/tray.rc"}, "/home/dev/tray.rc", false, false}
#endif
), [](const auto& info) { return std::string(info.param.title); });
// clang-format on

TEST(ProfilePath, SitsBesideTheExecutableUnderItsOwnName) {
#ifdef _WIN32
    EXPECT_STREQ(CRevtallyApp::ProfilePathFor("C:\\Tools\\Tool.exe", "Tool"),
                 "C:\\Tools\\Tool.ini");
    // 0x95 0x5C is one character, whose second byte is not a backslash.
    EXPECT_STREQ(CRevtallyApp::ProfilePathFor("C:\\Tools\\\x95\x5C.exe", "\x95\x5C"),
                 "C:\\Tools\\\x95\x5C.ini");
#else
    EXPECT_STREQ(CRevtallyApp::ProfilePathFor("/opt/tools/Tool", "Tool"), "/opt/tools/Tool.ini");
#endif
}
} // namespace
