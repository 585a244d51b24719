#include "stamp/ScriptEncoding.h"

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

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

void AppendUnit(std::string& out, unsigned unit, bool bigEndian) {
    const char high = static_cast<char>(unit >> 8);
    const char low = static_cast<char>(unit & 0xFF);
    out += bigEndian ? high : low;
    out += bigEndian ? low : high;
}

bool IsHighSurrogate(unsigned unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool IsLowSurrogate(unsigned unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// UTF-16 code units (after the mark) to UTF-8. The offset of the units in the file goes into the
// reason, so that the user can find the damaged place.
BOOL DecodeUtf16(std::string_view units, bool bigEndian, std::string& out, CString* failure) {
    if (units.size() % 2 != 0)
        return Fail(failure, "the script is UTF-16 of an odd length in bytes");
    const auto* bytes = reinterpret_cast<const unsigned char*>(units.data());
    const size_t count = units.size() / 2;
    auto unitAt = [&](size_t i) {
        const unsigned first = bytes[2 * i];
        const unsigned second = bytes[2 * i + 1];
        return bigEndian ? (first << 8 | second) : (second << 8 | first);
    };
    out.reserve(units.size());
    for (size_t i = 0; i < count; ++i) {
        const unsigned unit = unitAt(i);
        if (unit < 0x80) {
            out += static_cast<char>(unit);
        } else if (IsHighSurrogate(unit) && i + 1 < count && IsLowSurrogate(unitAt(i + 1))) {
            AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (unitAt(i + 1) - 0xDC00));
            ++i;
        } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
            return Fail(failure, "the script holds an unpaired UTF-16 surrogate at byte " +
                                     CString(std::to_string(2 + 2 * i)));
        } else {
            AppendUtf8(out, unit);
        }
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

BOOL EncodeUtf16(std::string_view text, bool bigEndian, std::string& out, CString* failure) {
    out.reserve(2 + 2 * text.size());
    out += bigEndian ? kUtf16BeMark : kUtf16LeMark;
    for (size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x80) {
            AppendUnit(out, byte, bigEndian);
            ++i;
            continue;
        }
        char32_t c = 0;
        if (!NextUtf8(text, i, c))
            return Fail(failure, "the new text of the script is not UTF-8");
        if (c < 0x10000) {
            AppendUnit(out, static_cast<unsigned>(c), bigEndian);
        } else {
            AppendUnit(out, 0xD800 + static_cast<unsigned>((c - 0x10000) >> 10), bigEndian);
            AppendUnit(out, 0xDC00 + static_cast<unsigned>((c - 0x10000) & 0x3FF), bigEndian);
        }
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
            m_decoded.clear();
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
