#include "stamp/ScriptEncoding.h"

#include "base/Unicode.h"
#include "base/Utf16Codec.h"
#include "stamp/TextRules.h"

#include <string>

// The resource editor of Visual Studio saves scripts as UTF-16LE with a mark, and git's
// working-tree-encoding checks them out that way; without a mark a script is ANSI code page text.
//
// The reader and writer run on one 8-bit working text whatever the encoding: the ANSI bytes as
// they are, or UTF-8 for the Unicode forms. In UTF-8 every byte of a non-ASCII character is 0x80 or
// above, so an ASCII keyword can never begin inside one and the searches need no double-byte rule.
// Well-formed UTF-16 goes through UTF-8 and back unchanged, so encoding a rewritten working text
// gives back every byte outside the rewritten lines.

namespace {
// The offset of the units in the file goes into the reason, so that the user can find the damaged
// place.
Expected<void> DecodeUtf16(std::string_view units, bool bigEndian, std::string& out) {
    if (units.size() % 2 != 0)
        return Failure::LeftAlone("the script is UTF-16 of an odd length in bytes");
    size_t bad = 0;
    if (!AppendUtf16AsUtf8(units, bigEndian, IllFormed::refuse, out, &bad))
        return Failure::LeftAlone("the script holds an unpaired UTF-16 surrogate at byte " +
                                  CString(std::to_string(2 + 2 * bad)));
    return {};
}

Expected<std::string> EncodeUtf16(std::string_view text, bool bigEndian) {
    std::string out(MarkOf(bigEndian ? TextForm::utf16be : TextForm::utf16le));
    if (!AppendUtf8AsUtf16(text, bigEndian, IllFormed::refuse, out))
        return Failure::LeftAlone("the new text of the script is not UTF-8");
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
    snippet = TrimBlanks(snippet);
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
