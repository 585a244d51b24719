#include "stamp/VersionHistory.h"

#include "framework/CFileException.h"
#include "framework/CTime.h"
#include "framework/PathFunctions.h"
#include "stamp/TextRules.h"

namespace {
constexpr char kUpdateList[] = "#UPDATELIST";
constexpr char kTimeStampFormat[] = "%Y/%m/%d %H:%M:%S";
} // namespace

CString HistoryFilePath(const CString& scriptPath) {
    return HistoryFilePath(ExtractDirectory(scriptPath),
                           ExtractFileTitle(ExtractFileName(scriptPath)));
}

CString HistoryFilePath(const CString& directory, const CString& title) {
    return directory + title + "_ver.txt";
}

std::optional<CString> LoadVersionHistory(const CString& historyPath) {
    try {
        return LoadFileBytes(historyPath);
    } catch (const CFileException& error) {
        if (error.m_cause == CFileException::fileNotFound)
            return std::nullopt;
        throw;
    }
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

StampResult AddHistoryEntry(const std::optional<CString>& existing, const CString& title,
                            const CString& timeStamp, const VersionNumber& version,
                            CString& result) {
    result = existing ? *existing : HistoryTemplate(title);
    if (result.View().find('\0') != std::string_view::npos)
        return StampResult::LeftAlone("the history file holds a NUL byte");
    const int at = FindMbcs(result.View(), kUpdateList, 0);
    if (at < 0)
        return StampResult::LeftAlone("the history file has no #UPDATELIST line");
    result.Insert(at + static_cast<int>(sizeof kUpdateList) - 1,
                  FormatHistoryEntry(timeStamp, version));
    return StampResult::Done();
}
