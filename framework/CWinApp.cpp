#include "CWinApp.h"
#include "CodePage.h"

namespace {
CWinApp* g_app = nullptr;

#ifdef _WIN32
constexpr char kSeparator = '\\';
#else
constexpr char kSeparator = '/';
#endif

// The module's file name without its extension, scanned so that the trail byte of a double-byte
// character is never taken for a separator or a dot.
CString TitleOfModule(const CString& path) {
    const CodePage& codePage = CodePage::Active();
    int nameStart = 0;
    for (int i = 0; i < path.GetLength(); ++i) {
        if (codePage.IsLeadByte(path[i]) && i + 1 < path.GetLength()) {
            ++i;
            continue;
        }
        if (path[i] == kSeparator)
            nameStart = i + 1;
    }
    int dot = -1;
    for (int i = nameStart; i < path.GetLength(); ++i) {
        if (codePage.IsLeadByte(path[i]) && i + 1 < path.GetLength()) {
            ++i;
            continue;
        }
        if (path[i] == '.')
            dot = i;
    }
    return dot < 0 ? path.Mid(nameStart) : path.Mid(nameStart, dot - nameStart);
}
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
        m_appName = TitleOfModule(modulePath);
        m_pszAppName = m_appName;
    }
    if (!InitInstance())
        return ExitInstance();
    // The program does all its work inside InitInstance; there is no message loop of the
    // application's own.
    return ExitInstance();
}

void CWinApp::SetProfileName(const CString& path) {
    m_profileName = path;
    m_pszProfileName = m_profileName;
}

CWinApp* AfxGetApp() {
    return g_app;
}
