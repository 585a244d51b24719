#include "stamp/StampScript.h"

#include "framework/AtomicFileWriter.h"
#include "framework/CFileException.h"
#include "framework/ScriptLock.h"
#include "framework/PathFunctions.h"
#include "stamp/RcVersionReader.h"
#include "stamp/RcVersionWriter.h"
#include "stamp/TextRules.h"
#include "stamp/VersionHistory.h"

#include <memory>
#include <optional>
#include <utility>

namespace {
CString Because(const char* what, const CFileException& error) {
    return CString(what) + error.Describe();
}

// The numbers of the next build, or why they cannot be written: a number the version resource
// cannot hold would compile to another one without a word.
StampResult NextBuild(const VersionNumber& used, VersionNumber& next) {
    const auto outside = [](const char* field, int value) {
        CString reason;
        reason.Format("%s %d is outside 0 to %d, the numbers a version resource holds", field,
                      value, kLargestVersionField);
        return StampResult::LeftAlone(reason);
    };
    for (const auto& [field, value] :
         {std::pair{"major", used.major}, {"minor", used.minor}, {"sub", used.sub}})
        if (value < 0 || value > kLargestVersionField)
            return outside(field, value);
    if (used.build == kLargestVersionField)
        return StampResult::LeftAlone(
            "build 65535 is the largest number a version resource holds; raise the sub version");
    if (used.build < -1 || used.build > kLargestVersionField)
        return outside("build", used.build);
    next = used;
    ++next.build;
    return StampResult::Done();
}
} // namespace

StampResult StampScript(const CString& fullPath) {
    ScriptLock lock(kScriptLockName, fullPath);
    if (!lock.IsHeld())
        return StampResult::Failed("cannot lock the script: " + lock.Failure());
    const CString historyPath = HistoryFilePath(fullPath);
    // Under the lock no live run works on either file, so what matches their temporary names was
    // left by a run that was killed.
    AtomicFileWriter::RemoveStaleTemporaries({fullPath, historyPath});

    CString script;
    try {
        script = LoadFileBytes(fullPath);
    } catch (const CFileException& error) {
        return StampResult::Failed(Because("cannot read the script: ", error));
    }
    VersionNumber used;
    VersionNumber next;
    if (StampResult read = ParseRcVersion(script, used); !read)
        return read;
    if (StampResult raised = NextBuild(used, next); !raised)
        return raised.WithUsed(used);
    std::optional<CString> history;
    try {
        history = LoadVersionHistory(historyPath);
    } catch (const CFileException& error) {
        return StampResult::Failed(Because("cannot read the history file: ", error)).WithUsed(used);
    }

    CString stamped;
    if (StampResult rewritten = RewriteRcVersion(script, next, stamped); !rewritten)
        return rewritten.WithUsed(used);
    CString recorded;
    const StampResult entry = AddHistoryEntry(history, ExtractFileTitle(ExtractFileName(fullPath)),
                                              CurrentTimeStamp(), used, recorded);

    // Both new files are complete and on disk before either takes its place.
    std::unique_ptr<AtomicFileWriter> scriptWriter;
    std::unique_ptr<AtomicFileWriter> historyWriter;
    try {
        scriptWriter = std::make_unique<AtomicFileWriter>(fullPath, stamped.View());
    } catch (const CFileException& error) {
        return StampResult::Failed(Because("cannot rewrite the script: ", error)).WithUsed(used);
    }
    try {
        if (entry)
            historyWriter = std::make_unique<AtomicFileWriter>(historyPath, recorded.View());
    } catch (const CFileException& error) {
        return StampResult::Failed(Because("cannot write the history file: ", error))
            .WithUsed(used);
    }
    try {
        scriptWriter->Commit();
    } catch (const CFileException& error) {
        return StampResult::Failed(Because("cannot replace the script: ", error)).WithUsed(used);
    }

    CString note;
    CString buildText;
    buildText.Format("build %d", next.build);
    try {
        if (historyWriter)
            historyWriter->Commit();
        else
            note =
                "the script now holds " + buildText + ", with no history entry: " + entry.Reason();
    } catch (const CFileException& error) {
        CString usedText;
        usedText.Format("build %d", used.build);
        note = "the script now holds " + buildText + ", but the history entry for " + usedText +
               " could not be written: " + error.Describe();
    }
    CString syncFailure;
    if (!scriptWriter->SyncFolder(&syncFailure) && note.IsEmpty())
        note = "the script now holds " + buildText +
               ", but its folder could not be synced to disk: " + syncFailure;
    return StampResult::Done().WithUsed(used).WithReason(note);
}
