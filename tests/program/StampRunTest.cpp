// The program run as a build step runs it: a script path on the command line, standard error to
// the build log, exit code 0 whatever happens.
#include "ScriptText.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

using namespace testfiles;

namespace {
// A script in the style of a resource editor, with a code page 932 comment ("表示" starts with a
// byte pair whose second byte is 0x5C).
std::string Script(const std::string& statement, const std::string& value) {
    return ScriptText(statement, value,
                      "// \x95\x5C\x8E\xA6 resources\r\n#include \"resource.h\"\r\n\r\n",
                      " FILEFLAGSMASK 0x3fL\r\n");
}

std::string Stamped(const std::string& numbers) {
    return Script(numbers, numbers);
}

std::string History(const std::string& title, const std::vector<std::string>& entries) {
    std::string text = "#DESCRIPTION\r\n\t" + title + "\r\n\r\n#UPDATELIST";
    for (const std::string& entry : entries)
        text += "\r\n\t<time>\t" + entry;
    return text + "\r\n\r\n#COMMENT\r\n\r\n";
}

int CountLines(const std::string& text) {
    return text.empty() ? 0 : static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

class StampRun : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
#ifdef _WIN32
        // The program runs under another name, so that no window instance is ever started
        // behind a test by the name it looks for.
        const std::string built = BesideThisProgram(REVTALLY_PROGRAM_NAME);
        s_tools = new TestFolder("rvt-tools");
        s_program = s_tools->Path("stamper.exe");
        ASSERT_TRUE(CopyFileA(built.c_str(), s_program.c_str(), FALSE)) << built;
#else
        s_program = REVTALLY_PROGRAM;
#endif
    }
    static void TearDownTestSuite() {
        delete s_tools;
        s_tools = nullptr;
    }

    RunResult Stamp(const std::vector<std::string>& arguments) {
        return RunProgram(s_program, arguments, m_folder.Path());
    }

    static std::string s_program;
    static TestFolder* s_tools;
    TestFolder m_folder{"rvt-stamp"};
};
std::string StampRun::s_program;
TestFolder* StampRun::s_tools = nullptr;

TEST_F(StampRun, RecordsTheBuildThenRaisesIt) {
    WriteBytes(m_folder.Path("app.rc"), Script("1,2,3,41", "1, 2, 3, 41"));

    RunResult first = Stamp({"app.rc"});
    EXPECT_EQ(first.exitCode, 0);
    EXPECT_EQ(first.standardError, "");
    EXPECT_EQ(ReadBytes(m_folder.Path("app.rc")), Stamped("1, 2, 3, 42"));
    EXPECT_EQ(MaskTimeStamps(ReadBytes(m_folder.Path("app_ver.txt"))),
              History("app", {"Version 1.2.3\tbuild 41"}));

    RunResult second = Stamp({"app.rc"});
    EXPECT_EQ(second.exitCode, 0);
    EXPECT_EQ(ReadBytes(m_folder.Path("app.rc")), Stamped("1, 2, 3, 43"));
    EXPECT_EQ(MaskTimeStamps(ReadBytes(m_folder.Path("app_ver.txt"))),
              History("app", {"Version 1.2.3\tbuild 42", "Version 1.2.3\tbuild 41"}));
    // The lock and the safe write leave nothing behind.
    EXPECT_EQ(m_folder.List(), (std::vector<std::string>{"app.rc", "app_ver.txt"}));
}

TEST_F(StampRun, TakesRelativeNamesFromTheCurrentFolder) {
    MakeFolder(m_folder.Path("sub"));
    const std::string script = m_folder.Path("sub") + kSeparator + "my.app.rc";
    WriteBytes(script, Stamped("2, 0, 0, 7"));

    EXPECT_EQ(Stamp({std::string("sub") + kSeparator + "my.app.rc"}).exitCode, 0);
    EXPECT_EQ(ReadBytes(script), Stamped("2, 0, 0, 8"));
    EXPECT_EQ(MaskTimeStamps(ReadBytes(m_folder.Path("sub") + kSeparator + "my.app_ver.txt")),
              History("my.app", {"Version 2.0.0\tbuild 7"}));
}

TEST_F(StampRun, StampsOnlyTheLastFileAndIgnoresOtherSwitches) {
    WriteBytes(m_folder.Path("one.rc"), Stamped("1, 0, 0, 1"));
    WriteBytes(m_folder.Path("two.rc"), Stamped("1, 0, 0, 1"));

    EXPECT_EQ(Stamp({"one.rc", "-x", "two.rc"}).exitCode, 0);
    EXPECT_EQ(ReadBytes(m_folder.Path("one.rc")), Stamped("1, 0, 0, 1"));
    EXPECT_EQ(ReadBytes(m_folder.Path("two.rc")), Stamped("1, 0, 0, 2"));
    EXPECT_FALSE(Exists(m_folder.Path("one_ver.txt")));
}

TEST_F(StampRun, FolderNamesWithTrailBytesThatLookLikeBackslashes) {
    // "表ソ": both characters end in byte 0x5C.
    TestFolder japanese("rvt-\x95\x5C\x83\x5C");
    const std::string script = japanese.Path("\x94\x5C.rc"); // "能.rc"
    WriteBytes(script, Stamped("3, 1, 4, 1"));

    EXPECT_EQ(Stamp({script}).exitCode, 0);
    EXPECT_EQ(ReadBytes(script), Stamped("3, 1, 4, 2"));
    EXPECT_EQ(MaskTimeStamps(ReadBytes(japanese.Path("\x94\x5C_ver.txt"))),
              History("\x94\x5C", {"Version 3.1.4\tbuild 1"}));
}

// What a build server gives: a build number from its counter, a refused one, and the texts.
TEST_F(StampRun, SwitchesOfTheCommandLine) {
    const struct {
        std::vector<std::string> arguments;
        int build;          // the script's build afterwards; 41 is untouched
        const char* output; // found in the standard output
        const char* error;  // found in the one line of standard error; "" for none
    } cases[] = {
        {{"-b", "7", "app.rc"}, 7, "", ""},
        {{"app.rc", "-b", "65535", "-n"}, 65535, "", ""},
        {{"-b", "70000", "app.rc"}, 41, "", "-b 70000 is not a build number from 0 to 65535"},
        {{"-b", "-1", "app.rc"}, 41, "", "RVT0107"},
        {{"-b", "app.rc"}, 41, "", "-b needs a resource script to stamp"},
        {{"--help"}, 41, "-b N ", ""},
        {{"-h"}, 41, "--version", ""},
        {{"-?", "app.rc"}, 41, "SCRIPT.rc", ""},
        {{"--version"}, 41, " " REVTALLY_VERSION "\n", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments[0] + " " + c.arguments.back());
        TestFolder folder("rvt-switch");
        WriteBytes(folder.Path("app.rc"), Stamped("1, 2, 3, 41"));
        const RunResult result = RunProgram(s_program, c.arguments, folder.Path());
        EXPECT_EQ(result.exitCode, 0);
        EXPECT_EQ(ReadBytes(folder.Path("app.rc")), Stamped("1, 2, 3, " + std::to_string(c.build)));
        // The history is written as for any stamp: the build as it was.
        EXPECT_EQ(Exists(folder.Path("app_ver.txt")), c.build != 41);
        EXPECT_NE(ReplaceAll(result.standardOutput, "\r\n", "\n").find(c.output), std::string::npos)
            << result.standardOutput;
        EXPECT_EQ(CountLines(result.standardError), *c.error ? 1 : 0) << result.standardError;
        EXPECT_NE(result.standardError.find(c.error), std::string::npos);
    }
}

// A wizard-made script whose numbers VersionNo.h defines, one folder up; "winres.h" is the SDK's.
// Without -f nothing changes and the line says what -f does; with it the header's build is
// raised. A literal string that did not hold the version is told, and the build stamps.
TEST_F(StampRun, FollowsVersionMacrosWithF) {
    const std::string header = "#define FILEVER 1,0,0,290\r\n#define PRODUCTVER 1,0,0,290\r\n"
                               "#define STRFILEVER \"1, 0, 0, 290\\0\"\r\n";
    MakeFolder(m_folder.Path("app"));
    WriteBytes(m_folder.Path("VersionNo.h"), header);
    const std::string app = std::string("app") + kSeparator + "app.rc";
    const std::string script =
        "// Microsoft Visual C++ generated resource script.\r\n#include \"winres.h\"\r\n"
        "#include \"..\\VersionNo.h\"\r\nVS_VERSION_INFO VERSIONINFO\r\n FILEVERSION FILEVER\r\n"
        " PRODUCTVERSION PRODUCTVER\r\nBEGIN\r\n VALUE \"FileVersion\", STRFILEVER\r\n"
        " VALUE \"ProductVersion\", \"2.2\"\r\nEND\r\n";
    WriteBytes(m_folder.Path(app), script);

    const RunResult asked = Stamp({"-n", app});
    EXPECT_NE(asked.standardError.find("FILEVERSION holds FILEVER, not a number; -f raises it "
                                       "where it is defined"),
              std::string::npos)
        << asked.standardError;
    EXPECT_EQ(ReadBytes(m_folder.Path("VersionNo.h")), header);

    const RunResult followed = Stamp({"-f", "-n", app});
    EXPECT_EQ(ReadBytes(m_folder.Path("VersionNo.h")), ReplaceAll(header, "290", "291"));
    EXPECT_EQ(ReadBytes(m_folder.Path(app)), ReplaceAll(script, "\"2.2\"", "\"1, 0, 0, 291\\0\""));
    EXPECT_EQ(MaskTimeStamps(ReadBytes(m_folder.Path("app") + kSeparator + "app_ver.txt")),
              History("app", {"Version 1.0.0\tbuild 290"}));
    EXPECT_EQ(CountLines(followed.standardError), 1) << followed.standardError;
    EXPECT_NE(followed.standardError.find("\"ProductVersion\" held \"2.2\", not the version "
                                          "1.0.0.290; rewritten with 1.0.0.291"),
              std::string::npos)
        << followed.standardError;
    EXPECT_NE(followed.standardError.find("RVT0110"), std::string::npos);
}

// Scripts saved as UTF-16 or with a UTF-8 mark are stamped in their own encoding; the history
// stays ANSI code page text.
TEST_F(StampRun, StampsScriptsInTheirOwnEncoding) {
    struct Case {
        const char* script;
        const char* entry;
    };
    const Case cases[] = {{"wizard_utf16le", "Version 1.0.0\tbuild 1"},
                          {"utf16be", "Version 2.3.4\tbuild 5"},
                          {"utf8_bom", "Version 3.1.4\tbuild 1"},
                          {"mingw_numbered", "Version 0.9.2\tbuild 0"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script);
        const std::string name = std::string(c.script) + ".rc";
        WriteBytes(m_folder.Path(name), ReadBytes(DataFile(name)));
        const RunResult result = Stamp({name});
        EXPECT_EQ(result.standardError, "");
        EXPECT_EQ(ReadBytes(m_folder.Path(name)),
                  ReadBytes(DataFile(std::string(c.script) + ".expected.rc")));
        EXPECT_EQ(MaskTimeStamps(ReadBytes(m_folder.Path(std::string(c.script) + "_ver.txt"))),
                  History(c.script, {c.entry}));
    }
}

// A script that cannot be stamped is left exactly as it was, gets no history, and the build log
// gets one line naming it.
TEST_F(StampRun, FailuresChangeNothingAndSaySoOnce) {
    struct Case {
        const char* name;
        std::optional<std::string> content; // none: no such file
        bool readOnly;
        const char* code;
        const char* reason = "";
    };
    const std::string macros = "TT_VERSION_MAJOR,TT_VERSION_MINOR,TT_VERSION_PATCH,0";
    // Version numbers defined in a header, as such projects write them.
    auto macroValues = [](const std::string& text) {
        return ReplaceAll(text, "\"1, 0, 0, 1\\0\"", "TT_RES_VERSION_STR");
    };
    const std::string macroProduct =
        ReplaceAll(Stamped("1, 0, 0, 1"), "PRODUCTVERSION 1, 0, 0, 1", "PRODUCTVERSION " + macros);
    const Case cases[] = {
        {"missing.rc", std::nullopt, false, "RVT0102"},
        {"noblock.rc", "// 1 VERSIONINFO\r\n FILEVERSION 1,0,0,1\r\n PRODUCTVERSION 1,0,0,1\r\n",
         false, "RVT0101", "no version resource"},
        {"lfonly.rc", "VS_VERSION_INFO VERSIONINFO\n FILEVERSION 1,0,0,1\n", false, "RVT0101"},
        {"readonly.rc", std::nullopt, true, "RVT0102"},
        // Version macros: the project's definitions stay, and no build is recorded.
        {"macros.rc", macroValues(Script(macros, "1, 0, 0, 1")), false, "RVT0101",
         "FILEVERSION holds TT_VERSION_MAJOR, not a number"},
        {"macrovalues.rc", macroValues(Stamped("1, 0, 0, 1")), false, "RVT0105",
         "\"FileVersion\" holds TT_RES_VERSION_STR"},
        {"macroproduct.rc", macroProduct, false, "RVT0105",
         "PRODUCTVERSION holds TT_VERSION_MAJOR"},
        {"oddutf16.rc", Utf16File(Stamped("1, 0, 0, 1")) + "\r", false, "RVT0101", "odd length"},
        // A release tag after the literal, or two literals: the new line would cut them off.
        {"releasetag.rc",
         ReplaceAll(Stamped("1, 0, 0, 1"), "\"1, 0, 0, 1\\0\"\r\n",
                    "\"1.0.0.1\" APP_VERSION_TEXT\r\n"),
         false, "RVT0105", "\"FileVersion\" goes on after its string literal: APP_VERSION_TEXT"},
        {"twoliterals.rc",
         ReplaceAll(Stamped("1, 0, 0, 1"), "\"1, 0, 0, 1\\0\"\r\n", "\"1.0.0.1\" \" beta\"\r\n"),
         false, "RVT0105", "goes on after its string literal"},
        // A version resource holds 16-bit numbers: the next one would compile to another.
        {"build65535.rc", Stamped("1, 0, 0, 65535"), false, "RVT0106",
         "build 65535 is the largest number a version resource holds; raise the sub version"},
        {"major70000.rc", Stamped("70000, 0, 0, 1"), false, "RVT0106",
         "major 70000 is outside 0 to 65535"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestFolder folder("rvt-fail");
        const std::string script = folder.Path(c.name);
        const std::string before = c.readOnly ? Stamped("1, 0, 0, 1") : c.content.value_or("");
        if (c.content || c.readOnly)
            WriteBytes(script, before);
        if (c.readOnly)
            SetReadOnly(script, true);

        const RunResult result = RunProgram(s_program, {c.name}, folder.Path());
        EXPECT_EQ(result.exitCode, 0);
        EXPECT_NE(result.standardError.find(c.name), std::string::npos) << result.standardError;
        EXPECT_EQ(CountLines(result.standardError), 1) << result.standardError;
        EXPECT_NE(result.standardError.find(c.reason), std::string::npos) << result.standardError;
        EXPECT_NE(result.standardError.find(c.code), std::string::npos) << result.standardError;
        if (c.content || c.readOnly) {
            EXPECT_EQ(ReadBytes(script), before);
            EXPECT_EQ(folder.List(), std::vector<std::string>{c.name});
        } else {
            EXPECT_TRUE(folder.List().empty());
        }
        if (c.readOnly)
            SetReadOnly(script, false);
    }
}

// A build is stamped only when its entry can be written too, and the hand-off needs what the
// script was read to hold.
TEST_F(StampRun, ReadOnlyHistoryStopsTheStamp) {
    WriteBytes(m_folder.Path("app.rc"), Stamped("1, 0, 0, 5"));
    const std::string history = History("app", {});
    WriteBytes(m_folder.Path("app_ver.txt"), history);
    SetReadOnly(m_folder.Path("app_ver.txt"), true);

    const RunResult result = Stamp({"app.rc"});
    SetReadOnly(m_folder.Path("app_ver.txt"), false);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(ReadBytes(m_folder.Path("app.rc")), Stamped("1, 0, 0, 5"));
    EXPECT_EQ(ReadBytes(m_folder.Path("app_ver.txt")), history);
    EXPECT_EQ(CountLines(result.standardError), 1) << result.standardError;
    EXPECT_NE(result.standardError.find("cannot write the history file"), std::string::npos)
        << result.standardError;
    EXPECT_EQ(m_folder.List(), (std::vector<std::string>{"app.rc", "app_ver.txt"}));
}

// Parallel builds that stamp one script never lose an increment or an entry.
TEST_F(StampRun, EightRunsAtOnceRaiseTheBuildByEight) {
    WriteBytes(m_folder.Path("app.rc"), Stamped("1, 0, 0, 100"));

    const std::vector<RunResult> results =
        RunMany(s_program, std::vector<std::vector<std::string>>(8, {"app.rc"}), m_folder.Path());
    for (const RunResult& result : results) {
        EXPECT_EQ(result.exitCode, 0);
        EXPECT_EQ(result.standardError, "");
    }
    EXPECT_EQ(ReadBytes(m_folder.Path("app.rc")), Stamped("1, 0, 0, 108"));
    std::vector<std::string> entries;
    for (int build = 107; build >= 100; --build)
        entries.push_back("Version 1.0.0\tbuild " + std::to_string(build));
    EXPECT_EQ(MaskTimeStamps(ReadBytes(m_folder.Path("app_ver.txt"))), History("app", entries));
    EXPECT_EQ(m_folder.List(), (std::vector<std::string>{"app.rc", "app_ver.txt"}));
}
} // namespace
