#include "framework/StandardError.h"

#include <windows.h>

void StandardError::WriteLine(const CString& line) {
    const CString text = line + "\r\n";
    HANDLE handle = GetStdHandle(STD_ERROR_HANDLE);
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(handle, text.GetString(), static_cast<DWORD>(text.GetLength()), &written, nullptr);
}
