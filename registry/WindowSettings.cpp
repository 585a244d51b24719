#include "registry/WindowSettings.h"

#include "framework/CWinApp.h"
#include "framework/CWnd.h"

namespace {
constexpr char kWindowSection[] = "WINDOW";
constexpr char kListSection[] = "LISTCONTROL";
constexpr char kLeft[] = "LEFT";
constexpr char kTop[] = "TOP";
} // namespace

const WindowSettings::Column WindowSettings::kColumns[kColumnCount] = {
    {"Project", 220}, {"Version", 220}, {"Build", 180}, {"Last Update", 220}, {"Directory", 320},
};

CString WindowSettings::WidthKey(int column) {
    CString key;
    key.Format("HEADER_WIDTH%d", column);
    return key;
}

int WindowSettings::ReadColumnWidth(int column) const {
    return m_app.GetProfileInt(kListSection, WidthKey(column), kColumns[column].defaultWidth);
}

void WindowSettings::WriteColumnWidth(int column, int width) const {
    m_app.WriteProfileInt(kListSection, WidthKey(column), width);
}

POINT WindowSettings::ClampPosition(int left, int top, const RECT& screen) {
    if (top < 0)
        top = 0;
    if (top > screen.bottom - 100)
        top = screen.bottom - 100;
    if (left < -50)
        left = 0;
    if (left > screen.right - 50)
        left = screen.right - 50;
    return POINT{left, top};
}

bool WindowSettings::RestorePosition(CWnd& window) const {
    RECT screen{};
    ::GetWindowRect(GetDesktopWindow(), &screen);
    const int top = m_app.GetProfileInt(kWindowSection, kTop, 0);
    const int left = m_app.GetProfileInt(kWindowSection, kLeft, 0);
    const POINT at = ClampPosition(left, top, screen);
    window.SetWindowPos(nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    return at.x == 0 && at.y == 0;
}

void WindowSettings::SavePosition(CWnd& window) const {
    if (!window.IsWindowVisible())
        return;
    RECT rect{};
    window.GetWindowRect(&rect);
    m_app.WriteProfileInt(kWindowSection, kLeft, rect.left);
    m_app.WriteProfileInt(kWindowSection, kTop, rect.top);
}
