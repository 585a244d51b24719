#pragma once

#include "base/CString.h"

#include <cstddef>
#include <cstdint>
#include <optional>

#include <windows.h>

// What one process tells the window instance: the full path of a script it stamped, or an empty
// path to ask the window to show itself. The layout is fixed (268 bytes, little-endian), since
// other programs may send it too.
struct HandOffRecord {
    std::int32_t command; // always kHandOffApplyScript; other values are ignored
    std::int32_t size;    // always sizeof(HandOffRecord); not read by the receiver
    char path[260];       // ANSI text ended by a NUL, zero-filled
};
static_assert(sizeof(HandOffRecord) == 268, "the record's layout is shared with other processes");

inline constexpr std::int32_t kHandOffApplyScript = 1;

// The sender's record of a path; none for a path the record cannot hold.
std::optional<HandOffRecord> MakeHandOffRecord(const CString& path);

// The receiver's path of a record; none for a record to be ignored: too short, another command,
// or a path that does not end inside the record.
std::optional<CString> ReadHandOffPath(const void* data, std::size_t size);
// The record of a WM_COPYDATA.
std::optional<CString> HandOffPathFromCopyData(const COPYDATASTRUCT* data);
// The record in the global memory handle of a WM_HANDOFF.
std::optional<CString> HandOffPathFromGlobalMemory(LPARAM handle);
