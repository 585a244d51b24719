#include "base/AnsiText.h"
#include "base/Utf16Codec.h"

#include <bit>

namespace {
constexpr bool kBigEndianHost = std::endian::native == std::endian::big;
} // namespace

std::string Utf16ToAnsi(std::u16string_view text) {
    std::string out;
    AppendUtf16AsUtf8(std::string_view(reinterpret_cast<const char*>(text.data()), 2 * text.size()),
                      kBigEndianHost, IllFormed::replace, out);
    return out;
}

std::u16string AnsiToUtf16(std::string_view text) {
    std::string units;
    AppendUtf8AsUtf16(text, kBigEndianHost, IllFormed::replace, units);
    return Utf16Units(units, kBigEndianHost);
}

std::string Utf8ToAnsi(std::string_view text) {
    return std::string(text);
}

std::string AnsiToUtf8(std::string_view text) {
    return std::string(text);
}

std::u16string Utf8ToUtf16(std::string_view text) {
    return AnsiToUtf16(text);
}
