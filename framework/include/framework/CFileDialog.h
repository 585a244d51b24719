#pragma once

#include "base/CString.h"

#include <windows.h>

#include <commdlg.h>

class CWnd;

// The system's file-open (or save) dialog. The filter is written as "Name|pattern|Name|pattern||".
class CFileDialog {
public:
    CFileDialog(BOOL openFileDialog, const char* defaultExtension = nullptr,
                const char* fileName = nullptr, DWORD flags = OFN_HIDEREADONLY,
                const char* filter = nullptr, CWnd* parent = nullptr);

    INT_PTR DoModal();
    CString GetPathName() const { return m_pathName; }

    // Tests answer in place of the user: the function gets the dialog's owner and gives IDOK with
    // a path, or IDCANCEL. nullptr restores the real dialog. Returns the previous one.
    using Hook = INT_PTR (*)(HWND owner, CString& path);
    static Hook SetHook(Hook hook);

private:
    BOOL m_open;
    CString m_defaultExtension;
    CString m_fileName;
    DWORD m_flags;
    CString m_filter;
    CWnd* m_parent;
    CString m_pathName;
};
