#include "app/RevtallyApp.h"

#include "framework/FullPath.h"
#include "framework/PathFunctions.h"
#include "framework/StandardError.h"
#include "stamp/StampScript.h"

#include <cctype>
#include <cstring>
#include <vector>

CRevtallyApp::CRevtallyApp() : CWinApp(nullptr) {}

void CRevtallyApp::ParseLaunchOptions(const std::vector<CString>& arguments,
                                      LaunchOptions& options) {
    options.noFileGiven = TRUE;
    for (size_t i = 1; i < arguments.size(); ++i) {
        const CString& argument = arguments[i];
        if (!argument.IsEmpty() && std::strchr(kSwitchMarks, argument[0])) {
            const char letter =
                argument.GetLength() > 1
                    ? static_cast<char>(std::tolower(static_cast<unsigned char>(argument[1])))
                    : '\0';
            for (const LaunchSwitch& launchSwitch : kLaunchSwitches)
                if (launchSwitch.letter == letter)
                    options.*launchSwitch.flag = TRUE;
            continue;
        }
        options.fileName = argument;
        if (!argument.IsEmpty())
            options.noFileGiven = FALSE;
    }
}

CString CRevtallyApp::ProfilePathFor(const CString& modulePath, const CString& appName) {
    return ExtractDirectory(modulePath) + appName + ".ini";
}

BOOL CRevtallyApp::InitInstance() {
    SetProfileName(ProfilePathFor(GetModulePath(), m_pszAppName));
    ParseLaunchOptions(GetArguments(), m_launchOptions);

    if (m_launchOptions.noFileGiven || m_launchOptions.trayMode) {
        RunWindow();
    } else if (!m_launchOptions.fileName.IsEmpty()) {
        StampFromCommandLine(m_launchOptions.fileName);
    }
    return FALSE;
}

void CRevtallyApp::StampFromCommandLine(const CString& fileName) {
    CString fullPath;
    if (!FullPathOf(fileName, fullPath)) {
        ReportFailure(fileName, "cannot resolve the full path of the script");
        return;
    }
    const StampResult result = StampScript(fullPath);
    if (!result.Reason().IsEmpty())
        ReportFailure(fileName, result.Reason());
    // The window lists what a script holds: a script whose numbers could not be read has
    // nothing to show it.
    if (result.Used())
        HandOffToRunningInstance(fullPath);
}

void CRevtallyApp::ReportFailure(const CString& fileName, const CString& reason) const {
    StandardError::WriteLine(CString(m_pszAppName) + ": " + fileName + ": " + reason);
}
