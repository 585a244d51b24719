#include "registry/VersionSteps.h"

#include <gtest/gtest.h>

namespace {
TEST(VersionSteps, StayWithinWhatAVersionResourceHolds) {
    const int top = VersionSteps::kLargest;
    EXPECT_EQ(VersionSteps::Stepped(0, -1), 0);
    EXPECT_EQ(VersionSteps::Stepped(5, -30), 4);
    EXPECT_EQ(VersionSteps::Stepped(5, 0), 6);
    EXPECT_EQ(VersionSteps::Stepped(top, 1), top);
    EXPECT_EQ(VersionSteps::Stepped(70000, -1), top);
    EXPECT_EQ(VersionSteps::MajorUp({1, 2, 3, 9}), (VersionNumber{2, 0, 0, 9}));
    EXPECT_EQ(VersionSteps::MinorUp({1, 2, 3, 9}), (VersionNumber{1, 3, 0, 9}));
    EXPECT_EQ(VersionSteps::SubUp({1, 2, top, 9}), (VersionNumber{1, 2, top, 9}));
    EXPECT_EQ(VersionSteps::BuildUp({1, 2, 3, 9}), (VersionNumber{1, 2, 3, 10}));
}
} // namespace
