#include "framework/CodePage.h"
#include "framework/ScriptLock.h"
#include "registry/ProjectList.h"
#include "registry/VersionSteps.h"
#include "stamp/HandOffRecord.h"
#include "../stamp/StampTestSupport.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {
// Full-width A and a in code page 932.
#define FW_A "\x82\x60"
#define FW_a "\x82\x81"

ProjectList ListOf(std::initializer_list<const char*> scripts) {
    ProjectList list;
    for (const char* script : scripts)
        list.Append(ProjectList::MakeRecordFor(script));
    return list;
}

TEST(ProjectList, FindsScriptsAsFileNamesCompare) {
    CodePageScope cp932(CodePage::Cp932());
    const ProjectList list = ListOf({"C:\\w\\a.rc", "C:\\" HYO "\\" FW_A ".rc", "C:\\W\\A.RC"});
    EXPECT_EQ(list.FindRowByScript("c:\\W\\A.rc"), 0);
    EXPECT_EQ(list.FindRowByScript("C:\\" HYO "\\" FW_a ".RC"), 1);
    // The second byte of a character is never folded: 0x95 0x7C is not 0x95 0x5C.
    EXPECT_EQ(list.FindRowByScript("C:\\\x95|\\" FW_A ".rc"), -1);
    EXPECT_EQ(list.FindRowByScript("C:\\w\\a.rc "), -1);
    // Equal spellings take one lock.
    EXPECT_EQ(std::string(ScriptLock::MutexNameFor("C:\\" HYO "\\" FW_A ".rc")),
              std::string(ScriptLock::MutexNameFor("c:\\" HYO "\\" FW_a ".RC")));
    EXPECT_NE(std::string(ScriptLock::MutexNameFor("C:\\w\\a.rc")),
              std::string(ScriptLock::MutexNameFor("C:\\w\\b.rc")));
}

TEST(ProjectList, RegistersAtTheTopAndPicksTheNextAfterADelete) {
    ProjectList list = ListOf({"C:\\w\\a.rc", "C:\\w\\b.rc"});
    ProjectRecord* b = list.GetAt(1);
    const ProjectList::Placement moved = list.RegisterAtTop("C:\\W\\B.rc");
    EXPECT_EQ(moved.record, b);
    EXPECT_EQ(moved.fromRow, 1);
    EXPECT_EQ(std::string(b->rcFile), "C:\\w\\b.rc"); // keeps the case it was registered with

    const std::string folder = std::string("x") + testfiles::kSeparator;
    const ProjectList::Placement added = list.RegisterAtTop((folder + "setup.en.rc").c_str());
    EXPECT_EQ(added.fromRow, -1);
    EXPECT_EQ(std::string(added.record->name), "setup.en");
    EXPECT_EQ(std::string(added.record->directory), folder);
    EXPECT_EQ(list.FindRowByRecord(b), 1);

    list.Remove(2); // the last row: the one above follows
    EXPECT_EQ(list.SuccessorOfRemoved(2), b);
    list.Remove(0); // the first row: the one that took its place follows
    EXPECT_EQ(list.SuccessorOfRemoved(0), b);
    list.Remove(0);
    EXPECT_EQ(list.SuccessorOfRemoved(0), nullptr);
}

TEST(VersionSteps, StayWithinTheWindowsRange) {
    const int top = VersionSteps::kLargest;
    EXPECT_EQ(VersionSteps::Stepped(0, -1), 0);
    EXPECT_EQ(VersionSteps::Stepped(5, -30), 4);
    EXPECT_EQ(VersionSteps::Stepped(5, 0), 6);
    EXPECT_EQ(VersionSteps::Stepped(top, 1), top);
    EXPECT_EQ(VersionSteps::MajorUp({1, 2, 3, 9}), (VersionNumber{2, 0, 0, 9}));
    EXPECT_EQ(VersionSteps::MinorUp({1, 2, 3, 9}), (VersionNumber{1, 3, 0, 9}));
    EXPECT_EQ(VersionSteps::SubUp({1, 2, top, 9}), (VersionNumber{1, 2, top, 9}));
    EXPECT_EQ(VersionSteps::BuildUp({1, 2, 3, 9}), (VersionNumber{1, 2, 3, 10}));
}

TEST(HandOffRecord, OnlyWellFormedRecordsGiveAPath) {
    HandOffRecord record{kHandOffApplyScript, sizeof(HandOffRecord), {}};
    std::strcpy(record.path, "C:\\w\\a.rc");
    CString path;
    EXPECT_TRUE(ReadHandOffPath(&record, sizeof record, path));
    EXPECT_EQ(std::string(path), "C:\\w\\a.rc");
    EXPECT_FALSE(ReadHandOffPath(&record, sizeof record - 1, path));
    EXPECT_FALSE(ReadHandOffPath(nullptr, sizeof record, path));
    std::memset(record.path, 'x', sizeof record.path);
    EXPECT_FALSE(ReadHandOffPath(&record, sizeof record, path));
    record.command = 2;
    record.path[0] = '\0';
    EXPECT_FALSE(ReadHandOffPath(&record, sizeof record, path));
}

TEST(FitWholeCharacters, NeverCutsACharacter) {
    CodePageScope cp932(CodePage::Cp932());
    EXPECT_EQ(FitWholeCharacters("abc", 63), 3);
    EXPECT_EQ(FitWholeCharacters("ab" HYO "c", 3), 2);
    EXPECT_EQ(FitWholeCharacters("ab" HYO "c", 4), 4);
    EXPECT_EQ(FitWholeCharacters(std::string(70, 'x'), 63), 63);
}

TEST(CodePageFromLocale, ShiftJisByAnyOfItsNames) {
    const struct {
        const char* name;
        bool cp932;
    } kLocales[] = {{"ja_JP.SJIS", true},
                    {"ja_JP.Shift_JIS", true},
                    {"ja_JP.shift-jis@x", true},
                    {"ja_JP.CP932", true},
                    {"ja_JP.Windows-31J", true},
                    {"ja_JP.UTF-8", false},
                    {"ja_JP.eucJP", false},
                    {"ja_JP", false},
                    {"C", false},
                    {"SJIS", false}};
    for (const auto& locale : kLocales)
        EXPECT_EQ(CodePage::FromLocaleName(locale.name).Number(), locale.cp932 ? 932 : 0)
            << locale.name;
}
} // namespace
