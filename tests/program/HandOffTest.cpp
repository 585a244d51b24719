// A stamping run tells the running window about the script it stamped, or starts one in the tray;
// the tray window comes and goes through its icon, its menu and a second start. Every process here
// is real: Revtally.exe copied into a folder of its own, driven from outside as another program or
// the shell would drive it.
#include "IniText.h"
#include "ScriptText.h"
#include "TestFiles.h"
#include "WindowFinder.h"
#include "res/resource.h"
#include "ui/HandOff.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <windows.h>

#include <commctrl.h>
#include <tlhelp32.h>

using namespace testfiles;

namespace {
// The window's own, for the clicks on its tray icon.
constexpr UINT kTrayNotify = WM_APP + 0x200;
constexpr DWORD kPatience = 30000;

std::string Script(int major, int build) {
    return ScriptText(VersionText({major, 2, 3, build}));
}

IniProject Project(const std::string& name, const std::string& script, int major, int build) {
    return {name, {major, 2, 3, build}, script, "2024/01/02 03:04:05"};
}

bool Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR* answer = nullptr) {
    DWORD_PTR ignored = 0;
    return SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kPatience,
                               answer ? answer : &ignored) != 0;
}

bool SendRecord(HWND window, const void* data, DWORD size) {
    COPYDATASTRUCT copy{size, size, const_cast<void*>(data)};
    return Send(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&copy));
}

// The rows of the list as the user sees them, read through memory in the window's process.
std::vector<std::vector<std::string>> Rows(HWND window) {
    std::vector<std::vector<std::string>> rows;
    HWND list = GetDlgItem(window, IDC_PROJECT_LIST);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    HANDLE process =
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, owner);
    if (!process) {
        ADD_FAILURE() << "cannot open the window's process";
        return rows;
    }
    constexpr int kText = 512;
    char* remote = static_cast<char*>(
        VirtualAllocEx(process, nullptr, sizeof(LVITEMA) + kText, MEM_COMMIT, PAGE_READWRITE));
    DWORD_PTR count = 0;
    Send(list, LVM_GETITEMCOUNT, 0, 0, &count);
    for (int row = 0; remote && row < static_cast<int>(count); ++row) {
        rows.emplace_back();
        for (int column = 0; column < 5; ++column) {
            LVITEMA item{};
            item.iSubItem = column;
            item.cchTextMax = kText;
            item.pszText = remote + sizeof item;
            char text[kText] = {};
            WriteProcessMemory(process, remote, &item, sizeof item, nullptr);
            Send(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(remote));
            ReadProcessMemory(process, remote + sizeof item, text, kText - 1, nullptr);
            rows.back().push_back(text);
        }
    }
    if (remote)
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
    return rows;
}

class HandOff : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(MainWindows().empty()) << "a window instance was left behind before this test";
        m_built = BesideThisProgram("Revtally.exe");
        m_program = m_folder.Path("Revtally.exe");
        m_ini = m_folder.Path("Revtally.ini");
        ASSERT_TRUE(CopyFileA(m_built.c_str(), m_program.c_str(), FALSE)) << m_built;
        MakeFolder(m_folder.Path("src"));
    }

    // Ends every process of this folder, whoever started it, so the next test starts clean.
    void TearDown() override {
        for (HANDLE process : m_started)
            CloseHandle(process);
        for (HWND window : MainWindows())
            PostMessageA(window, WM_CLOSE, 0, 0);
        Eventually([&] { return ProgramProcesses().empty(); }, 10000);
        for (DWORD id : ProgramProcesses()) {
            ADD_FAILURE() << "process " << id << " had to be terminated";
            if (HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id)) {
                TerminateProcess(process, 99);
                WaitForSingleObject(process, kPatience);
                CloseHandle(process);
            }
        }
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, m_ini.c_str());
    }

    std::vector<DWORD> ProgramProcesses() const {
        std::vector<DWORD> found;
        HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
        PROCESSENTRY32 entry{};
        entry.dwSize = sizeof entry;
        for (BOOL more = Process32First(snapshot, &entry); more;
             more = Process32Next(snapshot, &entry)) {
            HANDLE process =
                OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID);
            char image[MAX_PATH * 2] = {};
            DWORD length = sizeof image;
            if (process && QueryFullProcessImageNameA(process, 0, image, &length) &&
                CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, image,
                               static_cast<int>(m_folder.Path().size()), m_folder.Path().c_str(),
                               -1) == CSTR_EQUAL)
                found.push_back(entry.th32ProcessID);
            if (process)
                CloseHandle(process);
        }
        CloseHandle(snapshot);
        return found;
    }

    HANDLE Start(const std::string& program, const std::string& arguments) {
        HANDLE process = StartProcess(program, arguments, m_folder.Path("src"));
        if (!process)
            ADD_FAILURE() << "cannot start " << program << " (error " << GetLastError() << ")";
        else
            m_started.push_back(process);
        return process;
    }

    // The window of a fresh start, once it has read the list. The dialog's controls exist before
    // its initialisation runs, so a hidden window alone says nothing; it is shown only after that.
    // In tray mode that first showing minimises and hides it, the showing itself then makes it
    // visible again, and the hide timer hides it for good once the dialog's loop runs.
    HWND StartWindow(bool tray) {
        HANDLE process = Start(m_program, tray ? "-t" : "");
        HWND window = nullptr;
        const auto hidden = [&] { return IsIconic(window) && !IsWindowVisible(window); };
        Eventually([&] {
            const std::vector<HWND> windows = MainWindows();
            window = windows.size() == 1 && (tray ? IsIconic(windows[0]) != FALSE
                                                  : IsWindowVisible(windows[0]) != FALSE)
                         ? windows[0]
                         : nullptr;
            return window || WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
        });
        int hiddenPolls = 0;
        if (window && tray && Send(window, WM_NULL, 0, 0))
            Eventually([&] { return (hiddenPolls = hidden() ? hiddenPolls + 1 : 0) >= 20; });
        EXPECT_TRUE(window && (!tray || hidden())) << "no window came, or it did not hide";
        return window;
    }

    // Runs one stamping run as a build would; a liveness bound, not a timing.
    void Stamp(const std::string& script, const std::string& program = "",
               const std::string& switches = "") {
        HANDLE process =
            Start(program.empty() ? m_program : program, switches + "\"" + script + "\"");
        ASSERT_TRUE(process);
        ASSERT_EQ(WaitForSingleObject(process, kPatience), WAIT_OBJECT_0) << "the stamp hung";
        DWORD exitCode = 99;
        GetExitCodeProcess(process, &exitCode);
        EXPECT_EQ(exitCode, 0u);
    }

    void EndAndWait(HWND window, UINT message, WPARAM wParam) {
        EXPECT_TRUE(testfiles::EndAndWait(window, message, wParam, kPatience)) << "it did not end";
    }

    std::string NewScript(const std::string& name, int major, int build) {
        const std::string path = m_folder.Path("src") + "\\" + name + ".rc";
        WriteBytes(path, Script(major, build));
        return path;
    }

    std::string Ini(const std::string& section, const char* key) const {
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, m_ini.c_str());
        char buffer[1024];
        const DWORD length = GetPrivateProfileStringA(section.c_str(), key, "<missing>", buffer,
                                                      sizeof buffer, m_ini.c_str());
        return std::string(buffer, length);
    }

    TestFolder m_folder{"rvt-handoff"};
    std::string m_built, m_program, m_ini;
    std::vector<HANDLE> m_started;
};

// Stamping into a running window -------------------------------------------------------------

TEST_F(HandOff, StampMovesTheProjectToTheTopOfAShownOrHiddenWindow) {
    for (bool tray : {false, true}) {
        SCOPED_TRACE(tray ? "tray" : "shown");
        const std::string first = NewScript("first", 7, 10), app = NewScript("app", 1, 41);
        WriteBytes(m_ini,
                   ProjectsIni({Project("first", first, 7, 10), Project("app", app, 1, 41)}));
        HWND window = StartWindow(tray);
        ASSERT_TRUE(window);
        Stamp(app);
        EXPECT_EQ(ReadBytes(app), Script(1, 42));
        std::vector<std::vector<std::string>> rows = Rows(window);
        ASSERT_EQ(rows.size(), 2u);
        EXPECT_EQ(rows[0][0], "app");
        EXPECT_EQ(rows[0][1], "1.2.3");
        EXPECT_EQ(rows[0][2], "42");
        EXPECT_NE(rows[0][3], "2024/01/02 03:04:05");
        EXPECT_EQ(rows[1][0], "first");
        EXPECT_EQ(IsWindowVisible(window), !tray) << "the hand-off changed the window's state";
        // Showing the project must not write another project's numbers into its script.
        EXPECT_EQ(ReadBytes(app), Script(1, 42));
        EXPECT_EQ(ReadBytes(first), Script(7, 10));
        EndAndWait(window, WM_CLOSE, 0);
        EXPECT_EQ(Ini("PROJECT0", "RCFILE"), app);
        EXPECT_EQ(Ini("PROJECT0", "BUILDNUMBER"), "42");
        EXPECT_EQ(Ini("PROJECT1", "RCFILE"), first);
        EXPECT_EQ(ProgramProcesses().size(), 0u);
    }
}

// The window reads and writes a handed-off script under the same lock as the stamping runs, so
// no run that lands in between is overwritten.
TEST_F(HandOff, ParallelStampsIntoARunningWindowLoseNoBuild) {
    const std::string app = NewScript("app", 1, 41);
    WriteBytes(m_ini, ProjectsIni({Project("app", app, 1, 41)}));
    HWND window = StartWindow(true);
    ASSERT_TRUE(window);
    for (int burst = 0; burst < 3; ++burst) {
        std::vector<HANDLE> runs;
        for (int run = 0; run < 6; ++run)
            runs.push_back(Start(m_program, "\"" + app + "\""));
        for (HANDLE process : runs)
            ASSERT_EQ(WaitForSingleObject(process, kPatience), WAIT_OBJECT_0) << "a stamp hung";
    }
    EXPECT_EQ(ReadBytes(app), Script(1, 59));
    const std::string history = ReadBytes(m_folder.Path("src") + "\\app_ver.txt");
    size_t entries = 0;
    for (size_t at = history.find("\tbuild "); at != std::string::npos;
         at = history.find("\tbuild ", at + 1))
        ++entries;
    EXPECT_EQ(entries, 18u);
    const std::vector<std::vector<std::string>> rows = Rows(window);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][2], "59");
    EndAndWait(window, WM_CLOSE, 0);
    EXPECT_EQ(Ini("PROJECT0", "BUILDNUMBER"), "59");
}

TEST_F(HandOff, StampWithNoWindowStartsExactlyOneInTheTray) {
    const std::string app = NewScript("app", 1, 41);
    Stamp(app);
    EXPECT_EQ(ReadBytes(app), Script(1, 42));
    EXPECT_TRUE(Exists(m_folder.Path("src") + "\\app_ver.txt"));
    ASSERT_EQ(MainWindows().size(), 1u);
    HWND window = MainWindows()[0];
    EXPECT_TRUE(Eventually([&] { return !IsWindowVisible(window); })) << "not hidden in the tray";
    // Two round trips through its queue: whatever the window had waiting, its timers included,
    // has run by then.
    EXPECT_TRUE(Send(window, WM_NULL, 0, 0) && Send(window, WM_NULL, 0, 0));
    EXPECT_FALSE(IsWindowVisible(window)) << "the hide timer let the window come back";
    std::vector<std::vector<std::string>> rows = Rows(window);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0], "app");
    EXPECT_EQ(rows[0][2], "42");
    EXPECT_EQ(ProgramProcesses().size(), 1u);
    EndAndWait(window, WM_CLOSE, 0);
    EXPECT_EQ(Ini("PROJECT0", "RCFILE"), app);
}

// Nothing to show: no window is started for a script whose numbers could not be read.
TEST_F(HandOff, UnreadableScriptsAreNotHandedOff) {
    const std::string tab = NewScript("tab", 1, 4);
    WriteBytes(tab, ReplaceAll(ReadBytes(tab), "FILEVERSION ", "FILEVERSION\t"));
    const std::string noBlock = NewScript("noblock", 1, 4);
    WriteBytes(noBlock, ReplaceAll(ReadBytes(noBlock), "VS_VERSION_INFO", "// 1"));
    for (const std::string& script : {tab, noBlock})
        Stamp(script);
    EXPECT_TRUE(MainWindows().empty());
    EXPECT_TRUE(ProgramProcesses().empty());
}

// A build server's stamp tells no window and starts none.
TEST_F(HandOff, NoWindowSwitchStartsNone) {
    const std::string app = NewScript("app", 1, 41);
    Stamp(app, "", "-n ");
    EXPECT_EQ(ReadBytes(app), Script(1, 42));
    EXPECT_TRUE(MainWindows().empty());
    EXPECT_TRUE(ProgramProcesses().empty());
}

TEST_F(HandOff, RenamedProgramStampsWithoutAWindow) {
    // Nothing named "revtally.exe" beside it or in the current folder.
    const std::string program = m_folder.Path("stamper.exe");
    ASSERT_TRUE(MoveFileA(m_program.c_str(), program.c_str()));
    const std::string app = NewScript("app", 1, 41);
    Stamp(app, program);
    EXPECT_EQ(ReadBytes(app), Script(1, 42));
    EXPECT_TRUE(Exists(m_folder.Path("src") + "\\app_ver.txt"));
    EXPECT_TRUE(MainWindows().empty());
    EXPECT_TRUE(ProgramProcesses().empty());
}

TEST_F(HandOff, SecondStartRestoresAHiddenWindowAndStartsNothing) {
    HWND window = StartWindow(true);
    ASSERT_TRUE(window);
    HANDLE second = Start(m_program, "");
    ASSERT_EQ(WaitForSingleObject(second, kPatience), WAIT_OBJECT_0);
    EXPECT_TRUE(Eventually([&] { return IsWindowVisible(window) != FALSE; }));
    EXPECT_EQ(ProgramProcesses().size(), 1u);
    EXPECT_EQ(MainWindows().size(), 1u);
    EndAndWait(window, WM_CLOSE, 0);
}

// What the window accepts -------------------------------------------------------------------

TEST_F(HandOff, IgnoresForeignCommandsShortRecordsAndUnterminatedPaths) {
    HWND window = StartWindow(true);
    ASSERT_TRUE(window);
    const std::string app = NewScript("app", 1, 41);
    HandOffRecord record{kHandOffApplyScript + 1, sizeof(HandOffRecord), {}};
    app.copy(record.path, sizeof record.path - 1);
    EXPECT_TRUE(SendRecord(window, &record, sizeof record));
    record.command = kHandOffApplyScript;
    EXPECT_TRUE(SendRecord(window, &record, sizeof record - 1));
    HandOffRecord unterminated{kHandOffApplyScript, sizeof(HandOffRecord), {}};
    std::string(sizeof unterminated.path, 'x').copy(unterminated.path, sizeof unterminated.path);
    EXPECT_TRUE(SendRecord(window, &unterminated, sizeof unterminated));
    // A memory handle from another process means nothing here.
    EXPECT_TRUE(Send(window, WM_HANDOFF, 0, 0x12345678));
    HandOffRecord show{kHandOffApplyScript + 1, sizeof(HandOffRecord), {}};
    EXPECT_TRUE(SendRecord(window, &show, sizeof show));
    EXPECT_TRUE(Rows(window).empty());
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_EQ(ReadBytes(app), Script(1, 41));

    EXPECT_TRUE(SendRecord(window, &record, sizeof record));
    ASSERT_EQ(Rows(window).size(), 1u) << "a record the window should take was ignored";
    show.command = kHandOffApplyScript;
    EXPECT_TRUE(SendRecord(window, &show, sizeof show));
    EXPECT_TRUE(Eventually([&] { return IsWindowVisible(window) != FALSE; }));
    EndAndWait(window, WM_CLOSE, 0);
}

// The tray and the ways of ending ---------------------------------------------------------------

TEST_F(HandOff, TrayMenuAndIconBringTheWindowBackAndEndIt) {
    const std::string app = NewScript("app", 1, 41);
    WriteBytes(m_ini, ProjectsIni({Project("app", app, 1, 41)}));
    HWND window = StartWindow(true);
    ASSERT_TRUE(window);
    Send(window, kTrayNotify, 0, WM_RBUTTONUP);
    EXPECT_FALSE(IsWindowVisible(window)) << "the right button did something";
    Send(window, WM_COMMAND, ID_TRAY_SHOW, 0);
    EXPECT_TRUE(Eventually([&] { return IsWindowVisible(window) != FALSE; })) << "show item";
    PostMessageA(window, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(Eventually([&] { return !IsWindowVisible(window); })) << "close button in tray";
    EXPECT_TRUE(IsWindow(window));
    Send(window, kTrayNotify, 0, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(Eventually([&] { return IsWindowVisible(window) != FALSE; })) << "double-click";
    DeleteFileA(m_ini.c_str());
    EndAndWait(window, WM_COMMAND, ID_APP_EXIT);
    EXPECT_EQ(Ini("PROJECT0", "RCFILE"), app);
}

TEST_F(HandOff, EveryWayOfEndingWritesTheList) {
    struct Way {
        const char* name;
        bool tray;
        UINT message;
        WPARAM wParam;
    };
    const Way ways[] = {{"WM_CLOSE", false, WM_CLOSE, 0},
                        {"cancel", false, WM_COMMAND, IDCANCEL},
                        {"exit", false, WM_COMMAND, ID_APP_EXIT},
                        {"close button", false, WM_COMMAND, IDOK},
                        {"tray WM_CLOSE", true, WM_CLOSE, 0},
                        {"tray cancel", true, WM_COMMAND, IDCANCEL},
                        {"tray exit", true, WM_COMMAND, ID_APP_EXIT}};
    const std::string app = NewScript("app", 1, 41);
    for (const Way& way : ways) {
        SCOPED_TRACE(way.name);
        WriteBytes(m_ini, ProjectsIni({Project("app", app, 1, 41)}));
        HWND window = StartWindow(way.tray);
        ASSERT_TRUE(window);
        // The list lives in the window from now on; only its end may write the file again.
        ASSERT_TRUE(DeleteFileA(m_ini.c_str()));
        EndAndWait(window, way.message, way.wParam);
        EXPECT_EQ(Ini("PROJECT", "SIZE"), "1");
        EXPECT_EQ(Ini("PROJECT0", "RCFILE"), app);
        EXPECT_TRUE(MainWindows().empty());
    }
}

// A busy or hung window ----------------------------------------------------------------------

TEST_F(HandOff, AMessageBoxOfTheWindowDoesNotTakeTheRecord) {
    const std::string first = NewScript("first", 7, 10), app = NewScript("app", 1, 41);
    WriteBytes(m_ini, ProjectsIni({Project("first", first, 7, 10)}));
    HWND window = StartWindow(false);
    ASSERT_TRUE(window);
    // Letters in a number field: the window complains in a box of its own caption and class. The
    // send returns only when the box closes, so it is left to time out.
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(GetDlgItem(window, IDC_MAJOR), WM_SETTEXT, 0,
                        reinterpret_cast<LPARAM>("abc"), SMTO_NORMAL, 1000, &ignored);
    HWND box = nullptr;
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    ASSERT_TRUE(Eventually([&] { return (box = MessageBoxOf(owner)) != nullptr; }));
    Stamp(app);
    EXPECT_EQ(ReadBytes(app), Script(1, 42));
    EXPECT_TRUE(IsWindow(box));
    std::vector<std::vector<std::string>> rows = Rows(window);
    ASSERT_EQ(rows.size(), 2u) << "the record went to the message box";
    EXPECT_EQ(rows[0][0], "app");
    EXPECT_EQ(rows[0][2], "42");
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(Eventually([&] { return !IsWindow(box); }));
    EndAndWait(window, WM_CLOSE, 0);
    EXPECT_EQ(Ini("PROJECT0", "RCFILE"), app);
}

TEST_F(HandOff, AHungWindowDoesNotHangTheBuild) {
    HWND window = StartWindow(false);
    ASSERT_TRUE(window);
    const DWORD threadId = GetWindowThreadProcessId(window, nullptr);
    HANDLE thread = OpenThread(THREAD_SUSPEND_RESUME, FALSE, threadId);
    ASSERT_TRUE(thread);
    ASSERT_NE(SuspendThread(thread), static_cast<DWORD>(-1));
    const std::string app = NewScript("app", 1, 41);
    Stamp(app); // the bound of Stamp is well above the ten seconds the sender gives the window
    EXPECT_EQ(ReadBytes(app), Script(1, 42));
    EXPECT_TRUE(Exists(m_folder.Path("src") + "\\app_ver.txt"));
    ResumeThread(thread);
    CloseHandle(thread);
    EndAndWait(window, WM_CLOSE, 0);
}

} // namespace
