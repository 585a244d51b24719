#pragma once

#include "base/CString.h"

class IniDocument;

// Where the main window stood and how wide the list's columns were, in the INI file's sections
// "WINDOW" and "LISTCONTROL" (a column's width under "HEADER_WIDTH" and its index).
namespace window_settings {
int ReadColumnWidth(const IniDocument& profile, int column, int defaultWidth);
void WriteColumnWidth(IniDocument& profile, int column, int width);

struct Position {
    int left = 0;
    int top = 0;
};
Position ReadPosition(const IniDocument& profile);
void WritePosition(IniDocument& profile, Position position);

// The bounds of a restore on a screen of that size: left between -50 and right - 50 (below -50
// counts as 0), top between 0 and bottom - 100.
Position ClampPosition(Position stored, int screenRight, int screenBottom);
// A window restored to the very corner is centred instead.
inline bool IsCorner(Position position) {
    return position.left == 0 && position.top == 0;
}
} // namespace window_settings
