#pragma once

#include "base/CString.h"
#include "base/Expected.h"
#include "base/ScriptLock.h"
#include "stamp/LogCode.h"
#include "stamp/VersionHistory.h"
#include "stamp/VersionMacros.h"
#include "stamp/VersionNumber.h"
#include "stamp/VersionScript.h"

#include <optional>
#include <vector>

// What a stamp will write, worked out before anything is written: every file's new bytes in the
// order the files take their places, the numbers the build used and the next ones, and why the
// history gets no entry when it does not.
struct StampPlan {
    // What a file is to the build: its changes are the stamp, or its entry records it.
    enum class Part { stamp, record };
    struct File {
        CString path;
        CString bytes;
        Part part;
        CString name; // as a line of the log names it ("the script")
    };

    VersionNumber used;
    VersionNumber next;
    std::vector<File> files;
    std::optional<Failure> unrecorded;
    // The version strings the stamp rewrites that had not held the numbers used.
    std::vector<CString> stringsNotHeld;
};

// The files a change of followed version macros writes, in the order they take their places:
// each header that changes, then the script (its rewritten bytes) if they differ from its own.
std::vector<StampPlan::File> FollowedFiles(const VersionScript& script, const CString& fullPath,
                                           const MacroWrites& writes, CString rewritten);

// How a stamp is asked for: the new build number, when given, and whether version macros are
// followed to where they are defined.
struct StampOptions {
    std::optional<int> build;
    bool followMacros = false;
};

// The next build of a located script and the history as it stands, with the script's version
// macros when they were followed. Refused: the line that says why nothing is written.
Expected<StampPlan, LogNote> PlanStamp(const VersionScript& script, const CString& fullPath,
                                       const HistoryFile& history, const VersionNumber& used,
                                       std::optional<int> build,
                                       const VersionMacros* macros = nullptr);

// A stamping run: the numbers it read, whether the script now holds the next ones, and the one
// line the build log gets (none when everything went well).
struct StampRun {
    std::optional<VersionNumber> used; // none: the numbers could not be read
    bool stamped = false;
    std::optional<LogNote> note;
};

// Puts a plan's files in place, the lock held: every file prepared beside itself, then each
// renamed in the plan's order, then the folders synced.
StampRun CommitStamp(const StampPlan& plan);

// Records the build in the script's history and raises the build number in the script (and, when
// followed, where its macros define it), all or nothing.
StampRun StampScript(const CString& fullPath, const StampOptions& options = {});

// A located script's version statements as the follower of its macros reads them.
VersionStatements StatementsOf(const VersionScript& script, const CString& fullPath);

// A script's version macros followed again under the locks of the headers a change writes, which
// are held while the object lives. Failed: a header that cannot be locked.
struct LockedMacros {
    std::vector<ScriptLock> locks;
    VersionMacros macros;
};
Expected<LockedMacros> LockAndFollow(const VersionMacros& macros, const VersionScript& script,
                                     const CString& fullPath, MacroChange change);

// The lock every process of the program takes on a script before it reads it to write it; a
// failure says "cannot lock the script".
Expected<ScriptLock> LockScript(const CString& fullPath);
inline constexpr char kScriptLockName[] = "RevtallyStampLock";
