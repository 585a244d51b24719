#include "ui/HandOffRecord.h"

#include <cstring>

std::optional<HandOffRecord> MakeHandOffRecord(const CString& path) {
    // A path cut short would name another file: better no hand-off at all.
    HandOffRecord record{kHandOffApplyScript, sizeof record, {}};
    if (path.GetLength() >= static_cast<int>(sizeof record.path))
        return std::nullopt;
    std::memcpy(record.path, path.GetString(), static_cast<size_t>(path.GetLength()));
    return record;
}

std::optional<CString> ReadHandOffPath(const void* data, std::size_t size) {
    HandOffRecord record;
    if (!data || size < sizeof record)
        return std::nullopt;
    std::memcpy(&record, data, sizeof record);
    if (record.command != kHandOffApplyScript)
        return std::nullopt;
    const void* end = std::memchr(record.path, '\0', sizeof record.path);
    if (!end)
        return std::nullopt;
    return CString(record.path, static_cast<int>(static_cast<const char*>(end) - record.path));
}

std::optional<CString> HandOffPathFromCopyData(const COPYDATASTRUCT* data) {
    if (!data)
        return std::nullopt;
    return ReadHandOffPath(data->lpData, data->cbData);
}

std::optional<CString> HandOffPathFromGlobalMemory(LPARAM handle) {
    // A handle means something only in the process that made it, so one sent from elsewhere is
    // ignored.
    if (InSendMessageEx(nullptr) != ISMEX_NOSEND)
        return std::nullopt;
    HGLOBAL memory = reinterpret_cast<HGLOBAL>(handle);
    const void* data = memory ? GlobalLock(memory) : nullptr;
    if (!data)
        return std::nullopt;
    std::optional<CString> path = ReadHandOffPath(data, GlobalSize(memory));
    // The memory belongs to the sender: unlocked, never freed here.
    GlobalUnlock(memory);
    return path;
}
