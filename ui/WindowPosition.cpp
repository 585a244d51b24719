#include "ui/WindowPosition.h"

#include "framework/CWnd.h"
#include "registry/WindowSettings.h"

void WindowPosition::Restore(CWnd& window, const WindowSettings::Position& stored) {
    RECT screen{};
    ::GetWindowRect(GetDesktopWindow(), &screen);
    const WindowSettings::Position at =
        WindowSettings::ClampPosition(stored, screen.right, screen.bottom);
    window.SetWindowPos(nullptr, at.left, at.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    if (WindowSettings::IsCorner(at))
        window.CenterWindow();
}

std::optional<WindowSettings::Position> WindowPosition::ToKeep(CWnd& window) {
    if (!window.IsWindowVisible() || IsIconic(window.m_hWnd))
        return std::nullopt;
    RECT rect{};
    window.GetWindowRect(&rect);
    return WindowSettings::Position{rect.left, rect.top};
}
