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

struct SearchCase {
    std::string text;
    std::string what;
    int start;
    int cp932;
    int singleByte;
};

TEST(FindMbcs, MatchesOnlyAtCharacterBoundaries) {
    const SearchCase cases[] = {
        {XE "ILEVERSION", "FILEVERSION", 0, -1, 1},
        {XE "ILEVERSION FILEVERSION", "FILEVERSION", 0, 13, 1},
        {HYO "FILEVERSION", "FILEVERSION", 0, 2, 2},
        {XYA "FILEVERSION", "FILEVERSION", 0, 2, 2},
        {SO XYA HYO "\\", "\\", 0, 6, 1},
        {"a" SO "b", "\\", 0, -1, 2},
        {"ab" HYO "ab", "ab", 1, 4, 4},
        {"abc", "c", 4, -1, -1},
        {"x\x83", "\x83", 0, 1, 1}}; // a lead byte with nothing after it stands alone
    for (const SearchCase& c : cases) {
        SCOPED_TRACE(c.text);
        {
            CodePageScope rule(CodePage::Cp932());
            EXPECT_EQ(FindMbcs(c.text, c.what, c.start), c.cp932);
        }
        CodePageScope rule(CodePage::SingleByte());
        EXPECT_EQ(FindMbcs(c.text, c.what, c.start), c.singleByte);
    }
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
