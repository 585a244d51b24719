#pragma once

#include "framework/CString.h"

class ProfileStore;

// Where the main window stood and how wide the list's columns were, in the INI file's sections
// "WINDOW" and "LISTCONTROL" (a column's width under "HEADER_WIDTH" and its index).
class WindowSettings {
public:
    static int ReadColumnWidth(const ProfileStore& profile, int column, int defaultWidth);
    static void WriteColumnWidth(ProfileStore& profile, int column, int width);

    struct Position {
        int left = 0;
        int top = 0;
    };
    static Position ReadPosition(const ProfileStore& profile);
    static void WritePosition(ProfileStore& profile, Position position);

    // The bounds of a restore on a screen of that size: left between -50 and right - 50 (below
    // -50 counts as 0), top between 0 and bottom - 100.
    static Position ClampPosition(Position stored, int screenRight, int screenBottom);
    // A window restored to the very corner is centred instead.
    static bool IsCorner(Position position) { return position.left == 0 && position.top == 0; }

private:
    static CString WidthKey(int column);
};
