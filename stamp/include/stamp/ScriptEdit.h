#pragma once

#include "base/CString.h"
#include "base/Expected.h"
#include "base/ScriptLock.h"
#include "stamp/VersionNumber.h"
#include "stamp/VersionScript.h"

#include <vector>

// The window's change of a script's numbers: under the lock stamping runs take, held as long as
// the object lives, so that a build that lands meanwhile is never overwritten. A script whose
// FILEVERSION holds names is read and written where its version macros define the numbers.
class ScriptEdit {
public:
    explicit ScriptEdit(const CString& path);

    // The numbers, and the headers that define them (none when the script holds them).
    struct Numbers {
        VersionNumber version;
        std::vector<CString> headers;
    };
    Expected<Numbers> Read() const;
    // The headers that define the numbers, as Read gives them.
    Expected<std::vector<CString>> Write(const VersionNumber& version) const;

private:
    // The script as it stands, once the lock is had.
    Expected<VersionScript> ReadLocked() const;

    CString m_path;
    CString m_fullPath; // as the lock spells it
    Expected<ScriptLock> m_lock;
};
