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
inline std::string VersionText(const TestVersion& v) {
    return std::to_string(v.major) + ", " + std::to_string(v.minor) + ", " + std::to_string(v.sub) +
           ", " + std::to_string(v.build);
}

} // namespace testfiles
