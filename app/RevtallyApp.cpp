#include "app/RevtallyApp.h"

#include "base/IntegerText.h"
#include "base/PathFunctions.h"
#include "base/StandardStreams.h"
#include "stamp/StampScript.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace {
const LaunchSwitch* FindSwitch(const CString& argument) {
    const bool isWord = argument.GetLength() > 2 && argument[0] == '-' && argument[1] == '-';
    const char letter =
        argument.GetLength() > 1
            ? static_cast<char>(std::tolower(static_cast<unsigned char>(argument[1])))
            : '\0';
    for (const LaunchSwitch& launchSwitch : kLaunchSwitches) {
        if (isWord ? launchSwitch.word && argument.Mid(2) == launchSwitch.word
                   : launchSwitch.letter != '\0' && launchSwitch.letter == letter)
            return &launchSwitch;
    }
    return nullptr;
}

// A build number as -b gives it: decimal digits only, 0 to 65535.
std::optional<int> BuildNumberOf(const CString& text) {
    const std::optional<std::uint32_t> number =
        text.GetLength() > 5 ? std::nullopt : ParseDecimal(text.View());
    if (!number || *number > static_cast<std::uint32_t>(kLargestVersionField))
        return std::nullopt;
    return static_cast<int>(*number);
}

} // namespace

CRevtallyApp::CRevtallyApp() : CWinApp(nullptr) {}

void CRevtallyApp::ParseLaunchOptions(const std::vector<CString>& arguments,
                                      LaunchOptions& options) {
    options.noFileGiven = true;
    for (size_t i = 1; i < arguments.size(); ++i) {
        const CString& argument = arguments[i];
        if (argument.IsEmpty() || !std::strchr(kSwitchMarks, argument[0])) {
            options.fileName = argument;
            if (!argument.IsEmpty())
                options.noFileGiven = false;
            continue;
        }
        if (const LaunchSwitch* found = FindSwitch(argument)) {
            options.*found->flag = true;
            if (found->value && i + 1 < arguments.size())
                options.*found->value = arguments[++i];
        }
    }
}

CString CRevtallyApp::ProfilePathFor(const CString& modulePath, const CString& appName) {
    return ExtractDirectory(modulePath) + appName + ".ini";
}

bool CRevtallyApp::InitInstance() {
    m_pszProfileName = ProfilePathFor(GetModulePath(), m_pszAppName);
    ParseLaunchOptions(GetArguments(), m_launchOptions);

    if (m_launchOptions.helpAsked)
        ShowText(UsageText(true), UsageText(false));
    else if (m_launchOptions.versionAsked)
        ShowText(m_pszAppName + " " + REVTALLY_VERSION + "\n",
                 m_pszAppName + " " + REVTALLY_VERSION);
    else if (m_launchOptions.IsWindowInstance())
        RunWindow();
    else
        StampFromCommandLine();
    return false;
}

CString CRevtallyApp::UsageText(bool forConsole) const {
    // A console gets columns; a message box, whose font is not fixed, a line a row.
    const auto row = [forConsole](const CString& syntax, const char* meaning) {
        CString line;
        if (!forConsole)
            line.Format("%s:  %s\n", syntax.GetString(), meaning);
        else if (syntax.GetLength() < 16)
            line.Format("  %-16s%s\n", syntax.GetString(), meaning);
        else
            line.Format("  %s\n  %-16s%s\n", syntax.GetString(), "", meaning);
        return line;
    };
    CString text = "Usage:\n" +
                   row(m_pszAppName + " SCRIPT.rc [-b N] [-f] [-n]",
                       "stamp the script: record the build in SCRIPT_ver.txt, then raise its "
                       "build number") +
                   row(m_pszAppName + " [-t]", "open the project window (Windows)") +
                   "Switches start with \"-\", or on Windows also \"/\":\n";
    for (const LaunchSwitch& launchSwitch : kLaunchSwitches) {
        if (launchSwitch.syntax)
            text += row(launchSwitch.syntax, launchSwitch.meaning);
    }
    CString end = "A stamp that cannot be made or recorded writes one warning line, RVT0101 to "
                  "RVT0110, and\nstill ends with exit code 0. Help: Revtally.chm beside "
                  "Revtally.exe; README.md (on Linux\nin /usr/share/doc/revtally).\n";
    if (!forConsole)
        std::replace(end.Str().begin(), end.Str().end() - 1, '\n', ' ');
    return text + end;
}

void CRevtallyApp::StampFromCommandLine() {
    const LaunchOptions& options = m_launchOptions;
    if (options.fileName.IsEmpty()) {
        if (options.buildGiven)
            Report(LogCode::badCommandLine, "-b needs a resource script to stamp");
        return;
    }
    const Expected<CString> fullPath = FullPathOf(options.fileName);
    if (!fullPath) {
        Report(LogCode::fileOrLockError, "cannot resolve the full path of the script");
        return;
    }
    m_scriptPath = *fullPath;
    const std::optional<int> build =
        options.buildGiven ? BuildNumberOf(options.buildText) : std::nullopt;
    if (options.buildGiven && !build) {
        Report(LogCode::badCommandLine,
               "-b " + options.buildText + " is not a build number from 0 to 65535");
        return;
    }
    // The window lists what a script holds: a script whose numbers could not be read has
    // nothing to show it.
    const StampRun run = StampScript(*fullPath, {build, options.followMacros});
    if (run.note)
        Report(run.note->code, run.note->reason);
    if (run.used && !options.noWindow)
        HandOffToRunningInstance(*fullPath);
}

void CRevtallyApp::Report(LogCode code, const CString& reason) const {
    // MSBuild takes the origin for a file it can open; the GNU form names it as it was given.
    const CString& origin = kLogForm == LogForm::msbuild && !m_scriptPath.IsEmpty()
                                ? m_scriptPath
                                : m_launchOptions.fileName;
    standard_streams::WriteErrorLine(BuildLogLine(kLogForm, m_pszAppName, origin, code, reason));
}

void CRevtallyApp::ReportException(const char* what) noexcept {
    // A stamping run has a build log and no one to click a box away.
    if (m_launchOptions.IsWindowInstance() && TellUser(what))
        return;
    try {
        Report(LogCode::unexpectedError, CString("unexpected error: ") + what);
    } catch (...) {
        CWinApp::ReportException(what);
    }
}
