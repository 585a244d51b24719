#include "app/RevtallyApp.h"

#include "framework/FullPath.h"
#include "framework/StandardError.h"
#include "framework/PathFunctions.h"
#include "stamp/StampScript.h"

#include <vector>

#ifdef _WIN32
#include "stamp/HandOffRecord.h"
#include "ui/MainDialog.h"
#include "res/resource.h"

#include <cstring>

#include <windows.h>

#include <commctrl.h>
#else
#include <unistd.h>
#endif

namespace {
#ifdef _WIN32
bool IsSwitch(const CString& argument) {
    return !argument.IsEmpty() && (argument[0] == '-' || argument[0] == '/');
}

#else
// An absolute POSIX path starts with "/", so only "-" starts a switch here.
bool IsSwitch(const CString& argument) {
    return !argument.IsEmpty() && argument[0] == '-';
}

#endif
} // namespace

CRevtallyApp::CRevtallyApp() : CWinApp(nullptr) {}

void CRevtallyApp::ParseLaunchOptions(const std::vector<CString>& arguments,
                                      LaunchOptions& options) {
    options.noFileGiven = TRUE;
    for (size_t i = 1; i < arguments.size(); ++i) {
        const CString& argument = arguments[i];
        if (IsSwitch(argument)) {
            const char letter = argument.GetLength() > 1 ? argument[1] : '\0';
            if (letter == 't' || letter == 'T')
                options.trayMode = TRUE;
            continue;
        }
        options.fileName = argument;
        if (!argument.IsEmpty())
            options.noFileGiven = FALSE;
    }
}

void CRevtallyApp::ParseLaunchOptions(LaunchOptions& options) const {
    ParseLaunchOptions(GetArguments(), options);
}

CString CRevtallyApp::ProfilePathFor(const CString& modulePath, const CString& appName) {
    return ExtractDirectory(modulePath) + appName + ".ini";
}

BOOL CRevtallyApp::InitInstance() {
    SetProfileName(ProfilePathFor(GetModulePath(), m_pszAppName));
    ParseLaunchOptions(m_launchOptions);

    if (m_launchOptions.noFileGiven || m_launchOptions.trayMode) {
        RunWindow();
    } else if (!m_launchOptions.fileName.IsEmpty()) {
        StampFromCommandLine(m_launchOptions.fileName);
    }
    return FALSE;
}

#ifdef _WIN32
BOOL CRevtallyApp::OnCmdMsg(unsigned id) {
    if (id == ID_HELP) {
        OnHelp();
        return TRUE;
    }
    return CWinApp::OnCmdMsg(id);
}
#endif

void CRevtallyApp::RunWindow() {
#ifdef _WIN32
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
    InitCommonControlsEx(&controls);
    {
        MainDialog dialog(&m_launchOptions);
        m_pMainWnd = &dialog;
        dialog.DoModal();
        m_pMainWnd = nullptr;
    }
    if (existence)
        CloseHandle(existence);
#else
    StandardError::WriteLine(CString(m_pszAppName) +
                             ": the project window is a Windows program; give a resource "
                             "script to stamp it");
#endif
}

#ifdef _WIN32
namespace {
constexpr char kWindowProgram[] = "revtally.exe";
constexpr char kWindowCommandLine[] = "revtally.exe -t";
constexpr char kDialogClass[] = "#32770";
constexpr char kMainWindowCaption[] = "Revtally";
constexpr int kFindAttempts = 20;
constexpr DWORD kFindInterval = 100;
constexpr UINT kSendTimeout = 10000;

// The main window, not a message box of the same process that shares its class and caption.
HWND FindMainWindow() {
    HWND window = nullptr;
    while ((window = FindWindowExA(nullptr, window, kDialogClass, kMainWindowCaption)))
        if (GetDlgItem(window, IDC_PROJECT_LIST))
            return window;
    return nullptr;
}

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
    HandOffRecord record{};
    record.command = kHandOffApplyScript;
    record.size = sizeof record;
    // A path cut short would name another file: better no hand-off at all.
    if (path.GetLength() >= static_cast<int>(sizeof record.path)) {
        ReportFailure(path, "the path is too long to hand to the window");
        return;
    }
    std::memcpy(record.path, path.GetString(), static_cast<size_t>(path.GetLength()));

    HWND window = nullptr;
    bool started = !startIfNone;
    for (int attempt = 0; attempt < kFindAttempts; ++attempt) {
        window = FindMainWindow();
        if (!window && !started) {
            started = true;
            if (!StartWindowInstance())
                return;
        }
        Sleep(kFindInterval);
        if (window)
            break;
    }
    if (!window)
        return;
    COPYDATASTRUCT data{};
    data.dwData = sizeof record;
    data.cbData = sizeof record;
    data.lpData = &record;
    DWORD_PTR ignored = 0;
    // A hung window instance must not hang the build that stamps.
    SendMessageTimeoutA(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG,
                        kSendTimeout, &ignored);
}
#else
void CRevtallyApp::HandOffToRunningInstance(const CString&, bool) const {
    // POSIX has no window instance to tell.
}
#endif

void CRevtallyApp::StampFromCommandLine(const CString& fileName) {
    CString fullPath;
    if (!FullPathOf(fileName, fullPath)) {
        ReportFailure(fileName, "cannot resolve the full path of the script");
        return;
    }
    const StampResult result = StampScript(fullPath);
    if (!result.Reason().IsEmpty())
        ReportFailure(fileName, result.Reason());
    // The window lists what a script holds: a script whose numbers could not be read has
    // nothing to show it.
    if (result.Used())
        HandOffToRunningInstance(fullPath);
}

void CRevtallyApp::ReportFailure(const CString& fileName, const CString& reason) const {
    StandardError::WriteLine(CString(m_pszAppName) + ": " + fileName + ": " + reason);
}
