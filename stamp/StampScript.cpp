#include "stamp/StampScript.h"

#include "base/AtomicFileWriter.h"
#include "stamp/RcVersionReader.h"
#include "stamp/RcVersionWriter.h"
#include "stamp/TextRules.h"
#include "stamp/VersionHistory.h"

#include <optional>
#include <utility>

namespace {
CString BuildText(int build) {
    CString text;
    text.Format("build %d", build);
    return text;
}

// The numbers of the next build, or why they cannot be written: a number the version resource
// cannot hold would compile to another one without a word.
Expected<VersionNumber> NextBuild(const VersionNumber& used) {
    const auto outside = [](const char* field, int value) {
        CString reason;
        reason.Format("%s %d is outside 0 to %d, the numbers a version resource holds", field,
                      value, kLargestVersionField);
        return Failure::LeftAlone(reason);
    };
    for (const auto& [field, value] :
         {std::pair{"major", used.major}, {"minor", used.minor}, {"sub", used.sub}})
        if (value < 0 || value > kLargestVersionField)
            return outside(field, value);
    if (used.build == kLargestVersionField)
        return Failure::LeftAlone(
            "build 65535 is the largest number a version resource holds; raise the sub version");
    if (used.build < -1 || used.build > kLargestVersionField)
        return outside("build", used.build);
    VersionNumber next = used;
    ++next.build;
    return next;
}

// The stamp proper, once the numbers are known. Both new files are complete and on disk before
// either takes its place: the script first, then the history, then the folder synced. A kill at
// any moment leaves both old or both new, but for the instant between the two renames. Done with
// a note: a history the user stopped (no #UPDATELIST) or a step after the script's rename that
// failed; the build is stamped either way.
Expected<CString> Record(const CString& fullPath, const CString& script, const VersionNumber& used,
                         const HistoryFile& historyFile) {
    const Expected<VersionNumber> next = NextBuild(used);
    if (!next)
        return next.Error();
    const Expected<CString> history = LoadVersionHistory(historyFile);
    if (!history)
        return history.Error();
    const Expected<CString> stamped = RewriteRcVersion(script.View(), *next);
    if (!stamped)
        return stamped.Error();
    const Expected<CString> recorded = AddHistoryEntry(*history, CurrentTimeStamp(), used);

    Expected<AtomicFileWriter> scriptWriter = AtomicFileWriter::Prepare(fullPath, stamped->View());
    if (!scriptWriter)
        return scriptWriter.Error().Prefixed("cannot rewrite the script: ");
    std::optional<Expected<AtomicFileWriter>> historyWriter;
    if (recorded) {
        historyWriter.emplace(AtomicFileWriter::Prepare(historyFile.path, recorded->View()));
        if (!*historyWriter)
            return historyWriter->Error().Prefixed("cannot write the history file: ");
    }
    if (Expected<void> replaced = scriptWriter->Commit(); !replaced)
        return replaced.Error().Prefixed("cannot replace the script: ");

    const CString holds = "the script now holds " + BuildText(next->build);
    CString note;
    if (!recorded) {
        note = holds + ", with no history entry: " + recorded.Error().reason;
    } else if (Expected<void> added = (*historyWriter)->Commit(); !added) {
        note = holds + ", but the history entry for " + BuildText(used.build) +
               " could not be written: " + added.Error().reason;
    }
    if (Expected<void> synced = scriptWriter->SyncFolder(); !synced && note.IsEmpty())
        note = holds + ", but its folder could not be synced to disk: " + synced.Error().reason;
    return note;
}
} // namespace

Expected<ScriptLock> LockScript(const CString& fullPath) {
    Expected<ScriptLock> lock = ScriptLock::Take(kScriptLockName, fullPath);
    if (!lock)
        return lock.Error().Prefixed("cannot lock the script: ");
    return lock;
}

Expected<StampRun> StampScript(const CString& fullPath) {
    const Expected<ScriptLock> lock = LockScript(fullPath);
    if (!lock)
        return lock.Error();
    const HistoryFile history = HistoryFileOf(fullPath);
    // Under the lock no live run works on either file, so what matches their temporary names was
    // left by a run that was killed.
    AtomicFileWriter::RemoveStaleTemporaries({fullPath, history.path});
    const Expected<CString> script = ReadScript(fullPath);
    if (!script)
        return script.Error();
    const Expected<VersionNumber> used = ParseRcVersion(script->View());
    if (!used)
        return used.Error();
    return StampRun{*used, Record(fullPath, *script, *used, history)};
}
