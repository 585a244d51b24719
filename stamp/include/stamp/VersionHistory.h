#pragma once

#include "base/CString.h"
#include "base/Expected.h"
#include "stamp/VersionNumber.h"

// The history file beside a resource script (app.rc: app_ver.txt) lists one line per stamped
// build, newest first, right under its "#UPDATELIST" line. The rest of the file is the user's.
struct HistoryFile {
    CString path;
    CString title; // the script's, which a new file's template names
};

// The history file of a script's full path.
HistoryFile HistoryFileOf(const CString& scriptPath);
// Its path from the folder (ending in its separator) and the title of a script, as a project
// keeps them.
CString HistoryFilePath(const CString& directory, const CString& title);

// The history as it stands, or the template for the title when there is no such file.
Expected<CString> LoadVersionHistory(const HistoryFile& history);

// The history with an entry for the build as given, stamped with the time given. Left alone when
// the file holds a NUL byte or no "#UPDATELIST" line.
Expected<CString> AddHistoryEntry(const CString& history, const CString& timeStamp,
                                  const VersionNumber& version);

// The content of a new history file for a script title.
CString HistoryTemplate(const CString& title);
// One entry, with its leading CR LF and without a trailing one.
CString FormatHistoryEntry(const CString& timeStamp, const VersionNumber& version);
// The local time as history entries and the window's last-update field show it.
CString CurrentTimeStamp();
