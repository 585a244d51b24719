#pragma once

// A project's version: major, minor and sub, and the build number. Any value is held and read; a
// number is written only from 0 to kLargestVersionField, since the version resource holds each in
// 16 bits and the resource compiler silently cuts a larger one (65536 compiles to 0).
struct VersionNumber {
    int major = 0;
    int minor = 0;
    int sub = 0;
    int build = 0;

    friend bool operator==(const VersionNumber&, const VersionNumber&) = default;
};

inline constexpr int kLargestVersionField = 65535;
