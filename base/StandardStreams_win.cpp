#include "base/StandardStreams.h"

#include <windows.h>

namespace {
// A program of the Windows GUI subsystem gets a standard stream only when its parent passes a
// handle; without one nothing is written and no console is created.
bool WriteTo(DWORD stream, const CString& text) {
    HANDLE handle = GetStdHandle(stream);
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    return WriteFile(handle, text.GetString(), static_cast<DWORD>(text.GetLength()), &written,
                     nullptr) != FALSE;
}
} // namespace

void standard_streams::WriteErrorLine(const CString& line) {
    WriteTo(STD_ERROR_HANDLE, line + "\r\n");
}

bool standard_streams::WriteOutput(const CString& text) {
    CString crlf;
    for (int i = 0; i < text.GetLength(); ++i) {
        if (text[i] == '\n')
            crlf += '\r';
        crlf += text[i];
    }
    return WriteTo(STD_OUTPUT_HANDLE, crlf);
}
