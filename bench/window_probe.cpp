// Drives Revtally's main window from another process, as a user or a script would see it.
//
//   revtally_window_probe time PROGRAM.exe RUNS
//       starts PROGRAM RUNS times; for each run prints "start_ms close_ms rows gone_ms
//       private_kb": process start to the dialog shown, WM_CLOSE to process exit, the rows the
//       list showed, WM_CLOSE to the window destroyed (the list saved), and the process's private
//       memory in KB once the shown window has settled
//   revtally_window_probe pair stamp|window BEFORE.exe AFTER.exe RUNS [ARGUMENTS]
//       starts the two programs in turn, RUNS times each, the first of each pair alternating;
//       for each pair prints "before_ms after_ms": process start to exit (stamp), or process
//       start to the dialog shown (window, which is then closed)
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
//   revtally_window_probe ini FILE COUNT
//       writes a project list of COUNT projects as a user's machine would hold it, with column
//       widths and a window position, into FILE
//
// CLASS and CAPTION are taken as Unicode from the command line; an empty CAPTION matches any.
// Numbers may be written in decimal or, with 0x, in hexadecimal.
//
// DESKTOP names a desktop of Wine's "explorer /desktop=NAME" to look on instead of our own.
// Exit code 0 on success, 1 when the window did not come or the program did not end in time.
#include "IniText.h"
#include "TestFiles.h"
#include "WindowFinder.h"

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include <windows.h>

#include <psapi.h>
#include <shellapi.h>

using namespace testfiles;

namespace {
constexpr DWORD kPatienceMs = 120000;

HWND First(const std::vector<HWND>& windows) {
    return windows.empty() ? nullptr : windows[0];
}

// What the process holds for itself alone, the part that grows with the list; 0 if unreadable.
// Wine leaves PrivateUsage at 0 and reports the same private commit as PagefileUsage, which
// Windows keeps equal to it.
unsigned long long PrivateKb(HANDLE process) {
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof memory;
    if (!GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                              sizeof memory))
        return 0;
    return (memory.PrivateUsage ? memory.PrivateUsage : memory.PagefileUsage) / 1024;
}

int Time(const char* program, int runs) {
    for (int run = 0; run < runs; ++run) {
        const double begin = NowMs();
        HANDLE process = StartProcess(program, "");
        if (!process) {
            std::fprintf(stderr, "cannot start %s (error %lu)\n", program, GetLastError());
            return 1;
        }
        // Shown means initialised: the dialog shows itself only once its first messages have run.
        HWND window = WaitForMainWindow(process, kPatienceMs, 1);
        const double shown = NowMs();
        const unsigned long rows = window ? ListedRows(window) : 0;
        // Start timing the close from a settled window, not one still painting.
        if (window)
            Sleep(200);
        const unsigned long long privateKb = window ? PrivateKb(process) : 0;
        const double closing = NowMs();
        double gone = closing;
        bool ended = window && PostMessageA(window, WM_CLOSE, 0, 0);
        // The list is saved before the window is destroyed; what follows is the process ending.
        while (ended && IsWindow(window) && WaitForSingleObject(process, 1) == WAIT_TIMEOUT &&
               NowMs() < closing + kPatienceMs)
            gone = NowMs();
        gone = NowMs();
        ended = ended && WaitForSingleObject(process, kPatienceMs) == WAIT_OBJECT_0;
        const double end = NowMs();
        if (!ended) {
            TerminateProcess(process, 99);
            WaitForSingleObject(process, kPatienceMs);
        }
        CloseHandle(process);
        if (!window || !ended) {
            std::fprintf(stderr, "%s\n",
                         window ? "the program did not end after WM_CLOSE"
                                : "the window did not appear");
            return 1;
        }
        std::printf("%.1f %.1f %lu %.1f %llu\n", shown - begin, end - closing, rows, gone - closing,
                    privateKb);
        std::fflush(stdout);
    }
    return 0;
}

// One start of the program: to its exit, or to its window shown (then closed); -1 on a failure.
double StartToEnd(const char* program, const std::string& arguments, bool window) {
    const double begin = NowMs();
    HANDLE process = StartProcess(program, arguments);
    if (!process)
        return -1;
    HWND shown = window ? WaitForMainWindow(process, kPatienceMs, 1) : nullptr;
    const double end = NowMs();
    const bool ended = (!window || (shown && EndAndWait(shown, WM_CLOSE, 0, kPatienceMs))) &&
                       WaitForSingleObject(process, kPatienceMs) == WAIT_OBJECT_0;
    CloseHandle(process);
    return ended ? end - begin : -1;
}

// Paired runs: the two programs alternate which goes first, so that neither always meets a
// warmer cache.
int Pair(const std::string& kind, const char* before, const char* after, int runs,
         const std::string& arguments) {
    // A stamp hands off to a running window and waits for it: that would be timed instead.
    if (!MainWindows().empty()) {
        std::fprintf(stderr, "a Revtally window runs already\n");
        return 1;
    }
    for (int run = 0; run < runs; ++run) {
        double ms[2];
        for (int turn = 0; turn < 2; ++turn) {
            const int which = (run + turn) % 2;
            ms[which] = StartToEnd(which == 0 ? before : after, arguments, kind == "window");
            if (ms[which] < 0) {
                std::fprintf(stderr, "%s did not run to its end\n", which == 0 ? before : after);
                return 1;
            }
        }
        std::printf("%.2f %.2f\n", ms[0], ms[1]);
        std::fflush(stdout);
    }
    return 0;
}

int PrintFrame(HWND window) {
    if (!window)
        return 1;
    RECT frame{};
    GetWindowRect(window, &frame);
    std::printf("%ld %ld %ld %ld\n", frame.left, frame.top, frame.right - frame.left,
                frame.bottom - frame.top);
    return 0;
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
    HWND window = nullptr;
    Eventually([&] { return (window = find()) != nullptr; }, kPatienceMs, 10);
    return window;
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
                Eventually(
                    [&] {
                        return (desktop = OpenDesktopW(job->desktop, 0, FALSE, GENERIC_ALL)) !=
                               nullptr;
                    },
                    kPatienceMs);
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

// Names, versions and dates that vary from one project to the next, as on a user's machine.
int WriteProjectList(const char* file, int count) {
    std::vector<IniProject> projects;
    for (int i = 0; i < count; ++i) {
        char name[16], update[32];
        std::snprintf(name, sizeof name, "project%04d", i);
        std::snprintf(update, sizeof update, "2024/%02d/%02d %02d:%02d:%02d", 1 + i % 12,
                      1 + i % 28, i % 24, i % 60, (7 * i) % 60);
        const std::string folder = std::string("C:\\src\\") + name + "\\";
        projects.push_back(
            {name, {1 + i % 3, i % 10, i % 7, 100 + i}, folder + name + ".rc", update, folder});
    }
    const int widths[] = {150, 90, 70, 160, 300};
    const std::string text = ProjectsIni(projects) + ColumnWidthsIni(widths) + PositionIni(40, 30);
    FILE* out = std::fopen(file, "wb");
    const bool written = out && std::fwrite(text.data(), 1, text.size(), out) == text.size();
    return out && std::fclose(out) == 0 && written ? 0 : 1;
}

// The modes that name windows or send messages; their arguments are read as Unicode.
int Drive() {
    int count = 0;
    wchar_t** argument = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!argument || count < 2)
        return 2;
    const std::wstring mode = argument[1];
    // Arguments the mode takes before the optional desktop.
    const int fixed = mode == L"post"                       ? 3
                      : mode == L"postto"                   ? 5
                      : mode == L"rect" || mode == L"close" ? 0
                                                            : 2;
    if ((mode != L"post" && mode != L"postto" && mode != L"rectof" && mode != L"gone" &&
         mode != L"cursor" && mode != L"rect" && mode != L"close") ||
        (count != fixed + 2 && count != fixed + 3))
        return 2;
    const wchar_t* const* operand = argument + 2;
    const wchar_t* desktop = count == fixed + 3 ? argument[count - 1] : nullptr;
    const int result = OnDesktop(desktop, [&]() -> int {
        // The main window whether shown or not: in tray mode it hides itself at once.
        if (mode == L"post")
            return Post(WaitFor([] { return First(MainWindows()); }), operand);
        if (mode == L"rect")
            return PrintFrame(WaitFor([] { return First(MainWindows(Shown::kOnly)); }));
        if (mode == L"close") {
            HWND window = First(MainWindows(Shown::kOnly));
            return window && EndAndWait(window, WM_CLOSE, 0, kPatienceMs) ? 0 : 1;
        }
        if (mode == L"cursor")
            return SetCursorPos(static_cast<int>(Number(operand[0])),
                                static_cast<int>(Number(operand[1])))
                       ? 0
                       : 1;
        const auto find = [&] { return FindShownWindow(operand[0], operand[1]); };
        if (mode == L"postto")
            return Post(WaitFor(find), operand + 2);
        if (mode == L"gone")
            return Eventually([&] { return !find(); }, kPatienceMs, 10) ? 0 : 1;
        return PrintFrame(WaitFor(find));
    });
    LocalFree(argument);
    return result;
}
} // namespace

int main(int argc, char** argv) {
    // Frames and cursor positions in the display's own pixels, not scaled to 96 DPI, so that
    // they match what a screen grab sees whatever the display's DPI.
    SetProcessDPIAware();
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "time" && argc == 4)
        return Time(argv[2], std::atoi(argv[3]));
    if (mode == "ini" && argc == 4)
        return WriteProjectList(argv[2], std::atoi(argv[3]));
    if (mode == "pair" && (argc == 6 || argc == 7))
        return Pair(argv[2], argv[3], argv[4], std::atoi(argv[5]), argc == 7 ? argv[6] : "");
    if (const int result = Drive(); result != 2)
        return result;
    std::fprintf(stderr,
                 "usage: revtally_window_probe time PROGRAM.exe RUNS | "
                 "pair stamp|window BEFORE.exe AFTER.exe RUNS [ARGUMENTS] | rect [DESKTOP] | "
                 "close [DESKTOP] | post MESSAGE WPARAM LPARAM [DESKTOP] | "
                 "postto CLASS CAPTION MESSAGE WPARAM LPARAM [DESKTOP] | "
                 "rectof CLASS CAPTION [DESKTOP] | gone CLASS CAPTION [DESKTOP] | "
                 "cursor X Y [DESKTOP] | ini FILE COUNT\n");
    return 2;
}
