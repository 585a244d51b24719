#pragma once

#include "framework/CString.h"

// One line to the standard error stream the process was given, such as a build tool's log. A
// program of the Windows GUI subsystem gets one only when its parent passes a handle; without one
// the line goes nowhere and no console is created.
class StandardError {
public:
    static void WriteLine(const CString& line);
};
