#include "ui/TrayDialog.h"

#include "res/resource.h"

namespace {
constexpr UINT_PTR kHideTimer = 13;
constexpr UINT kHideTimerPeriod = 10;

// Sent to every top-level window when the task bar starts again (after a crash of the shell), so
// that tray icons can be put back.
const UINT kTaskbarCreatedMessage = RegisterWindowMessageA("TaskbarCreated");
} // namespace

// clang-format off
const MessageMapEntry TrayDialog::kMessageEntries[] = {
    OnSizeMessage(&TrayDialog::OnSize),
    OnShowWindowMessage(&TrayDialog::OnShowWindow),
    OnMessage(WM_TRAY_NOTIFY, &TrayDialog::OnTrayNotify),
    OnMessage(kTaskbarCreatedMessage, &TrayDialog::OnTaskbarCreated),
    OnMessage(WM_QUERYDRAGICON, &TrayDialog::OnQueryDragIcon),
    OnTimerMessage(&TrayDialog::OnTimer),
    OnPaintMessage(&TrayDialog::OnPaint),
    OnCommand(ID_TRAY_SHOW, 0, &TrayDialog::OnTrayShow),
};
// clang-format on
const MessageMap TrayDialog::kMessageMap = {nullptr, kMessageEntries,
                                            sizeof kMessageEntries / sizeof kMessageEntries[0]};

const MessageMap* TrayDialog::GetMessageMap() const {
    return &kMessageMap;
}

TrayDialog::TrayDialog(UINT templateId, bool trayMode, CWnd* parent)
    : CDialog(templateId, parent),
      m_hIcon(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME))),
      m_trayMode(trayMode), m_trayIcon(m_hIcon) {}

void TrayDialog::StartInTray() {
    if (!m_trayMode)
        return;
    m_trayIcon.Add(m_hWnd);
    SetTimer(m_hWnd, kHideTimer, kHideTimerPeriod, nullptr);
}

void TrayDialog::OnSize(UINT type, int, int) {
    if (type == SIZE_MINIMIZED)
        ShowWindow(SW_HIDE);
}

void TrayDialog::OnShowWindow(BOOL, UINT) {
    if (m_trayMode && m_firstShow) {
        m_firstShow = FALSE;
        ShowWindow(SW_MINIMIZE);
    }
}

LRESULT TrayDialog::OnTrayNotify(WPARAM, LPARAM lParam) {
    m_trayIcon.OnNotify(m_hWnd, lParam);
    return 0;
}

LRESULT TrayDialog::OnTaskbarCreated(WPARAM, LPARAM) {
    if (m_trayMode)
        m_trayIcon.Add(m_hWnd);
    return 0;
}

LRESULT TrayDialog::OnQueryDragIcon(WPARAM, LPARAM) {
    return reinterpret_cast<LRESULT>(m_hIcon);
}

void TrayDialog::OnTimer(UINT_PTR id) {
    if (id == kHideTimer) {
        ShowWindow(SW_HIDE);
        KillTimer(m_hWnd, kHideTimer);
    }
    Default();
}

void TrayDialog::OnPaint() {
    if (!IsIconic(m_hWnd)) {
        Default();
        return;
    }
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(m_hWnd, &paint);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RECT client{};
    GetClientRect(m_hWnd, &client);
    const int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
    DrawIcon(dc, x, y, m_hIcon);
    EndPaint(m_hWnd, &paint);
}

void TrayDialog::OnTrayShow() {
    ShowWindow(SW_RESTORE);
}
