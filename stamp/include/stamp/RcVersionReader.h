#pragma once

#include "framework/AfxTypes.h"
#include "framework/CString.h"
#include "stamp/VersionNumber.h"

// Reads major, minor, sub and build from the FILEVERSION statement that follows the first
// "VS_VERSION_INFO" of a resource script. TRUE when all four were read; a token that is not a
// number (a macro such as VER_MAJOR) is not read. A script with a UTF-16 or UTF-8 byte-order mark
// is read in its encoding (see ScriptEncoding).
//
// After FALSE: if the file could not be loaded the four numbers are untouched; otherwise they were
// set to 0 and those read before the failure keep their values. *failure, when given, receives a
// short English reason.
BOOL ReadRcVersion(const CString& path, VersionNumber& version, CString* failure = nullptr);

// The same rules over a script's bytes already in memory (no file involved); the numbers are
// always set.
BOOL ParseRcVersion(const CString& bytes, VersionNumber& version, CString* failure = nullptr);
