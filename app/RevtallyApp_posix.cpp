#include "app/RevtallyApp.h"

#include "base/StandardStreams.h"

// An absolute POSIX path starts with "/", so only "-" starts a switch here.
const char CRevtallyApp::kSwitchMarks[] = "-";
const LogForm CRevtallyApp::kLogForm = LogForm::gnu;

void CRevtallyApp::RunWindow() {
    standard_streams::WriteErrorLine(m_pszAppName +
                                     ": the project window is a Windows program; give a resource "
                                     "script to stamp it (--help tells more)");
}

void CRevtallyApp::HandOffToRunningInstance(const CString&, bool) const {
    // POSIX has no window instance to tell.
}

void CRevtallyApp::ShowText(const CString& forConsole, const CString&) const {
    standard_streams::WriteOutput(forConsole);
}

bool CRevtallyApp::TellUser(const char*) const noexcept {
    return false;
}
