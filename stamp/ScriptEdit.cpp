#include "stamp/ScriptEdit.h"

#include "base/PathFunctions.h"
#include "stamp/RcVersionReader.h"
#include "stamp/RcVersionWriter.h"
#include "stamp/StampScript.h"
#include "stamp/TextRules.h"
#include "stamp/VersionMacros.h"

namespace {
// The same spelling a stamping run locks: it resolves the name it was given.
CString LockedPath(const CString& path) {
    const Expected<CString> full = FullPathOf(path);
    return full ? *full : path;
}

// As a stamping run tells them apart: names where the numbers would stand.
bool HoldsMacros(const VersionScript& script) {
    return !ReadVersion(script) && FileVersionHoldsNames(script);
}
} // namespace

// The window takes the lock again for a write inside a read, which the lock's owner may.
ScriptEdit::ScriptEdit(const CString& path)
    : m_path(path), m_fullPath(LockedPath(path)), m_lock(LockScript(m_fullPath)) {}

// Unlocked, a write could undo a build that a stamping run records at the same moment.
Expected<VersionScript> ScriptEdit::ReadLocked() const {
    if (!m_lock)
        return m_lock.Error();
    return VersionScript::Read(m_path);
}

// Reading follows the macros without asking: it changes nothing.
Expected<ScriptEdit::Numbers> ScriptEdit::Read() const {
    const Expected<VersionScript> script = ReadLocked();
    if (!script)
        return script.Error();
    if (!HoldsMacros(*script)) {
        const Expected<VersionNumber> literal = ReadVersion(*script);
        if (!literal)
            return literal.Error();
        return Numbers{*literal, {}};
    }
    const Expected<VersionMacros> macros = VersionMacros::Follow(StatementsOf(*script, m_fullPath));
    if (!macros)
        return macros.Error();
    return Numbers{macros->Version(), macros->HeadersWritten(MacroChange::allFields)};
}

// Followed, the headers and the script are one change, put in place as a stamp puts its files.
Expected<std::vector<CString>> ScriptEdit::Write(const VersionNumber& version) const {
    const Expected<VersionScript> script = ReadLocked();
    if (!script)
        return script.Error();
    if (!HoldsMacros(*script)) {
        if (Expected<void> written = WriteRcVersion(m_path, *script, version); !written)
            return written.Error();
        return std::vector<CString>();
    }
    const Expected<VersionMacros> first = VersionMacros::Follow(StatementsOf(*script, m_fullPath));
    if (!first)
        return first.Error();
    const Expected<LockedMacros> locked =
        LockAndFollow(*first, *script, m_fullPath, MacroChange::allFields);
    if (!locked)
        return locked.Error();
    const VersionMacros& macros = locked->macros;
    const Expected<MacroWrites> writes = macros.SetVersion(version);
    if (!writes)
        return writes.Error();
    Expected<CString> rewritten = RewriteRcVersion(*script, version, &writes->scriptEdits);
    if (!rewritten)
        return rewritten.Error();
    const StampPlan plan{macros.Version(),
                         version,
                         FollowedFiles(*script, m_fullPath, *writes, std::move(*rewritten)),
                         std::nullopt,
                         {}};
    // Once the files are in place, a folder not synced is no failure, as for a literal script.
    if (const StampRun run = CommitStamp(plan);
        run.note && (!run.stamped || run.note->code != LogCode::folderNotSynced))
        return Failure::Failed(run.note->reason);
    return macros.HeadersWritten(MacroChange::allFields);
}
