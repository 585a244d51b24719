#include "base/ScriptLock.h"
#include "CodePageSamples.h"

#include <gtest/gtest.h>

#include <string>

namespace {
// Full-width A and a in code page 932.
#define FW_A "\x82\x60"
#define FW_a "\x82\x81"

// Every spelling the window takes for one script takes one lock.
TEST(ScriptLock, EqualSpellingsShareTheName) {
    CodePageScope cp932(CodePage::Cp932());
    EXPECT_EQ(std::string(ScriptLock::MutexNameFor("Lock", "C:\\" HYO "\\" FW_A ".rc")),
              std::string(ScriptLock::MutexNameFor("Lock", "c:\\" HYO "\\" FW_a ".RC")));
    EXPECT_NE(std::string(ScriptLock::MutexNameFor("Lock", "C:\\w\\a.rc")),
              std::string(ScriptLock::MutexNameFor("Lock", "C:\\w\\b.rc")));
}
} // namespace
