#include "base/Utf16Codec.h"

#include "base/Unicode.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <utility>

// Well-formed UTF-16 goes through UTF-8 and back unchanged. Most text of the program's files is
// ASCII, and both ways take it eight characters at a time, as 64-bit words: sixteen bytes of
// UTF-16 or eight of UTF-8.

namespace {
constexpr char32_t kReplacement = 0xFFFD;
constexpr bool kLittleEndianHost = std::endian::native == std::endian::little;

// UTF-16 code unit i of the bytes, in the byte order of the template argument.
template <bool kBigEndian> unsigned UnitAt(const unsigned char* bytes, size_t i) {
    const unsigned first = bytes[2 * i];
    const unsigned second = bytes[2 * i + 1];
    return kBigEndian ? (first << 8 | second) : (second << 8 | first);
}

// Puts one UTF-16 code unit at out in that byte order; returns the end of what it put.
template <bool kBigEndian> char* PutUnit(char* out, unsigned unit) {
    const char high = static_cast<char>(unit >> 8);
    const char low = static_cast<char>(unit & 0xFF);
    *out++ = kBigEndian ? high : low;
    *out++ = kBigEndian ? low : high;
    return out;
}

uint64_t Load8(const unsigned char* bytes) {
    uint64_t value;
    std::memcpy(&value, bytes, sizeof value);
    return value;
}

// A mask of the bits that must be clear, laid out in memory as the pattern repeats.
uint64_t Pattern(unsigned char even, unsigned char odd) {
    const unsigned char bytes[8] = {even, odd, even, odd, even, odd, even, odd};
    return Load8(bytes);
}

// Eight ASCII units to their eight low bytes.
template <bool kBigEndian> void PackAscii(const unsigned char* units, char* out) {
    if constexpr (kLittleEndianHost) {
        // The low bytes stand at the even bits' bytes of each word; two shifts close the gaps.
        uint64_t words[2] = {Load8(units), Load8(units + 8)};
        for (uint64_t& word : words) {
            if (kBigEndian)
                word >>= 8;
            word = (word | word >> 8) & 0x0000FFFF0000FFFFull;
            word = (word | word >> 16) & 0x00000000FFFFFFFFull;
        }
        const uint64_t packed = words[0] | words[1] << 32;
        std::memcpy(out, &packed, sizeof packed);
    } else {
        for (size_t k = 0; k < 8; ++k)
            out[k] = static_cast<char>(units[2 * k + (kBigEndian ? 1 : 0)]);
    }
}

// Eight ASCII bytes to their eight units.
template <bool kBigEndian> void SpreadAscii(const unsigned char* text, char* out) {
    if constexpr (kLittleEndianHost) {
        const uint64_t word = Load8(text);
        for (int half = 0; half < 2; ++half) {
            uint64_t spread = (word >> (32 * half)) & 0xFFFFFFFFull;
            spread = (spread | spread << 16) & 0x0000FFFF0000FFFFull;
            spread = (spread | spread << 8) & 0x00FF00FF00FF00FFull;
            if (kBigEndian)
                spread <<= 8;
            std::memcpy(out + 8 * half, &spread, sizeof spread);
        }
    } else {
        for (size_t k = 0; k < 8; ++k)
            out = PutUnit<kBigEndian>(out, text[k]);
    }
}

// UTF-16 code units to UTF-8 in out, which has room for three bytes a unit (a surrogate pair, two
// units, gives four). Returns the length written, or SIZE_MAX with the index of an unpaired
// surrogate in bad when such a surrogate is refused.
template <bool kBigEndian>
size_t DecodeUnits(const unsigned char* bytes, size_t count, IllFormed rule, char* out,
                   size_t& bad) {
    // Eight ASCII units: the high bytes zero, the low ones below 0x80.
    const uint64_t notAscii = kBigEndian ? Pattern(0xFF, 0x80) : Pattern(0x80, 0xFF);
    char* put = out;
    size_t i = 0;
    while (i < count) {
        for (; i + 8 <= count; i += 8, put += 8) {
            const unsigned char* block = bytes + 2 * i;
            if (((Load8(block) | Load8(block + 8)) & notAscii) != 0)
                break;
            PackAscii<kBigEndian>(block, put);
        }
        // Then a character at a time up to where the next run may start.
        for (const size_t end = std::min(count, i + 8); i < end; ++i) {
            const unsigned unit = UnitAt<kBigEndian>(bytes, i);
            if (unit < 0x80) {
                *put++ = static_cast<char>(unit);
            } else if (!IsHighSurrogate(unit) && !IsLowSurrogate(unit)) {
                put = PutUtf8(put, unit);
            } else if (IsHighSurrogate(unit) && i + 1 < count &&
                       IsLowSurrogate(UnitAt<kBigEndian>(bytes, i + 1))) {
                put = PutUtf8(put, 0x10000 + ((unit - 0xD800) << 10) +
                                       (UnitAt<kBigEndian>(bytes, i + 1) - 0xDC00));
                ++i;
            } else if (rule == IllFormed::replace) {
                put = PutUtf8(put, kReplacement);
            } else {
                bad = i;
                return SIZE_MAX;
            }
        }
    }
    return static_cast<size_t>(put - out);
}

// UTF-8 to UTF-16 units in out, which has room for two bytes a UTF-8 byte (one to three bytes make
// one unit, four make two, a byte replaced one). Returns the length written, or SIZE_MAX where
// text that is not UTF-8 is refused.
template <bool kBigEndian> size_t EncodeUnits(std::string_view text, IllFormed rule, char* out) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const uint64_t notAscii = Pattern(0x80, 0x80);
    char* put = out;
    size_t i = 0;
    while (i < text.size()) {
        for (; i + 8 <= text.size() && (Load8(bytes + i) & notAscii) == 0; i += 8, put += 16)
            SpreadAscii<kBigEndian>(bytes + i, put);
        // A character may end up to three bytes past the eight.
        for (const size_t end = std::min(text.size(), i + 8); i < end;) {
            if (bytes[i] < 0x80) {
                put = PutUnit<kBigEndian>(put, bytes[i++]);
                continue;
            }
            char32_t c = 0;
            if (!NextUtf8(text, i, c)) {
                // A byte that starts no well-formed character stands for itself.
                if (rule == IllFormed::refuse)
                    return SIZE_MAX;
                c = kReplacement;
                ++i;
            }
            if (c < 0x10000) {
                put = PutUnit<kBigEndian>(put, static_cast<unsigned>(c));
            } else {
                put = PutUnit<kBigEndian>(put, 0xD800 + static_cast<unsigned>((c - 0x10000) >> 10));
                put =
                    PutUnit<kBigEndian>(put, 0xDC00 + static_cast<unsigned>((c - 0x10000) & 0x3FF));
            }
        }
    }
    return static_cast<size_t>(put - out);
}

// Pieces go through a small buffer into room reserved for the whole: a string sized at once would
// first be filled with zeros, megabytes of them.
constexpr size_t kPiece = 8192;

// Swaps the two bytes of each unit where the order asked for is not the host's.
void IntoOrder(char* bytes, size_t units, bool bigEndian) {
    if (bigEndian == kLittleEndianHost) {
        for (size_t i = 0; i < units; ++i)
            std::swap(bytes[2 * i], bytes[2 * i + 1]);
    }
}
} // namespace

bool AppendUtf16AsUtf8(std::string_view units, bool bigEndian, IllFormed rule, std::string& out,
                       size_t* bad) {
    char text[3 * kPiece + 8];
    const auto* bytes = reinterpret_cast<const unsigned char*>(units.data());
    const size_t count = units.size() / 2;
    const size_t held = out.size();
    out.reserve(held + count + count / 2);
    for (size_t done = 0; done < count;) {
        size_t piece = std::min(count - done, kPiece);
        // A surrogate pair stays whole: its high half goes with the next piece.
        if (done + piece < count && piece > 1 &&
            IsHighSurrogate(bigEndian ? UnitAt<true>(bytes, done + piece - 1)
                                      : UnitAt<false>(bytes, done + piece - 1)))
            --piece;
        size_t at = 0;
        const unsigned char* from = bytes + 2 * done;
        const size_t length = bigEndian ? DecodeUnits<true>(from, piece, rule, text, at)
                                        : DecodeUnits<false>(from, piece, rule, text, at);
        if (length == SIZE_MAX) {
            out.resize(held);
            if (bad)
                *bad = done + at;
            return false;
        }
        out.append(text, length);
        done += piece;
    }
    return true;
}

bool AppendUtf8AsUtf16(std::string_view text, bool bigEndian, IllFormed rule, std::string& out) {
    char units[2 * kPiece + 8];
    const size_t held = out.size();
    out.reserve(held + 2 * text.size());
    while (!text.empty()) {
        size_t piece = std::min(text.size(), kPiece);
        // Never a character cut in two: back to the start of the one the piece would cut.
        while (piece < text.size() && piece > 0 &&
               (static_cast<unsigned char>(text[piece]) & 0xC0) == 0x80)
            --piece;
        if (piece == 0)
            piece = std::min(text.size(), kPiece);
        const std::string_view part = text.substr(0, piece);
        const size_t length = bigEndian ? EncodeUnits<true>(part, rule, units)
                                        : EncodeUnits<false>(part, rule, units);
        if (length == SIZE_MAX) {
            out.resize(held);
            return false;
        }
        out.append(units, length);
        text.remove_prefix(piece);
    }
    return true;
}

std::u16string Utf16Units(std::string_view units, bool bigEndian) {
    std::u16string text(units.size() / 2, u'\0');
    std::memcpy(text.data(), units.data(), 2 * text.size());
    IntoOrder(reinterpret_cast<char*>(text.data()), text.size(), bigEndian);
    return text;
}

std::string Utf16Bytes(std::u16string_view units, bool bigEndian) {
    std::string bytes(reinterpret_cast<const char*>(units.data()), 2 * units.size());
    IntoOrder(bytes.data(), units.size(), bigEndian);
    return bytes;
}
