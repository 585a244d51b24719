#include "CodePageSamples.h"
#include "stamp/ScriptEncoding.h"
#include "stamp/StringTokenizer.h"
#include "TestFiles.h"
#include "stamp/TextRules.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace {
using namespace std::string_literals;
using testfiles::TestFolder;

TEST(FindStatementLine, RunsFromTheKeywordToTheFirstCr) {
    const std::string text = "VALUE FILEVERSION 1,2 // x\r\nFILEVERSION 3\r\n";
    EXPECT_EQ(FindStatementLine(text, "FILEVERSION", 0).In(text), "FILEVERSION 1,2 // x");
    EXPECT_EQ(FindStatementLine(text, "FILEVERSION", 7).In(text), "FILEVERSION 3");
    // An LF alone does not end the line: the line runs on to the next CR.
    EXPECT_EQ(FindStatementLine("FILEVERSION 1\nX\r\n", "FILEVERSION", 0).end, 15);
    EXPECT_FALSE(FindStatementLine("FILEVERSION 1,2,3,4\n", "FILEVERSION", 0).IsWhole());
    EXPECT_FALSE(FindStatementLine("FILEVERSION 1,2,3,4", "FILEVERSION", 0).IsWhole());
    EXPECT_EQ(FindStatementLine("PRODUCTVERSION 1\r\n", "FILEVERSION", 0).begin, -1);
}

TEST(ParseAtoi, FollowsAtoiWithWraparound) {
    const struct {
        const char* text;
        int value;
    } cases[] = {{"", 0},
                 {"12abc", 12},
                 {"+7", 7},
                 {"-1", -1},
                 {" \t\n\v\f\r5", 5},
                 {"0x10", 0},
                 {"\"7\"", 0},
                 {"--1", 0},
                 {"- 1", 0},
                 {"70000", 70000},
                 {"2147483647", INT_MAX},
                 {"2147483648", INT_MIN},
                 {"-2147483648", INT_MIN},
                 {"-2147483649", INT_MAX},
                 {"4294967297", 1},
                 {"99999999999", 1215752191},
                 {"000000000000000000000042", 42}};
    for (const auto& c : cases)
        EXPECT_EQ(ParseAtoi(c.text), c.value) << '"' << c.text << '"';
}

std::vector<std::string> Tokens(const char* text, const char* delimiters) {
    StringTokenizer tokens(text, delimiters);
    std::vector<std::string> out;
    while (tokens.HasMoreTokens()) {
        const CString peeked = tokens.PeekToken();
        const CString taken = tokens.NextToken();
        EXPECT_EQ(peeked.Str(), taken.Str());
        out.push_back(taken.Str());
    }
    EXPECT_TRUE(tokens.NextToken().IsEmpty()) << "a token after HasMoreTokens() gave FALSE";
    return out;
}

TEST(StringTokenizer, SplitsOutsideQuotes) {
    using V = std::vector<std::string>;
    const char* versionDelimiters = " ,\r\n";
    EXPECT_EQ(Tokens("FILEVERSION 1,,2, ,3,4", versionDelimiters),
              (V{"FILEVERSION", "1", "2", "3", "4"}));
    EXPECT_EQ(Tokens("FILEVERSION\t1,2", versionDelimiters), (V{"FILEVERSION\t1", "2"}));
    EXPECT_EQ(Tokens(" ,\r\n", versionDelimiters), V{});
    EXPECT_EQ(Tokens("", versionDelimiters), V{});
    EXPECT_EQ(Tokens("\"1, 2\" 3", versionDelimiters), (V{"\"1, 2\"", "3"}));
    EXPECT_EQ(Tokens("'a \"b' c", versionDelimiters), (V{"'a \"b'", "c"}));
    EXPECT_EQ(Tokens("a\"b c\"d e", versionDelimiters), (V{"a\"b c\"d", "e"}));
    EXPECT_EQ(Tokens("x \"open, to the end", versionDelimiters), (V{"x", "\"open, to the end"}));
    // A closing quote that is also a delimiter ends the token and is left for the skip.
    EXPECT_EQ(Tokens("a'b c'd", " '"), (V{"a'b c", "d"}));
    // No delimiters at all: one token, the whole text.
    EXPECT_EQ(Tokens("a b,c", ""), (V{"a b,c"}));
}

TEST(ReadScript, KeepsEveryByteAndTheTextEndsAtTheFirstNul) {
    TestFolder folder;
    const std::string path = folder.Path("script.rc");
    const struct {
        std::string bytes;
        std::string text;
        bool hadNul;
    } cases[] = {{"a\r\nb\n\xFF" SO "\r", "a\r\nb\n\xFF" SO "\r", false},
                 {"", "", false},
                 {"ab\0cd\0"s, "ab", true}};
    for (const auto& c : cases) {
        testfiles::WriteBytes(path, c.bytes);
        const Expected<CString> bytes = ReadScript(path.c_str());
        ScriptEncoding script;
        ASSERT_TRUE(bytes && script.Decode(bytes->View()));
        EXPECT_EQ(bytes->Str(), c.bytes);
        EXPECT_EQ(script.Text(), c.text);
        EXPECT_EQ(script.HadNul(), c.hadNul);
    }
    EXPECT_EQ(ReadScript(folder.Path("absent.rc").c_str()).Error().reason.Str(),
              "cannot read the script: file not found");
    EXPECT_FALSE(ReadScript((folder.Path("no") + testfiles::kSeparator + "a.rc").c_str()));
}
} // namespace
