#include "framework/CDataExchange.h"

#include "framework/CUserException.h"
#include "framework/CWnd.h"

HWND CDataExchange::PrepareCtrl(int id) {
    m_lastControl = m_pDlgWnd->GetDlgItem(id);
    m_lastIsEdit = false;
    m_lastIntMember = nullptr;
    return m_lastControl;
}

HWND CDataExchange::PrepareEditCtrl(int id) {
    PrepareCtrl(id);
    m_lastIsEdit = true;
    return m_lastControl;
}

void CDataExchange::Fail() {
    if (m_bSaveAndValidate && m_lastControl) {
        SetFocus(m_lastControl);
        if (m_lastIsEdit)
            SendMessageA(m_lastControl, EM_SETSEL, 0, -1);
    }
    throw CUserException();
}

void CDataExchange::RestoreLastInt() {
    if (m_lastIntMember)
        *m_lastIntMember = m_lastIntPrevious;
}
