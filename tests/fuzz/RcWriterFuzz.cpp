// Feeds arbitrary bytes to the in-memory rewrite of a resource script and aborts when the result
// breaks a promise the stamping run relies on.
//
// Input layout:
//   byte 0      bit 0: code page 932 (set) or single-byte rules (clear);
//               bits 1-2: how the number bytes become numbers (see NumbersFrom);
//               bits 3-4: how the script bytes become the file (see FileFrom)
//   bytes 1-8   four 16-bit little-endian numbers
//   bytes 9-    the script
// Inputs shorter than the header are ignored.
//
// The checks run on the file's code units (bytes, or UTF-16 units after a mark) as this file
// reads them itself, so a fault of the decoder cannot hide one of the writer.

#include "base/CString.h"
#include "base/CodePage.h"
#include "stamp/RcVersionReader.h"
#include "stamp/RcVersionWriter.h"

#include <algorithm>
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
// A version resource is named VS_VERSION_INFO, or stands as "1 VERSIONINFO".
constexpr std::string_view kBlockKeywords[] = {"VS_VERSION_INFO", "VERSIONINFO"};

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

// Bytes 0xF8 and up of a widened script stand for code units a byte cannot give: Japanese
// characters, the two halves of a surrogate pair (alone they make the file ill-formed), a
// byte-order mark inside the text and a noncharacter.
constexpr char16_t kSpecialUnits[8] = {0x3042, 0x8868, 0x30D0, 0xD842,
                                       0xDFB7, 0xFEFF, 0xFFFF, 0x00F8};

// The script bytes as a file: as they are (they may bring their own mark), widened to UTF-16LE
// or UTF-16BE behind a mark, or behind a UTF-8 mark.
std::string FileFrom(std::string_view script, int mode) {
    if (mode == 0)
        return std::string(script);
    if (mode == 3)
        return "\xEF\xBB\xBF" + std::string(script);
    const bool bigEndian = mode == 2;
    std::string file = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (const char ch : script) {
        const auto byte = static_cast<unsigned char>(ch);
        const unsigned unit = byte >= 0xF8 ? kSpecialUnits[byte - 0xF8] : byte;
        const char high = static_cast<char>(unit >> 8);
        const char low = static_cast<char>(unit & 0xFF);
        file += bigEndian ? high : low;
        file += bigEndian ? low : high;
    }
    return file;
}

using Units = std::u32string;

struct FileUnits {
    std::string mark;
    bool utf16 = false;
    bool wellFormed = true; // as UTF-16; 8-bit text always is
    Units units;
};

FileUnits UnitsOf(std::string_view file) {
    FileUnits f;
    const bool le = file.substr(0, 2) == "\xFF\xFE";
    const bool be = file.substr(0, 2) == "\xFE\xFF";
    if (le || be) {
        f.mark = std::string(file.substr(0, 2));
        f.utf16 = true;
        file.remove_prefix(2);
        f.wellFormed = file.size() % 2 == 0;
        for (size_t i = 0; i + 1 < file.size(); i += 2) {
            const auto a = static_cast<unsigned char>(file[i]);
            const auto b = static_cast<unsigned char>(file[i + 1]);
            f.units += static_cast<char32_t>(be ? (a << 8 | b) : (b << 8 | a));
        }
        for (size_t i = 0; i < f.units.size(); ++i) {
            const char32_t u = f.units[i];
            if (u >= 0xD800 && u <= 0xDBFF && i + 1 < f.units.size() && f.units[i + 1] >= 0xDC00 &&
                f.units[i + 1] <= 0xDFFF)
                ++i;
            else if (u >= 0xD800 && u <= 0xDFFF)
                f.wellFormed = false;
        }
        return f;
    }
    if (file.substr(0, 3) == "\xEF\xBB\xBF") {
        f.mark = std::string(file.substr(0, 3));
        file.remove_prefix(3);
    }
    for (const char ch : file)
        f.units += static_cast<char32_t>(static_cast<unsigned char>(ch));
    return f;
}

Units Widened(std::string_view ascii) {
    Units units;
    for (const char ch : ascii)
        units += static_cast<char32_t>(static_cast<unsigned char>(ch));
    return units;
}

using UnitsView = std::u32string_view;

// Lines as a text editor shows them: CR LF or a lone CR ends a line. A lone LF does not, so every
// rewritten region (which never spans a CR) lies inside one line.
std::vector<UnitsView> SplitLines(UnitsView text) {
    std::vector<UnitsView> lines;
    size_t begin = 0;
    for (;;) {
        const size_t cr = text.find(U'\r', begin);
        if (cr == UnitsView::npos) {
            lines.push_back(text.substr(begin));
            return lines;
        }
        lines.push_back(text.substr(begin, cr - begin));
        begin = cr + 1;
        if (begin < text.size() && text[begin] == U'\n')
            ++begin;
    }
}

struct Rewrite {
    Units keyword;
    Units replacement;
};

// A changed line must be the old line cut at one of the keywords, followed by exactly the text
// the writer puts there for that keyword.
bool IsRewriteOf(UnitsView before, UnitsView after, const std::vector<Rewrite>& rewrites) {
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
    const VersionNumber version{n[0], n[1], n[2], n[3]};
    const CString text(FileFrom(
        std::string_view(reinterpret_cast<const char*>(data) + kHeaderSize, size - kHeaderSize),
        (data[0] >> 3) & 3));

    const Expected<CString> rewrite = RewriteRcVersion(text.View(), version);
    const bool rewritten = static_cast<bool>(rewrite);

    const FileUnits original = UnitsOf(text.View());
    const UnitsView originalText = UnitsView(original.units).substr(0, original.units.find(U'\0'));
    if (std::none_of(std::begin(kBlockKeywords), std::end(kBlockKeywords), [&](auto keyword) {
            return originalText.find(Widened(keyword)) != UnitsView::npos;
        }))
        Require(!rewritten, "a script without a VERSIONINFO resource was rewritten");
    if (!original.wellFormed)
        Require(!rewritten, "ill-formed UTF-16 was rewritten");
    if (!rewritten) {
        Require(!rewrite.Error().reason.IsEmpty(), "a refused rewrite gave no reason");
        return 0;
    }
    const CString& result = *rewrite;

    // The file keeps its encoding and its mark, and stays well-formed.
    const FileUnits stamped = UnitsOf(result.View());
    Require(stamped.mark == original.mark, "the rewrite changed the byte-order mark");
    Require(stamped.wellFormed, "the rewrite wrote ill-formed UTF-16");
    Require(original.units.find(U'\0') == Units::npos, "a script holding NUL was rewritten");

    CString numbers;
    numbers.Format("%d, %d, %d, %d", n[0], n[1], n[2], n[3]);
    const std::string number(numbers.View());
    const std::vector<Rewrite> rewrites = {
        {Widened("FILEVERSION"), Widened("FILEVERSION " + number)},
        {Widened("PRODUCTVERSION"), Widened("PRODUCTVERSION " + number)},
        {Widened("\"FileVersion\""), Widened("\"FileVersion\", \"" + number + "\\0\"")},
        {Widened("\"ProductVersion\""), Widened("\"ProductVersion\", \"" + number + "\\0\"")},
    };
    const std::vector<UnitsView> before = SplitLines(original.units);
    const std::vector<UnitsView> after = SplitLines(stamped.units);
    Require(before.size() == after.size(), "the rewrite changed the number of lines");
    for (size_t i = 0; i < before.size(); ++i) {
        if (before[i] != after[i])
            Require(IsRewriteOf(before[i], after[i], rewrites),
                    "a line changed other than by rewriting a version statement or value");
    }

    // The reader and the writer both take the first FILEVERSION after the same version block.
    // Everything before that FILEVERSION is unchanged and the new line starts with the same
    // keyword, so the reader lands on the rewritten line and must read back what was written.
    const Expected<VersionNumber> read = ParseRcVersion(result.View());
    Require(static_cast<bool>(read), "the rewritten script cannot be read back");
    Require(*read == version, "the rewritten script reads back other numbers");

    // Stamping twice with the same numbers must settle: the build step may run again without a
    // change in between.
    const Expected<CString> again = RewriteRcVersion(result.View(), version);
    Require(static_cast<bool>(again), "a rewritten script is refused on the next rewrite");
    Require(*again == result, "a second rewrite with the same numbers changed the script");
    return 0;
}
