#include "StampTestSupport.h"
#include "TestFiles.h"
#include "stamp/VersionHistory.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
using namespace std::string_literals;
using testfiles::MaskTimeStamps;
using testfiles::ReadBytes;
using testfiles::TestFolder;
using testfiles::WriteBytes;
using Names = std::vector<std::string>;

class History : public ::testing::Test {
protected:
    CodePageScope m_codePage{CodePage::Cp932()};
    TestFolder m_folder;
    const std::string m_script = m_folder.Path("app.rc");
    const std::string m_history = m_folder.Path("app_ver.txt");

    void Append(int build, CString* failure = nullptr) {
        AppendVersionHistory(m_script.c_str(), {1, 0, 0, build}, failure);
    }
};

TEST_F(History, FirstStampCreatesTheFileFromItsTemplate) {
    Append(5);
    EXPECT_EQ(MaskTimeStamps(ReadBytes(m_history)),
              "#DESCRIPTION\r\n\tapp\r\n\r\n#UPDATELIST\r\n\t<time>\tVersion 1.0.0\tbuild 5\r\n"
              "\r\n#COMMENT\r\n\r\n");
    // The script itself is neither needed nor created.
    EXPECT_EQ(m_folder.List(), Names{"app_ver.txt"});
}

TEST_F(History, NewestEntryComesFirst) {
    Append(1);
    Append(2);
    AppendVersionHistory(m_script.c_str(), {70000, -1, 0, 2147483647});
    EXPECT_EQ(MaskTimeStamps(ReadBytes(m_history)),
              "#DESCRIPTION\r\n\tapp\r\n\r\n#UPDATELIST\r\n"
              "\t<time>\tVersion 70000.-1.0\tbuild 2147483647\r\n"
              "\t<time>\tVersion 1.0.0\tbuild 2\r\n\t<time>\tVersion 1.0.0\tbuild 1\r\n"
              "\r\n#COMMENT\r\n\r\n");
}

TEST_F(History, UserTextStaysByteForByte) {
    WriteBytes(m_history, ReadBytes(testfiles::DataFile("history_user.txt")));
    AppendVersionHistory(m_script.c_str(), {1, 2, 3, 42});
    // Only the new entry's time is unknown; the older entries keep theirs exactly.
    std::string bytes = ReadBytes(m_history);
    const std::string head = "#UPDATELIST\r\n\t";
    const size_t at = bytes.find(head);
    ASSERT_NE(at, std::string::npos);
    const std::string stamp = bytes.substr(at + head.size(), 19);
    ASSERT_EQ(MaskTimeStamps(stamp), "<time>") << stamp;
    bytes.replace(at + head.size(), 19, "<time>");
    EXPECT_EQ(bytes, ReadBytes(testfiles::DataFile("history_user.expected.txt")));
}

TEST_F(History, EntryGoesAfterTheFirstUpdateList) {
    WriteBytes(m_history, "#DESCRIPTION\r\n\tsee #UPDATELIST\r\n\r\n#UPDATELIST\r\n");
    Append(3);
    EXPECT_EQ(MaskTimeStamps(ReadBytes(m_history)),
              "#DESCRIPTION\r\n\tsee #UPDATELIST\r\n\t<time>\tVersion 1.0.0\tbuild 3\r\n\r\n"
              "#UPDATELIST\r\n");
}

TEST_F(History, UpdateListAfterASecondByteIsFound) {
    WriteBytes(m_history, "#DESCRIPTION\r\n" HYO "#UPDATELIST" SO "\r\n");
    Append(3);
    EXPECT_EQ(MaskTimeStamps(ReadBytes(m_history)),
              "#DESCRIPTION\r\n" HYO "#UPDATELIST\r\n\t<time>\tVersion 1.0.0\tbuild 3" SO "\r\n");
}

class HistoryRefusal : public History,
                       public ::testing::WithParamInterface<testfiles::NamedText> {};

TEST_P(HistoryRefusal, GetsNoEntry) {
    const std::string& text = GetParam().text;
    WriteBytes(m_history, text);
    CString failure;
    Append(7, &failure);
    EXPECT_FALSE(failure.IsEmpty());
    EXPECT_EQ(ReadBytes(m_history), text);
    EXPECT_EQ(m_folder.List(), Names{"app_ver.txt"});
}

const testfiles::NamedText kRefusedHistories[] = {
    {"NoUpdateList", "#DESCRIPTION\r\n\tapp\r\n\r\n#COMMENT\r\n"},
    {"LowerCase", "#updatelist\r\n"},
    {"NulBeforeTheList", "#DESCRIPTION\r\n\0\r\n#UPDATELIST\r\n"s},
    {"NulAfterTheList", "#UPDATELIST\r\n\tx\r\n\0lost?\r\n"s},
    {"Empty", ""},
};
INSTANTIATE_TEST_SUITE_P(Files, HistoryRefusal, ::testing::ValuesIn(kRefusedHistories),
                         testfiles::kCaseName);

TEST_F(History, ReadOnlyFileGetsNoEntry) {
    const std::string text = "#UPDATELIST\r\n";
    WriteBytes(m_history, text);
    testfiles::SetReadOnly(m_history, true);
    CString failure;
    Append(7, &failure);
    testfiles::SetReadOnly(m_history, false);
    EXPECT_FALSE(failure.IsEmpty());
    EXPECT_EQ(ReadBytes(m_history), text);
    EXPECT_EQ(m_folder.List(), Names{"app_ver.txt"});
}

TEST(HistoryPath, LiesBesideTheScript) {
    CodePageScope rule(CodePage::Cp932());
    const struct {
        const char* script;
        const char* history;
    } cases[] = {
        {"C:|work|app.rc", "C:|work|app_ver.txt"},
        {"C:|work|my.app.rc", "C:|work|my.app_ver.txt"},
        {"C:|work|app", "C:|work|app_ver.txt"},
        {"C:|" HYO "|" SO ".rc", "C:|" HYO "|" SO "_ver.txt"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(HistoryFilePath(NativePath(c.script)).Str(), NativePath(c.history));
}

TEST(HistoryFolder, DoubleByteNamesEndingIn5C) {
    CodePageScope rule(CodePage::Cp932());
    TestFolder folder("rvt-" SO NOU HYO);
    AppendVersionHistory(folder.Path(HYO SO ".rc").c_str(), {1, 2, 3, 4});
    EXPECT_EQ(folder.List(), Names{HYO SO "_ver.txt"});
    EXPECT_EQ(MaskTimeStamps(ReadBytes(folder.Path(HYO SO "_ver.txt"))),
              "#DESCRIPTION\r\n\t" HYO SO "\r\n\r\n#UPDATELIST\r\n\t<time>\tVersion 1.2.3\tbuild 4"
              "\r\n\r\n#COMMENT\r\n\r\n");
}

TEST(HistoryFolder, EmptyPathWritesNothing) {
    const bool before = testfiles::Exists("_ver.txt");
    AppendVersionHistory("", {1, 0, 0, 1});
    EXPECT_EQ(testfiles::Exists("_ver.txt"), before);
}
} // namespace
