#include "framework/CWinApp.h"
#include "framework/PathFunctions.h"
#include "framework/StandardError.h"

#ifdef _WIN32
#include "framework/CWnd.h"

#include <windows.h>
#endif

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

#ifdef _WIN32

namespace {
// The longest string a profile read gives back, its terminating NUL included.
constexpr DWORD kProfileStringBuffer = 4096;
} // namespace

int CWinApp::GetProfileInt(const char* section, const char* entry, int defaultValue) const {
    return static_cast<int>(GetPrivateProfileIntA(section, entry, defaultValue, m_pszProfileName));
}

CString CWinApp::GetProfileString(const char* section, const char* entry,
                                  const char* defaultValue) const {
    std::vector<char> buffer(kProfileStringBuffer);
    const DWORD length = GetPrivateProfileStringA(section, entry, defaultValue, buffer.data(),
                                                  kProfileStringBuffer, m_pszProfileName);
    return CString(buffer.data(), static_cast<int>(length));
}

BOOL CWinApp::WriteProfileInt(const char* section, const char* entry, int value) const {
    CString text;
    text.Format("%d", value);
    return WritePrivateProfileStringA(section, entry, text, m_pszProfileName);
}

BOOL CWinApp::WriteProfileString(const char* section, const char* entry, const char* value) const {
    return WritePrivateProfileStringA(section, entry, value, m_pszProfileName);
}

void CWinApp::OnHelp() {
    if (m_pMainWnd)
        m_pMainWnd->WinHelp(0, HELP_CONTEXT);
}

BOOL CWinApp::OnCmdMsg(unsigned id) {
    // The framework's exit command closes the main window, which ends the program.
    if (id == kAppExitCommand && m_pMainWnd && m_pMainWnd->m_hWnd) {
        SendMessageA(m_pMainWnd->m_hWnd, WM_CLOSE, 0, 0);
        return TRUE;
    }
    return FALSE;
}

#endif
