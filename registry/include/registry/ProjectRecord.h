#pragma once

#include "base/CString.h"
#include "stamp/VersionNumber.h"

// One registered project. The project list owns it; the list row that shows it points at it.
struct ProjectRecord {
    CString name;
    VersionNumber version;
    CString lastUpdate; // "%Y/%m/%d %H:%M:%S", kept as text
    CString rcFile;     // full path of the resource script: what identifies the project
    CString directory;  // the script's folder, ending in a backslash
};
