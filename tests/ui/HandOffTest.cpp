#include "ui/HandOff.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {
TEST(HandOffRecord, OnlyWellFormedRecordsGiveAPath) {
    HandOffRecord record{kHandOffApplyScript, sizeof(HandOffRecord), {}};
    std::strcpy(record.path, "C:\\w\\a.rc");
    EXPECT_EQ(std::string(ReadHandOffPath(&record, sizeof record).value_or("<none>")),
              "C:\\w\\a.rc");
    EXPECT_FALSE(ReadHandOffPath(&record, sizeof record - 1));
    EXPECT_FALSE(ReadHandOffPath(nullptr, sizeof record));
    std::memset(record.path, 'x', sizeof record.path);
    EXPECT_FALSE(ReadHandOffPath(&record, sizeof record));
    record.command = 2;
    record.path[0] = '\0';
    EXPECT_FALSE(ReadHandOffPath(&record, sizeof record));
}
} // namespace
