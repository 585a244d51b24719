#pragma once

// A project's version: major, minor and sub, and the build number. Any value is held; only the
// window limits what the user may type (0 to 2147483647).
struct VersionNumber {
    int major = 0;
    int minor = 0;
    int sub = 0;
    int build = 0;

    friend bool operator==(const VersionNumber&, const VersionNumber&) = default;
};
