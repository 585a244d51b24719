#pragma once

#include "base/CString.h"
#include "framework/CWnd.h"

#include <string>

#include <commctrl.h>

// A report-view list control, with the item texts in the program's ANSI code page.
class CListCtrl : public CWnd {
public:
    int GetItemCount() const;
    int InsertColumn(int column, const std::wstring& heading, int format, int width, int subItem);
    BOOL SetColumnWidth(int column, int width);
    int GetColumnWidth(int column) const;
    // Columns as the list's header counts them.
    int GetColumnCount() const;

    int InsertItem(int index, const CString& text);
    BOOL SetItemText(int index, int subItem, const CString& text);
    CString GetItemText(int index, int subItem) const;
    BOOL SetItemData(int index, DWORD_PTR data);
    BOOL SetItemState(int index, UINT state, UINT mask);
    UINT GetItemState(int index, UINT mask) const;
    BOOL DeleteItem(int index);
    BOOL DeleteAllItems();
};
