#include "ui/HandOffReceiver.h"

#include "stamp/HandOffRecord.h"

bool HandOffReceiver::PathFromCopyData(const COPYDATASTRUCT* data, CString& path) {
    return data && ReadHandOffPath(data->lpData, data->cbData, path);
}

bool HandOffReceiver::PathFromGlobalMemory(LPARAM handle, CString& path) {
    if (InSendMessageEx(nullptr) != ISMEX_NOSEND)
        return false;
    HGLOBAL memory = reinterpret_cast<HGLOBAL>(handle);
    const void* data = memory ? GlobalLock(memory) : nullptr;
    if (!data)
        return false;
    const bool valid = ReadHandOffPath(data, GlobalSize(memory), path);
    // The memory belongs to the sender: unlocked, never freed here.
    GlobalUnlock(memory);
    return valid;
}
