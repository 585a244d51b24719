// Every file call of a stamping run, failed and then killed in turn under strace, as a full disk,
// a failing drive or a cancelled build would do it. Whatever happens, the script and its history
// are each the old bytes or the new ones; a build goes unrecorded only when the run stops at the
// history's rename; a failure says so in one line; and the next run cleans up and counts on.
#include "ScriptText.h"
#include "TestFiles.h"
#include "stamp/VersionHistory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

using namespace testfiles;

namespace {
std::string FindStrace() {
    std::stringstream folders(std::getenv("PATH") ? std::getenv("PATH") : "");
    for (std::string folder; std::getline(folders, folder, ':');)
        if (::access((folder + "/strace").c_str(), X_OK) == 0)
            return folder + "/strace";
    return {};
}

// One call of a clean run that touches the script's folder, and which call of its name it is in
// the whole process (strace's when= counts them all, the loader's included).
struct FileCall {
    std::string name;
    int occurrence;
    std::string line;
};

std::vector<FileCall> FileCallsOf(const std::string& trace, const std::string& folder) {
    static const std::regex call(R"(^\d+ +(\w+)\()");
    std::map<std::string, int> seen;
    std::vector<FileCall> calls;
    std::istringstream lines(trace);
    for (std::string line; std::getline(lines, line);) {
        std::smatch match;
        if (!std::regex_search(line, match, call))
            continue;
        const int occurrence = ++seen[match[1]];
        // Every path call names the current folder as AT_FDCWD; only its own arguments count.
        const std::string own = std::regex_replace(line, std::regex("AT_FDCWD<[^>]*>"), "");
        if (own.find(folder) != std::string::npos)
            calls.push_back({match[1], occurrence, line});
    }
    return calls;
}

std::string HistoryWith(const std::optional<std::string>& before, const std::vector<int>& builds) {
    if (!before && builds.empty())
        return "";
    CString text = before ? CString(before->c_str()) : HistoryTemplate("app");
    for (const int build : builds) {
        if (const Expected<CString> next = AddHistoryEntry(text, "<time>", {1, 2, 3, build}))
            text = *next;
    }
    return text.Str();
}

std::string Script(int build) {
    const std::string numbers = VersionText({1, 2, 3, build});
    return ScriptText(numbers, numbers, "// Version resources\r\n#include \"resource.h\"\r\n\r\n");
}

// A script whose numbers its header defines, and that header: a followed stamp writes only the
// header and the history.
const std::string kFollowedScript =
    ScriptText("VER_MAJOR,VER_MINOR,VER_SUB,VER_BUILD", "",
               "#include \"winres.h\"\r\n#include \"version.h\"\r\n\r\n");
std::string Header(int build) {
    return "#pragma once\r\n#define VER_MAJOR 1\r\n#define VER_MINOR 2\r\n#define VER_SUB 3\r\n"
           "#define VER_BUILD " +
           std::to_string(build) + " // raised by every build\r\n";
}

int CountLines(const std::string& text) {
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

struct Start {
    const char* name;
    std::optional<std::string> history; // none: the first stamp, which creates it
    bool leftover;                      // a temporary file of a killed run lies beside the script
    bool followed = false;              // -f: the build stands in version.h

    // The file that holds the build, and what it holds at a build.
    std::string Stamped() const { return followed ? "version.h" : "app.rc"; }
    std::string Holding(int build) const { return followed ? Header(build) : Script(build); }
    std::vector<std::string> Arguments() const {
        return followed ? std::vector<std::string>{"-f", "app.rc"}
                        : std::vector<std::string>{"app.rc"};
    }
    std::vector<std::string> Files() const {
        std::vector<std::string> files = {"app.rc", "app_ver.txt", "trace.log"};
        if (followed)
            files.push_back("version.h"); // the names as the folder lists them, sorted
        return files;
    }
};

class FaultInjection : public ::testing::TestWithParam<Start> {
protected:
    void SetUp() override {
        m_strace = FindStrace();
        ASSERT_FALSE(m_strace.empty()) << "strace not found: scripts/setup.sh installs it";
        // The leak check at exit starts a thread of its own; it has nothing to do with files.
        ::setenv("ASAN_OPTIONS", "detect_leaks=0", 1);
    }

    void Prepare(const TestFolder& folder) const {
        const Start& start = GetParam();
        WriteBytes(folder.Path("app.rc"), start.followed ? kFollowedScript : Script(41));
        if (start.followed)
            WriteBytes(folder.Path("version.h"), Header(41));
        if (start.history)
            WriteBytes(folder.Path("app_ver.txt"), *start.history);
        if (start.leftover)
            WriteBytes(folder.Path(start.Stamped() + ".~rvt7ffffff0-0-00000000.tmp"),
                       start.Holding(40));
    }

    RunResult Traced(const TestFolder& folder, const std::string& inject) const {
        std::vector<std::string> arguments = {"-f", "-qq", "-y", "-o", folder.Path("trace.log")};
        if (!inject.empty())
            arguments.insert(arguments.end(), {"-e", "inject=" + inject});
        arguments.push_back(REVTALLY_PROGRAM);
        for (const std::string& argument : GetParam().Arguments())
            arguments.push_back(argument);
        return RunProgram(m_strace, arguments, folder.Path());
    }

    std::string m_strace;
};

TEST_P(FaultInjection, LeavesOldOrNewFilesAndTheNextRunCountsOn) {
    const Start& start = GetParam();
    std::vector<FileCall> calls;
    {
        TestFolder clean("rvt-fault");
        Prepare(clean);
        const RunResult result = Traced(clean, "");
        ASSERT_EQ(result.standardError, "");
        ASSERT_EQ(ReadBytes(clean.Path(start.Stamped())), start.Holding(42));
        calls = FileCallsOf(ReadBytes(clean.Path("trace.log")), clean.Path());
    }
    ASSERT_GT(calls.size(), 20u);

    const std::string oldHistory = MaskTimeStamps(start.history.value_or(""));
    const std::string newHistory = MaskTimeStamps(HistoryWith(start.history, {41}));
    for (const FileCall& call : calls) {
        std::vector<std::string> faults = {"error=EIO", "signal=SIGKILL"};
        if (call.name == "write")
            faults.push_back("error=ENOSPC");
        for (const std::string& fault : faults) {
            const std::string inject =
                call.name + ":" + fault + ":when=" + std::to_string(call.occurrence);
            SCOPED_TRACE(inject + "  " + call.line);
            TestFolder folder("rvt-fault");
            Prepare(folder);
            const RunResult result = Traced(folder, inject);
            ASSERT_NE(ReadBytes(folder.Path("trace.log")).find(folder.Path()), std::string::npos);

            const std::string script = ReadBytes(folder.Path(start.Stamped()));
            const bool scriptNew = script == start.Holding(42);
            EXPECT_TRUE(scriptNew || script == start.Holding(41)) << script;
            if (start.followed)
                EXPECT_EQ(ReadBytes(folder.Path("app.rc")), kFollowedScript);
            const std::string history = Exists(folder.Path("app_ver.txt"))
                                            ? MaskTimeStamps(ReadBytes(folder.Path("app_ver.txt")))
                                            : "";
            const bool historyNew = history == newHistory;
            EXPECT_TRUE(historyNew || history == oldHistory) << history;
            // Only between the two renames can the script move on without its entry.
            const bool atHistoryRename =
                call.name == "rename" && call.line.find("app_ver.txt\"") != std::string::npos;
            if (scriptNew != historyNew)
                EXPECT_TRUE(scriptNew && atHistoryRename);
            if (fault.starts_with("error")) {
                const int lines = CountLines(result.standardError);
                EXPECT_LE(lines, 1) << result.standardError;
                if (!scriptNew || !historyNew)
                    EXPECT_EQ(lines, 1) << result.standardError;
                if (lines > 0)
                    EXPECT_NE(result.standardError.find("app.rc: "), std::string::npos);
            }

            const RunResult next = RunProgram(REVTALLY_PROGRAM, start.Arguments(), folder.Path());
            EXPECT_EQ(next.standardError, "");
            EXPECT_EQ(ReadBytes(folder.Path(start.Stamped())), start.Holding(scriptNew ? 43 : 42));
            std::vector<int> recorded;
            if (historyNew)
                recorded.push_back(41);
            recorded.push_back(scriptNew ? 42 : 41);
            EXPECT_EQ(MaskTimeStamps(ReadBytes(folder.Path("app_ver.txt"))),
                      MaskTimeStamps(HistoryWith(start.history, recorded)));
            EXPECT_EQ(folder.List(), start.Files());
        }
    }
}

const Start kStarts[] = {
    {"FirstStampWithALeftover", std::nullopt, true},
    {"LaterStamp",
     "#DESCRIPTION\r\n\tapp\r\n\r\n#UPDATELIST\r\n\t2026/12/01 09:00:00\tVersion 1.2.3\tbuild 40"
     "\r\n\r\n#COMMENT\r\n\tkept as it is\r\n",
     false},
    {"FollowedStampWithALeftover", std::nullopt, true, true},
};
INSTANTIATE_TEST_SUITE_P(Runs, FaultInjection, ::testing::ValuesIn(kStarts), kCaseName);
} // namespace
