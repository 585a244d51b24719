// Drives Revtally's main window from another process, as a user or a script would see it.
//
//   revtally_window_probe time PROGRAM.exe RUNS
//       starts PROGRAM RUNS times; for each run prints "start_ms close_ms rows gone_ms": process
//       start to the dialog shown, WM_CLOSE to process exit, the rows the list showed, and
//       WM_CLOSE to the window destroyed (the list saved)
//   revtally_window_probe rect [DESKTOP]
//       waits for the window and prints its frame as "left top width height"
//   revtally_window_probe close [DESKTOP]
//       closes the window and waits for its process to end
//   revtally_window_probe post MESSAGE WPARAM LPARAM [DESKTOP]
//       waits for the window, shown or hidden (in tray mode it hides itself), and posts it the
//       message
//   revtally_window_probe postto CLASS CAPTION MESSAGE WPARAM LPARAM [DESKTOP]
//       waits for a shown top-level window of that class and caption and posts it a message
//   revtally_window_probe rectof CLASS CAPTION [DESKTOP]
//       waits for a shown top-level window of that class and caption and prints its frame as
//       "left top width height"
//   revtally_window_probe gone CLASS CAPTION [DESKTOP]
//       waits until no top-level window of that class and caption is shown
//   revtally_window_probe cursor X Y [DESKTOP]
//       moves the mouse cursor to screen position X, Y
//
// CLASS and CAPTION are taken as Unicode from the command line; an empty CAPTION matches any.
// Numbers may be written in decimal or, with 0x, in hexadecimal.
//
// DESKTOP names a desktop of Wine's "explorer /desktop=NAME" to look on instead of our own.
// Exit code 0 on success, 1 when the window did not come or the program did not end in time.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>

#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

namespace {
constexpr int kProjectList = 1001;
constexpr DWORD kPatienceMs = 120000;

double NowMs() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// Shown means initialised: the dialog shows itself only once its first messages have run.
HWND FindMainWindow(DWORD processId) {
    for (HWND window = nullptr;
         (window = FindWindowExA(nullptr, window, "#32770", "Revtally")) != nullptr;) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if ((processId == 0 || owner == processId) && GetDlgItem(window, kProjectList) &&
            IsWindowVisible(window))
            return window;
    }
    return nullptr;
}

HWND WaitForMainWindow(DWORD processId, HANDLE process) {
    const double deadline = NowMs() + kPatienceMs;
    while (NowMs() < deadline) {
        if (HWND window = FindMainWindow(processId))
            return window;
        if (process && WaitForSingleObject(process, 0) == WAIT_OBJECT_0)
            return nullptr;
        Sleep(1);
    }
    return nullptr;
}

int Time(const char* program, int runs) {
    for (int run = 0; run < runs; ++run) {
        std::string commandLine = std::string("\"") + program + "\"";
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION started{};
        const double begin = NowMs();
        if (!CreateProcessA(program, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            nullptr, &startup, &started)) {
            std::fprintf(stderr, "cannot start %s (error %lu)\n", program, GetLastError());
            return 1;
        }
        CloseHandle(started.hThread);
        HWND window = WaitForMainWindow(started.dwProcessId, started.hProcess);
        const double shown = NowMs();
        DWORD_PTR rows = 0;
        if (window) {
            SendMessageTimeoutA(GetDlgItem(window, kProjectList), LVM_GETITEMCOUNT, 0, 0,
                                SMTO_ABORTIFHUNG, 10000, &rows);
            // Start timing the close from a settled window, not one still painting.
            Sleep(200);
        }
        const double closing = NowMs();
        double gone = closing;
        bool ended = window && PostMessageA(window, WM_CLOSE, 0, 0);
        // The list is saved before the window is destroyed; what follows is the process ending.
        while (ended && IsWindow(window) &&
               WaitForSingleObject(started.hProcess, 1) == WAIT_TIMEOUT &&
               NowMs() < closing + kPatienceMs)
            gone = NowMs();
        gone = NowMs();
        ended = ended && WaitForSingleObject(started.hProcess, kPatienceMs) == WAIT_OBJECT_0;
        const double end = NowMs();
        if (!ended) {
            TerminateProcess(started.hProcess, 99);
            WaitForSingleObject(started.hProcess, kPatienceMs);
        }
        CloseHandle(started.hProcess);
        if (!window || !ended) {
            std::fprintf(stderr, "%s\n",
                         window ? "the program did not end after WM_CLOSE"
                                : "the window did not appear");
            return 1;
        }
        std::printf("%.1f %.1f %lu %.1f\n", shown - begin, end - closing,
                    static_cast<unsigned long>(rows), gone - closing);
        std::fflush(stdout);
    }
    return 0;
}

int Rect() {
    HWND window = WaitForMainWindow(0, nullptr);
    if (!window)
        return 1;
    RECT frame{};
    GetWindowRect(window, &frame);
    std::printf("%ld %ld %ld %ld\n", frame.left, frame.top, frame.right - frame.left,
                frame.bottom - frame.top);
    return 0;
}

int Close() {
    HWND window = FindMainWindow(0);
    if (!window)
        return 1;
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId);
    PostMessageA(window, WM_CLOSE, 0, 0);
    const bool ended = process && WaitForSingleObject(process, kPatienceMs) == WAIT_OBJECT_0;
    if (process)
        CloseHandle(process);
    return ended ? 0 : 1;
}

// The main window whether shown or not: in tray mode it hides itself as soon as it has started.
HWND FindProgramWindow() {
    for (HWND window = nullptr;
         (window = FindWindowExA(nullptr, window, "#32770", "Revtally")) != nullptr;)
        if (GetDlgItem(window, kProjectList))
            return window;
    return nullptr;
}

// A shown top-level window of the class with the caption, or of any caption when it is empty.
HWND FindShownWindow(const wchar_t* className, const wchar_t* caption) {
    for (HWND window = nullptr; (window = FindWindowExW(nullptr, window, className,
                                                        *caption ? caption : nullptr)) != nullptr;)
        if (IsWindowVisible(window))
            return window;
    return nullptr;
}

HWND WaitFor(const std::function<HWND()>& find) {
    const double deadline = NowMs() + kPatienceMs;
    for (; NowMs() < deadline; Sleep(10))
        if (HWND window = find())
            return window;
    return nullptr;
}

unsigned long long Number(const wchar_t* text) {
    return std::wcstoull(text, nullptr, 0);
}

int Post(HWND window, const wchar_t* const* message) {
    return window && PostMessageW(window, static_cast<UINT>(Number(message[0])),
                                  static_cast<WPARAM>(Number(message[1])),
                                  static_cast<LPARAM>(Number(message[2])))
               ? 0
               : 1;
}

// Runs work on a thread of its own that first moves to the desktop, when one is named: a thread
// takes another desktop only before it has used any window.
int OnDesktop(const wchar_t* desktopName, const std::function<int()>& work) {
    struct Job {
        const wchar_t* desktop;
        const std::function<int()>* work;
        int result;
    } job{desktopName, &work, 1};
    HANDLE thread = CreateThread(
        nullptr, 0,
        [](void* parameter) -> DWORD {
            auto* job = static_cast<Job*>(parameter);
            if (job->desktop) {
                // The desktop may still be starting along with the program.
                HDESK desktop = nullptr;
                for (const double deadline = NowMs() + kPatienceMs;
                     !(desktop = OpenDesktopW(job->desktop, 0, FALSE, GENERIC_ALL)) &&
                     NowMs() < deadline;)
                    Sleep(50);
                if (!desktop || !SetThreadDesktop(desktop)) {
                    std::fprintf(stderr, "cannot enter desktop %ls (error %lu)\n", job->desktop,
                                 GetLastError());
                    return 0;
                }
            }
            job->result = (*job->work)();
            return 0;
        },
        &job, 0, nullptr);
    if (!thread)
        return 1;
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    return job.result;
}

// The modes that name windows or send messages; their arguments are read as Unicode.
int Drive() {
    int count = 0;
    wchar_t** argument = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!argument || count < 2)
        return 2;
    const std::wstring mode = argument[1];
    // Arguments the mode takes before the optional desktop.
    const int fixed = mode == L"post" ? 3 : mode == L"postto" ? 5 : 2;
    if ((mode != L"post" && mode != L"postto" && mode != L"rectof" && mode != L"gone" &&
         mode != L"cursor") ||
        (count != fixed + 2 && count != fixed + 3))
        return 2;
    const wchar_t* const* operand = argument + 2;
    const wchar_t* desktop = count == fixed + 3 ? argument[count - 1] : nullptr;
    const int result = OnDesktop(desktop, [&]() -> int {
        if (mode == L"post")
            return Post(WaitFor(FindProgramWindow), operand);
        if (mode == L"cursor")
            return SetCursorPos(static_cast<int>(Number(operand[0])),
                                static_cast<int>(Number(operand[1])))
                       ? 0
                       : 1;
        const auto find = [&] { return FindShownWindow(operand[0], operand[1]); };
        if (mode == L"postto")
            return Post(WaitFor(find), operand + 2);
        if (mode == L"gone") {
            const double deadline = NowMs() + kPatienceMs;
            for (; NowMs() < deadline; Sleep(10))
                if (!find())
                    return 0;
            return 1;
        }
        HWND window = WaitFor(find);
        if (!window)
            return 1;
        RECT frame{};
        GetWindowRect(window, &frame);
        std::printf("%ld %ld %ld %ld\n", frame.left, frame.top, frame.right - frame.left,
                    frame.bottom - frame.top);
        return 0;
    });
    LocalFree(argument);
    return result;
}
} // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "time" && argc == 4)
        return Time(argv[2], std::atoi(argv[3]));
    if ((mode == "rect" || mode == "close") && argc <= 3) {
        // A thread takes another desktop only before it has used any window, so the work runs
        // on a thread of its own that moves there first.
        struct Job {
            const char* desktop;
            bool rect;
            int result;
        } job{argc == 3 ? argv[2] : nullptr, mode == "rect", 1};
        HANDLE thread = CreateThread(
            nullptr, 0,
            [](void* parameter) -> DWORD {
                auto* job = static_cast<Job*>(parameter);
                if (job->desktop) {
                    HDESK desktop = OpenDesktopA(job->desktop, 0, FALSE, GENERIC_ALL);
                    if (!desktop || !SetThreadDesktop(desktop)) {
                        std::fprintf(stderr, "cannot enter desktop %s\n", job->desktop);
                        return 0;
                    }
                }
                job->result = job->rect ? Rect() : Close();
                return 0;
            },
            &job, 0, nullptr);
        if (!thread)
            return 1;
        WaitForSingleObject(thread, INFINITE);
        CloseHandle(thread);
        return job.result;
    }
    if (const int result = Drive(); result != 2)
        return result;
    std::fprintf(stderr, "usage: revtally_window_probe time PROGRAM.exe RUNS | rect [DESKTOP] | "
                         "close [DESKTOP] | post MESSAGE WPARAM LPARAM [DESKTOP] | "
                         "postto CLASS CAPTION MESSAGE WPARAM LPARAM [DESKTOP] | "
                         "rectof CLASS CAPTION [DESKTOP] | gone CLASS CAPTION [DESKTOP] | "
                         "cursor X Y [DESKTOP]\n");
    return 2;
}
