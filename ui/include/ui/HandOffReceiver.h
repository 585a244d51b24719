#pragma once

#include "framework/CString.h"

#include <windows.h>

// Takes the records other processes send the window, and checks them before they are trusted.
class HandOffReceiver {
public:
    // WM_COPYDATA: the path of a valid record; false for anything to be ignored.
    static bool PathFromCopyData(const COPYDATASTRUCT* data, CString& path);
    // WM_APP + 0x101: lParam is a global memory handle holding the record. A handle means
    // something only in the process that made it, so one sent from elsewhere is ignored.
    static bool PathFromGlobalMemory(LPARAM handle, CString& path);
};
