#include "framework/StandardError.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <cstdio>
#endif

void StandardError::WriteLine(const CString& line) {
#ifdef _WIN32
    const CString text = line + "\r\n";
    HANDLE handle = GetStdHandle(STD_ERROR_HANDLE);
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(handle, text.GetString(), static_cast<DWORD>(text.GetLength()), &written, nullptr);
#else
    std::fputs(line.GetString(), stderr);
    std::fputc('\n', stderr);
    std::fflush(stderr);
#endif
}
