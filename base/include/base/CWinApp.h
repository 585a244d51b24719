#pragma once

#include "base/CString.h"

#include <vector>

class CWnd;

// The application object: one per process, built at static initialisation. The entry point fills
// in the module path, the application name and the arguments, then calls InitInstance, in which
// the process does its work.
class CWinApp {
public:
    explicit CWinApp(const char* appName = nullptr);
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    virtual bool InitInstance();

    // Run by the entry point; returns the process exit code.
    int Run(const CString& modulePath, std::vector<CString> arguments);

    // Tells of an exception that reached a window procedure or the entry point, where it must go
    // no further: one line on standard error.
    virtual void ReportException(const char* what) noexcept;

    // The executable's full path as the platform gives it.
    const CString& GetModulePath() const { return m_modulePath; }
    // Arguments as the C runtime split them; index 0 is the program itself.
    const std::vector<CString>& GetArguments() const { return m_arguments; }

    // The executable's file name without its extension, unless the constructor was given one.
    CString m_pszAppName;
    // The INI file the program's settings live in.
    CString m_pszProfileName;
    // The window that owns the program's message boxes and modal dialogs; none outside a window.
    CWnd* m_pMainWnd = nullptr;

private:
    CString m_modulePath;
    std::vector<CString> m_arguments;
};

CWinApp* AfxGetApp();
