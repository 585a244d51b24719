#pragma once

#include <string>

#include <windows.h>

// The program's own resources in the language the window speaks: Japanese when the user's UI
// language is Japanese, English for any other.
LANGID WindowLanguage();

struct ProgramResource {
    const void* data = nullptr; // nullptr: the program has no such resource
    DWORD size = 0;
};
// type: RT_DIALOG, RT_MENU, RT_STRING (the ANSI spellings).
ProgramResource FindProgramResource(LPCSTR type, UINT id);

// A string of the program's string table; empty when there is none of that id.
std::wstring LoadResourceString(UINT id);
