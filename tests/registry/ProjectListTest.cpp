#include "registry/ProjectList.h"
#include "CodePageSamples.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

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

} // namespace
