#include "ui/TrayIcon.h"

#include "base/CWinApp.h"
#include "base/CodePage.h"
#include "framework/LateBound.h"
#include "framework/ProgramResources.h"
#include "res/resource.h"

#include <cstring>

namespace {
// The original (version 1) record, which every shell understands; its tip field is 64 bytes,
// the record's last field, whatever size the headers give the full structure.
constexpr size_t kRecordSize = NOTIFYICONDATAA_V1_SIZE;
constexpr int kTipBytes = static_cast<int>(kRecordSize - offsetof(NOTIFYICONDATAA, szTip));
static_assert(kTipBytes == 64, "the version 1 record ends with a 64-byte tip");
} // namespace

NOTIFYICONDATAA TrayIcon::MakeRecord(HWND owner) const {
    NOTIFYICONDATAA icon;
    std::memset(&icon, 0, sizeof icon);
    icon.cbSize = static_cast<DWORD>(kRecordSize);
    icon.hWnd = owner;
    icon.uID = 0;
    icon.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    icon.uCallbackMessage = WM_TRAY_NOTIFY;
    icon.hIcon = m_icon;
    const CString& name = AfxGetApp()->m_pszAppName;
    const int length = FitWholeCharacters(name.View(), kTipBytes - 1);
    std::memcpy(icon.szTip, name.GetString(), static_cast<size_t>(length));
    return icon;
}

void TrayIcon::Add(HWND owner) {
    // Added again when the task bar starts anew: the shell forgot the icon, the window did not.
    m_added = Notify(NIM_ADD, owner) || m_added;
}

void TrayIcon::Remove(HWND owner) {
    if (m_added)
        Notify(NIM_DELETE, owner);
    m_added = false;
}

bool TrayIcon::Notify(DWORD message, HWND owner) const {
    static const auto notify =
        LateBound<decltype(&Shell_NotifyIconA)>("shell32.dll", "Shell_NotifyIconA");
    NOTIFYICONDATAA icon = MakeRecord(owner);
    return notify && notify(message, &icon);
}

void TrayIcon::OnNotify(HWND owner, LPARAM mouseMessage) const {
    switch (static_cast<UINT>(mouseMessage)) {
    case WM_LBUTTONUP: {
        POINT cursor{};
        GetCursorPos(&cursor);
        SetForegroundWindow(owner);
        const ProgramResource menuTemplate = FindProgramResource(RT_MENU, IDR_TRAY_MENU);
        if (HMENU menu = menuTemplate.data ? LoadMenuIndirectA(menuTemplate.data) : nullptr) {
            TrackPopupMenu(GetSubMenu(menu, 0), TPM_RIGHTALIGN | TPM_LEFTBUTTON, cursor.x, cursor.y,
                           0, owner, nullptr);
            DestroyMenu(menu);
        }
        // Without it the menu of a window in the background may not close when clicked away.
        PostMessageA(owner, WM_NULL, 0, 0);
        break;
    }
    case WM_LBUTTONDBLCLK:
        ShowWindow(owner, SW_RESTORE);
        break;
    default:
        break;
    }
}
