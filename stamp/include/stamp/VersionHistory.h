#pragma once

#include "framework/CString.h"
#include "stamp/VersionNumber.h"

// The history file beside a resource script (app.rc: app_ver.txt) lists one line per stamped
// build, newest first, right under its "#UPDATELIST" line. The rest of the file is the user's.

// Adds an entry for the build as given; creates the file from its template first when it is
// missing. Failures are silent apart from *failure, which receives a short English reason (and
// stays untouched on success). A file without "#UPDATELIST" or holding a NUL byte is left alone.
void AppendVersionHistory(CString path, const VersionNumber& version, CString* failure = nullptr);

// The history file's path for a script's full path.
CString HistoryFilePath(const CString& scriptPath);
// The content of a new history file for a script title.
CString HistoryTemplate(const CString& title);
// One entry, with its leading CR LF and without a trailing one.
CString FormatHistoryEntry(const CString& timeStamp, const VersionNumber& version);
// Puts the entry right after the first "#UPDATELIST"; false when the text has none.
bool InsertHistoryEntry(CString& text, const CString& entry);
