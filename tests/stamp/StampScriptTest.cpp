#include "ScriptText.h"
#include "CodePageSamples.h"
#include "TestFiles.h"
#include "stamp/StampScript.h"
#include "stamp/VersionHistory.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#endif

#include <string>
#include <vector>

namespace {
using namespace std::string_literals;
using testfiles::MaskTimeStamps;
using testfiles::ReadBytes;
using testfiles::TestFolder;
using testfiles::WriteBytes;
using Names = std::vector<std::string>;

// A run as the build log hears of it: stamped or not, and its line.
struct Outcome {
    bool done = false;
    LogCode code = LogCode::fileOrLockError;
    std::string line;
};

// Stamps a script that holds the version given; the history is written only by a stamp.
Outcome Stamp(const std::string& script, const VersionNumber& version) {
    const std::string numbers = testfiles::VersionText(version);
    WriteBytes(script, testfiles::ScriptText(numbers, numbers));
    const StampRun run = StampScript(script.c_str());
    if (!run.note)
        return {run.stamped, {}, ""};
    return {run.stamped, run.note->code, run.note->reason.Str()};
}

class History : public ::testing::Test {
protected:
    CodePageScope m_codePage{CodePage::Cp932()};
    TestFolder m_folder;
    const std::string m_script = m_folder.Path("app.rc");
    const std::string m_history = m_folder.Path("app_ver.txt");

    Outcome Append(int build) { return Stamp(m_script, {1, 0, 0, build}); }
};

TEST_F(History, FirstStampCreatesTheFileFromItsTemplate) {
    Append(5);
    EXPECT_EQ(MaskTimeStamps(ReadBytes(m_history)),
              "#DESCRIPTION\r\n\tapp\r\n\r\n#UPDATELIST\r\n\t<time>\tVersion 1.0.0\tbuild 5\r\n"
              "\r\n#COMMENT\r\n\r\n");
    EXPECT_EQ(m_folder.List(), (Names{"app.rc", "app_ver.txt"}));
}

TEST_F(History, NewestEntryComesFirst) {
    Append(1);
    Append(2);
    Stamp(m_script, {65535, 0, 10, 65534});
    EXPECT_EQ(MaskTimeStamps(ReadBytes(m_history)),
              "#DESCRIPTION\r\n\tapp\r\n\r\n#UPDATELIST\r\n"
              "\t<time>\tVersion 65535.0.10\tbuild 65534\r\n"
              "\t<time>\tVersion 1.0.0\tbuild 2\r\n\t<time>\tVersion 1.0.0\tbuild 1\r\n"
              "\r\n#COMMENT\r\n\r\n");
}

TEST_F(History, UserTextStaysByteForByte) {
    WriteBytes(m_history, ReadBytes(testfiles::DataFile("history_user.txt")));
    Stamp(m_script, {1, 2, 3, 42});
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

// The user's file is never changed again, but the build goes on being stamped, and the log says
// that it went unrecorded.
TEST_P(HistoryRefusal, GetsNoEntry) {
    const std::string& text = GetParam().text;
    WriteBytes(m_history, text);
    const Outcome result = Append(7);
    EXPECT_TRUE(result.done);
    EXPECT_NE(result.line.find("no history entry"), std::string::npos);
    EXPECT_EQ(ReadBytes(m_history), text);
    EXPECT_EQ(m_folder.List(), (Names{"app.rc", "app_ver.txt"}));
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

// A build is stamped only when its entry can be written too.
TEST_F(History, ReadOnlyFileStopsTheStamp) {
    const std::string text = "#UPDATELIST\r\n";
    WriteBytes(m_history, text);
    testfiles::SetReadOnly(m_history, true);
    const Outcome result = Append(7);
    testfiles::SetReadOnly(m_history, false);
    EXPECT_FALSE(result.done);
    EXPECT_EQ(result.code, LogCode::fileOrLockError);
    EXPECT_NE(result.line.find("history"), std::string::npos);
    EXPECT_EQ(ReadBytes(m_script), testfiles::ScriptText("1, 0, 0, 7", "1, 0, 0, 7"));
    EXPECT_EQ(ReadBytes(m_history), text);
    EXPECT_EQ(m_folder.List(), (Names{"app.rc", "app_ver.txt"}));
}

// A killed run leaves its temporary files behind; the next run under the lock takes them away,
// also one that carries this very process id and so could block a name this run might pick.
TEST_F(History, LeftoverTemporaryFilesGoAway) {
    const std::string leftovers[] = {
        m_script + ".~rvt" + testfiles::CurrentProcessIdText() + "-0.tmp",
        m_history + ".~rvt" + testfiles::CurrentProcessIdText() + "-3-0badf00d.tmp",
        m_script + ".~rvt7ffffff0-1-00000000.tmp", // a process long gone
    };
    for (const std::string& leftover : leftovers)
        WriteBytes(leftover, "half a script");
    WriteBytes(m_folder.Path("app.rc.~rvt-user.tmp"), "not ours");
    EXPECT_TRUE(Append(7).done);
    EXPECT_EQ(m_folder.List(), (Names{"app.rc", "app.rc.~rvt-user.tmp", "app_ver.txt"}));
}

#ifdef _WIN32
// Another object holding the lock's name keeps the lock from being had: nothing is written
// unlocked, where a parallel build could lose its increment.
TEST_F(History, ALockThatCannotBeHadStopsTheStamp) {
    HANDLE squatter =
        CreateEventA(nullptr, FALSE, FALSE,
                     ScriptLock::MutexNameFor(kScriptLockName, m_script.c_str()).GetString());
    const Outcome result = Append(7);
    CloseHandle(squatter);
    EXPECT_FALSE(result.done);
    EXPECT_EQ(result.code, LogCode::fileOrLockError);
    EXPECT_NE(result.line.find("cannot lock"), std::string::npos);
    EXPECT_EQ(m_folder.List(), Names{"app.rc"});
}
#endif

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
        EXPECT_EQ(HistoryFileOf(NativePath(c.script)).path.Str(), NativePath(c.history));
}

TEST(HistoryFolder, DoubleByteNamesEndingIn5C) {
    CodePageScope rule(CodePage::Cp932());
    TestFolder folder("rvt-" SO NOU HYO);
    Stamp(folder.Path(HYO SO ".rc"), {1, 2, 3, 4});
    EXPECT_EQ(folder.List(), (Names{HYO SO ".rc", HYO SO "_ver.txt"}));
    EXPECT_EQ(MaskTimeStamps(ReadBytes(folder.Path(HYO SO "_ver.txt"))),
              "#DESCRIPTION\r\n\t" HYO SO "\r\n\r\n#UPDATELIST\r\n\t<time>\tVersion 1.2.3\tbuild 4"
              "\r\n\r\n#COMMENT\r\n\r\n");
}

} // namespace
