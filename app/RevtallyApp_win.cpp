#include "app/RevtallyApp.h"

#include "base/StandardStreams.h"
#include "framework/AfxMessageBox.h"
#include "framework/LateBound.h"
#include "framework/ProgramResources.h"
#include "framework/Win32Text.h"
#include "res/resource.h"
#include "ui/HandOff.h"
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

void CRevtallyApp::HandOffToRunningInstance(const CString& path, bool startIfNone) const {
    const std::optional<HandOffRecord> record = MakeHandOffRecord(path);
    if (!record) {
        Report(LogCode::notHandedToWindow, "the path is too long to hand to the window");
        return;
    }
    // A window that does not take the record, or none that appears, leaves the build as it is:
    // the script is stamped, and the window reads it when it next applies it.
    SendHandOff(*record, startIfNone);
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
