#include "framework/AfxMessageBox.h"

#include "base/CWinApp.h"
#include "framework/CWnd.h"
#include "framework/Win32Text.h"

#include <vector>

namespace {
MessageBoxHook g_hook = nullptr;
} // namespace

MessageBoxHook AfxSetMessageBoxHook(MessageBoxHook hook) {
    const MessageBoxHook previous = g_hook;
    g_hook = hook;
    return previous;
}

int AfxMessageBox(const std::wstring& text, UINT type) {
    if ((type & MB_ICONMASK) == 0)
        type |= MB_ICONEXCLAMATION;
    if (g_hook)
        return g_hook(text, type);
    CWinApp* app = AfxGetApp();
    HWND owner = GetActiveWindow();
    if (!owner && app && app->m_pMainWnd)
        owner = app->m_pMainWnd->m_hWnd;
    const std::wstring caption = AnsiToWide(app ? app->m_pszAppName : CString());
    return MessageBoxW(owner, text.c_str(), caption.c_str(), type);
}

std::wstring AfxFormatMessage(const std::wstring& pattern,
                              std::initializer_list<std::wstring> arguments) {
    const std::vector<std::wstring> values(arguments);
    std::wstring out;
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == L'%' && i + 1 < pattern.size() && pattern[i + 1] >= L'1' &&
            pattern[i + 1] <= L'9') {
            const size_t index = static_cast<size_t>(pattern[i + 1] - L'1');
            if (index < values.size())
                out += values[index];
            ++i;
            continue;
        }
        out += pattern[i];
    }
    return out;
}
