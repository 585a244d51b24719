#pragma once

#include "CWinApp.h"
#include "LaunchOptions.h"

#include <vector>

// Decides once per process what the process is: a window instance, a stamping run of the script
// on the command line, or nothing. Everything happens inside InitInstance, which returns FALSE.
class CRevtallyApp : public CWinApp {
public:
    CRevtallyApp();

    BOOL InitInstance() override;

    void ParseLaunchOptions(LaunchOptions& options) const;
    // The parse itself; arguments[0] is the program and is skipped.
    static void ParseLaunchOptions(const std::vector<CString>& arguments, LaunchOptions& options);

    // The INI file: the executable's folder, the application name, ".ini".
    static CString ProfilePathFor(const CString& modulePath, const CString& appName);

    // Reads the script's version, raises its build number, rewrites it and records the build in
    // its history file. Every failure is reported on standard error; the run itself never fails.
    void StampFromCommandLine(const CString& fileName);

    const LaunchOptions& GetLaunchOptions() const { return m_launchOptions; }

private:
    void ReportFailure(const CString& fileName, const CString& reason) const;

    LaunchOptions m_launchOptions;
};
