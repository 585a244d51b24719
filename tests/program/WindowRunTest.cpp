// Revtally.exe started as a user starts it, without a file: its window lists the projects of the
// INI file beside it, and closing the window writes the list back there.
#include "IniText.h"
#include "ScriptText.h"
#include "TestFiles.h"
#include "WindowFinder.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <windows.h>

#include <commctrl.h>

using namespace testfiles;

namespace {
constexpr int kColumns = 5;
constexpr DWORD kPatience = 30000;

const std::string kScriptText = ScriptText("1,2,3,41");

// The first project's script exists, in a folder whose name ("表ソ") and script name ("表示") end
// in byte 0x5C, which a byte-wise path or INI routine takes for a backslash.
std::vector<IniProject> Projects(const std::string& folder) {
    const std::string directory = folder + "\\\x95\x5C\x83\x5C\\";
    return {
        {"\x95\x5C\x8E\xA6",
         {1, 2, 3, 41},
         directory + "\x95\x5C\x8E\xA6.rc",
         "2024/01/02 03:04:05",
         directory},
        {"server tool",
         {10, 0, 0, 2147483647},
         "D:\\my projects\\server\\server tool.rc",
         "2023/12/31 23:59:59",
         "D:\\my projects\\server\\"},
        {"lib", {0, 0, 0, 0}, "E:\\lib\\lib.rc", "", "E:\\lib\\"},
    };
}
const int kWidths[kColumns] = {150, 90, 70, 160, 300};

std::string IniFor(const std::vector<IniProject>& projects) {
    return ProjectsIni(projects) + ColumnWidthsIni(kWidths) + PositionIni(40, 30);
}

std::string WidthKey(int column) {
    return "HEADER_WIDTH" + std::to_string(column);
}

LRESULT Ask(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &answer))
        ADD_FAILURE() << "the window did not answer message " << message;
    return static_cast<LRESULT>(answer);
}

class WindowRun : public ::testing::Test {
protected:
    void SetUp() override {
        m_program = m_folder.Path("Revtally.exe");
        m_ini = m_folder.Path("Revtally.ini");
        const std::string source = BesideThisProgram("Revtally.exe");
        ASSERT_TRUE(CopyFileA(source.c_str(), m_program.c_str(), FALSE)) << source;
    }

    // A test that fails half-way leaves no window behind for the next one.
    void TearDown() override {
        for (HANDLE process : m_started) {
            if (WaitForSingleObject(process, 0) == WAIT_TIMEOUT) {
                TerminateProcess(process, 99);
                WaitForSingleObject(process, kPatience);
            }
            CloseHandle(process);
        }
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, m_ini.c_str());
        if (m_folderReadOnly)
            SetFolderReadOnly(m_folder.Path(), false);
    }

    HANDLE Start() {
        HANDLE process = StartProcess(m_program, "", m_folder.Path());
        if (!process)
            ADD_FAILURE() << "cannot start " << m_program << " (error " << GetLastError() << ")";
        else
            m_started.push_back(process);
        return process;
    }

    HWND StartWindow(HANDLE& process) {
        process = Start();
        HWND window = process ? WaitForMainWindow(process, kPatience) : nullptr;
        EXPECT_TRUE(window) << "no window \"Revtally\" with the project list appeared";
        return window;
    }

    static bool Ends(HANDLE process, DWORD& exitCode) {
        if (WaitForSingleObject(process, kPatience) != WAIT_OBJECT_0) {
            TerminateProcess(process, 99);
            WaitForSingleObject(process, kPatience);
            return false;
        }
        GetExitCodeProcess(process, &exitCode);
        return true;
    }

    void CloseAndWait(HWND window, HANDLE process) {
        ASSERT_TRUE(PostMessageA(window, WM_CLOSE, 0, 0));
        DWORD exitCode = 99;
        ASSERT_TRUE(Ends(process, exitCode)) << "the program did not end after WM_CLOSE";
        EXPECT_EQ(exitCode, 0u);
    }

    int ReadInt(const char* section, const std::string& key) const {
        return static_cast<int>(GetPrivateProfileIntA(section, key.c_str(), -999, m_ini.c_str()));
    }
    std::string ReadString(const std::string& section, const char* key) const {
        char buffer[4096];
        const DWORD length = GetPrivateProfileStringA(section.c_str(), key, "<missing>", buffer,
                                                      sizeof buffer, m_ini.c_str());
        return std::string(buffer, length);
    }

    TestFolder m_folder{"rvt-window"};
    std::string m_program, m_ini;
    std::vector<HANDLE> m_started;
    bool m_folderReadOnly = false;
};

TEST_F(WindowRun, ShowsTheProjectsAndWritesThemBackUnchangedOnClose) {
    const std::vector<IniProject> projects = Projects(m_folder.Path());
    MakeFolder(projects[0].directory.substr(0, projects[0].directory.size() - 1));
    WriteBytes(projects[0].script, kScriptText);
    const long long scriptWritten = WriteTime(projects[0].script);
    WriteBytes(m_ini, IniFor(projects));
    HANDLE process = nullptr;
    HWND window = StartWindow(process);
    ASSERT_TRUE(window);
    HWND list = GetDlgItem(window, IDC_PROJECT_LIST);
    EXPECT_EQ(Ask(list, LVM_GETITEMCOUNT), 3);
    EXPECT_EQ(Ask(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 0);
    for (int column = 0; column < kColumns; ++column)
        EXPECT_EQ(Ask(list, LVM_GETCOLUMNWIDTH, column), kWidths[column]) << "column " << column;

    CloseAndWait(window, process);
    EXPECT_EQ(ReadInt("PROJECT", "SIZE"), 3);
    int index = 0;
    for (const IniProject& p : projects) {
        const std::string section = "PROJECT" + std::to_string(index++);
        SCOPED_TRACE(section);
        EXPECT_EQ(ReadString(section, "APPLICATION"), p.name);
        EXPECT_EQ(ReadInt(section.c_str(), "MEJORVERSION"), p.version.major);
        EXPECT_EQ(ReadInt(section.c_str(), "MINORVERSION"), p.version.minor);
        EXPECT_EQ(ReadInt(section.c_str(), "SUBVERSION"), p.version.sub);
        EXPECT_EQ(ReadInt(section.c_str(), "BUILDNUMBER"), p.version.build);
        EXPECT_EQ(ReadString(section, "LASTUPDATE"), p.lastUpdate);
        EXPECT_EQ(ReadString(section, "TARGETDIRECTORY"), p.directory);
        EXPECT_EQ(ReadString(section, "RCFILE"), p.script);
    }
    for (int column = 0; column < kColumns; ++column)
        EXPECT_EQ(ReadInt("LISTCONTROL", WidthKey(column)), kWidths[column]) << column;
    // Showing the selected project must not write its script.
    EXPECT_EQ(ReadBytes(projects[0].script), kScriptText);
    EXPECT_EQ(WriteTime(projects[0].script), scriptWritten);
}

TEST_F(WindowRun, FirstRunWritesFittedColumnWidthsAndAnEmptyList) {
    HANDLE process = nullptr;
    HWND window = StartWindow(process);
    ASSERT_TRUE(window);
    HWND list = GetDlgItem(window, IDC_PROJECT_LIST);
    EXPECT_EQ(Ask(list, LVM_GETITEMCOUNT), 0);
    int shown[kColumns] = {};
    for (int column = 0; column < kColumns; ++column)
        shown[column] = static_cast<int>(Ask(list, LVM_GETCOLUMNWIDTH, column));

    CloseAndWait(window, process);
    EXPECT_EQ(ReadInt("PROJECT", "SIZE"), 0);
    for (int column = 0; column < kColumns; ++column) {
        EXPECT_GT(ReadInt("LISTCONTROL", WidthKey(column)), 0) << column;
        EXPECT_EQ(ReadInt("LISTCONTROL", WidthKey(column)), shown[column]) << column;
    }
}

TEST_F(WindowRun, SecondStartEndsAtOnceAndLeavesTheFirstWindowAlone) {
    const std::vector<IniProject> projects = Projects(m_folder.Path());
    WriteBytes(m_ini, IniFor(projects));
    HANDLE first = nullptr;
    HWND window = StartWindow(first);
    ASSERT_TRUE(window);

    HANDLE second = Start();
    ASSERT_TRUE(second);
    DWORD exitCode = 99;
    ASSERT_TRUE(Ends(second, exitCode)) << "the second start kept running";
    EXPECT_EQ(exitCode, 0u);
    EXPECT_EQ(MainWindows(Shown::kOnly).size(), 1u);
    EXPECT_EQ(WaitForSingleObject(first, 0), static_cast<DWORD>(WAIT_TIMEOUT));

    CloseAndWait(window, first);
    EXPECT_EQ(ReadInt("PROJECT", "SIZE"), 3);
    EXPECT_EQ(ReadString("PROJECT2", "RCFILE"), projects[2].script);
}

// The INI file kept from the window in the ways a user's machine does: the list is never lost, the
// window says what it could not do, and nothing is left beside the file.
TEST_F(WindowRun, AnIniFileItCannotUseNeverCostsTheList) {
    const struct {
        const char* name;
        DWORD lockMs; // how long the file stays locked once the window exists
        int readOnly; // 1: the file, 2: its folder
        UINT answer;  // to the box at close; 0 when none comes
        bool saved;   // else the file keeps its bytes
    } cases[] = {
        {"locked for 0.3 s at start", 300, 0, 0, true},
        {"locked for 3 s at start", 3000, 0, 0, false},
        {"read-only, saved on retry", 0, 1, IDRETRY, true},
        {"read-only, cancelled", 0, 1, IDCANCEL, false},
        {"in a folder that takes no new file", 0, 2, 0, true},
    };
    const std::vector<IniProject> projects = Projects(m_folder.Path());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteBytes(m_ini, IniFor(projects));
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, m_ini.c_str());
        const std::string before = ReadBytes(m_ini);
        SetReadOnly(m_ini, c.readOnly == 1);
        if ((m_folderReadOnly = c.readOnly == 2) && !SetFolderReadOnly(m_folder.Path(), true))
            GTEST_SKIP() << c.name << ": no folder can be made read-only here";
        HANDLE lock =
            CreateFileA(m_ini.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        HANDLE process = Start();
        ASSERT_TRUE(process);
        const DWORD id = GetProcessId(process);
        auto expectBox = [&](UINT answer) {
            HWND box = nullptr;
            ASSERT_TRUE(Eventually([&] { return (box = MessageBoxOf(id)) != nullptr; }));
            EXPECT_NE(MessageBoxText(box).find(L"Revtally.ini"), std::wstring::npos);
            EXPECT_EQ(GetDlgItem(box, IDRETRY) != nullptr, answer != IDOK);
            if (answer == IDRETRY)
                SetReadOnly(m_ini, false);
            PostMessageA(box, WM_COMMAND, answer, 0);
        };
        // The window exists, hidden, while it reads the file.
        EXPECT_TRUE(Eventually([&] { return !MainWindows(Shown::kAny, id).empty(); }));
        Sleep(c.lockMs);
        CloseHandle(lock);
        if (c.lockMs > 1000)
            expectBox(IDOK);
        HWND window = WaitForMainWindow(process, kPatience);
        ASSERT_TRUE(window);
        EXPECT_EQ(ListedRows(window), c.lockMs > 1000 ? 0u : 3u);
        // A change for the close to save: the user moves the window.
        SetWindowPos(window, nullptr, 120, 90, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        PostMessageA(window, WM_CLOSE, 0, 0);
        if (c.answer)
            expectBox(c.answer);
        DWORD exitCode = 99;
        EXPECT_TRUE(Ends(process, exitCode));
        if (m_folderReadOnly)
            m_folderReadOnly = !SetFolderReadOnly(m_folder.Path(), false);
        SetReadOnly(m_ini, false);
        EXPECT_EQ(ReadBytes(m_ini) == before, !c.saved);
        EXPECT_EQ(ReadInt("WINDOW", "LEFT"), c.saved ? 120 : 40);
        EXPECT_EQ(ReadString("PROJECT2", "RCFILE"), projects[2].script);
        EXPECT_EQ(m_folder.List(), (std::vector<std::string>{"Revtally.exe", "Revtally.ini"}));
    }
}

} // namespace
