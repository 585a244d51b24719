#include "stamp/ScriptEncoding.h"

#include "TestFiles.h"

#include <gtest/gtest.h>

#include <string>

namespace {
// Long texts are converted in pieces of 8192 units and in runs of eight ASCII characters: a
// character that spans either boundary must come through whole.
TEST(ScriptEncoding, UnicodeFormsRoundTripAcrossEveryBoundary) {
    const std::string kCharacters[] = {"表", "é", "\xF0\x9F\x98\x80" /* U+1F600, a pair */};
    for (const bool bigEndian : {false, true}) {
        for (const std::string& character : kCharacters) {
            for (const size_t at : {0u, 5u, 7u, 8u, 8190u, 8191u, 8192u, 16383u}) {
                SCOPED_TRACE(testing::Message()
                             << (bigEndian ? "BE " : "LE ") << character << " at " << at);
                const std::string text =
                    std::string(at, 'a') + character + std::string(9000, 'b') + character;
                const std::string file = testfiles::Utf16File(text, bigEndian);
                ScriptEncoding encoding;
                ASSERT_TRUE(encoding.Decode(file));
                EXPECT_EQ(encoding.Text(), text);
                const Expected<std::string> bytes = encoding.Encode(text);
                ASSERT_TRUE(bytes);
                EXPECT_TRUE(*bytes == file);
            }
        }
    }
}

TEST(ScriptEncoding, UnpairedSurrogateIsRefusedWhereverItStands) {
    for (const size_t at : {0u, 7u, 8191u, 8192u, 9000u}) {
        SCOPED_TRACE(at);
        std::string file = testfiles::Utf16File(std::string(9001, 'a'));
        // A high surrogate followed by 'a', then a lone low one at the end of the text.
        file[2 + 2 * at] = '\x00';
        file[3 + 2 * at] = '\xD8';
        ScriptEncoding encoding;
        const Expected<void> decoded = encoding.Decode(file);
        ASSERT_FALSE(decoded);
        EXPECT_EQ(decoded.Error().reason.Str(),
                  "the script holds an unpaired UTF-16 surrogate at byte " +
                      std::to_string(2 + 2 * at));
    }
    ScriptEncoding form;
    ASSERT_TRUE(form.Decode("\xFF\xFE"));
    EXPECT_FALSE(form.Encode(std::string(8191, 'a') + "\xE8\xA1"));
    EXPECT_FALSE(form.Encode(std::string(8192, 'a') + "\x80" + std::string(20, 'a')));
}
} // namespace
