#include "stamp/VersionSteps.h"

#include <gtest/gtest.h>

namespace {
TEST(VersionSteps, StayWithinWhatAVersionResourceHolds) {
    const int top = version_steps::kLargest;
    EXPECT_EQ(version_steps::Stepped(0, -1), 0);
    EXPECT_EQ(version_steps::Stepped(5, -30), 4);
    EXPECT_EQ(version_steps::Stepped(5, 0), 6);
    EXPECT_EQ(version_steps::Stepped(top, 1), top);
    EXPECT_EQ(version_steps::Stepped(70000, -1), top);
    EXPECT_EQ(version_steps::MajorUp({1, 2, 3, 9}), (VersionNumber{2, 0, 0, 9}));
    EXPECT_EQ(version_steps::MinorUp({1, 2, 3, 9}), (VersionNumber{1, 3, 0, 9}));
    EXPECT_EQ(version_steps::SubUp({1, 2, top, 9}), (VersionNumber{1, 2, top, 9}));
    EXPECT_EQ(version_steps::BuildUp({1, 2, 3, 9}), (VersionNumber{1, 2, 3, 10}));
}
} // namespace
