#pragma once

#include "framework/CString.h"

#include <windows.h>

class CWinApp;
class CWnd;

// Where the main window stood and how wide the list's columns were, in the INI file's sections
// "WINDOW" and "LISTCONTROL".
class WindowSettings {
public:
    struct Column {
        const char* title;
        int defaultWidth;
    };
    static constexpr int kColumnCount = 5;
    static const Column kColumns[kColumnCount];

    explicit WindowSettings(CWinApp& app) : m_app(app) {}

    int ReadColumnWidth(int column) const;
    void WriteColumnWidth(int column, int width) const;

    // Moves the window to the stored position, pulled back onto the screen. Returns true when the
    // result is the very corner 0, 0, where the window is centred instead.
    bool RestorePosition(CWnd& window) const;
    // Writes the position of a visible window; a hidden one writes nothing.
    void SavePosition(CWnd& window) const;

    // The bounds of a restore: left between -50 and right - 50 (below -50 counts as 0), top
    // between 0 and bottom - 100.
    static POINT ClampPosition(int left, int top, const RECT& screen);

private:
    static CString WidthKey(int column);

    CWinApp& m_app;
};
