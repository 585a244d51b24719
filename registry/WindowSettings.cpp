#include "registry/WindowSettings.h"

#include "base/IniDocument.h"

namespace {
constexpr char kWindowSection[] = "WINDOW";
constexpr char kListSection[] = "LISTCONTROL";
constexpr char kLeft[] = "LEFT";
constexpr char kTop[] = "TOP";

CString WidthKey(int column) {
    CString key;
    key.Format("HEADER_WIDTH%d", column);
    return key;
}
} // namespace

int window_settings::ReadColumnWidth(const IniDocument& profile, int column, int defaultWidth) {
    return profile.ReadInt(kListSection, WidthKey(column), defaultWidth);
}

void window_settings::WriteColumnWidth(IniDocument& profile, int column, int width) {
    profile.WriteInt(kListSection, WidthKey(column), width);
}

window_settings::Position window_settings::ReadPosition(const IniDocument& profile) {
    return Position{profile.ReadInt(kWindowSection, kLeft, 0),
                    profile.ReadInt(kWindowSection, kTop, 0)};
}

void window_settings::WritePosition(IniDocument& profile, Position position) {
    profile.WriteInt(kWindowSection, kLeft, position.left);
    profile.WriteInt(kWindowSection, kTop, position.top);
}

window_settings::Position window_settings::ClampPosition(Position at, int screenRight,
                                                         int screenBottom) {
    if (at.top < 0)
        at.top = 0;
    if (at.top > screenBottom - 100)
        at.top = screenBottom - 100;
    if (at.left < -50)
        at.left = 0;
    if (at.left > screenRight - 50)
        at.left = screenRight - 50;
    return at;
}
