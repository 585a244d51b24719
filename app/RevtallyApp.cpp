#include "app/RevtallyApp.h"

#include "base/PathFunctions.h"
#include "base/StandardError.h"
#include "stamp/StampScript.h"

#include <cctype>
#include <cstring>
#include <vector>

CRevtallyApp::CRevtallyApp() : CWinApp(nullptr) {}

void CRevtallyApp::ParseLaunchOptions(const std::vector<CString>& arguments,
                                      LaunchOptions& options) {
    options.noFileGiven = true;
    for (size_t i = 1; i < arguments.size(); ++i) {
        const CString& argument = arguments[i];
        if (!argument.IsEmpty() && std::strchr(kSwitchMarks, argument[0])) {
            const char letter =
                argument.GetLength() > 1
                    ? static_cast<char>(std::tolower(static_cast<unsigned char>(argument[1])))
                    : '\0';
            for (const LaunchSwitch& launchSwitch : kLaunchSwitches)
                if (launchSwitch.letter == letter)
                    options.*launchSwitch.flag = true;
            continue;
        }
        options.fileName = argument;
        if (!argument.IsEmpty())
            options.noFileGiven = false;
    }
}

CString CRevtallyApp::ProfilePathFor(const CString& modulePath, const CString& appName) {
    return ExtractDirectory(modulePath) + appName + ".ini";
}

bool CRevtallyApp::InitInstance() {
    m_pszProfileName = ProfilePathFor(GetModulePath(), m_pszAppName);
    ParseLaunchOptions(GetArguments(), m_launchOptions);

    if (m_launchOptions.IsWindowInstance()) {
        RunWindow();
    } else if (!m_launchOptions.fileName.IsEmpty()) {
        StampFromCommandLine(m_launchOptions.fileName);
    }
    return false;
}

void CRevtallyApp::StampFromCommandLine(const CString& fileName) {
    const Expected<CString> fullPath = FullPathOf(fileName);
    if (!fullPath) {
        ReportFailure(fileName, "cannot resolve the full path of the script");
        return;
    }
    // The window lists what a script holds: a script whose numbers could not be read has
    // nothing to show it.
    const Expected<StampRun> run = StampScript(*fullPath);
    if (!run) {
        ReportFailure(fileName, run.Error().reason);
        return;
    }
    const CString line = run->note ? *run->note : run->note.Error().reason;
    if (!line.IsEmpty())
        ReportFailure(fileName, line);
    HandOffToRunningInstance(*fullPath);
}

void CRevtallyApp::ReportFailure(const CString& fileName, const CString& reason) const {
    standard_error::WriteLine(m_pszAppName + ": " + fileName + ": " + reason);
}
