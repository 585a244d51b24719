#pragma once

#include "app/LaunchOptions.h"
#include "base/CWinApp.h"

#include <vector>

// Decides once per process what the process is: a window instance, a stamping run of the script
// on the command line, or nothing. Everything happens inside InitInstance, which returns false.
class CRevtallyApp : public CWinApp {
public:
    CRevtallyApp();

    bool InitInstance() override;
    // A window instance shows a message box; a stamping run writes to its build log.
    void ReportException(const char* what) noexcept override;

    // The command line by kLaunchSwitches; arguments[0] is the program and is skipped.
    static void ParseLaunchOptions(const std::vector<CString>& arguments, LaunchOptions& options);

    // The INI file: the executable's folder, the application name, ".ini".
    static CString ProfilePathFor(const CString& modulePath, const CString& appName);

    // Stamps the script and tells the window about it. Whatever went wrong is one line on standard
    // error; the run itself never fails.
    void StampFromCommandLine(const CString& fileName);

    // Tells the running window instance about a stamped script (an empty path: show yourself).
    // With startIfNone and no window running, a window instance is started in tray mode first.
    void HandOffToRunningInstance(const CString& path, bool startIfNone = true) const;

    // Marks a running window instance; it exists exactly as long as that instance's window. The
    // misspelling is the name every running instance and every copy of the program looks for.
    static constexpr char kExistenceEventName[] = "RevtallyExsistFlag";

private:
    // What starts a switch: "-", and on Windows also "/".
    static const char kSwitchMarks[];

    // The project window, unless one runs already.
    void RunWindow();

    void ReportFailure(const CString& fileName, const CString& reason) const;

    LaunchOptions m_launchOptions;
};
