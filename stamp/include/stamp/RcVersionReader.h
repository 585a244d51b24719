#pragma once

#include "framework/CString.h"
#include "stamp/StampResult.h"
#include "stamp/VersionNumber.h"

// Reads major, minor, sub and build from the FILEVERSION statement that follows the first
// "VS_VERSION_INFO" of a resource script. Done when all four were read; left alone when the
// script holds no such statement or a token that is not a number (a macro such as VER_MAJOR);
// failed when the file could not be read. A script with a UTF-16 or UTF-8 byte-order mark is read
// in its encoding (see ScriptEncoding).
//
// When not done: if the file could not be loaded the four numbers are untouched; otherwise they
// were set to 0 and those read before the refusal keep their values.
StampResult ReadRcVersion(const CString& path, VersionNumber& version);

// The same rules over a script's bytes already in memory (no file involved); the numbers are
// always set.
StampResult ParseRcVersion(const CString& bytes, VersionNumber& version);
