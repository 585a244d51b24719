#include "framework/DataExchange.h"

#include "framework/AfxMessageBox.h"
#include "framework/CWnd.h"
#include "framework/FrameworkIds.h"
#include "base/IntegerText.h"
#include "framework/ProgramResources.h"
#include "framework/Win32Text.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {
CString WindowText(HWND control) {
    const int length = GetWindowTextLengthA(control);
    std::vector<char> buffer(static_cast<size_t>(length) + 1);
    const int got = GetWindowTextA(control, buffer.data(), length + 1);
    return CString(buffer.data(), got);
}

std::wstring Number(int value) {
    return std::to_wstring(value);
}

// How a number field reads its text: blanks and tabs may stand around the number and a sign may
// lead it; anything else, a lone sign or a zero written with a sign is not a number. A run of
// digits beyond the largest int reads as that largest value (and likewise below zero).
bool ParseDialogInteger(std::string_view text, int& value) {
    constexpr std::string_view kBlanks = " \t";
    const size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return false;
    text = text.substr(first, text.find_last_not_of(kBlanks) + 1 - first);
    const bool signed_ = text.front() == '+' || text.front() == '-';
    const bool negative = signed_ && text.front() == '-';
    if (signed_)
        text.remove_prefix(1);
    const std::optional<std::uint32_t> magnitude = ParseDecimal(text);
    if (!magnitude || (signed_ && *magnitude == 0))
        return false;
    const int clamped = static_cast<int>(std::min<std::uint32_t>(*magnitude, INT_MAX));
    value = negative ? -clamped : clamped;
    return true;
}
} // namespace

void DDX_Control(CDataExchange* pDX, int id, CWnd& control) {
    if (!control.m_hWnd)
        control.m_hWnd = pDX->PrepareCtrl(id);
}

void DDX_Text(CDataExchange* pDX, int id, CString& value) {
    HWND control = pDX->PrepareEditCtrl(id);
    if (pDX->m_bSaveAndValidate)
        value = WindowText(control);
    else
        SetWindowTextA(control, value);
}

void DDX_Text(CDataExchange* pDX, int id, int& value) {
    HWND control = pDX->PrepareEditCtrl(id);
    if (!pDX->m_bSaveAndValidate) {
        CString text;
        text.Format("%d", value);
        SetWindowTextA(control, text);
        return;
    }
    int parsed = 0;
    if (!ParseDialogInteger(WindowText(control).View(), parsed)) {
        AfxMessageBox(LoadResourceString(AFX_IDP_PARSE_INT), MB_ICONEXCLAMATION);
        pDX->Fail();
    }
    pDX->NoteIntStored(&value, value);
    value = parsed;
}

void DDV_MinMaxInt(CDataExchange* pDX, int value, int minimum, int maximum) {
    if (!pDX->m_bSaveAndValidate || (value >= minimum && value <= maximum))
        return;
    AfxMessageBox(AfxFormatMessage(LoadResourceString(AFX_IDP_PARSE_INT_RANGE),
                                   {Number(minimum), Number(maximum)}),
                  MB_ICONEXCLAMATION);
    pDX->RestoreLastInt();
    pDX->Fail();
}

void DDV_MaxChars(CDataExchange* pDX, const CString& value, int maximum) {
    if (!pDX->m_bSaveAndValidate) {
        // The edit itself refuses longer input from then on.
        SendMessageA(pDX->LastControl(), EM_LIMITTEXT, static_cast<WPARAM>(maximum), 0);
    } else {
        if (value.GetLength() > maximum) {
            AfxMessageBox(
                AfxFormatMessage(LoadResourceString(AFX_IDP_PARSE_STRING_SIZE), {Number(maximum)}),
                MB_ICONEXCLAMATION);
            pDX->Fail();
        }
    }
}
