#pragma once

#include "framework/AfxTypes.h"
#include "framework/CString.h"

// Reads major, minor, sub and build from the FILEVERSION statement that follows the first
// "VS_VERSION_INFO" of a resource script. TRUE when all four were read.
//
// After FALSE: if the file could not be loaded the four numbers are untouched; otherwise they were
// set to 0 and those read before the failure keep their values. *failure, when given, receives a
// short English reason.
BOOL ReadRcVersion(const CString& path, int& major, int& minor, int& sub, int& build,
                   CString* failure = nullptr);

// The same rules over text already in memory (no file involved); the numbers are always set.
BOOL ParseRcVersion(const CString& text, int& major, int& minor, int& sub, int& build,
                    CString* failure = nullptr);
