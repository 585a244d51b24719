#pragma once

#include "framework/AfxTypes.h"
#include "framework/CString.h"
#include "framework/CodePage.h"

#include <string>
#include <string_view>

// The encoding a resource script is kept in, told by the byte-order mark at its start. The
// resource editor of Visual Studio saves scripts as UTF-16LE with a mark, and git's
// working-tree-encoding checks them out that way; without a mark a script is ANSI code page text.
//
// The reader and writer run on one 8-bit working text whatever the encoding: the ANSI bytes as
// they are, or UTF-8 for the Unicode forms. In UTF-8 every byte of a non-ASCII character is 0x80 or
// above, so an ASCII keyword can never begin inside one and the searches need no double-byte rule.
// Well-formed UTF-16 goes through UTF-8 and back unchanged, so encoding a rewritten working text
// gives back every byte outside the rewritten lines.
class ScriptEncoding {
public:
    enum class Form { ansi, utf8, utf16le, utf16be };

    ScriptEncoding() = default;
    // The working text may point into the object itself.
    ScriptEncoding(const ScriptEncoding&) = delete;
    ScriptEncoding& operator=(const ScriptEncoding&) = delete;

    // Tells the form and makes the working text. FALSE, with a reason, for UTF-16 that is not
    // well-formed (odd length, unpaired surrogate): such a script is neither read nor rewritten.
    // The working text of the 8-bit forms points into bytes, which must outlive this object.
    BOOL Decode(std::string_view bytes, CString* failure = nullptr);

    Form GetForm() const { return m_form; }
    // The working text up to its first NUL byte, or its first U+0000 in UTF-16, where the text of
    // a script ends.
    std::string_view Text() const { return m_text; }
    bool HadNul() const { return m_hadNul; }
    // The code page rule for searches in Text(): the system's for ANSI text, none for UTF-8.
    const CodePage& SearchRule() const { return m_rule; }

    // The file's bytes for a working text: the decoded file's form and mark. FALSE when the text is
    // not UTF-8 where UTF-16 is to be written, which would give an ill-formed file.
    BOOL Encode(std::string text, std::string& bytes, CString* failure = nullptr) const;

    // A working-text snippet as a line of the build log may show it, which is ANSI code page text:
    // blanks and TABs around it go, and from the Unicode forms each non-ASCII character becomes
    // "?".
    CString ForMessage(std::string_view snippet) const;

private:
    Form m_form = Form::ansi;
    std::string m_decoded;
    std::string_view m_text;
    bool m_hadNul = false;
    CodePage m_rule = CodePage::SingleByte();
};
