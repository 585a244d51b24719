#pragma once

#include "framework/CString.h"
#include "stamp/StampResult.h"
#include "stamp/VersionNumber.h"

#include <optional>

// The history file beside a resource script (app.rc: app_ver.txt) lists one line per stamped
// build, newest first, right under its "#UPDATELIST" line. The rest of the file is the user's.

// The history file's path for a script's full path.
CString HistoryFilePath(const CString& scriptPath);
// The same from the folder (ending in its separator) and the title of a script, as a project
// keeps them.
CString HistoryFilePath(const CString& directory, const CString& title);

// The history file as it stands, or nothing when the file system says there is no such file. Any
// other failure throws CFileException: a file that could not be read must never be taken for a
// missing one, or its entries would be replaced by a fresh template.
std::optional<CString> LoadVersionHistory(const CString& historyPath);

// The history's new text with an entry for the build as given, stamped with the time given:
// the template for the title first when there was no file. Left alone when the file holds a NUL
// byte (writing it back would cut it there) or no "#UPDATELIST" line (the user's choice to stop
// the list).
StampResult AddHistoryEntry(const std::optional<CString>& existing, const CString& title,
                            const CString& timeStamp, const VersionNumber& version,
                            CString& result);

// The content of a new history file for a script title.
CString HistoryTemplate(const CString& title);
// One entry, with its leading CR LF and without a trailing one.
CString FormatHistoryEntry(const CString& timeStamp, const VersionNumber& version);
// The local time as history entries and the window's last-update field show it.
CString CurrentTimeStamp();
