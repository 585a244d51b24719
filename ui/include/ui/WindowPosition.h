#pragma once

#include "registry/WindowSettings.h"

#include <optional>

class CWnd;

// Where the main window opens and what it remembers of its moves.
namespace window_position {
// The stored position, pulled back onto the screen; a window that would open in the very corner
// is centred instead.
void Restore(CWnd& window, const window_settings::Position& stored);
// Where the window stands, when that is a place to keep: only a shown window that is not
// minimised stands where the user put it (hiding and minimising move it too, a minimised one to
// -32000, -32000).
std::optional<window_settings::Position> ToKeep(CWnd& window);
} // namespace window_position
