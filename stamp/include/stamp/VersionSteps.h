#pragma once

#include "stamp/VersionNumber.h"

// How the window's arrows and Up buttons change a project's numbers: one step at a time, never
// below 0 nor above 65535 (the largest number a version resource holds, and the window takes).
namespace version_steps {
inline constexpr int kLargest = kLargestVersionField;

// Down by one for a negative proposal, up by one otherwise, whatever its size; a number above
// the largest (read from a script) steps down to the largest.
int Stepped(int value, int proposedDelta);
int RaisedByOne(int value);

// A new major version starts minor and sub at 0, a new minor starts sub at 0; the build number
// counts on across versions.
VersionNumber MajorUp(VersionNumber v);
VersionNumber MinorUp(VersionNumber v);
VersionNumber SubUp(VersionNumber v);
VersionNumber BuildUp(VersionNumber v);
} // namespace version_steps
