#pragma once

#include "framework/CString.h"
#include "stamp/StampResult.h"

// One stamping run of a script, as a build step makes it: under the script's lock, read the
// script and its history, record the build as it was in the history and raise the build number
// in the script, both replaced from synced temporary files, script first, then the folder synced.
//
// Done: both written, with the numbers the build used; a reason then tells of an entry the user's
// history file does not take, or of a history that could not be replaced after the script was
// (the only way a build can go unrecorded: a kill between the two renames, or this). Left alone
// or failed: nothing changed. A kill at any other moment leaves both files old, or both new.
StampResult StampScript(const CString& fullPath);

// The lock every process of the program takes on a script before it reads it to write it.
inline constexpr char kScriptLockName[] = "RevtallyStampLock";
