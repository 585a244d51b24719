#include "stamp/ScriptEncoding.h"

#include "base/Unicode.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

// The resource editor of Visual Studio saves scripts as UTF-16LE with a mark, and git's
// working-tree-encoding checks them out that way; without a mark a script is ANSI code page text.
//
// The reader and writer run on one 8-bit working text whatever the encoding: the ANSI bytes as
// they are, or UTF-8 for the Unicode forms. In UTF-8 every byte of a non-ASCII character is 0x80 or
// above, so an ASCII keyword can never begin inside one and the searches need no double-byte rule.
// Well-formed UTF-16 goes through UTF-8 and back unchanged, so encoding a rewritten working text
// gives back every byte outside the rewritten lines.

namespace {
// Most of a script is ASCII, and the converters take it eight characters at a time, as 64-bit
// words: sixteen bytes of UTF-16 or eight of UTF-8.
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

constexpr bool kLittleEndianHost = std::endian::native == std::endian::little;

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
            out = PutUtf16Unit<kBigEndian>(out, text[k]);
    }
}

// UTF-16 code units to UTF-8 in out, which has room for three bytes a unit (a surrogate pair, two
// units, gives four). Returns the length written, or SIZE_MAX with the index of an unpaired
// surrogate in bad.
template <bool kBigEndian>
size_t DecodeUnits(const unsigned char* bytes, size_t count, char* out, size_t& bad) {
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
            const unsigned unit = Utf16UnitAt<kBigEndian>(bytes, i);
            if (unit < 0x80) {
                *put++ = static_cast<char>(unit);
            } else if (!IsHighSurrogate(unit) && !IsLowSurrogate(unit)) {
                put = PutUtf8(put, unit);
            } else if (IsHighSurrogate(unit) && i + 1 < count &&
                       IsLowSurrogate(Utf16UnitAt<kBigEndian>(bytes, i + 1))) {
                put = PutUtf8(put, 0x10000 + ((unit - 0xD800) << 10) +
                                       (Utf16UnitAt<kBigEndian>(bytes, i + 1) - 0xDC00));
                ++i;
            } else {
                bad = i;
                return SIZE_MAX;
            }
        }
    }
    return static_cast<size_t>(put - out);
}

// UTF-16 code units (after the mark) to UTF-8, a piece at a time through a small buffer into
// room reserved for the whole (a string sized at once would first be filled with zeros). The
// offset of the units in the file goes into the reason, so that the user can find the damaged
// place.
Expected<void> DecodeUtf16(std::string_view units, bool bigEndian, std::string& out) {
    if (units.size() % 2 != 0)
        return Failure::LeftAlone("the script is UTF-16 of an odd length in bytes");
    constexpr size_t kPiece = 8192;
    char text[3 * kPiece + 8];
    const auto* bytes = reinterpret_cast<const unsigned char*>(units.data());
    const size_t count = units.size() / 2;
    out.clear();
    out.reserve(count + count / 2);
    for (size_t done = 0; done < count;) {
        size_t piece = std::min(count - done, kPiece);
        // A surrogate pair stays whole: its high half goes with the next piece.
        if (done + piece < count && piece > 1 &&
            IsHighSurrogate(bigEndian ? Utf16UnitAt<true>(bytes, done + piece - 1)
                                      : Utf16UnitAt<false>(bytes, done + piece - 1)))
            --piece;
        size_t bad = 0;
        const unsigned char* from = bytes + 2 * done;
        const size_t length = bigEndian ? DecodeUnits<true>(from, piece, text, bad)
                                        : DecodeUnits<false>(from, piece, text, bad);
        if (length == SIZE_MAX) {
            out.clear();
            return Failure::LeftAlone("the script holds an unpaired UTF-16 surrogate at byte " +
                                      CString(std::to_string(2 + 2 * (done + bad))));
        }
        out.append(text, length);
        done += piece;
    }
    return {};
}

// UTF-8 to UTF-16 units in out, which has room for two bytes a UTF-8 byte (one to three bytes make
// one unit, four make two). Returns the length written, or SIZE_MAX where the text is not UTF-8.
template <bool kBigEndian> size_t EncodeUnits(std::string_view text, char* out) {
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
                put = PutUtf16Unit<kBigEndian>(put, bytes[i++]);
                continue;
            }
            char32_t c = 0;
            if (!NextUtf8(text, i, c))
                return SIZE_MAX;
            if (c < 0x10000) {
                put = PutUtf16Unit<kBigEndian>(put, static_cast<unsigned>(c));
            } else {
                put = PutUtf16Unit<kBigEndian>(put,
                                               0xD800 + static_cast<unsigned>((c - 0x10000) >> 10));
                put = PutUtf16Unit<kBigEndian>(
                    put, 0xDC00 + static_cast<unsigned>((c - 0x10000) & 0x3FF));
            }
        }
    }
    return static_cast<size_t>(put - out);
}

Expected<std::string> EncodeUtf16(std::string_view text, bool bigEndian) {
    // A piece at a time through a small buffer into room reserved for the whole: a string sized
    // at once would first be filled with zeros, megabytes of them.
    constexpr size_t kPiece = 8192;
    char units[2 * kPiece + 8];
    const std::string_view mark = MarkOf(bigEndian ? TextForm::utf16be : TextForm::utf16le);
    std::string out;
    out.reserve(mark.size() + 2 * text.size());
    out += mark;
    while (!text.empty()) {
        size_t piece = std::min(text.size(), kPiece);
        // Never a character cut in two: back to the start of the one the piece would cut.
        while (piece < text.size() && piece > 0 &&
               (static_cast<unsigned char>(text[piece]) & 0xC0) == 0x80)
            --piece;
        if (piece == 0)
            piece = std::min(text.size(), kPiece);
        const std::string_view part = text.substr(0, piece);
        const size_t length =
            bigEndian ? EncodeUnits<true>(part, units) : EncodeUnits<false>(part, units);
        if (length == SIZE_MAX)
            return Failure::LeftAlone("the new text of the script is not UTF-8");
        out.append(units, length);
        text.remove_prefix(piece);
    }
    return out;
}
} // namespace

Expected<void> ScriptEncoding::Decode(std::string_view bytes) {
    m_decoded.clear();
    m_text = {};
    m_hadNul = false;
    m_form = FormOfMark(bytes);
    // Unicode text goes through UTF-8, where no keyword can start inside a character.
    m_rule = m_form == TextForm::ansi ? CodePage::Active() : CodePage::SingleByte();
    std::string_view text = bytes.substr(MarkOf(m_form).size());
    if (m_form == TextForm::utf16le || m_form == TextForm::utf16be) {
        if (Expected<void> decoded = DecodeUtf16(text, m_form == TextForm::utf16be, m_decoded);
            !decoded)
            return decoded;
        text = m_decoded;
    }
    const size_t nul = text.find('\0');
    m_hadNul = nul != std::string_view::npos;
    m_text = text.substr(0, nul);
    return {};
}

Expected<std::string> ScriptEncoding::Encode(std::string text) const {
    switch (m_form) {
    case TextForm::ansi:
        break;
    case TextForm::utf8:
        text.insert(0, MarkOf(m_form));
        break;
    case TextForm::utf16le:
    case TextForm::utf16be:
        return EncodeUtf16(text, m_form == TextForm::utf16be);
    }
    return text;
}

CString ScriptEncoding::ForMessage(std::string_view snippet) const {
    while (!snippet.empty() && (snippet.front() == ' ' || snippet.front() == '\t'))
        snippet.remove_prefix(1);
    while (!snippet.empty() && (snippet.back() == ' ' || snippet.back() == '\t'))
        snippet.remove_suffix(1);
    if (m_form == TextForm::ansi)
        return CString(snippet);
    std::string shown;
    for (const char ch : snippet) {
        const auto byte = static_cast<unsigned char>(ch);
        if (byte < 0x80)
            shown += ch;
        else if (byte >= 0xC0)
            shown += '?';
    }
    return CString(std::move(shown));
}
