#pragma once

#include "framework/CString.h"

// One registered project. The list row that shows it owns it.
struct ProjectRecord {
    CString name;
    int major = 0;
    int minor = 0;
    int sub = 0;
    int build = 0;
    CString lastUpdate; // "%Y/%m/%d %H:%M:%S", kept as text
    CString rcFile;     // full path of the resource script: what identifies the project
    CString directory;  // the script's folder, ending in a backslash
};
