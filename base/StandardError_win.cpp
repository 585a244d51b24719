#include "base/StandardError.h"

#include <windows.h>

// A program of the Windows GUI subsystem gets a standard error stream only when its parent passes
// a handle; without one the line goes nowhere and no console is created.
void standard_error::WriteLine(const CString& line) {
    const CString text = line + "\r\n";
    HANDLE handle = GetStdHandle(STD_ERROR_HANDLE);
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(handle, text.GetString(), static_cast<DWORD>(text.GetLength()), &written, nullptr);
}
