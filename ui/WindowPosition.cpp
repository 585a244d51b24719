#include "ui/WindowPosition.h"

#include "framework/CWnd.h"
#include "registry/WindowSettings.h"

void window_position::Restore(CWnd& window, const window_settings::Position& stored) {
    RECT screen{};
    ::GetWindowRect(GetDesktopWindow(), &screen);
    const window_settings::Position at =
        window_settings::ClampPosition(stored, screen.right, screen.bottom);
    window.SetWindowPos(nullptr, at.left, at.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    if (window_settings::IsCorner(at))
        window.CenterWindow();
}

std::optional<window_settings::Position> window_position::ToKeep(CWnd& window) {
    if (!window.IsWindowVisible() || IsIconic(window.m_hWnd))
        return std::nullopt;
    RECT rect{};
    window.GetWindowRect(&rect);
    return window_settings::Position{rect.left, rect.top};
}
