#pragma once

// A function of a system library, looked up the first time it is asked for. Only the window uses
// comctl32, comdlg32, shell32 and version: linked at load time, every start would load them, a
// stamping run included, which needs none. nullptr when the system lacks the function.
void* LateBoundAddress(const char* library, const char* name);

// Pointer: the function's pointer type, decltype(&ShellExecuteA) say.
template <typename Pointer> Pointer LateBound(const char* library, const char* name) {
    return reinterpret_cast<Pointer>(LateBoundAddress(library, name));
}
