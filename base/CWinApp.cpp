#include "base/CWinApp.h"
#include "base/PathFunctions.h"
#include "base/StandardStreams.h"

namespace {
CWinApp* g_app = nullptr;
} // namespace

CWinApp::CWinApp(const char* appName) : m_pszAppName(appName) {
    g_app = this;
}

CWinApp::~CWinApp() {
    if (g_app == this)
        g_app = nullptr;
}

bool CWinApp::InitInstance() {
    return true;
}

int CWinApp::Run(const CString& modulePath, std::vector<CString> arguments) {
    m_modulePath = modulePath;
    m_arguments = std::move(arguments);
    if (m_pszAppName.IsEmpty())
        m_pszAppName = ExtractFileTitle(ExtractFileName(modulePath));
    // The program does all its work inside InitInstance; there is no message loop of the
    // application's own.
    InitInstance();
    return 0;
}

void CWinApp::ReportException(const char* what) noexcept {
    try {
        standard_streams::WriteErrorLine(m_pszAppName + ": unexpected error: " + what);
    } catch (...) {
        // Out of memory while telling of an error: nothing is left to tell it with.
    }
}

CWinApp* AfxGetApp() {
    return g_app;
}
