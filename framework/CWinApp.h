#pragma once

#include "AfxTypes.h"
#include "CString.h"

#include <vector>

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

    // The executable's full path as the platform gives it.
    const CString& GetModulePath() const { return m_modulePath; }
    // Arguments as the C runtime split them; index 0 is the program itself.
    const std::vector<CString>& GetArguments() const { return m_arguments; }

    // Replaces the profile path with a heap copy the object owns.
    void SetProfileName(const CString& path);

    const char* m_pszAppName = nullptr;
    const char* m_pszProfileName = nullptr;

private:
    CString m_modulePath;
    CString m_appName;
    CString m_profileName;
    std::vector<CString> m_arguments;
};

CWinApp* AfxGetApp();
