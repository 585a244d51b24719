#pragma once

#include "app/BuildLog.h"
#include "app/LaunchOptions.h"
#include "base/CWinApp.h"

#include <vector>

// Decides once per process what the process is: a window instance, a stamping run of the script
// on the command line, the usage or version text, or nothing. Everything happens inside
// InitInstance, which returns false.
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

    // Each switch on a line of its own, the two ways to run, and where the help is: in columns
    // for a console, or in lines a message box wraps itself.
    CString UsageText(bool forConsole) const;

    // Tells the running window instance about a stamped script (an empty path: show yourself).
    // With startIfNone and no window running, a window instance is started in tray mode first.
    void HandOffToRunningInstance(const CString& path, bool startIfNone = true) const;

private:
    // What starts a switch: "-", and on Windows also "/".
    static const char kSwitchMarks[];
    // How this platform's build tools read a line.
    static const LogForm kLogForm;

    // The project window, unless one runs already.
    void RunWindow();
    // Stamps the script and tells the window about it. Whatever went wrong is one line on
    // standard error; the run itself never fails.
    void StampFromCommandLine();
    // The usage or version text where the user reads it: the console's text on the standard
    // output, or the box's in a message box when nothing reads that.
    void ShowText(const CString& forConsole, const CString& forBox) const;
    // An exception in a window instance, told to the user; false where there is no one to tell.
    bool TellUser(const char* what) const noexcept;
    // One line of the build log about the script.
    void Report(LogCode code, const CString& reason) const;

    LaunchOptions m_launchOptions;
    // The script's full path, once it is known.
    CString m_scriptPath;
};
