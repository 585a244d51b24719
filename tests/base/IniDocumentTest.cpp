#include "base/AnsiText.h"
#include "base/IniDocument.h"
#include "CodePageSamples.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {
struct ReadCase {
    const char* title;
    const char* text;
    const char* section;
    const char* key;
    const char* expected; // as ReadString gives it with the default "<none>"
    int expectedInt;      // ReadInt with the default -99
};

TEST(IniDocument, ReadsAsTheProfileFunctionsDo) {
    const ReadCase cases[] = {
        {"names ignore case", "[Project]\r\nsize=4\r\n", "PROJECT", "SIZE", "4", 4},
        {"missing key", "[PROJECT]\r\nSIZE=4\r\n", "PROJECT", "COUNT", "<none>", -99},
        {"missing section", "[A]\r\nSIZE=4\r\n", "B", "SIZE", "<none>", -99},
        {"blanks and quotes", "[A]\r\n  K = \"x y\"  \r\n", "A", "K", "x y", 0},
        {"first duplicate key", "[A]\r\nK=1\r\nK=2\r\n", "A", "K", "1", 1},
        {"first duplicate section", "[A]\r\nK=1\r\n[A]\r\nK=2\r\nL=3\r\n", "A", "L", "<none>", -99},
        {"negative and trailing text", "[A]\nK=-5 builds\n", "A", "K", "-5 builds", -5},
        {"empty value reads the default number", "[A]\r\nK=\r\n", "A", "K", "", -99},
        {"a comment is a key of its own", "[A]\r\n;K=1\r\n", "A", ";K", "1", 1},
        {"keys before any section belong to none", "K=1\r\n[A]\r\n", "A", "K", "<none>", -99},
        {"a key without = reads as missing", "[A]\nK\n", "A", "K", "<none>", -99},
    };
    for (const ReadCase& c : cases) {
        const IniDocument ini(c.text);
        EXPECT_EQ(std::string(ini.ReadString(c.section, c.key, "<none>")), c.expected) << c.title;
        EXPECT_EQ(ini.ReadInt(c.section, c.key, -99), c.expectedInt) << c.title;
    }
}

struct WriteCase {
    const char* title;
    const char* before;
    const char* section;
    const char* key;
    const char* value;
    const char* after;
};

TEST(IniDocument, WritesInPlaceOrAtTheEndOfTheSection) {
    const WriteCase cases[] = {
        {"new file", "", "WINDOW", "LEFT", "10", "[WINDOW]\r\nLEFT=10\r\n"},
        {"replaced in place, key keeps its case", "[w]\r\nleft = 1 ; old\r\nTOP=2\r\n", "W", "LEFT",
         "10", "[w]\r\nleft=10\r\nTOP=2\r\n"},
        {"added before the blank lines of its section", "[A]\r\nX=1\r\n\r\n[B]\r\n", "A", "Y", "2",
         "[A]\r\nX=1\r\nY=2\r\n\r\n[B]\r\n"},
        {"new section after everything else, lines ended as the file's", "; note\n[A]\nX=1", "B",
         "Y", "2", "; note\n[A]\nX=1\n[B]\nY=2\n"},
        {"empty section", "[A]\r\n\r\n", "A", "Y", "2", "[A]\r\nY=2\r\n\r\n"},
        {"a key without = takes the value", "[A]\rK\r[B]\r", "A", "K", "1", "[A]\rK=1\r[B]\r"},
    };
    for (const WriteCase& c : cases) {
        IniDocument ini(c.before);
        ini.WriteString(c.section, c.key, c.value);
        EXPECT_EQ(ini.Text(), c.after) << c.title;
        EXPECT_EQ(std::string(ini.ReadString(c.section, c.key)), c.value) << c.title;
    }
}

TEST(IniDocument, FileRoundTripAndMissingFile) {
    testfiles::TestFolder folder;
    const std::string path = folder.Path("Revtally.ini");
    EXPECT_EQ(IniDocument::Load(path.c_str())->Text(), "");
    IniDocument ini;
    ini.WriteInt("PROJECT", "SIZE", 0);
    EXPECT_TRUE(ini.Save(path.c_str()));
    EXPECT_EQ(testfiles::ReadBytes(path), "[PROJECT]\r\nSIZE=0\r\n");
    EXPECT_EQ(IniDocument::Load(path.c_str())->ReadInt("PROJECT", "SIZE", -1), 0);
}

#ifdef _WIN32
// The document against the platform's own profile functions (code page 932) on random files a user
// or an editor could make: every value reads the same, and after the same writes the files both
// leave read the same through the platform. Only data counts, not how lines are laid out.
TEST(IniDocument, ReadsAndWritesAsTheProfileFunctions) {
    const char* const sections[] = {"Project", "PROJECT", HYO SO, "\x93\x5D", "x]y"};
    const char* const keys[] = {"Size", "SIZE", ";K", "[K", "\x82\x60", "\x82\x81"};
    const char* const values[] = {
        "",   "-5", " 7 ", "0x1F",    "4294967297",           "\"q\"",
        "''", "'",  "a=b", "\0328\v", "\\\x95\x5C\x83\x5C\\", "000000000000000000000000000009"};
    const char* const others[] = {"", " \t", "; note", "[broken", "\x1A", "]"};
    const char* const ends[] = {"\r\n", "\n", "\r"};
    std::mt19937 random(17);
    auto pick = [&](const auto& pool) { return static_cast<int>(random() % std::size(pool)); };
    testfiles::TestFolder folder;
    for (int file = 0; file < 300 && !HasFailure(); ++file) {
        std::string text;
        std::set<std::pair<int, int>> asked = {{pick(sections), pick(keys)}};
        for (int line = static_cast<int>(random() % 10), section = 0; line > 0; --line) {
            const int kind = static_cast<int>(random() % 3), key = pick(keys);
            section = kind == 0 ? pick(sections) : section;
            if (kind == 1)
                asked.insert({section, key});
            text += kind == 0 ? (random() % 3 ? "[" : " [ ") + std::string(sections[section]) + "]"
                    : kind == 1 ? std::string(keys[key]) + (random() % 3 ? "=" : " \t= ") +
                                      values[pick(values)]
                                : std::string(others[pick(others)]);
            text += line > 1 || random() % 2 ? ends[pick(ends)] : "";
        }
        const std::string bytes = file % 3 == 0   ? text
                                  : file % 3 == 1 ? "\xEF\xBB\xBF" + AnsiToUtf8(text)
                                                  : testfiles::Utf16File(AnsiToUtf8(text));
        const std::string theirs = folder.Path(std::to_string(file) + ".ini"), ours = theirs + "2";
        testfiles::WriteBytes(theirs, bytes);
        IniDocument ini(bytes);
        // Every value asked for, as a string and as a number: of the document, or of a file.
        auto reads = [&](const char* file) {
            std::string all;
            for (const auto& [s, k] : asked) {
                char value[4096];
                const char *section = sections[s], *key = keys[k];
                all += file ? std::string(value, GetPrivateProfileStringA(section, key, "<none>",
                                                                          value, 4096, file))
                            : std::string(ini.ReadString(section, key, "<none>"));
                const int number =
                    file ? static_cast<int>(GetPrivateProfileIntA(section, key, -7, file))
                         : ini.ReadInt(section, key, -7);
                all.append(" ").append(std::to_string(number)).append("\n");
            }
            return all;
        };
        SCOPED_TRACE(testing::PrintToString(bytes));
        EXPECT_EQ(reads(nullptr), reads(theirs.c_str()));
        for (int write = static_cast<int>(random() % 3); write > 0; --write) {
            const int section = pick(sections), key = pick(keys);
            const char* value = values[pick(values)];
            asked.insert({section, key});
            ini.WriteString(sections[section], keys[key], value);
            WritePrivateProfileStringA(sections[section], keys[key], value, theirs.c_str());
        }
        EXPECT_TRUE(ini.Save(ours.c_str()));
        EXPECT_EQ(reads(nullptr), reads(theirs.c_str()));
        EXPECT_EQ(reads(ours.c_str()), reads(theirs.c_str()));
    }
}
#endif
} // namespace
