// Feeds arbitrary bytes to the in-memory rewrite of a resource script and aborts when the result
// breaks a promise the stamping run relies on.
//
// Input layout:
//   byte 0      bit 0: code page 932 (set) or single-byte rules (clear);
//               bits 1-2: how the number bytes become numbers (see NumbersFrom)
//   bytes 1-8   four 16-bit little-endian numbers
//   bytes 9-    the script text
// Inputs shorter than the header are ignored.

#include "framework/CString.h"
#include "framework/CodePage.h"
#include "stamp/RcVersionReader.h"
#include "stamp/RcVersionWriter.h"

#include <array>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {
constexpr size_t kHeaderSize = 9;
constexpr std::string_view kBlockKeyword = "VS_VERSION_INFO";
constexpr std::string_view kUntouched = "<untouched>";

void Require(bool condition, const char* what) {
    if (condition)
        return;
    std::fprintf(stderr, "invariant violated: %s\n", what);
    std::abort();
}

// Small realistic numbers most of the time, but also negatives and the ends of the int range,
// since the writer formats with %d and the reader sums digits modulo 2^32.
std::array<int, 4> NumbersFrom(const uint8_t* bytes, int mode) {
    std::array<int, 4> numbers{};
    for (size_t i = 0; i < numbers.size(); ++i) {
        const unsigned value = bytes[2 * i] | (static_cast<unsigned>(bytes[2 * i + 1]) << 8);
        switch (mode) {
        case 0:
            numbers[i] = static_cast<int>(value);
            break;
        case 1:
            numbers[i] = static_cast<int>(value) - 0x8000;
            break;
        case 2: {
            const uint32_t wide = (static_cast<uint32_t>(value) << 16) | value;
            numbers[i] =
                wide <= 0x7FFFFFFFu ? static_cast<int>(wide) : -static_cast<int>(~wide) - 1;
            break;
        }
        default: {
            constexpr std::array<int, 4> kExtremes = {INT_MIN, -1, 0, INT_MAX};
            numbers[i] = kExtremes[value % kExtremes.size()];
            break;
        }
        }
    }
    return numbers;
}

// Lines as a text editor shows them: CR LF or a lone CR ends a line. A lone LF does not, so every
// rewritten region (which never spans a CR) lies inside one line.
std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    size_t begin = 0;
    for (;;) {
        const size_t cr = text.find('\r', begin);
        if (cr == std::string_view::npos) {
            lines.push_back(text.substr(begin));
            return lines;
        }
        lines.push_back(text.substr(begin, cr - begin));
        begin = cr + 1;
        if (begin < text.size() && text[begin] == '\n')
            ++begin;
    }
}

struct Rewrite {
    std::string keyword;
    std::string replacement;
};

// A changed line must be the old line cut at one of the keywords, followed by exactly the text
// the writer puts there for that keyword.
bool IsRewriteOf(std::string_view before, std::string_view after,
                 const std::vector<Rewrite>& rewrites) {
    for (const Rewrite& rewrite : rewrites) {
        if (after.size() < rewrite.replacement.size())
            continue;
        const size_t cut = after.size() - rewrite.replacement.size();
        if (after.substr(cut) != rewrite.replacement || cut > before.size())
            continue;
        if (after.substr(0, cut) == before.substr(0, cut) &&
            before.substr(cut, rewrite.keyword.size()) == rewrite.keyword)
            return true;
    }
    return false;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < kHeaderSize)
        return 0;
    CodePage::SetActive((data[0] & 1) ? CodePage::Cp932() : CodePage::SingleByte());
    const std::array<int, 4> n = NumbersFrom(data + 1, (data[0] >> 1) & 3);
    const CString text(
        std::string(reinterpret_cast<const char*>(data) + kHeaderSize, size - kHeaderSize));

    CString result(kUntouched);
    CString failure;
    const BOOL rewritten = RewriteRcVersion(text, n[0], n[1], n[2], n[3], result, &failure);

    if (text.View().find(kBlockKeyword) == std::string_view::npos)
        Require(!rewritten, "a script without VS_VERSION_INFO was rewritten");
    if (!rewritten) {
        Require(result == CString(kUntouched), "a refused rewrite produced text");
        Require(!failure.IsEmpty(), "a refused rewrite gave no reason");
        return 0;
    }

    CString numbers;
    numbers.Format("%d, %d, %d, %d", n[0], n[1], n[2], n[3]);
    const std::vector<Rewrite> rewrites = {
        {"FILEVERSION", "FILEVERSION " + std::string(numbers.View())},
        {"PRODUCTVERSION", "PRODUCTVERSION " + std::string(numbers.View())},
        {"\"FileVersion\"", "\"FileVersion\", \"" + std::string(numbers.View()) + "\\0\""},
        {"\"ProductVersion\"", "\"ProductVersion\", \"" + std::string(numbers.View()) + "\\0\""},
    };
    const std::vector<std::string_view> before = SplitLines(text.View());
    const std::vector<std::string_view> after = SplitLines(result.View());
    Require(before.size() == after.size(), "the rewrite changed the number of lines");
    for (size_t i = 0; i < before.size(); ++i) {
        if (before[i] != after[i])
            Require(IsRewriteOf(before[i], after[i], rewrites),
                    "a line changed other than by rewriting a version statement or value");
    }

    // The reader and the writer both take the first FILEVERSION after the first VS_VERSION_INFO.
    // Everything before that FILEVERSION is unchanged and the new line starts with the same
    // keyword, so the reader lands on the rewritten line and must read back what was written.
    int major = -7, minor = -7, sub = -7, build = -7;
    CString readFailure;
    Require(ParseRcVersion(result, major, minor, sub, build, &readFailure) == TRUE,
            "the rewritten script cannot be read back");
    Require(major == n[0] && minor == n[1] && sub == n[2] && build == n[3],
            "the rewritten script reads back other numbers");

    // Stamping twice with the same numbers must settle: the build step may run again without a
    // change in between.
    CString again;
    Require(RewriteRcVersion(result, n[0], n[1], n[2], n[3], again) == TRUE,
            "a rewritten script is refused on the next rewrite");
    Require(again == result, "a second rewrite with the same numbers changed the script");
    return 0;
}
