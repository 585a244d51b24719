#include "ui/WindowPosition.h"

#include "framework/AppProfileStore.h"
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

void WindowPosition::Save(CWnd& window) {
    if (!window.IsWindowVisible())
        return;
    RECT rect{};
    window.GetWindowRect(&rect);
    AppProfileStore profile(*AfxGetApp());
    WindowSettings::WritePosition(profile, {rect.left, rect.top});
}
