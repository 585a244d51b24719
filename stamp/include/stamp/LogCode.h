#pragma once

#include "base/CString.h"

// The kinds of line a stamping run writes to the build log. Each keeps its code: builds filter
// the lines and promote them to errors by it (msbuild -warnaserror:RVT0102).
enum class LogCode : int {
    noNumberToRaise = 101,   // the script holds no version the program reads
    fileOrLockError = 102,   // a file or the lock could not be had: nothing changed
    noHistoryEntry = 103,    // stamped, but the history has no entry for the build
    folderNotSynced = 104,   // stamped, but the folder could not be synced to disk
    unsafeRewrite = 105,     // rewriting the script could damage it: nothing changed
    numberDoesNotFit = 106,  // the next numbers do not fit a version resource: nothing changed
    badCommandLine = 107,    // -b without a number from 0 to 65535, or without a script
    notHandedToWindow = 108, // stamped, but the path is too long to hand to the window
    unexpectedError = 109,
    stringDidNotMatch = 110, // stamped, but a version string had not held the version
};

// A line for the build log, as the step that gives it knows it.
struct LogNote {
    LogCode code;
    CString reason;
};
