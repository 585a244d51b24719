#pragma once

#include "base/CString.h"

#include <windows.h>

struct ProjectRecord;

// The documents the window hands to the shell: the help file, shown in the viewer titled
// "Help For Revtally", and a project's history file.
namespace shell_documents {
inline constexpr char kHelpWindowTitle[] = "Help For Revtally";

// The shell's "open" of a document, address or program; its result, or SE_ERR_NOASSOC without a
// shell.
INT_PTR Open(HWND owner, const CString& file, int show, const CString& parameters = "");
// Brings an open help viewer back, or opens the help file beside the program in the window's
// language.
void ShowHelp(HWND owner);
// Closes an open help viewer.
void CloseHelp();
void ShowHistory(HWND owner, const ProjectRecord& project);
} // namespace shell_documents
