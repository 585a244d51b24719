#pragma once

#include "framework/CString.h"
#include "stamp/StampResult.h"
#include "stamp/VersionNumber.h"

// Writes the four numbers into the FILEVERSION and PRODUCTVERSION statements after the first
// "VS_VERSION_INFO", and into every "FileVersion" and "ProductVersion" string value after the
// PRODUCTVERSION statement. Every other byte of the file stays as it was. Done when the file was
// rewritten; otherwise it is untouched, byte for byte: failed when it could not be read or
// replaced, left alone when rewriting it could damage it.
//
// A script is left alone when rewriting it could damage it: a missing
// statement, a keyword with no CR after it or a bare LF before it, a NUL byte in the file, a
// version statement that goes on over the next line, a statement holding something other than
// numbers (a macro) or a string value holding no string literal, or UTF-16 that is not
// well-formed. A script with a UTF-16 or UTF-8 byte-order mark is rewritten in its own encoding.
StampResult WriteRcVersion(const CString& path, const VersionNumber& version);

// The rewrite over a script's bytes in memory: done with the new bytes in result, or left alone
// with the reason.
StampResult RewriteRcVersion(const CString& bytes, const VersionNumber& version, CString& result);
