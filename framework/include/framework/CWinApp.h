#pragma once

#include "framework/AfxTypes.h"
#include "framework/CString.h"

#include <vector>

#ifdef _WIN32
class CWnd;
#endif

// The application object: one per process, built at static initialisation. The framework's entry
// point fills in the module path, the application name and the argument vector, then calls
// InitInstance; when it returns FALSE the process ends with the code of ExitInstance.
class CWinApp {
public:
    explicit CWinApp(const char* appName = nullptr);
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    virtual BOOL InitInstance();
    virtual int ExitInstance();

    // Run by the entry point; returns the process exit code.
    int Run(const CString& modulePath, std::vector<CString> arguments);

    // Tells of an exception that reached a window procedure or the entry point, where it must
    // go no further; nothing would show it otherwise. One line on standard error here; a program
    // with windows shows a message box instead where one can be seen.
    virtual void ReportException(const char* what) noexcept;

    // The executable's full path as the platform gives it.
    const CString& GetModulePath() const { return m_modulePath; }
    // Arguments as the C runtime split them; index 0 is the program itself.
    const std::vector<CString>& GetArguments() const { return m_arguments; }

    // Replaces the profile path with a heap copy the object owns.
    void SetProfileName(const CString& path);
    const CString& GetProfileName() const { return m_profileName; }

#ifdef _WIN32
    // Commands no window handled end here; TRUE when the application took it.
    virtual BOOL OnCmdMsg(unsigned id);
    static constexpr unsigned kAppExitCommand = 57665; // ID_APP_EXIT
    static constexpr unsigned kHelpCommand = 57670;    // ID_HELP
    // The help command: handed to the main window's help operation.
    void OnHelp();

    CWnd* m_pMainWnd = nullptr;
#endif

    const char* m_pszAppName = nullptr;
    const char* m_pszProfileName = nullptr;

private:
    CString m_modulePath;
    CString m_appName;
    CString m_profileName;
    std::vector<CString> m_arguments;
};

CWinApp* AfxGetApp();
