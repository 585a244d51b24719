#include "stamp/VersionHistory.h"

#include "base/CFile.h"
#include "base/CTime.h"
#include "base/PathFunctions.h"
#include "stamp/TextRules.h"

namespace {
constexpr char kUpdateList[] = "#UPDATELIST";
constexpr char kTimeStampFormat[] = "%Y/%m/%d %H:%M:%S";
} // namespace

HistoryFile HistoryFileOf(const CString& scriptPath) {
    const CString title = ExtractFileTitle(ExtractFileName(scriptPath));
    return {HistoryFilePath(ExtractDirectory(scriptPath), title), title};
}

CString HistoryFilePath(const CString& directory, const CString& title) {
    return directory + title + "_ver.txt";
}

Expected<CString> LoadVersionHistory(const HistoryFile& history) {
    const Expected<CString> text = ReadWholeFile(history.path);
    if (text)
        return text;
    // Only "no such file" is a missing history: a file that could not be read taken for one
    // would have its entries replaced by a fresh template.
    if (text.Error().cause == CFileException::fileNotFound)
        return HistoryTemplate(history.title);
    return text.Error().Prefixed("cannot read the history file: ");
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

CString CurrentTimeStamp() {
    return CTime::Now().Format(kTimeStampFormat);
}

// A file with a NUL byte would be cut there when written back; one without "#UPDATELIST" is the
// user's way of stopping the list.
Expected<CString> AddHistoryEntry(const CString& history, const CString& timeStamp,
                                  const VersionNumber& version) {
    if (history.View().find('\0') != std::string_view::npos)
        return Failure::LeftAlone("the history file holds a NUL byte");
    const int at = FindMbcs(history.View(), kUpdateList, 0);
    if (at < 0)
        return Failure::LeftAlone("the history file has no #UPDATELIST line");
    CString result = history;
    result.Insert(at + static_cast<int>(sizeof kUpdateList) - 1,
                  FormatHistoryEntry(timeStamp, version));
    return result;
}
