// The resource compiler is the script's real reader: a stamped script must still compile, and
// the compiled version resource must carry the new numbers.
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

using namespace testfiles;

namespace {
std::uint32_t Word32(const std::string& bytes, size_t at) {
    std::uint32_t value = 0;
    std::memcpy(&value, bytes.data() + at, sizeof value);
    return value;
}

std::string Utf16(const std::string& ascii) {
    std::string wide;
    for (char ch : ascii) {
        wide += ch;
        wide += '\0';
    }
    return wide;
}

TEST(StampedScript, StillCompilesWithTheNewNumbers) {
    if (std::string(REVTALLY_WINDRES).empty())
        GTEST_SKIP() << "no windres on this machine";
    TestFolder folder("rvt-windres");
    // The bundled example, with the platform header in place of the framework's.
    std::string script = ReadBytes(REVTALLY_EXAMPLE_SCRIPT);
    const std::string framework = "#include \"afxres.h\"";
    ASSERT_NE(script.find(framework), std::string::npos);
    script.replace(script.find(framework), framework.size(), "#include <windows.h>");
    WriteBytes(folder.Path("app.rc"), script);
    WriteBytes(folder.Path("resource.h"), "#define IDS_APP_TITLE 101\r\n");

    ASSERT_EQ(RunProgram(REVTALLY_PROGRAM, {"app.rc"}, folder.Path()).exitCode, 0);
    const RunResult compiled = RunProgram(
        REVTALLY_WINDRES, {"-I.", "app.rc", "-O", "res", "-o", "app.res"}, folder.Path());
    ASSERT_EQ(compiled.exitCode, 0) << compiled.standardError;

    const std::string res = ReadBytes(folder.Path("app.res"));
    const size_t fixed = res.find(std::string("\xBD\x04\xEF\xFE", 4));
    ASSERT_NE(fixed, std::string::npos) << "no VS_FIXEDFILEINFO in the compiled resource";
    EXPECT_EQ(Word32(res, fixed + 8), (1u << 16) | 2u);   // file version 1.2
    EXPECT_EQ(Word32(res, fixed + 12), (3u << 16) | 42u); // .3.42
    EXPECT_EQ(Word32(res, fixed + 16), (1u << 16) | 2u);  // product version
    EXPECT_EQ(Word32(res, fixed + 20), (3u << 16) | 42u);
    EXPECT_NE(res.find(Utf16("1, 2, 3, 42")), std::string::npos);
    EXPECT_EQ(res.find(Utf16("1, 2, 3, 41")), std::string::npos);
}
} // namespace
