#include "stamp/RcVersionReader.h"
#include "stamp/RcVersionWriter.h"
#include "CodePageSamples.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace {
using namespace std::string_literals;
using testfiles::TestFolder;
using Numbers = VersionNumber;

// The golden scripts are code page 932 text, as the system gives it under Wine; natively the rule
// is put in place so both builds read them alike.
class WriteVersion : public ::testing::Test {
protected:
    CodePageScope m_codePage{CodePage::Cp932()};
    TestFolder m_folder;
    const std::string m_path = m_folder.Path("app.rc");

    Expected<void> Write(const Numbers& n) { return WriteRcVersion(m_path.c_str(), n); }
    // The script's bytes after writing n over text; the write must succeed.
    std::string Stamp(const std::string& text, const Numbers& n) {
        testfiles::WriteBytes(m_path, text);
        const Expected<void> written = Write(n);
        EXPECT_TRUE(written) << written.Error().reason.Str();
        return testfiles::ReadBytes(m_path);
    }
};

struct GoldenCase {
    const char* script;
    Numbers before; // as read from the script
    Numbers after;  // as written
};

class WriteGolden : public WriteVersion, public ::testing::WithParamInterface<GoldenCase> {};

TEST_P(WriteGolden, ChangesOnlyTheVersionLines) {
    const GoldenCase& c = GetParam();
    const std::string script = c.script;
    testfiles::WriteBytes(m_path, testfiles::ReadBytes(testfiles::DataFile(script + ".rc")));
    const Expected<Numbers> before = ReadRcVersion(m_path.c_str());
    ASSERT_TRUE(before);
    EXPECT_EQ(*before, c.before);

    ASSERT_TRUE(Write(c.after));
    EXPECT_EQ(testfiles::ReadBytes(m_path),
              testfiles::ReadBytes(testfiles::DataFile(script + ".expected.rc")));
    const Expected<Numbers> after = ReadRcVersion(m_path.c_str());
    ASSERT_TRUE(after);
    EXPECT_EQ(*after, c.after);
    EXPECT_EQ(m_folder.List(), std::vector<std::string>{"app.rc"});
}

const GoldenCase kGoldenCases[] = {
    {"vs_style", {1, 0, 0, 1}, {2, 1, 0, 7}},
    {"japanese", {1, 2, 3, 4}, {1, 2, 3, 5}},
    {"two_languages", {70000, 0, 0, -1}, {70000, 0, 0, 0}},
    {"two_resources", {3, 0, 0, 10}, {3, 0, 0, 11}},
    {"comments_tabs", {1, 0, 0, 1}, {70000, 0, -1, 12}},
    // Written back in their own encoding; the code page 932 rule in place must not apply.
    {"wizard_utf16le", {1, 0, 0, 1}, {1, 0, 0, 2}},
    {"utf16be", {2, 3, 4, 5}, {2, 3, 4, 6}},
    {"utf8_bom", {3, 1, 4, 1}, {3, 1, 4, 2}},
    {"mingw_numbered", {0, 9, 2, 0}, {0, 9, 2, 1}},
};
INSTANTIATE_TEST_SUITE_P(Scripts, WriteGolden, ::testing::ValuesIn(kGoldenCases),
                         [](const auto& info) { return std::string(info.param.script); });

const std::string kHead = "VS_VERSION_INFO VERSIONINFO\r\n";

TEST_F(WriteVersion, ReplacesFromTheKeywordToTheLineEnd) {
    EXPECT_EQ(Stamp(kHead + " FILEVERSION 1,0,0,1 // old\r\n\tPRODUCTVERSION 9,8,7,6\r\n"
                            "VALUE \"FileVersion\", \"1.0.0.1\" // x\r\n",
                    {1, 0, 0, 2}),
              kHead + " FILEVERSION 1, 0, 0, 2\r\n\tPRODUCTVERSION 1, 0, 0, 2\r\n"
                      "VALUE \"FileVersion\", \"1, 0, 0, 2\\0\"\r\n");
}

// Inside the literal a doubled quote, an escaped quote and a double-byte character ending in the
// backslash byte do not close it; the comment after it goes with the line.
TEST_F(WriteVersion, StringLiteralsAreReplacedWhole) {
    const std::string statements = " FILEVERSION 1\r\n PRODUCTVERSION 1\r\n";
    EXPECT_EQ(Stamp(kHead + statements +
                        " VALUE \"FileVersion\", \"1 \"\"beta\"\" \\\" " HYO "\" /* x */\r\n"
                        " VALUE \"ProductVersion\", L\"" SO "\"  \t\r\n",
                    {1, 2, 3, 4}),
              kHead + " FILEVERSION 1, 2, 3, 4\r\n PRODUCTVERSION 1, 2, 3, 4\r\n"
                      " VALUE \"FileVersion\", \"1, 2, 3, 4\\0\"\r\n"
                      " VALUE \"ProductVersion\", \"1, 2, 3, 4\\0\"\r\n");
}

TEST_F(WriteVersion, WritesSignedDecimal) {
    EXPECT_EQ(Stamp(kHead + "FILEVERSION 1\r\nPRODUCTVERSION 1\r\n\"ProductVersion\", \"1\"\r\n",
                    {INT_MIN, -1, 70000, INT_MAX}),
              kHead + "FILEVERSION -2147483648, -1, 70000, 2147483647\r\n"
                      "PRODUCTVERSION -2147483648, -1, 70000, 2147483647\r\n"
                      "\"ProductVersion\", \"-2147483648, -1, 70000, 2147483647\\0\"\r\n");
}

TEST_F(WriteVersion, StringValuesBeforeProductVersionStayAlone) {
    const std::string text = kHead +
                             "FILEVERSION 1\r\n\"FileVersion\" 1\r\n\"ProductVersion\" 1\r\n"
                             "PRODUCTVERSION 1\r\n\"FileVersion\",\t\"1\"\r\n";
    EXPECT_EQ(Stamp(text, {2, 0, 0, 0}),
              kHead + "FILEVERSION 2, 0, 0, 0\r\n\"FileVersion\" 1\r\n\"ProductVersion\" 1\r\n"
                      "PRODUCTVERSION 2, 0, 0, 0\r\n\"FileVersion\", \"2, 0, 0, 0\\0\"\r\n");
}

TEST_F(WriteVersion, KeywordsBeginningOnSecondBytesAreNotStatements) {
    // Under the single-byte rule these comments would be taken for the statements.
    const std::string tail = " PRODUCTVERSION 1\r\n// " SO "\"FileVersion\" , L\"" SO "\"\r\n";
    EXPECT_EQ(Stamp(kHead +
                        "// " XE "ILEVERSION 9\r\n FILEVERSION 1\r\n// " KE "RODUCTVERSION 8\r\n" +
                        tail,
                    {1, 2, 3, 4}),
              kHead + "// " XE "ILEVERSION 9\r\n FILEVERSION 1, 2, 3, 4\r\n// " KE
                      "RODUCTVERSION 8\r\n PRODUCTVERSION 1, 2, 3, 4\r\n// " SO
                      "\"FileVersion\", \"1, 2, 3, 4\\0\"\r\n");
}

class WriteRefusal : public WriteVersion,
                     public ::testing::WithParamInterface<testfiles::NamedText> {};

TEST_P(WriteRefusal, LeavesTheFileAsItWas) {
    const std::string& text = GetParam().text;
    testfiles::WriteBytes(m_path, text);
    // File times are coarse: a rewrite right after creation could keep the same time.
    testfiles::MakeOld(m_path);
    const long long writeTime = testfiles::WriteTime(m_path);
    const Expected<void> written = Write({2, 0, 0, 0});
    ASSERT_FALSE(written);
    EXPECT_FALSE(written.Error().reason.IsEmpty());
    EXPECT_EQ(testfiles::ReadBytes(m_path), text);
    EXPECT_EQ(testfiles::WriteTime(m_path), writeTime);
    EXPECT_EQ(m_folder.List(), std::vector<std::string>{"app.rc"});
}

const std::string kProduct = " PRODUCTVERSION 1,0,0,1\r\n";
const testfiles::NamedText kRefusals[] = {
    {"NoVersionInfo", "// 1 VERSIONINFO\r\n FILEVERSION 1,0,0,1\r\n" + kProduct},
    {"FileVersionOnlyBeforeBlock", " FILEVERSION 1,0,0,1\r\n" + kHead + kProduct},
    {"NoProductVersion", kHead + " FILEVERSION 1,0,0,1\r\nBEGIN\r\nEND\r\n"},
    {"ProductVersionOnlyBeforeFileVersion", kHead + kProduct + " FILEVERSION 1,0,0,1\r\n"},
    {"LfOnly", "VS_VERSION_INFO\n FILEVERSION 1,0,0,1\n PRODUCTVERSION 1,0,0,1\n"},
    {"LfBeforeTheNextCr", kHead + " FILEVERSION 1,0,0,1\n" + kProduct},
    {"LastLineWithoutLineEnd", kHead + " FILEVERSION 1,0,0,1\r\n PRODUCTVERSION 1,0,0,1"},
    {"StringValueWithoutLineEnd", kHead + " FILEVERSION 1\r\n" + kProduct + "\"FileVersion\" 1"},
    {"NulAfterTheBlock", kHead + " FILEVERSION 1\r\n" + kProduct + "\0tail\r\n"s},
    {"Utf16", "V\0S\0_\0V\0\r\0\n\0"s},
    {"FileVersionContinued", kHead + " FILEVERSION 1,0,\r\n 0,1\r\n" + kProduct},
    {"ContinuedBeforeComment", kHead + " FILEVERSION 1,0, // more below\r\n 0,1\r\n" + kProduct},
    {"ProductVersionContinued",
     kHead + " FILEVERSION 1,0,0,1\r\n PRODUCTVERSION 1,0,0, \t\r\n1\r\n"},
    {"Empty", ""},
    // Version macros are the project's own definitions: never overwritten.
    {"Macros", kHead + " FILEVERSION VER_MAJOR,VER_MINOR,VER_PATCH,0\r\n"
                       " PRODUCTVERSION VER_MAJOR,VER_MINOR,VER_PATCH,0\r\n"
                       " VALUE \"FileVersion\", VER_STR\r\n"},
    {"MacroAfterTab", kHead + " FILEVERSION\tVER_MAJOR,0,0,1\r\n" + kProduct},
    {"MacroBuildOnly", kHead + " FILEVERSION 1,0,0,VER_BUILD\r\n" + kProduct},
    {"MacroProductVersionOnly", kHead + " FILEVERSION 1,0,0,1\r\n PRODUCTVERSION 1,0,0,-\r\n"},
    {"QuotedNumber", kHead + " FILEVERSION \"1\",0,0,1\r\n" + kProduct},
    {"FileVersionStringMacro",
     kHead + " FILEVERSION 1\r\n" + kProduct + " VALUE \"FileVersion\", VER_STR \"x\"\r\n"},
    {"ProductVersionStringMacro",
     kHead + " FILEVERSION 1\r\n" + kProduct + " VALUE \"ProductVersion\",\tL VER_STR\r\n"},
    // A string value that goes on after its literal would lose the rest (more in the program's
    // own tests).
    {"LiteralNotClosed", kHead + " FILEVERSION 1\r\n" + kProduct +
                             " VALUE \"FileVersion\", \"1.0 \\\" \"\" " HYO "\r\n\"\r\n"},
    {"StringValueWithoutComma",
     kHead + " FILEVERSION 1\r\n" + kProduct + " VALUE \"FileVersion\" \"1\"\r\n"},
    // UTF-16 that is not well-formed is not guessed at.
    {"Utf16OddLength", testfiles::Utf16File(kHead + " FILEVERSION 1\r\n" + kProduct) + "\r"},
    {"Utf16UnpairedHigh",
     testfiles::Utf16File(kHead + " FILEVERSION 1\r\n" + kProduct) + "\x00\xD8"s},
    {"Utf16UnpairedLow",
     testfiles::Utf16File(kHead + " FILEVERSION 1\r\n" + kProduct, true) + "\xDC\x00"s},
    {"Utf16Nul", testfiles::Utf16File(kHead + " FILEVERSION 1\r\n" + kProduct + "\0x"s)},
};
INSTANTIATE_TEST_SUITE_P(Scripts, WriteRefusal, ::testing::ValuesIn(kRefusals),
                         testfiles::kCaseName);

TEST_F(WriteVersion, ReadOnlyScriptIsNotReplaced) {
    const std::string text = kHead + " FILEVERSION 1,0,0,1\r\n" + kProduct;
    testfiles::WriteBytes(m_path, text);
    testfiles::SetReadOnly(m_path, true);
    EXPECT_FALSE(Write({1, 0, 0, 2}));
    testfiles::SetReadOnly(m_path, false);
    EXPECT_EQ(testfiles::ReadBytes(m_path), text);
    EXPECT_EQ(m_folder.List(), std::vector<std::string>{"app.rc"});
}

TEST_F(WriteVersion, MissingScriptIsNotCreated) {
    EXPECT_FALSE(Write({1, 0, 0, 2}));
    EXPECT_TRUE(m_folder.List().empty());
}
} // namespace
