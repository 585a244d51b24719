#pragma once

#include "base/CString.h"

#include <string>

#include <windows.h>

// The program's data is 8-bit text in the ANSI code page; its own user-interface texts are UTF-8
// in the source. Both become UTF-16 on the way to the wide-character calls, so that Japanese
// texts read right whatever the system's code page.
std::wstring Utf8ToWide(const char* utf8);
std::wstring AnsiToWide(const CString& ansi);
// The system's own words for an error code (GetLastError), in the user's language, without the
// line end; empty when the system has none.
std::wstring SystemErrorText(DWORD error);
