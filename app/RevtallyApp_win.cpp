#include "app/RevtallyApp.h"

#include "base/PathFunctions.h"
#include "base/StandardStreams.h"
#include "framework/AfxMessageBox.h"
#include "framework/LateBound.h"
#include "framework/ProgramResources.h"
#include "framework/Win32Text.h"
#include "res/resource.h"
#include "ui/HandOffRecord.h"
#include "ui/MainDialog.h"

#include <optional>
#include <vector>

#include <windows.h>

#include <commctrl.h>

const char CRevtallyApp::kSwitchMarks[] = "-/";
const LogForm CRevtallyApp::kLogForm = LogForm::msbuild;

void CRevtallyApp::RunWindow() {
    // One creation call says whether a window instance runs already, so two starts at the same
    // moment cannot both become one.
    HANDLE existence = CreateEventA(nullptr, FALSE, FALSE, kExistenceEventName);
    if (existence && GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(existence);
        HandOffToRunningInstance(CString(), false);
        return;
    }
    // The list view and the up-down controls of the window: the platform registers them only
    // for programs that ask.
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_UPDOWN_CLASS};
    if (const auto initialise =
            LateBound<decltype(&InitCommonControlsEx)>("comctl32.dll", "InitCommonControlsEx"))
        initialise(&controls);
    {
        MainDialog dialog(m_launchOptions.trayMode);
        m_pMainWnd = &dialog;
        dialog.DoModal();
        m_pMainWnd = nullptr;
    }
    if (existence)
        CloseHandle(existence);
}

namespace {
constexpr char kWindowProgram[] = "revtally.exe";
constexpr char kWindowCommandLine[] = "revtally.exe -t";
constexpr int kFindAttempts = 20;
constexpr DWORD kFindInterval = 100;
constexpr UINT kSendTimeout = 10000;

// Starts the window instance in tray mode. Its current folder is its own, so it never holds a
// build's folder open.
bool StartWindowInstance() {
    const CString program = FindProgram(kWindowProgram);
    if (program.IsEmpty())
        return false;
    const CString folder = ExtractDirectory(program);
    std::vector<char> commandLine(kWindowCommandLine,
                                  kWindowCommandLine + sizeof kWindowCommandLine);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(program, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.IsEmpty() ? nullptr : folder.GetString(), &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}
} // namespace

void CRevtallyApp::HandOffToRunningInstance(const CString& path, bool startIfNone) const {
    std::optional<HandOffRecord> record = MakeHandOffRecord(path);
    if (!record) {
        Report(LogCode::notHandedToWindow, "the path is too long to hand to the window");
        return;
    }

    HWND window = nullptr;
    bool started = !startIfNone;
    for (int attempt = 0; attempt < kFindAttempts; ++attempt) {
        const std::vector<HWND> running = MainDialog::FindRunning();
        window = running.empty() ? nullptr : running.front();
        if (!window && !started) {
            started = true;
            if (!StartWindowInstance())
                return;
        }
        // Also once a window is found: a window instance just started may not have run its
        // initialisation yet, which lets WM_COPYDATA in from builds at another integrity level.
        Sleep(kFindInterval);
        if (window)
            break;
    }
    if (!window)
        return;
    COPYDATASTRUCT data{};
    data.dwData = sizeof *record;
    data.cbData = sizeof *record;
    data.lpData = &*record;
    DWORD_PTR ignored = 0;
    // A hung window instance must not hang the build that stamps.
    SendMessageTimeoutA(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG,
                        kSendTimeout, &ignored);
}

bool CRevtallyApp::TellUser(const char* what) const noexcept {
    try {
        AfxMessageBox(
            AfxFormatMessage(LoadResourceString(IDS_UNEXPECTED_ERROR), {AnsiToWide(what)}),
            MB_ICONSTOP);
        return true;
    } catch (...) {
        return false;
    }
}

void CRevtallyApp::ShowText(const CString& forConsole, const CString& forBox) const {
    // A program of the Windows GUI subsystem usually has no console: a box shows the text when
    // no one reads the output.
    if (!standard_streams::WriteOutput(forConsole))
        AfxMessageBox(AnsiToWide(forBox), MB_ICONINFORMATION);
}
