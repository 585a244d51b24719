#pragma once

#include <windows.h>

struct ProjectRecord;

// The documents the window hands to the shell: the help file, shown in the viewer titled
// "Help For Revtally", and a project's history file.
namespace shell_documents {
inline constexpr char kHelpWindowTitle[] = "Help For Revtally";

// Brings an open help viewer back, or opens the help file beside the program.
void ShowHelp(HWND owner);
// Closes an open help viewer.
void CloseHelp();
void ShowHistory(HWND owner, const ProjectRecord& project);
} // namespace shell_documents
