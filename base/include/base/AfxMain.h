#pragma once

#include "base/CString.h"

#include <vector>

// Runs the application object with the process's arguments; what the platform's entry point calls.
int AfxRunApplication(const CString& modulePath, int argc, char** argv);
