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
// cannot hold would compile to another one without a word. A build the command line gives
// replaces the script's own + 1.
Expected<VersionNumber> NextBuild(const VersionNumber& used, std::optional<int> build) {
    const auto outside = [](const char* field, int value) {
        CString reason;
        reason.Format("%s %d is outside 0 to %d, the numbers a version resource holds", field,
                      value, kLargestVersionField);
        return Failure::OutOfRange(reason);
    };
    for (const auto& [field, value] :
         {std::pair{"major", used.major}, {"minor", used.minor}, {"sub", used.sub}})
        if (value < 0 || value > kLargestVersionField)
            return outside(field, value);
    VersionNumber next = used;
    if (build) {
        next.build = *build;
        return next;
    }
    if (used.build == kLargestVersionField)
        return Failure::OutOfRange(
            "build 65535 is the largest number a version resource holds; raise the sub version");
    if (used.build < -1 || used.build > kLargestVersionField)
        return outside("build", used.build);
    ++next.build;
    return next;
}

// The stamp proper, once the numbers are known. Both new files are complete and on disk before
// either takes its place: the script first, then the history, then the folder synced. A kill at
// any moment leaves both old or both new, but for the instant between the two renames. A history
// the user stopped (no #UPDATELIST) does not stop the stamp, and neither does a step after the
// script's rename that fails: the log is told.
void Record(StampRun& run, const CString& fullPath, const CString& script,
            const HistoryFile& historyFile, std::optional<int> build) {
    const Expected<VersionNumber> next = NextBuild(run.used, build);
    if (!next) {
        run.stamp = next.Error();
        return;
    }
    const Expected<CString> history = LoadVersionHistory(historyFile);
    const Expected<CString> stamped =
        history ? RewriteRcVersion(script.View(), *next) : Expected<CString>(history.Error());
    if (!stamped) {
        run.stamp = stamped.Error();
        return;
    }
    const Expected<CString> recorded = AddHistoryEntry(*history, CurrentTimeStamp(), run.used);

    Expected<AtomicFileWriter> scriptWriter = AtomicFileWriter::Prepare(fullPath, stamped->View());
    if (!scriptWriter) {
        run.stamp = scriptWriter.Error().Prefixed("cannot rewrite the script: ");
        return;
    }
    std::optional<Expected<AtomicFileWriter>> historyWriter;
    if (recorded) {
        historyWriter.emplace(AtomicFileWriter::Prepare(historyFile.path, recorded->View()));
        if (!*historyWriter) {
            run.stamp = historyWriter->Error().Prefixed("cannot write the history file: ");
            return;
        }
    }
    if (Expected<void> replaced = scriptWriter->Commit(); !replaced) {
        run.stamp = replaced.Error().Prefixed("cannot replace the script: ");
        return;
    }

    const CString holds = "the script now holds " + BuildText(next->build);
    if (!recorded) {
        run.unrecorded = recorded.Error().Prefixed(holds + ", with no history entry: ");
    } else if (Expected<void> added = (*historyWriter)->Commit(); !added) {
        run.unrecorded =
            added.Error().Prefixed(holds + ", but the history entry for " +
                                   BuildText(run.used.build) + " could not be written: ");
    }
    if (Expected<void> synced = scriptWriter->SyncFolder(); !synced)
        run.unsynced =
            synced.Error().Prefixed(holds + ", but its folder could not be synced to disk: ");
}
} // namespace

Expected<ScriptLock> LockScript(const CString& fullPath) {
    Expected<ScriptLock> lock = ScriptLock::Take(kScriptLockName, fullPath);
    if (!lock)
        return lock.Error().Prefixed("cannot lock the script: ");
    return lock;
}

Expected<StampRun> StampScript(const CString& fullPath, std::optional<int> build) {
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
    StampRun run{*used, {}, std::nullopt, std::nullopt};
    Record(run, fullPath, *script, history, build);
    return run;
}
