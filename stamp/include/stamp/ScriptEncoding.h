#pragma once

#include "base/CString.h"
#include "base/CodePage.h"
#include "base/Expected.h"
#include "base/Unicode.h"

#include <string>
#include <string_view>

// The encoding a resource script is kept in, told by its byte-order mark, and the 8-bit working
// text the reader and writer search and rewrite whatever the encoding.
class ScriptEncoding {
public:
    ScriptEncoding() = default;
    // The working text may point into the object itself.
    ScriptEncoding(const ScriptEncoding&) = delete;
    ScriptEncoding& operator=(const ScriptEncoding&) = delete;

    // Tells the form and makes the working text. Left alone: UTF-16 that is not well-formed (odd
    // length, unpaired surrogate), which is neither read nor rewritten. The working text of the
    // 8-bit forms points into bytes, which must outlive this object.
    Expected<void> Decode(std::string_view bytes);

    TextForm GetForm() const { return m_form; }
    // The working text up to its first NUL byte, or its first U+0000 in UTF-16, where the text of
    // a script ends.
    std::string_view Text() const { return m_text; }
    bool HadNul() const { return m_hadNul; }
    // The code page rule for searches in Text(): the system's for ANSI text, none for UTF-8.
    const CodePage& SearchRule() const { return m_rule; }

    // The file's bytes for a working text: the decoded file's form and mark. Left alone when the
    // text is not UTF-8 where UTF-16 is to be written, which would give an ill-formed file.
    Expected<std::string> Encode(std::string text) const;

    // A working-text snippet as a line of the build log may show it, which is ANSI code page text:
    // blanks and TABs around it go, and from the Unicode forms each non-ASCII character becomes
    // "?".
    CString ForMessage(std::string_view snippet) const;

private:
    TextForm m_form = TextForm::ansi;
    std::string m_decoded;
    std::string_view m_text;
    bool m_hadNul = false;
    CodePage m_rule = CodePage::SingleByte();
};
