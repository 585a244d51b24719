#include "framework/CWinApp.h"
#include "framework/PathFunctions.h"
#include "framework/StandardError.h"

namespace {
CWinApp* g_app = nullptr;
} // namespace

CWinApp::CWinApp(const char* appName) {
    g_app = this;
    if (appName) {
        m_appName = appName;
        m_pszAppName = m_appName;
    }
}

CWinApp::~CWinApp() {
    if (g_app == this)
        g_app = nullptr;
}

BOOL CWinApp::InitInstance() {
    return TRUE;
}

int CWinApp::ExitInstance() {
    return 0;
}

int CWinApp::Run(const CString& modulePath, std::vector<CString> arguments) {
    m_modulePath = modulePath;
    m_arguments = std::move(arguments);
    if (!m_pszAppName) {
        m_appName = ExtractFileTitle(ExtractFileName(modulePath));
        m_pszAppName = m_appName;
    }
    if (!InitInstance())
        return ExitInstance();
    // The program does all its work inside InitInstance; there is no message loop of the
    // application's own.
    return ExitInstance();
}

void CWinApp::ReportException(const char* what) noexcept {
    try {
        StandardError::WriteLine(CString(m_pszAppName ? m_pszAppName : "") +
                                 ": unexpected error: " + what);
    } catch (...) {
        // Out of memory while telling of an error: nothing is left to tell it with.
    }
}

void CWinApp::SetProfileName(const CString& path) {
    m_profileName = path;
    m_pszProfileName = m_profileName;
}

CWinApp* AfxGetApp() {
    return g_app;
}
