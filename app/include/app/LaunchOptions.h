#pragma once

#include "framework/AfxTypes.h"
#include "framework/CString.h"

// The command line as the program understood it.
struct LaunchOptions {
    CString fileName; // the last file argument
    BOOL noFileGiven = FALSE;
    BOOL trayMode = FALSE; // start in the notification area
};

// The switches: a letter after a switch mark ("-", and "/" on Windows), in either case; only the
// letter counts, so -t, /T and -tray are one switch. Any other letter is ignored.
struct LaunchSwitch {
    char letter; // lower case
    BOOL LaunchOptions::*flag;
};
inline constexpr LaunchSwitch kLaunchSwitches[] = {
    {'t', &LaunchOptions::trayMode},
};
