#pragma once

#include "base/CString.h"
#include "base/Expected.h"
#include "base/ScriptLock.h"
#include "stamp/VersionNumber.h"

// A stamping run that read the script's numbers: those the build used, and the stamp's result,
// whose note (empty when all went well) is a line for the build log.
struct StampRun {
    VersionNumber used;
    Expected<CString> note;
};

// Records the build in the script's history and raises the build number in the script, both or
// neither. A failure here: the numbers could not be read.
Expected<StampRun> StampScript(const CString& fullPath);

// The lock every process of the program takes on a script before it reads it to write it; a
// failure says "cannot lock the script".
Expected<ScriptLock> LockScript(const CString& fullPath);
inline constexpr char kScriptLockName[] = "RevtallyStampLock";
