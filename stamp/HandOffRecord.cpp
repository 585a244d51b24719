#include "stamp/HandOffRecord.h"

#include <cstring>

bool ReadHandOffPath(const void* data, std::size_t size, CString& path) {
    HandOffRecord record;
    if (!data || size < sizeof record)
        return false;
    std::memcpy(&record, data, sizeof record);
    if (record.command != kHandOffApplyScript)
        return false;
    const void* end = std::memchr(record.path, '\0', sizeof record.path);
    if (!end)
        return false;
    path = CString(record.path, static_cast<int>(static_cast<const char*>(end) - record.path));
    return true;
}
