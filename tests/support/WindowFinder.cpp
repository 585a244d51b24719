#include "WindowFinder.h"

#include "res/resource.h"
#include "ui/HandOff.h"

#include <commctrl.h>

namespace testfiles {

std::vector<HWND> ProgramDialogs() {
    std::vector<HWND> found;
    for (HWND window = nullptr; (window = FindWindowExA(nullptr, window, "#32770", "Revtally"));)
        found.push_back(window);
    return found;
}

std::vector<HWND> MainWindows(Shown shown, DWORD processId) {
    std::vector<HWND> found;
    for (HWND window : FindRunningWindows()) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if ((processId == 0 || owner == processId) &&
            (shown == Shown::kAny || IsWindowVisible(window)))
            found.push_back(window);
    }
    return found;
}

HWND WaitForMainWindow(HANDLE process, unsigned limitMs, unsigned stepMs) {
    HWND window = nullptr;
    Eventually(
        [&] {
            const std::vector<HWND> windows = MainWindows(Shown::kOnly, GetProcessId(process));
            window = windows.empty() ? nullptr : windows[0];
            return window || WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
        },
        limitMs, stepMs);
    return window;
}

unsigned long ListedRows(HWND window) {
    DWORD_PTR rows = 0;
    if (!SendMessageTimeoutA(GetDlgItem(window, IDC_PROJECT_LIST), LVM_GETITEMCOUNT, 0, 0,
                             SMTO_ABORTIFHUNG, 10000, &rows))
        return 0;
    return static_cast<unsigned long>(rows);
}

HWND MessageBoxOf(DWORD processId) {
    for (HWND window : ProgramDialogs()) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == processId && !GetDlgItem(window, IDC_PROJECT_LIST) && IsWindowVisible(window))
            return window;
    }
    return nullptr;
}

std::wstring MessageBoxText(HWND box) {
    std::wstring text;
    for (HWND child = nullptr; (child = FindWindowExW(box, child, L"Static", nullptr));) {
        wchar_t buffer[1024];
        text.append(buffer, static_cast<size_t>(GetWindowTextW(child, buffer, 1024)));
    }
    return text;
}

bool EndAndWait(HWND window, UINT message, WPARAM wParam, DWORD limitMs) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, owner);
    if (!process)
        return false;
    PostMessageA(window, message, wParam, 0);
    const bool ended = WaitForSingleObject(process, limitMs) == WAIT_OBJECT_0;
    CloseHandle(process);
    return ended;
}

} // namespace testfiles
