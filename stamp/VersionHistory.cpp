#include "stamp/VersionHistory.h"

#include "framework/AtomicFileWriter.h"
#include "framework/CFile.h"
#include "framework/CFileException.h"
#include "framework/CTime.h"
#include "stamp/PathFunctions.h"
#include "stamp/TextRules.h"

namespace {
constexpr char kUpdateList[] = "#UPDATELIST";
constexpr char kTimeStampFormat[] = "%Y/%m/%d %H:%M:%S";

void SetFailure(CString* failure, const CString& reason) {
    if (failure)
        *failure = reason;
}
} // namespace

CString HistoryFilePath(const CString& scriptPath) {
    return ExtractDirectory(scriptPath) + ExtractFileTitle(ExtractFileName(scriptPath)) +
           "_ver.txt";
}

CString HistoryTemplate(const CString& title) {
    CString text;
    text.Format("%s\r\n\t%s\r\n\r\n%s\r\n\r\n%s\r\n\r\n", "#DESCRIPTION", title.GetString(),
                kUpdateList, "#COMMENT");
    return text;
}

CString FormatHistoryEntry(const CString& timeStamp, const VersionNumber& version) {
    CString entry;
    entry.Format("\r\n\t%s\tVersion %d.%d.%d\tbuild %d", timeStamp.GetString(), version.major,
                 version.minor, version.sub, version.build);
    return entry;
}

bool InsertHistoryEntry(CString& text, const CString& entry) {
    const int at = FindMbcs(text.View(), kUpdateList, 0);
    if (at < 0)
        return false;
    text.Insert(at + static_cast<int>(sizeof kUpdateList) - 1, entry);
    return true;
}

void AppendVersionHistory(CString path, const VersionNumber& version, CString* failure) {
    if (path.IsEmpty())
        return;
    const CString historyPath = HistoryFilePath(path);
    try {
        CString text;
        if (!CFile::Exists(historyPath)) {
            text = HistoryTemplate(ExtractFileTitle(ExtractFileName(path)));
        } else {
            bool hadNul = false;
            text = LoadTextFile(historyPath, &hadNul);
            if (hadNul) {
                SetFailure(failure, historyPath + ": the history file holds a NUL byte");
                return;
            }
        }
        const CString stamp = CTime::Now().Format(kTimeStampFormat);
        if (!InsertHistoryEntry(text, FormatHistoryEntry(stamp, version))) {
            SetFailure(failure, historyPath + ": the history file has no #UPDATELIST line");
            return;
        }
        AtomicFileWriter::ReplaceContents(historyPath, text.View());
    } catch (const CFileException& error) {
        SetFailure(failure, historyPath + ": cannot update the history file: " + error.Describe());
    }
}
