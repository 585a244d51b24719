#include "base/CodePage.h"

#include <string>
#include <string_view>

namespace {
CodePage& ActiveSlot() {
    static CodePage active = CodePage::FromSystem();
    return active;
}
} // namespace

CodePage CodePage::SingleByte() {
    CodePage rule;
    rule.m_number = 0;
    return rule;
}

CodePage CodePage::Cp932() {
    CodePage rule;
    rule.m_number = 932;
    for (int b = 0x81; b <= 0x9F; ++b)
        rule.m_lead[b] = true;
    for (int b = 0xE0; b <= 0xFC; ++b)
        rule.m_lead[b] = true;
    return rule;
}

CodePage CodePage::FromLocaleName(std::string_view name) {
    // language[_territory][.codeset][@modifier]; codesets compare without case, '-' or '_'.
    const size_t dot = name.find('.');
    if (dot == std::string_view::npos)
        return SingleByte();
    std::string codeset;
    for (const char ch : name.substr(dot + 1, name.find('@', dot) - dot - 1)) {
        if (ch != '-' && ch != '_')
            codeset += static_cast<char>(ch >= 'a' && ch <= 'z' ? ch - 'a' + 'A' : ch);
    }
    for (const char* shiftJis : {"SJIS", "SHIFTJIS", "CP932", "WINDOWS31J", "MS932"}) {
        if (codeset == shiftJis)
            return Cp932();
    }
    return SingleByte();
}

const CodePage& CodePage::Active() {
    return ActiveSlot();
}

CodePage CodePage::SetActive(const CodePage& rule) {
    CodePage previous = ActiveSlot();
    ActiveSlot() = rule;
    return previous;
}

bool CodePage::HasLeadBytes() const {
    for (bool lead : m_lead)
        if (lead)
            return true;
    return false;
}

namespace {
// One character folded to lower case; advances i past it.
unsigned FoldedCharacter(std::string_view text, size_t& i, const CodePage& codePage) {
    const unsigned char first = static_cast<unsigned char>(text[i++]);
    if (codePage.IsLeadByte(first) && i < text.size()) {
        unsigned char second = static_cast<unsigned char>(text[i++]);
        // Full-width A to Z (0x8260 to 0x8279) and a to z (0x8281 to 0x829A).
        if (codePage.Number() == 932 && first == 0x82 && second >= 0x60 && second <= 0x79)
            second = static_cast<unsigned char>(second + 0x21);
        return (static_cast<unsigned>(first) << 8) | second;
    }
    return (first >= 'A' && first <= 'Z') ? first + ('a' - 'A') : first;
}
} // namespace

bool EqualNoCaseMbcs(std::string_view a, std::string_view b) {
    const CodePage& codePage = CodePage::Active();
    size_t i = 0;
    size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (FoldedCharacter(a, i, codePage) != FoldedCharacter(b, j, codePage))
            return false;
    }
    return i == a.size() && j == b.size();
}

std::string FoldCaseMbcs(std::string_view text) {
    const CodePage& codePage = CodePage::Active();
    std::string folded;
    folded.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        const size_t start = i;
        const unsigned character = FoldedCharacter(text, i, codePage);
        if (i - start == 2)
            folded += static_cast<char>(character >> 8);
        folded += static_cast<char>(character & 0xFF);
    }
    return folded;
}

int FitWholeCharacters(std::string_view text, int limit) {
    const CodePage& codePage = CodePage::Active();
    int length = 0;
    const int size = static_cast<int>(text.size());
    while (length < size) {
        const int width =
            codePage.IsLeadByte(text[static_cast<size_t>(length)]) && length + 1 < size ? 2 : 1;
        if (length + width > limit)
            break;
        length += width;
    }
    return length;
}

int ReverseFindMbcs(std::string_view text, char ch) {
    const CodePage& codePage = CodePage::Active();
    if (!codePage.HasLeadBytes()) {
        const size_t at = text.rfind(ch);
        return at == std::string_view::npos ? -1 : static_cast<int>(at);
    }
    int last = -1;
    for (size_t i = 0; i < text.size(); ++i) {
        if (codePage.IsLeadByte(text[i]) && i + 1 < text.size()) {
            ++i;
            continue;
        }
        if (text[i] == ch)
            last = static_cast<int>(i);
    }
    return last;
}

int FindMbcs(std::string_view text, std::string_view what, int start, const CodePage& codePage) {
    if (start < 0 || static_cast<size_t>(start) > text.size())
        return -1;
    const bool singleByte = !codePage.HasLeadBytes();
    const size_t floor = static_cast<size_t>(start);
    for (size_t from = floor;;) {
        const size_t candidate = text.find(what, from);
        if (candidate == std::string_view::npos)
            return -1;
        if (singleByte)
            return static_cast<int>(candidate);
        // The byte before the nearest non-lead byte ends a character, so a character starts right
        // after it; from there the lead bytes pair up. An odd count of lead bytes just before the
        // candidate means it is the second byte of a pair. This looks back a few bytes instead of
        // walking the whole text from its start.
        size_t leads = 0;
        while (candidate - leads > floor && codePage.IsLeadByte(text[candidate - leads - 1]))
            ++leads;
        if (leads % 2 == 0)
            return static_cast<int>(candidate);
        from = candidate + 1;
    }
}
