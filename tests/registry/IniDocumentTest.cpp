#include "framework/IniDocument.h"
#include "registry/ProjectList.h"
#include "registry/ProjectListStore.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <string>

namespace {
struct ReadCase {
    const char* title;
    const char* text;
    const char* section;
    const char* key;
    const char* expected; // as ReadString gives it with the default "<none>"
    int expectedInt;      // ReadInt with the default -99
};

TEST(IniDocument, ReadsAsTheProfileFunctionsDo) {
    const ReadCase cases[] = {
        {"names ignore case", "[Project]\r\nsize=4\r\n", "PROJECT", "SIZE", "4", 4},
        {"missing key", "[PROJECT]\r\nSIZE=4\r\n", "PROJECT", "COUNT", "<none>", -99},
        {"missing section", "[A]\r\nSIZE=4\r\n", "B", "SIZE", "<none>", -99},
        {"blanks and quotes", "[A]\r\n  K = \"x y\"  \r\n", "A", "K", "x y", 0},
        {"first duplicate key", "[A]\r\nK=1\r\nK=2\r\n", "A", "K", "1", 1},
        {"first duplicate section", "[A]\r\nK=1\r\n[A]\r\nK=2\r\nL=3\r\n", "A", "L", "<none>", -99},
        {"negative and trailing text", "[A]\nK=-5 builds\n", "A", "K", "-5 builds", -5},
        {"empty value reads the default number", "[A]\r\nK=\r\n", "A", "K", "", -99},
        {"comments are not keys", "[A]\r\n;K=1\r\n", "A", ";K", "<none>", -99},
        {"keys before any section belong to none", "K=1\r\n[A]\r\n", "A", "K", "<none>", -99},
    };
    for (const ReadCase& c : cases) {
        const IniDocument ini(c.text);
        EXPECT_EQ(std::string(ini.ReadString(c.section, c.key, "<none>")), c.expected) << c.title;
        EXPECT_EQ(ini.ReadInt(c.section, c.key, -99), c.expectedInt) << c.title;
    }
}

struct WriteCase {
    const char* title;
    const char* before;
    const char* section;
    const char* key;
    const char* value;
    const char* after;
};

TEST(IniDocument, WritesInPlaceOrAtTheEndOfTheSection) {
    const WriteCase cases[] = {
        {"new file", "", "WINDOW", "LEFT", "10", "[WINDOW]\r\nLEFT=10\r\n"},
        {"replaced in place, key keeps its case", "[w]\r\nleft = 1 ; old\r\nTOP=2\r\n", "W", "LEFT",
         "10", "[w]\r\nleft=10\r\nTOP=2\r\n"},
        {"added before the blank lines of its section", "[A]\r\nX=1\r\n\r\n[B]\r\n", "A", "Y", "2",
         "[A]\r\nX=1\r\nY=2\r\n\r\n[B]\r\n"},
        {"new section after everything else", "; note\n[A]\nX=1\n", "B", "Y", "2",
         "; note\r\n[A]\r\nX=1\r\n[B]\r\nY=2\r\n"},
        {"empty section", "[A]\r\n\r\n", "A", "Y", "2", "[A]\r\nY=2\r\n\r\n"},
    };
    for (const WriteCase& c : cases) {
        IniDocument ini(c.before);
        ini.WriteString(c.section, c.key, c.value);
        EXPECT_EQ(ini.Text(), c.after) << c.title;
        EXPECT_EQ(std::string(ini.ReadString(c.section, c.key)), c.value) << c.title;
    }
}

// A list the user edited by hand, loaded, reordered and saved: every line the program does not
// write stays, the sections above the count stay, and missing sections below it are written.
TEST(IniDocument, UserEditedProjectListRoundTrips) {
    IniDocument ini(testfiles::ReadBytes(testfiles::DataFile("user_edited.ini")));
    ProjectList list;
    ProjectListStore::LoadProjectList(ini, list);
    ASSERT_EQ(list.GetCount(), 3);
    EXPECT_EQ(list.GetAt(0)->version, (VersionNumber{1, 2, 3, 40}));
    list.Move(list.GetAt(1), 0);
    ProjectListStore::SaveProjectList(list, ini);
    EXPECT_EQ(ini.Text(), testfiles::ReadBytes(testfiles::DataFile("user_edited.expected.ini")));
}

TEST(IniDocument, FileRoundTripAndMissingFile) {
    testfiles::TestFolder folder;
    const std::string path = folder.Path("Revtally.ini");
    EXPECT_EQ(IniDocument::Load(path.c_str()).Text(), "");
    IniDocument ini;
    ini.WriteInt("PROJECT", "SIZE", 0);
    ASSERT_TRUE(ini.Save(path.c_str()));
    EXPECT_EQ(testfiles::ReadBytes(path), "[PROJECT]\r\nSIZE=0\r\n");
    EXPECT_EQ(IniDocument::Load(path.c_str()).ReadInt("PROJECT", "SIZE", -1), 0);
}
} // namespace
