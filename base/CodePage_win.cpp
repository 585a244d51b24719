#include "base/CodePage.h"

#include <windows.h>

CodePage CodePage::FromSystem() {
    CodePage rule;
    rule.m_number = static_cast<int>(GetACP());
    for (int b = 0; b < 256; ++b)
        rule.m_lead[b] = IsDBCSLeadByteEx(CP_ACP, static_cast<BYTE>(b)) != FALSE;
    return rule;
}
