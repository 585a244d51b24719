#include "DialogDriver.h"
#include "ui/MainDialog.h"
#include "registry/ProjectRecord.h"
#include "UiTestSupport.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <cctype>
#include <regex>

using namespace uitest;

namespace {
constexpr int kMax = 65535; // the largest number a version resource holds

// One project, current from the start, whose script lags behind in its string values so that
// every rewrite shows.
class VersionEditingTest : public MainDialogFixture {
protected:
    void OpenProject(const Version& version) {
        m_script = AddScript("app.rc", StaleScriptText(version));
        Open(ProjectIni({{"app", version, m_script}}));
    }
    std::string ScriptBytes() const { return testfiles::ReadBytes(m_script); }
    // The record, the fields, the row and the script all hold the same numbers.
    void ExpectEverywhere(const Version& v) {
        EXPECT_EQ(ShownNumbers(Dialog()), ToText(v));
        EXPECT_EQ(RowNumbers(Dialog(), 0), ToText(v));
        EXPECT_EQ(ScriptBytes(), ScriptText(v));
    }

    std::string m_script;
};

TEST_F(VersionEditingTest, EveryKeystrokeRewritesTheScript) {
    OpenProject({3, 4, 5, 6});
    TypeInto(Dialog(), IDC_MAJOR, "1");
    EXPECT_EQ(ScriptBytes(), ScriptText({1, 4, 5, 6}));
    TypeInto(Dialog(), IDC_MAJOR, "12");
    EXPECT_EQ(ScriptBytes(), ScriptText({12, 4, 5, 6}));
    EXPECT_EQ(RowNumbers(Dialog(), 0), "12.4.5 b6");
    EXPECT_TRUE(m_messages.Messages().empty());
}

TEST_F(VersionEditingTest, TypedTextIsReadAsTheDialogReadsNumbers) {
    const std::wstring kNotANumber = L"整数を入力してください。";
    const std::wstring kOutOfRange = L"0 から 65535 までの整数を入力してください。";
    struct Case {
        int field;
        const char* typed;
        const std::wstring* message; // nullptr: accepted
        Version result;
    };
    const Case cases[] = {
        {IDC_MAJOR, "", &kNotANumber, {3, 4, 5, 6}},
        {IDC_MINOR, "4x", &kNotANumber, {3, 4, 5, 6}},
        {IDC_SUB, "-0", &kNotANumber, {3, 4, 5, 6}},
        {IDC_BUILD, "-1", &kOutOfRange, {3, 4, 5, 6}},
        {IDC_MAJOR, "-1", &kOutOfRange, {3, 4, 5, 6}},
        {IDC_BUILD, "65536", &kOutOfRange, {3, 4, 5, 6}},
        {IDC_MINOR, "99999999999", &kOutOfRange, {3, 4, 5, 6}},
        {IDC_SUB, " \t8 ", nullptr, {3, 4, 8, 6}},
        {IDC_BUILD, "+0007", nullptr, {3, 4, 5, 7}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.typed) + " in " + std::to_string(c.field));
        OpenProject({3, 4, 5, 6});
        TypeInto(Dialog(), c.field, c.typed);
        if (c.message) {
            ASSERT_EQ(m_messages.Messages().size(), 1u);
            EXPECT_EQ(m_messages.Messages()[0], *c.message);
            // The refused text stays for the user to correct; the record keeps its number and
            // the script is still written with it.
            EXPECT_EQ(FieldText(Dialog(), c.field), c.typed);
            EXPECT_EQ(RowNumbers(Dialog(), 0), ToText(c.result));
            EXPECT_EQ(ScriptBytes(), ScriptText(c.result));
        } else {
            EXPECT_TRUE(m_messages.Messages().empty());
            EXPECT_EQ(RowNumbers(Dialog(), 0), ToText(c.result));
            EXPECT_EQ(ScriptBytes(), ScriptText(c.result));
        }
    }
}

TEST_F(VersionEditingTest, ArrowsStepByOneWithinTheBounds) {
    struct Case {
        int spin;
        bool up;
        Version from;
        Version to;
    };
    const Case cases[] = {
        {IDC_MAJOR_SPIN, true, {0, 3, 7, 45}, {1, 3, 7, 45}},
        {IDC_MAJOR_SPIN, false, {0, 3, 7, 45}, {0, 3, 7, 45}},
        {IDC_MINOR_SPIN, true, {0, 3, 7, 45}, {0, 4, 7, 45}},
        {IDC_MINOR_SPIN, false, {0, 3, 7, 45}, {0, 2, 7, 45}},
        {IDC_SUB_SPIN, false, {0, 3, 7, 45}, {0, 3, 6, 45}},
        {IDC_BUILD_SPIN, true, {0, 3, 7, 45}, {0, 3, 7, 46}},
        {IDC_BUILD_SPIN, true, {0, 0, 0, kMax}, {0, 0, 0, kMax}},
        // A number above the largest, read from a script, is never stepped further away.
        {IDC_MAJOR_SPIN, true, {70000, 0, 0, 1}, {70000, 0, 0, 1}},
        {IDC_MAJOR_SPIN, false, {70000, 0, 0, 1}, {kMax, 0, 0, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.spin) + (c.up ? " up from " : " down from ") +
                     ToText(c.from));
        OpenProject(c.from);
        ClickArrow(Dialog(), c.spin, c.up);
        ExpectEverywhere(c.to);
    }
}

TEST_F(VersionEditingTest, UpButtonsRaiseOneNumberAndResetTheLowerOnes) {
    struct Case {
        int button;
        Version from;
        Version to;
    };
    const Case cases[] = {
        {IDC_MAJOR_UP, {1, 2, 3, 45}, {2, 0, 0, 45}},
        {IDC_MINOR_UP, {1, 2, 3, 45}, {1, 3, 0, 45}},
        {IDC_SUB_UP, {1, 2, 3, 45}, {1, 2, 4, 45}},
        {IDC_MAJOR_UP, {kMax, kMax, kMax, 45}, {kMax, 0, 0, 45}},
        {IDC_MINOR_UP, {kMax, kMax, kMax, 45}, {kMax, kMax, 0, 45}},
        {IDC_SUB_UP, {kMax, kMax, kMax, 45}, {kMax, kMax, kMax, 45}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.button) + " from " + ToText(c.from));
        OpenProject(c.from);
        ClickButton(Dialog(), c.button);
        ExpectEverywhere(c.to);
    }
}

TEST_F(VersionEditingTest, ControlsChangeNothingWithoutAProject) {
    Open("[PROJECT]\r\nSIZE=0\r\n");
    ClickButton(Dialog(), IDC_MAJOR_UP);
    ClickArrow(Dialog(), IDC_MINOR_SPIN, true);
    TypeInto(Dialog(), IDC_SUB, "5");
    EXPECT_EQ(ShownNumbers(Dialog()), "0.0.5 b0");
    EXPECT_EQ(Dialog().GetProjectList().GetItemCount(), 0);
    EXPECT_FALSE(IsWindowVisible(Dialog().GetDlgItem(IDC_BUILD_UP)));
}

// Applying a script --------------------------------------------------------------------------

class ApplyScriptTest : public MainDialogFixture {
protected:
    // Two registered projects, "first" on top.
    void OpenTwo() {
        m_first = AddScript("first.rc", ScriptText({1, 1, 1, 1}));
        m_second = AddScript("second.rc", StaleScriptText({2, 2, 2, 2}));
        Open(ProjectIni({{"first", {1, 1, 1, 1}, m_first}, {"second", {7, 8, 9, 10}, m_second}}));
    }
    void Apply(const std::string& path) {
        Dialog().ApplyResourceScript(path.c_str());
        PumpMessages();
    }
    void ExpectCurrentOnTop(const char* name) {
        EXPECT_EQ(RowName(Dialog(), 0), name);
        EXPECT_EQ(FieldText(Dialog(), IDC_NAME), name);
        EXPECT_EQ(Dialog().GetProjectList().GetItemState(0, LVIS_SELECTED), UINT{LVIS_SELECTED});
        const std::string lastUpdate = FieldText(Dialog(), IDC_LAST_UPDATE);
        EXPECT_TRUE(std::regex_match(lastUpdate, std::regex(R"(\d{4}/\d\d/\d\d \d\d:\d\d:\d\d)")))
            << lastUpdate;
        EXPECT_NE(lastUpdate, "2001/02/03 04:05:06");
        EXPECT_EQ(std::string(Dialog().GetProjectList().GetItemText(0, 3)), lastUpdate);
    }

    std::string m_first;
    std::string m_second;
};

TEST_F(ApplyScriptTest, RegisteredPathInOtherLetterCaseMovesItsProjectToTheTop) {
    OpenTwo();
    std::string shouted = m_second;
    for (char& ch : shouted)
        ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    ASSERT_NE(shouted, m_second);
    Apply(shouted);
    ASSERT_EQ(Dialog().GetProjectList().GetItemCount(), 2);
    ExpectCurrentOnTop("second");
    EXPECT_EQ(RowName(Dialog(), 1), "first");
    EXPECT_EQ(std::string(Dialog().GetCurrentProject()->rcFile), m_second);
    EXPECT_EQ(RowNumbers(Dialog(), 0), "2.2.2 b2");
    EXPECT_EQ(testfiles::ReadBytes(m_second), ScriptText({2, 2, 2, 2}));
    Close();
    EXPECT_EQ(Profile().ReadString("PROJECT0", "RCFILE"), m_second);
    EXPECT_EQ(Profile().ReadString("PROJECT1", "RCFILE"), m_first);
}

TEST_F(ApplyScriptTest, NewPathRegistersItsProject) {
    OpenTwo();
    const std::string path = AddScript("setup.en.rc", StaleScriptText({3, 4, 5, 6}));
    Apply(path);
    ASSERT_EQ(Dialog().GetProjectList().GetItemCount(), 3);
    ExpectCurrentOnTop("setup.en");
    const ProjectRecord& record = *Dialog().GetCurrentProject();
    EXPECT_EQ(std::string(record.rcFile), path);
    EXPECT_EQ(std::string(record.directory), m_scripts.Path() + "\\");
    EXPECT_EQ(FieldText(Dialog(), IDC_DIRECTORY), m_scripts.Path() + "\\");
    EXPECT_EQ(ShownNumbers(Dialog()), "3.4.5 b6");
    EXPECT_EQ(RowNumbers(Dialog(), 0), "3.4.5 b6");
    EXPECT_EQ(testfiles::ReadBytes(path), ScriptText({3, 4, 5, 6}));
    EXPECT_EQ(testfiles::ReadBytes(m_first), ScriptText({1, 1, 1, 1}));
}

// Two programs of one product whose numbers stand in the header both include.
TEST_F(ApplyScriptTest, FollowedProjectsShowAndWriteTheNumbersOfTheirHeader) {
    const auto header = [](const Version& v) {
        return "#pragma once\n#define VER_MAJOR " + std::to_string(v.major) +
               "\n#define VER_MINOR " + std::to_string(v.minor) + "\n#define VER_SUB " +
               std::to_string(v.sub) + "\n#define VER_BUILD\t" + std::to_string(v.build) +
               " // raised\n";
    };
    testfiles::WriteBytes(Script("version.h"), header({2, 1, 0, 16}));
    const auto script = [](const std::string& include, const char* strings) {
        return testfiles::ScriptText("VER_MAJOR,VER_MINOR,VER_SUB,VER_BUILD", strings,
                                     "#include \"" + include + "\"\r\n");
    };
    const std::string app = AddScript("app.rc", script("version.h", "2, 1, 0, 16"));
    const std::string tool = AddScript("tool.rc", script("version.h", "1, 0, 0, 0"));
    const std::string lost = AddScript("lost.rc", script("lost.h", "1, 0, 0, 0"));
    Open(ProjectIni({{"tool", {1, 1, 1, 1}, tool}, {"lost", {7, 8, 9, 10}, lost}}));
    EXPECT_EQ(RowNumbers(Dialog(), 0), "2.1.0 b16"); // selected at the start, and read
    for (const std::string& path : {app, lost})
        Apply(path);
    EXPECT_EQ(RowNumbers(Dialog(), 0), "7.8.9 b10"); // the follow stops: the numbers stay
    EXPECT_EQ(RowNumbers(Dialog(), 1), "2.1.0 b16");
    EXPECT_EQ(RowNumbers(Dialog(), 2), "2.1.0 b16");
    TypeInto(Dialog(), IDC_MAJOR, "3");
    ASSERT_EQ(m_messages.Messages().size(), 1u);
    EXPECT_NE(m_messages.Messages()[0].find(L"VER_MAJOR is defined in none"), std::wstring::npos);
    ClickRow(Dialog(), 1);
    ClickButton(Dialog(), IDC_MAJOR_UP);
    TypeInto(Dialog(), IDC_SUB, "4");
    TypeInto(Dialog(), IDC_BUILD, "17");
    EXPECT_EQ(testfiles::ReadBytes(Script("version.h")), header({3, 0, 4, 17}));
    EXPECT_EQ(testfiles::ReadBytes(app), script("version.h", "3, 0, 4, 17"));
    EXPECT_EQ(RowNumbers(Dialog(), 2), "3.0.4 b17");
    EXPECT_EQ(testfiles::ReadBytes(tool), script("version.h", "1, 0, 0, 0"));
    EXPECT_EQ(m_messages.Messages().size(), 1u);
}

TEST_F(ApplyScriptTest, UnreadableScriptKeepsTheNumbersAndIsNotWritten) {
    const std::string noBlock = "STRINGTABLE\r\nBEGIN\r\n    1 \"x\"\r\nEND\r\n";
    std::string tabbed = ScriptText({5, 6, 7, 8}, {0, 0, 0, 0});
    tabbed.replace(tabbed.find("FILEVERSION "), 12, "FILEVERSION\t");
    struct Case {
        const char* what;
        const std::string* text; // nullptr: no such file
        bool registered;
        const char* numbers;
    };
    const Case cases[] = {
        {"missing", nullptr, false, "0.0.0 b0"},   {"missing", nullptr, true, "7.8.9 b10"},
        {"no block", &noBlock, false, "0.0.0 b0"}, {"no block", &noBlock, true, "7.8.9 b10"},
        {"tab", &tabbed, false, "0.0.0 b0"},       {"tab", &tabbed, true, "7.8.9 b10"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.what) + (c.registered ? " registered" : " new"));
        const std::string path = Script("bad.rc");
        testfiles::RemoveTree(path);
        if (c.text)
            testfiles::WriteBytes(path, *c.text);
        std::vector<StoredProject> stored = {{"first", {1, 1, 1, 1}, Script("first.rc")}};
        if (c.registered)
            stored.push_back({"bad", {7, 8, 9, 10}, path});
        Open(ProjectIni(stored));
        Apply(path);
        ASSERT_EQ(Dialog().GetProjectList().GetItemCount(), 2);
        ExpectCurrentOnTop("bad");
        EXPECT_EQ(RowNumbers(Dialog(), 0), c.numbers);
        EXPECT_EQ(ShownNumbers(Dialog()), c.numbers);
        if (c.text)
            EXPECT_EQ(testfiles::ReadBytes(path), *c.text);
        else
            EXPECT_FALSE(testfiles::Exists(path));
    }
}
} // namespace
