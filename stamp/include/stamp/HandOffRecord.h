#pragma once

#include "framework/CString.h"

#include <cstddef>
#include <cstdint>

// What one process tells the window instance: the full path of a script it stamped, or an empty
// path to ask the window to show itself. The layout is fixed (268 bytes, little-endian), since
// other programs may send it too.
struct HandOffRecord {
    std::int32_t command; // always kApplyScript; other values are ignored
    std::int32_t size;    // always sizeof(HandOffRecord); not read by the receiver
    char path[260];       // ANSI text ended by a NUL, zero-filled
};
static_assert(sizeof(HandOffRecord) == 268, "the record's layout is shared with other processes");

inline constexpr std::int32_t kHandOffApplyScript = 1;
// The second way a record may arrive: lParam is a global memory handle holding it.
inline constexpr unsigned kHandOffMessage = 0x8000 + 0x101; // WM_APP + 0x101

// The path a record from another process carries, or false when the record is to be ignored: too
// short, another command, or a path that does not end inside the record.
bool ReadHandOffPath(const void* data, std::size_t size, CString& path);
