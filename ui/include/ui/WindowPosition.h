#pragma once

#include "registry/WindowSettings.h"

class CWnd;

// Where the main window opens and what it remembers of its moves.
class WindowPosition {
public:
    // The stored position, pulled back onto the screen; a window that would open in the very
    // corner is centred instead.
    static void Restore(CWnd& window, const WindowSettings::Position& stored);
    // Only a visible window's moves are kept: hiding and minimising move it too.
    static void Save(CWnd& window);
};
