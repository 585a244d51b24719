#include "stamp/HandOffRecord.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {
TEST(HandOffRecord, OnlyWellFormedRecordsGiveAPath) {
    HandOffRecord record{kHandOffApplyScript, sizeof(HandOffRecord), {}};
    std::strcpy(record.path, "C:\\w\\a.rc");
    CString path;
    EXPECT_TRUE(ReadHandOffPath(&record, sizeof record, path));
    EXPECT_EQ(std::string(path), "C:\\w\\a.rc");
    EXPECT_FALSE(ReadHandOffPath(&record, sizeof record - 1, path));
    EXPECT_FALSE(ReadHandOffPath(nullptr, sizeof record, path));
    std::memset(record.path, 'x', sizeof record.path);
    EXPECT_FALSE(ReadHandOffPath(&record, sizeof record, path));
    record.command = 2;
    record.path[0] = '\0';
    EXPECT_FALSE(ReadHandOffPath(&record, sizeof record, path));
}
} // namespace
