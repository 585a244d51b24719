#pragma once

#include <vector>

#include <windows.h>

// The program's windows as another process finds them.
namespace testfiles {

enum class Shown { kAny, kOnly };

// Every top-level dialog captioned "Revtally": the main windows and their message boxes.
std::vector<HWND> ProgramDialogs();

// The main windows, those holding the project list, of every process or of processId's. A shown
// one has run its initialisation: the dialog shows itself only after that.
std::vector<HWND> MainWindows(Shown shown = Shown::kAny, DWORD processId = 0);

// The rows of the main window's list; 0 when the window does not answer.
unsigned long ListedRows(HWND window);

// Posts the message and says whether the window's process ended within limitMs.
bool EndAndWait(HWND window, UINT message, WPARAM wParam, DWORD limitMs);

} // namespace testfiles
