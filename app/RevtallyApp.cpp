#include "RevtallyApp.h"

#include "PathFunctions.h"
#include "RcVersionReader.h"
#include "RcVersionWriter.h"
#include "ScriptLock.h"
#include "StandardError.h"
#include "VersionHistory.h"

#include <cerrno>
#include <climits>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace {
#ifdef _WIN32
bool IsSwitch(const CString& argument) {
    return !argument.IsEmpty() && (argument[0] == '-' || argument[0] == '/');
}

// No fixed buffer: the platform says how long the full path is.
bool FullPathOf(const CString& name, CString& fullPath) {
    DWORD needed = GetFullPathNameA(name, 0, nullptr, nullptr);
    for (int attempt = 0; needed != 0 && attempt < 3; ++attempt) {
        std::vector<char> buffer(needed);
        const DWORD length = GetFullPathNameA(name, needed, buffer.data(), nullptr);
        if (length == 0)
            return false;
        if (length < needed) {
            fullPath = CString(buffer.data(), static_cast<int>(length));
            return true;
        }
        needed = length;
    }
    return false;
}
#else
// An absolute POSIX path starts with "/", so only "-" starts a switch here.
bool IsSwitch(const CString& argument) {
    return !argument.IsEmpty() && argument[0] == '-';
}

bool FullPathOf(const CString& name, CString& fullPath) {
    if (name.IsEmpty())
        return false;
    if (name[0] == '/') {
        fullPath = name;
        return true;
    }
    std::vector<char> buffer(4096);
    while (!::getcwd(buffer.data(), buffer.size())) {
        if (errno != ERANGE)
            return false;
        buffer.resize(buffer.size() * 2);
    }
    CString folder(buffer.data());
    if (folder.IsEmpty() || folder[folder.GetLength() - 1] != '/')
        folder += '/';
    fullPath = folder + name;
    return true;
}
#endif
} // namespace

CRevtallyApp::CRevtallyApp() : CWinApp(nullptr) {}

void CRevtallyApp::ParseLaunchOptions(const std::vector<CString>& arguments,
                                      LaunchOptions& options) {
    options.noFileGiven = TRUE;
    for (size_t i = 1; i < arguments.size(); ++i) {
        const CString& argument = arguments[i];
        if (IsSwitch(argument)) {
            const char letter = argument.GetLength() > 1 ? argument[1] : '\0';
            if (letter == 't' || letter == 'T')
                options.trayMode = TRUE;
            continue;
        }
        options.fileName = argument;
        if (!argument.IsEmpty())
            options.noFileGiven = FALSE;
    }
}

void CRevtallyApp::ParseLaunchOptions(LaunchOptions& options) const {
    ParseLaunchOptions(GetArguments(), options);
}

CString CRevtallyApp::ProfilePathFor(const CString& modulePath, const CString& appName) {
    return ExtractDirectory(modulePath) + appName + ".ini";
}

BOOL CRevtallyApp::InitInstance() {
    SetProfileName(ProfilePathFor(GetModulePath(), m_pszAppName));
    ParseLaunchOptions(m_launchOptions);

    if (m_launchOptions.noFileGiven || m_launchOptions.trayMode) {
#ifndef _WIN32
        StandardError::WriteLine(CString(m_pszAppName) +
                                 ": the project window is a Windows program; give a resource "
                                 "script to stamp it");
#endif
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

    const ScriptLock lock(fullPath);
    int major = 0, minor = 0, sub = 0, build = 0;
    CString failure;
    if (!ReadRcVersion(fileName, major, minor, sub, build, &failure)) {
        ReportFailure(fileName, failure);
        return;
    }
    const int nextBuild = build == INT_MAX ? INT_MAX : build + 1;
    if (!WriteRcVersion(fileName, major, minor, sub, nextBuild, &failure)) {
        ReportFailure(fileName, failure);
        return;
    }
    // Recorded only after the script holds the new number, with the numbers the build used.
    failure.Empty();
    AppendVersionHistory(fullPath, major, minor, sub, build, &failure);
    if (!failure.IsEmpty())
        ReportFailure(fileName, failure);
}

void CRevtallyApp::ReportFailure(const CString& fileName, const CString& reason) const {
    StandardError::WriteLine(CString(m_pszAppName) + ": " + fileName + ": " + reason);
}
