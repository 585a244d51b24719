#include "registry/VersionSteps.h"

int VersionSteps::RaisedByOne(int value) {
    return value < kLargest ? value + 1 : value;
}

int VersionSteps::Stepped(int value, int proposedDelta) {
    if (proposedDelta < 0)
        return value > kLargest ? kLargest : value > 0 ? value - 1 : value;
    return RaisedByOne(value);
}
