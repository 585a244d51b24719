#include "base/CodePage.h"
#include "CodePageSamples.h"

#include <gtest/gtest.h>

#include <string>

namespace {
TEST(FitWholeCharacters, NeverCutsACharacter) {
    CodePageScope cp932(CodePage::Cp932());
    EXPECT_EQ(FitWholeCharacters("abc", 63), 3);
    EXPECT_EQ(FitWholeCharacters("ab" HYO "c", 3), 2);
    EXPECT_EQ(FitWholeCharacters("ab" HYO "c", 4), 4);
    EXPECT_EQ(FitWholeCharacters(std::string(70, 'x'), 63), 63);
}

TEST(CodePageFromLocale, ShiftJisByAnyOfItsNames) {
    const struct {
        const char* name;
        bool cp932;
    } kLocales[] = {{"ja_JP.SJIS", true},
                    {"ja_JP.Shift_JIS", true},
                    {"ja_JP.shift-jis@x", true},
                    {"ja_JP.CP932", true},
                    {"ja_JP.Windows-31J", true},
                    {"ja_JP.UTF-8", false},
                    {"ja_JP.eucJP", false},
                    {"ja_JP", false},
                    {"C", false},
                    {"SJIS", false}};
    for (const auto& locale : kLocales)
        EXPECT_EQ(CodePage::FromLocaleName(locale.name).Number(), locale.cp932 ? 932 : 0)
            << locale.name;
}

TEST(ReverseFindMbcs, SkipsSecondBytes) {
    CodePageScope rule(CodePage::Cp932());
    EXPECT_EQ(ReverseFindMbcs("a\\" HYO, '\\'), 1);
    EXPECT_EQ(ReverseFindMbcs(HYO SO, '\\'), -1);
    // 83 83 5C: the pair is 83 83, so the 5C is a backslash of its own.
    EXPECT_EQ(ReverseFindMbcs(XYA "\\", '\\'), 2);
    EXPECT_EQ(ReverseFindMbcs("a.b" HYO ".c", '.'), 5);
    EXPECT_EQ(ReverseFindMbcs("", '.'), -1);
}
} // namespace
