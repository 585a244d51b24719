#include "framework/CWnd.h"

#include "framework/LateBound.h"

namespace {
constexpr UINT kDefaultDpi = 96;
} // namespace

UINT CWnd::GetDpi() const {
    // Looked up at run time: the program also runs on systems older than the function.
    static const auto function = LateBound<UINT(WINAPI*)(HWND)>("user32.dll", "GetDpiForWindow");
    if (function) {
        if (const UINT dpi = function(m_hWnd))
            return dpi;
    }
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen)
        ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : kDefaultDpi;
}

void CWnd::CenterWindow() {
    RECT area{};
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (GetMonitorInfoA(MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTOPRIMARY), &monitor))
        area = monitor.rcWork;
    else
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    RECT window{};
    GetWindowRect(&window);
    const int width = window.right - window.left;
    const int height = window.bottom - window.top;
    int x = area.left + (area.right - area.left - width) / 2;
    int y = area.top + (area.bottom - area.top - height) / 2;
    // Keep the caption on the screen when the window is larger than the work area.
    if (x < area.left)
        x = area.left;
    if (y < area.top)
        y = area.top;
    SetWindowPos(nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWnd::AppendSystemMenuItem(UINT id, const std::wstring& text) {
    HMENU systemMenu = GetSystemMenu(m_hWnd, FALSE);
    if (!systemMenu || text.empty())
        return;
    AppendMenuW(systemMenu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(systemMenu, MF_STRING, id, text.c_str());
}
