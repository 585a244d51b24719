#pragma once

#include <array>
#include <string>
#include <string_view>

// Which bytes open a double-byte character. On Windows it is the ANSI code page of the system; on
// POSIX it is code page 932 when the locale asks for Shift_JIS, and plain bytes otherwise. Every
// multibyte-aware scan of the program asks the active rule, and tests may put their own in place.
class CodePage {
public:
    // No lead bytes: every byte is a character of its own.
    static CodePage SingleByte();
    // Code page 932 (Shift_JIS as Windows has it).
    static CodePage Cp932();
    // The rule the platform gives this process (see above).
    static CodePage FromSystem();
    // The POSIX rule for a locale name such as "ja_JP.SJIS": code page 932 when its codeset is
    // Shift_JIS by any of its usual names, plain bytes otherwise.
    static CodePage FromLocaleName(std::string_view name);

    static const CodePage& Active();
    // Replaces the active rule; returns the one it replaced.
    static CodePage SetActive(const CodePage& rule);

    bool IsLeadByte(unsigned char byte) const { return m_lead[byte]; }
    bool IsLeadByte(char byte) const { return m_lead[static_cast<unsigned char>(byte)]; }
    int Number() const { return m_number; }
    bool HasLeadBytes() const;

private:
    CodePage() = default;

    std::array<bool, 256> m_lead{};
    int m_number = 0;
};

// Whole-string equality without regard to letter case, as file names compare: ASCII letters, and
// in code page 932 also the full-width Latin letters, fold; the second byte of a double-byte
// character is never folded. Uses the active rule.
bool EqualNoCaseMbcs(std::string_view a, std::string_view b);
// The text with every letter folded by the same rule, for keys that must match as the above.
std::string FoldCaseMbcs(std::string_view text);
// How many bytes of the text fit into limit bytes without cutting a double-byte character.
int FitWholeCharacters(std::string_view text, int limit);
// Index of the last byte equal to ch that is a character of its own; -1 if none.
int ReverseFindMbcs(std::string_view text, char ch);
// First occurrence of what at or after start (on a character boundary), never beginning on the
// second byte of a double-byte character of the rule; -1 if none.
int FindMbcs(std::string_view text, std::string_view what, int start = 0,
             const CodePage& rule = CodePage::Active());
