#include "CodePage.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <clocale>
#include <string>
#include <cstring>
#include <langinfo.h>
#include <strings.h>
#endif

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

CodePage CodePage::FromSystem() {
#ifdef _WIN32
    CodePage rule;
    rule.m_number = static_cast<int>(GetACP());
    for (int b = 0; b < 256; ++b)
        rule.m_lead[b] = IsDBCSLeadByteEx(CP_ACP, static_cast<BYTE>(b)) != FALSE;
    return rule;
#else
    // Only the character type matters here; the rest of the locale stays "C".
    const char* previous = std::setlocale(LC_CTYPE, nullptr);
    std::string saved = previous ? previous : "C";
    std::setlocale(LC_CTYPE, "");
    const char* codeset = nl_langinfo(CODESET);
    const bool sjis =
        codeset && (strcasecmp(codeset, "SHIFT_JIS") == 0 || strcasecmp(codeset, "SJIS") == 0 ||
                    strcasecmp(codeset, "CP932") == 0 || strcasecmp(codeset, "WINDOWS-31J") == 0);
    std::setlocale(LC_CTYPE, saved.c_str());
    return sjis ? Cp932() : SingleByte();
#endif
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
