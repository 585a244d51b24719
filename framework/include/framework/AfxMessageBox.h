#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>

// The program's message box: OK button and exclamation icon unless the type names others, the
// application name as caption, owned by the active window of the program.
int AfxMessageBox(const std::wstring& text, UINT type = MB_OK);

// Tests put a function in place of the real box to see what the user would be told; nullptr
// restores the box. Returns the previous one.
using MessageBoxHook = int (*)(const std::wstring& text, UINT type);
MessageBoxHook AfxSetMessageBoxHook(MessageBoxHook hook);

// Replaces %1, %2, ... in a message with the arguments, as the framework's messages want.
std::wstring AfxFormatMessage(const std::wstring& pattern,
                              std::initializer_list<std::wstring> arguments);
