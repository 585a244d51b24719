#include "framework/CFileDialog.h"

#include "base/CWinApp.h"
#include "framework/CWnd.h"
#include "framework/LateBound.h"

#include <commdlg.h>

#include <vector>

namespace {
CFileDialog::Hook g_hook = nullptr;

// The common dialog wants NUL-separated pairs ending in two NULs.
std::vector<char> FilterPairs(const CString& filter) {
    std::vector<char> pairs;
    for (int i = 0; i < filter.GetLength(); ++i)
        pairs.push_back(filter[i] == '|' ? '\0' : filter[i]);
    pairs.push_back('\0');
    pairs.push_back('\0');
    return pairs;
}
} // namespace

CFileDialog::CFileDialog(BOOL openFileDialog, const char* defaultExtension, const char* fileName,
                         DWORD flags, const char* filter, CWnd* parent)
    : m_open(openFileDialog), m_defaultExtension(defaultExtension), m_fileName(fileName),
      m_flags(flags), m_filter(filter), m_parent(parent) {}

CFileDialog::Hook CFileDialog::SetHook(Hook hook) {
    const Hook previous = g_hook;
    g_hook = hook;
    return previous;
}

INT_PTR CFileDialog::DoModal() {
    HWND owner = m_parent ? m_parent->m_hWnd : nullptr;
    if (!owner && AfxGetApp() && AfxGetApp()->m_pMainWnd)
        owner = AfxGetApp()->m_pMainWnd->m_hWnd;
    if (g_hook) {
        CString path;
        const INT_PTR result = g_hook(owner, path);
        if (result == IDOK)
            m_pathName = path;
        return result;
    }
    std::vector<char> file(32768, '\0');
    for (int i = 0; i < m_fileName.GetLength() && i + 1 < static_cast<int>(file.size()); ++i)
        file[static_cast<size_t>(i)] = m_fileName[i];
    const std::vector<char> filter = FilterPairs(m_filter);
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = m_filter.IsEmpty() ? nullptr : filter.data();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrDefExt = m_defaultExtension.IsEmpty() ? nullptr : m_defaultExtension.GetString();
    dialog.Flags = m_flags | OFN_EXPLORER | OFN_ENABLESIZING;
    const auto show = LateBound<decltype(&GetOpenFileNameA)>(
        "comdlg32.dll", m_open ? "GetOpenFileNameA" : "GetSaveFileNameA");
    const BOOL chosen = show && show(&dialog);
    if (!chosen)
        return IDCANCEL;
    m_pathName = file.data();
    return IDOK;
}
