#include "stamp/VersionSteps.h"

int version_steps::RaisedByOne(int value) {
    return value < kLargest ? value + 1 : value;
}

int version_steps::Stepped(int value, int proposedDelta) {
    if (proposedDelta < 0)
        return value > kLargest ? kLargest : value > 0 ? value - 1 : value;
    return RaisedByOne(value);
}

VersionNumber version_steps::MajorUp(VersionNumber v) {
    return {RaisedByOne(v.major), 0, 0, v.build};
}

VersionNumber version_steps::MinorUp(VersionNumber v) {
    return {v.major, RaisedByOne(v.minor), 0, v.build};
}

VersionNumber version_steps::SubUp(VersionNumber v) {
    return {v.major, v.minor, RaisedByOne(v.sub), v.build};
}

VersionNumber version_steps::BuildUp(VersionNumber v) {
    return {v.major, v.minor, v.sub, RaisedByOne(v.build)};
}
