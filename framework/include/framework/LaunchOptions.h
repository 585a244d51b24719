#pragma once

#include "framework/AfxTypes.h"
#include "framework/CString.h"

// The command line as the program understood it. The main window reads it through a pointer for
// the whole life of the process.
struct LaunchOptions {
    CString fileName; // the last file argument
    BOOL noFileGiven = FALSE;
    BOOL trayMode = FALSE; // -t or /t: start in the notification area
};
