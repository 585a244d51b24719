#pragma once

#include "framework/CString.h"

#include <windows.h>

struct ProjectRecord;

// The documents the window hands to the shell: the help file, shown in the viewer titled
// "Help For Revtally", and a project's history file.
class ShellDocuments {
public:
    static constexpr char kHelpWindowTitle[] = "Help For Revtally";

    // Brings an open help viewer back, or opens the help file beside the program.
    static void ShowHelp(HWND owner);
    // Closes an open help viewer.
    static void CloseHelp();
    static void ShowHistory(HWND owner, const ProjectRecord& project);
};
