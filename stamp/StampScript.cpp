#include "stamp/StampScript.h"

#include "framework/AtomicFileWriter.h"
#include "framework/CFileException.h"
#include "framework/ScriptLock.h"
#include "stamp/PathFunctions.h"
#include "stamp/RcVersionReader.h"
#include "stamp/RcVersionWriter.h"
#include "stamp/TextRules.h"
#include "stamp/VersionHistory.h"

#include <climits>
#include <memory>
#include <optional>

namespace {
CString Because(const char* what, const CFileException& error) {
    return CString(what) + error.Describe();
}
} // namespace

StampResult StampScript(const CString& fullPath) {
    ScriptLock lock(fullPath);
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
    if (StampResult read = ParseRcVersion(script, used); !read)
        return read;
    std::optional<CString> history;
    try {
        history = LoadVersionHistory(historyPath);
    } catch (const CFileException& error) {
        return StampResult::Failed(Because("cannot read the history file: ", error)).WithUsed(used);
    }

    VersionNumber next = used;
    next.build = used.build == INT_MAX ? INT_MAX : used.build + 1;
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
