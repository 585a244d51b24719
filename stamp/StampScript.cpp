#include "stamp/StampScript.h"

#include "base/AtomicFileWriter.h"
#include "base/PathFunctions.h"
#include "stamp/RcVersionReader.h"
#include "stamp/RcVersionWriter.h"
#include "stamp/TextRules.h"
#include "stamp/VersionHistory.h"

#include <algorithm>
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

LogNote Note(LogCode code, const Failure& failure, const CString& step = CString()) {
    return {code, step + failure.reason};
}
} // namespace

std::vector<StampPlan::File> FollowedFiles(const VersionScript& script, const CString& fullPath,
                                           const MacroWrites& writes, CString rewritten) {
    std::vector<StampPlan::File> files;
    // The headers first: they hold the numbers the script's statements name.
    for (const HeaderWrite& header : writes.headers)
        files.push_back({header.path, CString(header.bytes), StampPlan::Part::stamp,
                         "the header " + ExtractFileName(header.path)});
    // A script whose numbers all stand in headers is left as it is.
    if (rewritten != script.Bytes())
        files.push_back({fullPath, std::move(rewritten), StampPlan::Part::stamp, "the script"});
    return files;
}

// A history the user stopped (no #UPDATELIST) does not stop the stamp: the plan says why it
// goes unrecorded.
Expected<StampPlan, LogNote> PlanStamp(const VersionScript& script, const CString& fullPath,
                                       const HistoryFile& history, const VersionNumber& used,
                                       std::optional<int> build, const VersionMacros* macros) {
    const Expected<VersionNumber> next = NextBuild(used, build);
    if (!next)
        return Note(LogCode::numberDoesNotFit, next.Error());
    const Expected<CString> historyText = LoadVersionHistory(history);
    if (!historyText)
        return Note(LogCode::fileOrLockError, historyText.Error());
    const Expected<MacroWrites> defined =
        macros ? macros->RaiseBuild(next->build) : Expected<MacroWrites>(MacroWrites{});
    if (!defined)
        return Note(LogCode::unsafeRewrite, defined.Error());
    Expected<CString> stamped =
        RewriteRcVersion(script, *next, macros ? &defined->scriptEdits : nullptr);
    if (!stamped)
        return Note(LogCode::unsafeRewrite, stamped.Error());
    StampPlan plan{used, *next, {}, std::nullopt, StringsNotHolding(script, used)};
    if (macros)
        plan.files = FollowedFiles(script, fullPath, *defined, std::move(*stamped));
    else
        plan.files.push_back({fullPath, std::move(*stamped), StampPlan::Part::stamp, "the script"});
    if (Expected<CString> recorded = AddHistoryEntry(*historyText, CurrentTimeStamp(), used))
        plan.files.push_back(
            {history.path, std::move(*recorded), StampPlan::Part::record, "the history file"});
    else
        plan.unrecorded = recorded.Error();
    return plan;
}

// Every new file is complete and on disk before any takes its place: the stamp's files first, in
// the plan's order, then the history, then the folders synced. A kill at any moment leaves all old
// or all new, but for the instants between the renames. A step after the stamp's renames that
// fails does not undo the stamp: the log is told.
StampRun CommitStamp(const StampPlan& plan) {
    StampRun run{plan.used, false, std::nullopt};
    std::vector<AtomicFileWriter> writers;
    writers.reserve(plan.files.size());
    for (const StampPlan::File& file : plan.files) {
        Expected<AtomicFileWriter> writer = AtomicFileWriter::Prepare(file.path, file.bytes.View());
        if (!writer) {
            const char* verb =
                file.part == StampPlan::Part::stamp ? "cannot rewrite " : "cannot write ";
            run.note = Note(LogCode::fileOrLockError, writer.Error(), verb + file.name + ": ");
            return run;
        }
        writers.push_back(std::move(*writer));
    }
    const CString holds = "the script now holds " + BuildText(plan.next.build);
    if (plan.unrecorded)
        run.note =
            Note(LogCode::noHistoryEntry, *plan.unrecorded, holds + ", with no history entry: ");
    for (size_t i = 0; i < writers.size(); ++i) {
        const StampPlan::File& file = plan.files[i];
        if (Expected<void> replaced = writers[i].Commit(); !replaced) {
            if (file.part == StampPlan::Part::stamp) {
                run.note = Note(LogCode::fileOrLockError, replaced.Error(),
                                "cannot replace " + file.name + ": ");
                return run;
            }
            run.note = Note(LogCode::noHistoryEntry, replaced.Error(),
                            holds + ", but the history entry for " + BuildText(plan.used.build) +
                                " could not be written: ");
        }
        run.stamped = true;
    }
    std::vector<CString> synced;
    for (size_t i = 0; i < writers.size(); ++i) {
        const CString folder = ExtractDirectory(plan.files[i].path);
        if (std::find(synced.begin(), synced.end(), folder) != synced.end())
            continue;
        synced.push_back(folder);
        if (Expected<void> flushed = writers[i].SyncFolder(); !flushed && !run.note)
            run.note = Note(LogCode::folderNotSynced, flushed.Error(),
                            holds + ", but its folder could not be synced to disk: ");
    }
    // Windows shows these strings as the program's version: the user learns that what it showed
    // was not the script's version.
    if (!run.note && !plan.stringsNotHeld.empty()) {
        CString strings;
        for (const CString& string : plan.stringsNotHeld)
            strings += (strings.IsEmpty() ? "" : ", ") + string;
        CString reason;
        reason.Format("%s, not the version %d.%d.%d.%d; rewritten with %d.%d.%d.%d",
                      strings.GetString(), plan.used.major, plan.used.minor, plan.used.sub,
                      plan.used.build, plan.next.major, plan.next.minor, plan.next.sub,
                      plan.next.build);
        run.note = LogNote{LogCode::stringDidNotMatch, reason};
    }
    return run;
}

Expected<ScriptLock> LockScript(const CString& fullPath) {
    Expected<ScriptLock> lock = ScriptLock::Take(kScriptLockName, fullPath);
    if (!lock)
        return lock.Error().Prefixed("cannot lock the script: ");
    return lock;
}

VersionStatements StatementsOf(const VersionScript& script, const CString& fullPath) {
    VersionStatements statements{fullPath,
                                 script.Text(),
                                 script.Encoding().SearchRule(),
                                 script.FileVersion(),
                                 script.ProductVersion(),
                                 {}};
    for (const StringValueLine& value : script.StringValues())
        statements.values.push_back(value.line);
    return statements;
}

// A number that does not fit, a history that cannot be read and a script that cannot be rewritten
// safely each keep the script and the history as they are.
StampRun StampScript(const CString& fullPath, const StampOptions& options) {
    // Whatever keeps the numbers from being read: a file or lock it cannot have, or a script it
    // does not read.
    const auto unread = [](const Failure& failure) {
        return StampRun{std::nullopt, false,
                        Note(failure.kind == Failure::Kind::failed ? LogCode::fileOrLockError
                                                                   : LogCode::noNumberToRaise,
                             failure)};
    };
    const Expected<ScriptLock> lock = LockScript(fullPath);
    if (!lock)
        return unread(lock.Error());
    const HistoryFile history = HistoryFileOf(fullPath);
    // Under the lock no live run works on either file, so what matches their temporary names was
    // left by a run that was killed.
    AtomicFileWriter::RemoveStaleTemporaries({fullPath, history.path});
    const Expected<VersionScript> script = VersionScript::Read(fullPath);
    if (!script)
        return unread(script.Error());
    const auto stamp = [&](const VersionNumber& used, const VersionMacros* macros) {
        const Expected<StampPlan, LogNote> plan =
            PlanStamp(*script, fullPath, history, used, options.build, macros);
        return plan ? CommitStamp(*plan) : StampRun{used, false, plan.Error()};
    };
    const Expected<VersionNumber> used = ReadVersion(*script);
    if (used)
        return stamp(*used, nullptr);
    if (!FileVersionHoldsNames(*script))
        return unread(used.Error());

    // Names where the numbers would stand: numbers that headers may define.
    const Expected<VersionMacros> macros = VersionMacros::Follow(StatementsOf(*script, fullPath));
    if (!options.followMacros)
        return unread(macros ? used.Error().Suffixed("; -f raises it where it is defined")
                             : used.Error());
    if (!macros)
        return unread(macros.Error());
    const Expected<LockedMacros> locked =
        LockAndFollow(*macros, *script, fullPath, MacroChange::build);
    if (!locked)
        return unread(locked.Error());
    return stamp(locked->macros.Version(), &locked->macros);
}

Expected<LockedMacros> LockAndFollow(const VersionMacros& macros, const VersionScript& script,
                                     const CString& fullPath, MacroChange change) {
    // Each header it writes is locked as the script is, and then read again, as it now stands.
    std::vector<ScriptLock> locks;
    for (const CString& header : macros.HeadersWritten(change)) {
        Expected<ScriptLock> lock = ScriptLock::Take(kScriptLockName, header);
        if (!lock)
            return lock.Error().Prefixed("cannot lock the header " + ExtractFileName(header) +
                                         ": ");
        locks.push_back(std::move(*lock));
        AtomicFileWriter::RemoveStaleTemporaries({header});
    }
    Expected<VersionMacros> again = VersionMacros::Follow(StatementsOf(script, fullPath));
    if (!again)
        return again.Error();
    return LockedMacros{std::move(locks), std::move(*again)};
}
