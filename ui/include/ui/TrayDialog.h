#pragma once

#include "framework/CDialog.h"
#include "ui/TrayIcon.h"

// A dialog that can live in the notification area. Minimised it hides (in tray mode and outside
// it); in tray mode it hides at its first showing and by its hide timer, its icon's menu and
// double-click bring it back, and the icon returns when the task bar is started again. The
// minimised window paints the program icon.
class TrayDialog : public CDialog {
public:
    TrayDialog(UINT templateId, bool trayMode, CWnd* parent = nullptr);

    bool IsTrayMode() const { return m_trayMode; }

protected:
    const MessageMap* GetMessageMap() const override;

    // In tray mode: the icon goes into the notification area and the window hides shortly.
    void StartInTray();
    void RemoveTrayIcon() { m_trayIcon.Remove(m_hWnd); }

    void OnSize(UINT type, int width, int height);
    void OnShowWindow(BOOL show, UINT status);
    LRESULT OnTrayNotify(WPARAM wParam, LPARAM lParam);
    LRESULT OnTaskbarCreated(WPARAM wParam, LPARAM lParam);
    LRESULT OnQueryDragIcon(WPARAM wParam, LPARAM lParam);
    void OnTimer(UINT_PTR id);
    void OnPaint();
    void OnTrayShow();

    HICON m_hIcon;

private:
    const bool m_trayMode;
    BOOL m_firstShow = TRUE;
    TrayIcon m_trayIcon;

    static const MessageMapEntry kMessageEntries[];

protected:
    // The base of a derived dialog's map.
    static const MessageMap kMessageMap;
};
