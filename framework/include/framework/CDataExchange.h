#pragma once

#include <windows.h>

class CWnd;

// One run of a dialog's data exchange: towards the controls, or back into the members with
// validation. A failed field has already told the user; Fail() puts the focus on it and stops the
// run with CUserException.
class CDataExchange {
public:
    CDataExchange(CWnd* dialog, BOOL saveAndValidate)
        : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog) {}

    HWND PrepareCtrl(int id);
    HWND PrepareEditCtrl(int id);
    [[noreturn]] void Fail();

    // The int member the last DDX_Text stored and its value before, so that a range check that
    // refuses the new value can put the old one back.
    void NoteIntStored(int* member, int previous) {
        m_lastIntMember = member;
        m_lastIntPrevious = previous;
    }
    void RestoreLastInt();
    HWND LastControl() const { return m_lastControl; }

    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;

private:
    HWND m_lastControl = nullptr;
    bool m_lastIsEdit = false;
    int* m_lastIntMember = nullptr;
    int m_lastIntPrevious = 0;
};
