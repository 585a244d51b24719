#pragma once

#include <windows.h>

#include <shellapi.h>

// The program's icon in the notification area while it runs in tray mode: its tip is the
// application name, a click opens the tray menu, a double-click brings the window back. The shell
// tells the owner window of mouse actions on it with WM_TRAY_NOTIFY.
class TrayIcon {
public:
    explicit TrayIcon(HICON icon) : m_icon(icon) {}

    void Add(HWND owner);
    // Only an icon that was added: a window that never had one loads no shell to remove it.
    void Remove(HWND owner);
    // The shell's mouse message (lParam of kNotifyMessage).
    void OnNotify(HWND owner, LPARAM mouseMessage) const;

    // The record the shell is given, the same for adding and removing. Its tip holds what fits
    // the tip field of the record's size, never cut inside a character.
    NOTIFYICONDATAA MakeRecord(HWND owner) const;

private:
    bool Notify(DWORD message, HWND owner) const;

    HICON m_icon;
    bool m_added = false;
};
