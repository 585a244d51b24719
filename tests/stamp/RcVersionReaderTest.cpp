#include "framework/AfxTypes.h"
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

// The numbers are primed with a value no case expects, so "left untouched" and "set to 0" differ.
constexpr Numbers kPrimed = {-77, -77, -77, -77};

struct ReadResult {
    BOOL ok;
    Numbers numbers;
    std::string failure;
};

ReadResult Read(const std::string& path) {
    ReadResult r{FALSE, kPrimed, {}};
    const StampResult read = ReadRcVersion(path, r.numbers);
    r.ok = read.IsDone();
    r.failure = read.Reason().GetString();
    return r;
}

ReadResult ReadText(const std::string& bytes) {
    TestFolder folder;
    const std::string path = folder.Path("app.rc");
    testfiles::WriteBytes(path, bytes);
    return Read(path);
}

struct ReadCase {
    const char* name;
    std::string text;
    BOOL ok;
    Numbers numbers;
    const char* failure = ""; // the reason given, when the case names one
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
    const ReadResult r = ReadText(c.text);
    EXPECT_EQ(r.ok, c.ok);
    EXPECT_EQ(r.numbers, c.numbers);
    if (*c.failure) {
        EXPECT_EQ(r.failure, c.failure);
    }
}

const std::string kUtf8Mark = "\xEF\xBB\xBF";

const ReadCase kReadCases[] = {
    {"Plain", Block("FILEVERSION 1,0,0,1"), TRUE, {1, 0, 0, 1}},
    {"Indented", Block("    FILEVERSION 1,0,0,1"), TRUE, {1, 0, 0, 1}},
    {"TrailingComment", Block(" FILEVERSION 1, 2, 3, 4 // note"), TRUE, {1, 2, 3, 4}},
    {"BlanksOnly", Block(" FILEVERSION 1 2 3 4"), TRUE, {1, 2, 3, 4}},
    {"DelimiterRuns", Block(" FILEVERSION 1,,2, ,3,4"), TRUE, {1, 2, 3, 4}},
    {"ExtraTokensIgnored", Block(" FILEVERSION 1,2,3,4,5 x"), TRUE, {1, 2, 3, 4}},
    {"TabJoinsKeywordAndMajor", Block(" FILEVERSION\t1,2,3,4"), FALSE, {2, 3, 4, 0}},
    {"TabAfterComma", Block(" FILEVERSION 1,\t2,\t3,4"), TRUE, {1, 2, 3, 4}},
    {"ThreeNumbers", Block(" FILEVERSION 1,2,3"), FALSE, {1, 2, 3, 0}},
    {"KeywordOnly", Block(" FILEVERSION"), FALSE, {0, 0, 0, 0}},
    {"WideAndNegative", Block(" FILEVERSION 70000,0,0,-1"), TRUE, {70000, 0, 0, -1}},
    {"HexAndQuoted", Block(" FILEVERSION 0x10,\"7\",'8',+5"), FALSE, {0, 0, 0, 0}},
    {"QuotedBlanksStayOneToken", Block(" FILEVERSION \"1 2\" 3 4 5"), FALSE, {0, 0, 0, 0}},
    // A token is a number when a digit follows the blanks and the sign atoi skips; from there
    // on the atoi rules hold.
    {"DigitsFirst", Block(" FILEVERSION 12abc,\t+7,-0,1.5"), TRUE, {12, 7, 0, 1}},
    {"Macros",
     Block(" FILEVERSION TT_VERSION_MAJOR,TT_VERSION_MINOR,TT_VERSION_PATCH,0"),
     FALSE,
     {0, 0, 0, 0},
     "FILEVERSION holds TT_VERSION_MAJOR, not a number"},
    {"MacroBuild",
     Block(" FILEVERSION 1,2,3,\tVER_BUILD"),
     FALSE,
     {1, 2, 3, 0},
     "FILEVERSION holds VER_BUILD, not a number"},
    {"LoneSign", Block(" FILEVERSION 1,-,3,4"), FALSE, {1, 0, 0, 0}},
    {"Wraparound",
     Block(" FILEVERSION 4294967297,2147483648,-2147483649,99999999999"),
     TRUE,
     {1, INT_MIN, INT_MAX, 1215752191}},
    {"ContinuedOnNextLine", Block(" FILEVERSION 1,2,\r\n 3,4"), FALSE, {1, 2, 0, 0}},
    {"KeywordInCommentFirst",
     Block("// FILEVERSION set by the tool\r\n FILEVERSION 1,2,3,4"),
     FALSE,
     {0, 0, 0, 0},
     "FILEVERSION holds set, not a number"},
    {"StatementBeforeBlockIgnored",
     "FILEVERSION 9,9,9,9\r\n" + Block(" FILEVERSION 1,2,3,4"),
     TRUE,
     {1, 2, 3, 4}},
    {"FirstOfTwoResources",
     Block(" FILEVERSION 1,2,3,4") + Block(" FILEVERSION 5,6,7,8"),
     TRUE,
     {1, 2, 3, 4}},
    {"KeywordOnSecondByteSkipped",
     Block("// " XE "ILEVERSION 9,9,9,9\r\n FILEVERSION 1,2,3,4"),
     TRUE,
     {1, 2, 3, 4}},
    {"AfterSecondByte5C",
     "//" HYO "VS_VERSION_INFO\r\n" HYO "FILEVERSION 1,2,3,4\r\n",
     TRUE,
     {1, 2, 3, 4}},
    {"AfterSecondByteWithLeadValue",
     "VS_VERSION_INFO\r\n" XYA "FILEVERSION 1,2,3,4\r\n",
     TRUE,
     {1, 2, 3, 4}},
    // Without VS_VERSION_INFO, a VERSIONINFO statement after one name of its own.
    {"NumberedResource", "1 VERSIONINFO\r\n FILEVERSION 1,2,3,4\r\n", TRUE, {1, 2, 3, 4}},
    {"NamedResource",
     "// " HYO "\r\n\tVERSION_1\tVERSIONINFO\r\n FILEVERSION 1,2,3,4\r\n",
     TRUE,
     {1, 2, 3, 4}},
    {"NumberedAfterAFalseOne",
     "// 1 VERSIONINFO\r\nFILEVERSION 9,9,9,9\r\na b VERSIONINFO\r\n1 VERSIONINFOEX\r\n"
     "VERSIONINFO\r\n2 VERSIONINFO\r\n FILEVERSION 1,2,3,4\r\n",
     TRUE,
     {1, 2, 3, 4}},
    {"OnlyFalseStatements",
     "// 1 VERSIONINFO\r\na b VERSIONINFO\r\n1VERSIONINFO\r\n" HYO " VERSIONINFO\r\n"
     " FILEVERSION 1,2,3,4\r\n",
     FALSE,
     {0, 0, 0, 0},
     kNoVersionResource},
    {"BlockNameOnSecondByte",
     "\x83VS_VERSION_INFO\r\n FILEVERSION 1,2,3,4\r\n",
     FALSE,
     {0, 0, 0, 0}},
    {"LfOnly",
     "VS_VERSION_INFO\n FILEVERSION 1,2,3,4\n PRODUCTVERSION 1,2,3,4\n",
     FALSE,
     {0, 0, 0, 0}},
    {"LastLineWithoutLineEnd", "VS_VERSION_INFO\r\n FILEVERSION 1,2,3,4", FALSE, {0, 0, 0, 0}},
    {"NulEndsTheText", "VS_VERSION_INFO\r\n FILEVERSION 1,2\0,3,4\r\n"s, FALSE, {0, 0, 0, 0}},
    {"Empty", "", FALSE, {0, 0, 0, 0}},
    {"Utf16", "V\0S\0_\0V\0"s, FALSE, {0, 0, 0, 0}},
    // With a byte-order mark: decoded, and searched without the double-byte rule in place, so
    // a keyword right after バ (UTF-8 E3 83 90, three code page 932 lead bytes) is found.
    {"Utf16Le", testfiles::Utf16File(Block(" FILEVERSION 1,2,3,4")), TRUE, {1, 2, 3, 4}},
    {"Utf16BeNoLeadByteRule",
     testfiles::Utf16File(Block("//バFILEVERSION 5,6,7,8\r\n FILEVERSION 1,2,3,4"), true),
     TRUE,
     {5, 6, 7, 8}},
    {"Utf8MarkNoLeadByteRule",
     kUtf8Mark + Block("//バFILEVERSION 5,6,7,8\r\n FILEVERSION 1,2,3,4"),
     TRUE,
     {5, 6, 7, 8}},
    {"Utf16MacroNamedInAnsi",
     testfiles::Utf16File(Block(" FILEVERSION 1,表示,3,4")),
     FALSE,
     {1, 0, 0, 0},
     "FILEVERSION holds ??, not a number"},
    {"Utf16NulEndsTheText",
     testfiles::Utf16File("VS_VERSION_INFO\r\n FILEVERSION 1,2\0,3,4\r\n"s),
     FALSE,
     {0, 0, 0, 0}},
    {"Utf16OddLength",
     testfiles::Utf16File(Block(" FILEVERSION 1,2,3,4")) + "\r",
     FALSE,
     {0, 0, 0, 0},
     "the script is UTF-16 of an odd length in bytes"},
    {"Utf16UnpairedSurrogate",
     testfiles::Utf16File(Block(" FILEVERSION 1,2,3,4")) + "\x00\xDC"s,
     FALSE,
     {0, 0, 0, 0}},
};
INSTANTIATE_TEST_SUITE_P(Lines, ReadVersion, ::testing::ValuesIn(kReadCases), testfiles::kCaseName);

TEST(ReadVersionCodePage, SingleByteRuleTakesEveryByteForACharacter) {
    CodePageScope rule(CodePage::SingleByte());
    const ReadResult r = ReadText(Block("// " XE "ILEVERSION 9,9,9,9\r\n FILEVERSION 1,2,3,4"));
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.numbers, (Numbers{9, 9, 9, 9}));
}

TEST(ReadVersionFile, MissingFileLeavesTheNumbersAlone) {
    TestFolder folder;
    const ReadResult r = Read(folder.Path("absent.rc"));
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.numbers, kPrimed);
    // A folder is not a script either.
    EXPECT_EQ(Read(folder.Path()).numbers, kPrimed);
}
} // namespace
