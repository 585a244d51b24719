#pragma once

#include "base/CString.h"

// The command line as the program understood it.
struct LaunchOptions {
    CString fileName; // the last file argument
    bool noFileGiven = false;
    bool trayMode = false; // start in the notification area

    // A start without a script, or in the tray, is the window instance; the others stamp.
    bool IsWindowInstance() const { return noFileGiven || trayMode; }
};

// The switches: a letter after a switch mark ("-", and "/" on Windows), in either case; only the
// letter counts, so -t, /T and -tray are one switch. Any other letter is ignored.
struct LaunchSwitch {
    char letter; // lower case
    bool LaunchOptions::*flag;
};
inline constexpr LaunchSwitch kLaunchSwitches[] = {
    {'t', &LaunchOptions::trayMode},
};
