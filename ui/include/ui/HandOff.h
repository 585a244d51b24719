#pragma once

#include "base/CString.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include <windows.h>

// How another process of the program, or another program, reaches the window instance: it looks
// for the instance's window and sends it a record with the full path of a script it stamped, or
// an empty path to ask the window to show itself. Nothing is sent back.

// Exists exactly as long as a window instance's window. The misspelling is the name every
// running instance and every copy of the program looks for.
inline constexpr char kExistenceEventName[] = "RevtallyExsistFlag";

// The layout is fixed (268 bytes, little-endian), since other programs may send it too.
struct HandOffRecord {
    std::int32_t command; // always kHandOffApplyScript; other values are ignored
    std::int32_t size;    // always sizeof(HandOffRecord); not read by the receiver
    char path[260];       // ANSI text ended by a NUL, zero-filled
};
static_assert(sizeof(HandOffRecord) == 268, "the record's layout is shared with other processes");

inline constexpr std::int32_t kHandOffApplyScript = 1;

// The record of a path; none for a path the record cannot hold.
std::optional<HandOffRecord> MakeHandOffRecord(const CString& path);

// The main windows of the running window instances: dialogs captioned "Revtally" that hold the
// project list, not a message box of the program, which shares their class and caption.
std::vector<HWND> FindRunningWindows();

// Sends the record to the running window instance, with WM_COPYDATA. With startIfNone and no
// window running, a window instance is started in tray mode first and given about two seconds to
// appear. False when no window took the record.
bool SendHandOff(const HandOffRecord& record, bool startIfNone);

// The path of a record as a window reads it: none for a record to be ignored (too short, another
// command, or a path that does not end inside the record).
std::optional<CString> ReadHandOffPath(const void* data, std::size_t size);
// The record of a WM_COPYDATA.
std::optional<CString> HandOffPathFromCopyData(const COPYDATASTRUCT* data);
// The record in the global memory handle of a WM_HANDOFF, which only a window of this process may
// send: a handle sent from another process means nothing here and is ignored.
std::optional<CString> HandOffPathFromGlobalMemory(LPARAM handle);
