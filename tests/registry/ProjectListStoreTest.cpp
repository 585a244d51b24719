#include "base/IniDocument.h"
#include "registry/ProjectListStore.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <string>

namespace {
// A list the user edited by hand, loaded, reordered and saved: every line the program does not
// write stays, the sections above the count stay, and missing sections below it are written.
TEST(ProjectListStore, UserEditedProjectListRoundTrips) {
    IniDocument ini(testfiles::ReadBytes(testfiles::DataFile("user_edited.ini")));
    ProjectList list = project_list_store::LoadProjectList(ini);
    ASSERT_EQ(list.GetCount(), 3);
    EXPECT_EQ(list.GetAt(0)->version, (VersionNumber{1, 2, 3, 40}));
    list.Move(list.GetAt(1), 0);
    project_list_store::SaveProjectList(list, ini);
    EXPECT_EQ(ini.Text(), testfiles::ReadBytes(testfiles::DataFile("user_edited.expected.ini")));
}

// Files as users' editors leave them, loaded, a project added at the top and saved: the list is
// whole, and every line the program does not write keeps its bytes.
TEST(ProjectListStore, EditorsFilesRoundTrip) {
    for (const std::string name : {"utf16le_japanese", "utf8_mark", "cr_only", "broken_lone_cr"}) {
        IniDocument ini(testfiles::ReadBytes(testfiles::DataFile(name + ".ini")));
        ProjectList list = project_list_store::LoadProjectList(ini);
        EXPECT_EQ(list.GetCount(), 2) << name;
        list.Insert(
            0, std::make_unique<ProjectRecord>(ProjectRecord{
                   "new", {0, 1, 0, 1}, "2026/01/02 03:04:05", "C:\\new\\new.rc", "C:\\new\\"}));
        project_list_store::SaveProjectList(list, ini);
        EXPECT_EQ(ini.Text(), testfiles::ReadBytes(testfiles::DataFile(name + ".expected.ini")))
            << name;
    }
}
} // namespace
