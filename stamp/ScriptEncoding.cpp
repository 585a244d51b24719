#include "stamp/ScriptEncoding.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

namespace {
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";

BOOL Fail(CString* failure, const CString& reason) {
    if (failure)
        *failure = reason;
    return FALSE;
}

bool StartsWith(std::string_view bytes, std::string_view mark) {
    return bytes.substr(0, mark.size()) == mark;
}

char* PutUtf8(char* out, char32_t c) {
    if (c < 0x80) {
        *out++ = static_cast<char>(c);
    } else if (c < 0x800) {
        *out++ = static_cast<char>(0xC0 | (c >> 6));
        *out++ = static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        *out++ = static_cast<char>(0xE0 | (c >> 12));
        *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (c & 0x3F));
    } else {
        *out++ = static_cast<char>(0xF0 | (c >> 18));
        *out++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (c & 0x3F));
    }
    return out;
}

template <bool kBigEndian> char* PutUnit(char* out, unsigned unit) {
    const char high = static_cast<char>(unit >> 8);
    const char low = static_cast<char>(unit & 0xFF);
    *out++ = kBigEndian ? high : low;
    *out++ = kBigEndian ? low : high;
    return out;
}

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
            out = PutUnit<kBigEndian>(out, text[k]);
    }
}

bool IsHighSurrogate(unsigned unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool IsLowSurrogate(unsigned unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

template <bool kBigEndian> unsigned UnitAt(const unsigned char* bytes, size_t i) {
    const unsigned first = bytes[2 * i];
    const unsigned second = bytes[2 * i + 1];
    return kBigEndian ? (first << 8 | second) : (second << 8 | first);
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
BOOL DecodeUtf16(std::string_view units, bool bigEndian, std::string& out, CString* failure) {
    if (units.size() % 2 != 0)
        return Fail(failure, "the script is UTF-16 of an odd length in bytes");
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
            IsHighSurrogate(bigEndian ? UnitAt<true>(bytes, done + piece - 1)
                                      : UnitAt<false>(bytes, done + piece - 1)))
            --piece;
        size_t bad = 0;
        const unsigned char* from = bytes + 2 * done;
        const size_t length = bigEndian ? DecodeUnits<true>(from, piece, text, bad)
                                        : DecodeUnits<false>(from, piece, text, bad);
        if (length == SIZE_MAX) {
            out.clear();
            return Fail(failure, "the script holds an unpaired UTF-16 surrogate at byte " +
                                     CString(std::to_string(2 + 2 * (done + bad))));
        }
        out.append(text, length);
        done += piece;
    }
    return TRUE;
}

// One UTF-8 character at text[i], advancing i past it; false when the bytes there are no
// well-formed character (a stray continuation byte, a short, overlong or surrogate sequence).
bool NextUtf8(std::string_view text, size_t& i, char32_t& c) {
    const auto lead = static_cast<unsigned char>(text[i]);
    int length = 0;
    char32_t minimum = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        minimum = 0x80;
        c = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        minimum = 0x800;
        c = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        minimum = 0x10000;
        c = lead & 0x07;
    } else {
        return false;
    }
    if (text.size() - i < static_cast<size_t>(length))
        return false;
    for (int k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[i + static_cast<size_t>(k)]);
        if ((next & 0xC0) != 0x80)
            return false;
        c = (c << 6) | (next & 0x3F);
    }
    if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return false;
    i += static_cast<size_t>(length);
    return true;
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
                put = PutUnit<kBigEndian>(put, bytes[i++]);
                continue;
            }
            char32_t c = 0;
            if (!NextUtf8(text, i, c))
                return SIZE_MAX;
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

BOOL EncodeUtf16(std::string_view text, bool bigEndian, std::string& out, CString* failure) {
    // A piece at a time through a small buffer into room reserved for the whole: a string sized
    // at once would first be filled with zeros, megabytes of them.
    constexpr size_t kPiece = 8192;
    char units[2 * kPiece + 8];
    const std::string_view mark = bigEndian ? kUtf16BeMark : kUtf16LeMark;
    out.clear();
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
        if (length == SIZE_MAX) {
            out.clear();
            return Fail(failure, "the new text of the script is not UTF-8");
        }
        out.append(units, length);
        text.remove_prefix(piece);
    }
    return TRUE;
}
} // namespace

BOOL ScriptEncoding::Decode(std::string_view bytes, CString* failure) {
    m_decoded.clear();
    std::string_view text = bytes;
    if (StartsWith(bytes, kUtf16LeMark) || StartsWith(bytes, kUtf16BeMark)) {
        const bool bigEndian = StartsWith(bytes, kUtf16BeMark);
        m_form = bigEndian ? Form::utf16be : Form::utf16le;
        m_rule = CodePage::SingleByte();
        if (!DecodeUtf16(bytes.substr(2), bigEndian, m_decoded, failure)) {
            m_text = {};
            m_hadNul = false;
            return FALSE;
        }
        text = m_decoded;
    } else if (StartsWith(bytes, kUtf8Mark)) {
        m_form = Form::utf8;
        m_rule = CodePage::SingleByte();
        text = bytes.substr(kUtf8Mark.size());
    } else {
        m_form = Form::ansi;
        m_rule = CodePage::Active();
    }
    const size_t nul = text.find('\0');
    m_hadNul = nul != std::string_view::npos;
    m_text = text.substr(0, nul);
    return TRUE;
}

BOOL ScriptEncoding::Encode(std::string text, std::string& bytes, CString* failure) const {
    switch (m_form) {
    case Form::ansi:
        bytes = std::move(text);
        return TRUE;
    case Form::utf8:
        bytes.clear();
        bytes.reserve(kUtf8Mark.size() + text.size());
        bytes += kUtf8Mark;
        bytes += text;
        return TRUE;
    case Form::utf16le:
    case Form::utf16be:
        bytes.clear();
        return EncodeUtf16(text, m_form == Form::utf16be, bytes, failure);
    }
    return Fail(failure, "unknown script encoding");
}

CString ScriptEncoding::ForMessage(std::string_view snippet) const {
    while (!snippet.empty() && (snippet.front() == ' ' || snippet.front() == '\t'))
        snippet.remove_prefix(1);
    while (!snippet.empty() && (snippet.back() == ' ' || snippet.back() == '\t'))
        snippet.remove_suffix(1);
    if (m_form == Form::ansi)
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
