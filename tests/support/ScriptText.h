#pragma once

#include "stamp/VersionNumber.h"

#include <iosfwd>
#include <string>

// How a failed expectation shows a version: 1.2.3 b41.
void PrintTo(const VersionNumber& v, std::ostream* os);

namespace testfiles {

// "1, 2, 3, 41": the numbers as the writer puts them into statements and string values.
std::string VersionText(const VersionNumber& v);

// A resource script with one version resource, in the shapes the tests write. The statements
// follow FILEVERSION and PRODUCTVERSION ("1, 2, 3, 41", "1,2,3,41"); values, when given, are the
// "FileVersion" and "ProductVersion" of a string block in the layout the writer leaves behind, so
// a rewrite with the same numbers gives the same bytes. The head stands before the resource, the
// options after PRODUCTVERSION, each line of them ended by CR LF.
std::string ScriptText(const std::string& statements, const std::string& values = "",
                       const std::string& head = "", const std::string& options = "");

} // namespace testfiles
