#include "app/RevtallyApp.h"

#include "base/StandardError.h"

// An absolute POSIX path starts with "/", so only "-" starts a switch here.
const char CRevtallyApp::kSwitchMarks[] = "-";

void CRevtallyApp::RunWindow() {
    standard_error::WriteLine(m_pszAppName +
                              ": the project window is a Windows program; give a resource "
                              "script to stamp it");
}

void CRevtallyApp::HandOffToRunningInstance(const CString&, bool) const {
    // POSIX has no window instance to tell.
}

void CRevtallyApp::ReportException(const char* what) noexcept {
    CWinApp::ReportException(what);
}
