#include "stamp/RcVersionReader.h"
#include "stamp/TextRules.h"
#include "CodePageSamples.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {
using namespace std::string_literals;
using testfiles::TestFolder;
using Numbers = VersionNumber;

Expected<Numbers> ReadText(const std::string& bytes) {
    TestFolder folder;
    const std::string path = folder.Path("app.rc");
    testfiles::WriteBytes(path, bytes);
    return ReadRcVersion(path.c_str());
}

constexpr char kNotFour[] = "FILEVERSION statement does not hold four numbers";
constexpr char kNoLine[] = "no FILEVERSION statement ending in CR LF in the version resource";

struct ReadCase {
    const char* name;
    std::string text;
    Numbers numbers;
    const char* failure = ""; // why the numbers cannot be read; empty when they can
};

std::string Block(const std::string& statement) {
    return "VS_VERSION_INFO VERSIONINFO\r\n" + statement +
           "\r\n PRODUCTVERSION 1,0,0,1\r\nBEGIN\r\n";
}

class ReadVersion : public ::testing::TestWithParam<ReadCase> {
protected:
    CodePageScope m_codePage{CodePage::Cp932()};
};

TEST_P(ReadVersion, GivesTheNumbersOfTheFirstLine) {
    const ReadCase& c = GetParam();
    const Expected<Numbers> r = ReadText(c.text);
    if (*c.failure) {
        ASSERT_FALSE(r) << testing::PrintToString(*r);
        EXPECT_EQ(r.Error().reason.Str(), c.failure);
    } else {
        ASSERT_TRUE(r) << r.Error().reason.Str();
        EXPECT_EQ(*r, c.numbers);
    }
}

const std::string kUtf8Mark = "\xEF\xBB\xBF";

const ReadCase kReadCases[] = {
    {"Plain", Block("FILEVERSION 1,0,0,1"), {1, 0, 0, 1}},
    {"Indented", Block("    FILEVERSION 1,0,0,1"), {1, 0, 0, 1}},
    {"TrailingComment", Block(" FILEVERSION 1, 2, 3, 4 // note"), {1, 2, 3, 4}},
    {"BlanksOnly", Block(" FILEVERSION 1 2 3 4"), {1, 2, 3, 4}},
    {"DelimiterRuns", Block(" FILEVERSION 1,,2, ,3,4"), {1, 2, 3, 4}},
    {"ExtraTokensIgnored", Block(" FILEVERSION 1,2,3,4,5 x"), {1, 2, 3, 4}},
    {"TabJoinsKeywordAndMajor", Block(" FILEVERSION\t1,2,3,4"), {}, kNotFour},
    {"TabAfterComma", Block(" FILEVERSION 1,\t2,\t3,4"), {1, 2, 3, 4}},
    {"ThreeNumbers", Block(" FILEVERSION 1,2,3"), {}, kNotFour},
    {"KeywordOnly", Block(" FILEVERSION"), {}, kNotFour},
    {"WideAndNegative", Block(" FILEVERSION 70000,0,0,-1"), {70000, 0, 0, -1}},
    {"HexAndQuoted",
     Block(" FILEVERSION 0x10,\"7\",'8',+5"),
     {},
     "FILEVERSION holds \"7\", not a number"},
    {"QuotedBlanksStayOneToken",
     Block(" FILEVERSION \"1 2\" 3 4 5"),
     {},
     "FILEVERSION holds \"1 2\", not a number"},
    // A token is a number when a digit follows the blanks and the sign atoi skips; from there
    // on the atoi rules hold.
    {"DigitsFirst", Block(" FILEVERSION 12abc,\t+7,-0,1.5"), {12, 7, 0, 1}},
    {"Macros",
     Block(" FILEVERSION TT_VERSION_MAJOR,TT_VERSION_MINOR,TT_VERSION_PATCH,0"),
     {},
     "FILEVERSION holds TT_VERSION_MAJOR, not a number"},
    {"MacroBuild",
     Block(" FILEVERSION 1,2,3,\tVER_BUILD"),
     {},
     "FILEVERSION holds VER_BUILD, not a number"},
    {"LoneSign", Block(" FILEVERSION 1,-,3,4"), {}, "FILEVERSION holds -, not a number"},
    {"Wraparound",
     Block(" FILEVERSION 4294967297,2147483648,-2147483649,99999999999"),
     {1, INT_MIN, INT_MAX, 1215752191}},
    {"ContinuedOnNextLine", Block(" FILEVERSION 1,2,\r\n 3,4"), {}, kNotFour},
    {"KeywordInCommentFirst",
     Block("// FILEVERSION set by the tool\r\n FILEVERSION 1,2,3,4"),
     {},
     "FILEVERSION holds set, not a number"},
    {"StatementBeforeBlockIgnored",
     "FILEVERSION 9,9,9,9\r\n" + Block(" FILEVERSION 1,2,3,4"),
     {1, 2, 3, 4}},
    {"FirstOfTwoResources",
     Block(" FILEVERSION 1,2,3,4") + Block(" FILEVERSION 5,6,7,8"),
     {1, 2, 3, 4}},
    {"KeywordOnSecondByteSkipped",
     Block("// " XE "ILEVERSION 9,9,9,9\r\n FILEVERSION 1,2,3,4"),
     {1, 2, 3, 4}},
    {"AfterSecondByte5C",
     "//" HYO "VS_VERSION_INFO\r\n" HYO "FILEVERSION 1,2,3,4\r\n",
     {1, 2, 3, 4}},
    {"AfterSecondByteWithLeadValue",
     "VS_VERSION_INFO\r\n" XYA "FILEVERSION 1,2,3,4\r\n",
     {1, 2, 3, 4}},
    // Without VS_VERSION_INFO, a VERSIONINFO statement after one name of its own.
    {"NumberedResource", "1 VERSIONINFO\r\n FILEVERSION 1,2,3,4\r\n", {1, 2, 3, 4}},
    {"NamedResource",
     "// " HYO "\r\n\tVERSION_1\tVERSIONINFO\r\n FILEVERSION 1,2,3,4\r\n",
     {1, 2, 3, 4}},
    {"NumberedAfterAFalseOne",
     "// 1 VERSIONINFO\r\nFILEVERSION 9,9,9,9\r\na b VERSIONINFO\r\n1 VERSIONINFOEX\r\n"
     "VERSIONINFO\r\n2 VERSIONINFO\r\n FILEVERSION 1,2,3,4\r\n",
     {1, 2, 3, 4}},
    {"OnlyFalseStatements",
     "// 1 VERSIONINFO\r\na b VERSIONINFO\r\n1VERSIONINFO\r\n" HYO " VERSIONINFO\r\n"
     " FILEVERSION 1,2,3,4\r\n",
     {},
     kNoVersionResource},
    {"BlockNameOnSecondByte",
     "\x83VS_VERSION_INFO\r\n FILEVERSION 1,2,3,4\r\n",
     {},
     kNoVersionResource},
    {"LfOnly", "VS_VERSION_INFO\n FILEVERSION 1,2,3,4\n PRODUCTVERSION 1,2,3,4\n", {}, kNoLine},
    {"LastLineWithoutLineEnd", "VS_VERSION_INFO\r\n FILEVERSION 1,2,3,4", {}, kNoLine},
    {"NulEndsTheText", "VS_VERSION_INFO\r\n FILEVERSION 1,2\0,3,4\r\n"s, {}, kNoLine},
    {"Empty", "", {}, kNoVersionResource},
    {"Utf16", "V\0S\0_\0V\0"s, {}, kNoVersionResource},
    // With a byte-order mark: decoded, and searched without the double-byte rule in place, so
    // a keyword right after バ (UTF-8 E3 83 90, three code page 932 lead bytes) is found.
    {"Utf16Le", testfiles::Utf16File(Block(" FILEVERSION 1,2,3,4")), {1, 2, 3, 4}},
    {"Utf16BeNoLeadByteRule",
     testfiles::Utf16File(Block("//バFILEVERSION 5,6,7,8\r\n FILEVERSION 1,2,3,4"), true),
     {5, 6, 7, 8}},
    {"Utf8MarkNoLeadByteRule",
     kUtf8Mark + Block("//バFILEVERSION 5,6,7,8\r\n FILEVERSION 1,2,3,4"),
     {5, 6, 7, 8}},
    {"Utf16MacroNamedInAnsi",
     testfiles::Utf16File(Block(" FILEVERSION 1,表示,3,4")),
     {},
     "FILEVERSION holds ??, not a number"},
    {"Utf16NulEndsTheText",
     testfiles::Utf16File("VS_VERSION_INFO\r\n FILEVERSION 1,2\0,3,4\r\n"s),
     {},
     kNoLine},
    {"Utf16OddLength",
     testfiles::Utf16File(Block(" FILEVERSION 1,2,3,4")) + "\r",
     {},
     "the script is UTF-16 of an odd length in bytes"},
    {"Utf16UnpairedSurrogate",
     testfiles::Utf16File(Block(" FILEVERSION 1,2,3,4")) + "\x00\xDC"s,
     {},
     "the script holds an unpaired UTF-16 surrogate at byte 168"},
};
INSTANTIATE_TEST_SUITE_P(Lines, ReadVersion, ::testing::ValuesIn(kReadCases), testfiles::kCaseName);

TEST(ReadVersionCodePage, SingleByteRuleTakesEveryByteForACharacter) {
    CodePageScope rule(CodePage::SingleByte());
    const Expected<Numbers> r =
        ReadText(Block("// " XE "ILEVERSION 9,9,9,9\r\n FILEVERSION 1,2,3,4"));
    ASSERT_TRUE(r);
    EXPECT_EQ(*r, (Numbers{9, 9, 9, 9}));
}

TEST(ReadVersionFile, MissingFileIsAFailureToRead) {
    TestFolder folder;
    const Expected<Numbers> r = ReadRcVersion(folder.Path("absent.rc").c_str());
    ASSERT_FALSE(r);
    EXPECT_EQ(r.Error().kind, Failure::Kind::failed);
    // A folder is not a script either.
    EXPECT_FALSE(ReadRcVersion(folder.Path().c_str()));
}
} // namespace
