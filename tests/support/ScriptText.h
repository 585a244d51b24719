#pragma once

#include <string>

namespace testfiles {

// Major, minor, sub and build of a project or a script.
struct TestVersion {
    int major = 0;
    int minor = 0;
    int sub = 0;
    int build = 0;
};

// "1, 2, 3, 41": the numbers as the writer puts them into statements and string values.
std::string VersionText(const TestVersion& v);

// A resource script with one version resource, in the shapes the tests write. The statements
// follow FILEVERSION and PRODUCTVERSION ("1, 2, 3, 41", "1,2,3,41"); values, when given, are the
// "FileVersion" and "ProductVersion" of a string block in the layout the writer leaves behind, so
// a rewrite with the same numbers gives the same bytes. The head stands before the resource, the
// options after PRODUCTVERSION, each line of them ended by CR LF.
std::string ScriptText(const std::string& statements, const std::string& values = "",
                       const std::string& head = "", const std::string& options = "");

} // namespace testfiles
