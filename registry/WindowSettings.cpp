#include "registry/WindowSettings.h"

#include "framework/ProfileStore.h"

namespace {
constexpr char kWindowSection[] = "WINDOW";
constexpr char kListSection[] = "LISTCONTROL";
constexpr char kLeft[] = "LEFT";
constexpr char kTop[] = "TOP";
} // namespace

CString WindowSettings::WidthKey(int column) {
    CString key;
    key.Format("HEADER_WIDTH%d", column);
    return key;
}

int WindowSettings::ReadColumnWidth(const ProfileStore& profile, int column, int defaultWidth) {
    return profile.ReadInt(kListSection, WidthKey(column), defaultWidth);
}

void WindowSettings::WriteColumnWidth(ProfileStore& profile, int column, int width) {
    profile.WriteInt(kListSection, WidthKey(column), width);
}

WindowSettings::Position WindowSettings::ReadPosition(const ProfileStore& profile) {
    return Position{profile.ReadInt(kWindowSection, kLeft, 0),
                    profile.ReadInt(kWindowSection, kTop, 0)};
}

void WindowSettings::WritePosition(ProfileStore& profile, Position position) {
    profile.WriteInt(kWindowSection, kLeft, position.left);
    profile.WriteInt(kWindowSection, kTop, position.top);
}

WindowSettings::Position WindowSettings::ClampPosition(Position at, int screenRight,
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
