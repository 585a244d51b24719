#pragma once

#include "base/CString.h"
#include "base/Expected.h"
#include "base/ScriptLock.h"
#include "stamp/VersionNumber.h"

#include <optional>

// A stamping run that read the script's numbers: those the build used, and the stamp, done or
// why nothing changed. Done, a step after the script's rename may still have failed: the history
// got no entry for the build, or the folder was not synced. Each is a line for the build log.
struct StampRun {
    VersionNumber used;
    Expected<void> stamp;
    std::optional<Failure> unrecorded;
    std::optional<Failure> unsynced;
};

// Records the build in the script's history and raises the build number in the script, both or
// neither; build, when given, is the new build number. A failure here: the numbers could not be
// read.
Expected<StampRun> StampScript(const CString& fullPath, std::optional<int> build = std::nullopt);

// The lock every process of the program takes on a script before it reads it to write it; a
// failure says "cannot lock the script".
Expected<ScriptLock> LockScript(const CString& fullPath);
inline constexpr char kScriptLockName[] = "RevtallyStampLock";
