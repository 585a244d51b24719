#pragma once

#include "stamp/VersionNumber.h"

// How the window's arrows and Up buttons change a project's numbers: one step at a time, never
// below 0 nor above 65535 (the largest number a version resource holds, and the window takes).
class VersionSteps {
public:
    static constexpr int kLargest = kLargestVersionField;

    // Down by one for a negative proposal, up by one otherwise, whatever its size; a number above
    // the largest (read from a script) steps down to the largest.
    static int Stepped(int value, int proposedDelta);
    static int RaisedByOne(int value);

    // A new major version starts minor and sub at 0, a new minor starts sub at 0; the build
    // number counts on across versions.
    static VersionNumber MajorUp(VersionNumber v) { return {RaisedByOne(v.major), 0, 0, v.build}; }
    static VersionNumber MinorUp(VersionNumber v) {
        return {v.major, RaisedByOne(v.minor), 0, v.build};
    }
    static VersionNumber SubUp(VersionNumber v) {
        return {v.major, v.minor, RaisedByOne(v.sub), v.build};
    }
    static VersionNumber BuildUp(VersionNumber v) {
        return {v.major, v.minor, v.sub, RaisedByOne(v.build)};
    }
};
