#pragma once

#include "base/CString.h"

// The command line as the program understood it.
struct LaunchOptions {
    CString fileName; // the last file argument
    bool noFileGiven = false;
    bool trayMode = false;     // -t: start in the notification area
    bool noWindow = false;     // -n: tell no window of the stamp, and start none
    bool buildGiven = false;   // -b N: stamp build N instead of build + 1
    bool followMacros = false; // -f: raise the build where the script's version macros define it
    CString buildText;         // N as given
    bool helpAsked = false;
    bool versionAsked = false;

    // A start without a script, or in the tray, is the window instance; a start that gives a
    // build number is a stamping run, with or without a script.
    bool IsWindowInstance() const { return trayMode || (noFileGiven && !buildGiven); }
};

// The switches, one row each: a letter after a switch mark ("-", and "/" on Windows) in either
// case, of which only the letter counts (-t, /T and -tray are one switch), or a word after "--".
// A switch with a value takes the next argument. Any other switch is ignored.
struct LaunchSwitch {
    char letter;      // lower case; 0: none
    const char* word; // nullptr: none
    bool LaunchOptions::*flag;
    CString LaunchOptions::*value = nullptr;
    // Its line of the usage text; none: told with the row above.
    const char* syntax = nullptr;
    const char* meaning = nullptr;
};
inline constexpr LaunchSwitch kLaunchSwitches[] = {
    {'b', nullptr, &LaunchOptions::buildGiven, &LaunchOptions::buildText, "-b N",
     "stamp build number N (0 to 65535) instead of the script's build + 1"},
    {'f', nullptr, &LaunchOptions::followMacros, nullptr, "-f",
     "raise the build number where the script's version macros define it (version.h)"},
    {'n', nullptr, &LaunchOptions::noWindow, nullptr, "-n",
     "tell no project window of the stamp, and start none (build servers)"},
    {'t', nullptr, &LaunchOptions::trayMode, nullptr, "-t",
     "start the project window in the notification area"},
    {'h', "help", &LaunchOptions::helpAsked, nullptr, "-h, -?, --help", "show this text"},
    {'?', nullptr, &LaunchOptions::helpAsked},
    {0, "version", &LaunchOptions::versionAsked, nullptr, "--version",
     "show the program's version"},
};
