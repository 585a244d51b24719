#pragma once

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include <windows.h>

// The program's windows as another process finds them, and the waiting for them.
namespace testfiles {

// Milliseconds on a steady clock, for bounds and for the figures of the probes.
inline double NowMs() {
    return std::chrono::duration<double, std::milli>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Polls until the condition holds and says whether it did. The bound is generous, only so that a
// fault cannot hang a run; it is no timing.
template <typename Condition>
bool Eventually(Condition condition, unsigned limitMs = 30000, unsigned stepMs = 50) {
    for (const double deadline = NowMs() + limitMs; NowMs() < deadline;) {
        if (condition())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(stepMs));
    }
    return condition();
}

enum class Shown { kAny, kOnly };

// Every top-level dialog captioned "Revtally": the main windows and their message boxes.
std::vector<HWND> ProgramDialogs();

// The main windows, those holding the project list, of every process or of processId's. A shown
// one has run its initialisation: the dialog shows itself only after that.
std::vector<HWND> MainWindows(Shown shown = Shown::kAny, DWORD processId = 0);

// The process's first shown main window once it is there; nullptr when the process ended first or
// the time ran out.
HWND WaitForMainWindow(HANDLE process, unsigned limitMs, unsigned stepMs = 50);

// The rows of the main window's list; 0 when the window does not answer.
unsigned long ListedRows(HWND window);

// A shown message box of the process (a dialog with the program's caption, not a main window).
HWND MessageBoxOf(DWORD processId);
// What the box says: the texts of its static controls.
std::wstring MessageBoxText(HWND box);

// Posts the message and says whether the window's process ended within limitMs.
bool EndAndWait(HWND window, UINT message, WPARAM wParam, DWORD limitMs);

} // namespace testfiles
