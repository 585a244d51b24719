// Runs stamping runs against Revtally's window instance and watches it from another process, for
// bench/handoff_reliability.sh.
//
//   revtally_handoff_probe burst PROGRAM SCRIPT...
//       starts one stamping run per script, all at once, waits for them and prints
//       "runs N failed F ms T instances W rows R"
//   revtally_handoff_probe series PROGRAM FIRST LAST SCRIPT...
//       stamping runs FIRST to LAST (counted from 1) one after another, run n stamping script
//       n modulo their count; after run 1 and after the last prints "run working_set_kb
//       private_kb rows window_process_id" of the window instance
//   revtally_handoff_probe time PROGRAM SCRIPT RUNS
//       RUNS stamping runs one after another; prints each one's milliseconds, process start to exit
//   revtally_handoff_probe close
//       closes the window instance and waits for its process to end
//
// Exit code 0 on success, 1 when a run failed, hung or the window was not there.
#include "TestFiles.h"
#include "WindowFinder.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <windows.h>

#include <psapi.h>

using namespace testfiles;

namespace {
constexpr DWORD kPatienceMs = 120000;

// A stamping run as a build starts it: in the script's folder, with the script's name.
HANDLE StartStamp(const char* program, const std::string& script) {
    const std::string folder = script.substr(0, script.find_last_of('\\') + 1);
    // Wine now and then fails a start under a long series of them; a build system would retry
    // too, and it is not the program's doing. Each retry is reported.
    for (int attempt = 0;; ++attempt) {
        if (HANDLE process = StartProcess(program, "\"" + script + "\"", folder))
            return process;
        std::fprintf(stderr, "cannot start %s (error %lu)\n", program, GetLastError());
        if (attempt == 2)
            return nullptr;
        Sleep(500);
    }
}

// Waits for the run and says whether it ended with exit code 0; a hung run is ended.
bool Finish(HANDLE process) {
    if (!process)
        return false;
    DWORD code = 99;
    if (WaitForSingleObject(process, kPatienceMs) != WAIT_OBJECT_0)
        TerminateProcess(process, 99);
    else
        GetExitCodeProcess(process, &code);
    CloseHandle(process);
    return code == 0;
}

int Burst(const char* program, const std::vector<std::string>& scripts) {
    const double begin = NowMs();
    std::vector<HANDLE> started;
    for (const std::string& script : scripts)
        started.push_back(StartStamp(program, script));
    int failed = 0;
    for (HANDLE process : started)
        failed += Finish(process) ? 0 : 1;
    const double end = NowMs();
    const std::vector<HWND> windows = MainWindows();
    std::printf("runs %zu failed %d ms %.0f instances %zu rows %lu\n", scripts.size(), failed,
                end - begin, windows.size(), windows.empty() ? 0ul : ListedRows(windows[0]));
    return failed == 0 ? 0 : 1;
}

bool Sample(int run) {
    const std::vector<HWND> windows = MainWindows();
    if (windows.size() != 1) {
        std::fprintf(stderr, "%zu window instances after run %d\n", windows.size(), run);
        return false;
    }
    DWORD processId = 0;
    GetWindowThreadProcessId(windows[0], &processId);
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    if (process) {
        GetProcessMemoryInfo(process, &memory, sizeof memory);
        CloseHandle(process);
    }
    std::printf("%d %zu %zu %lu %lu\n", run, memory.WorkingSetSize / 1024,
                memory.PagefileUsage / 1024, ListedRows(windows[0]), processId);
    std::fflush(stdout);
    return true;
}

int Series(const char* program, int first, int last, const std::vector<std::string>& scripts) {
    for (int run = first; run <= last; ++run) {
        if (!Finish(StartStamp(program, scripts[static_cast<size_t>(run - 1) % scripts.size()]))) {
            std::fprintf(stderr, "run %d failed\n", run);
            return 1;
        }
        if ((run == 1 || run == last) && !Sample(run))
            return 1;
    }
    return 0;
}

int Time(const char* program, const std::string& script, int runs) {
    for (int run = 0; run < runs; ++run) {
        const double begin = NowMs();
        if (!Finish(StartStamp(program, script)))
            return 1;
        std::printf("%.1f\n", NowMs() - begin);
        std::fflush(stdout);
    }
    return 0;
}

int Close() {
    const std::vector<HWND> windows = MainWindows();
    return windows.size() == 1 && EndAndWait(windows[0], WM_CLOSE, 0, kPatienceMs) ? 0 : 1;
}
} // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "burst" && argc >= 4)
        return Burst(argv[2], std::vector<std::string>(argv + 3, argv + argc));
    if (mode == "series" && argc >= 6 && std::atoi(argv[3]) > 0)
        return Series(argv[2], std::atoi(argv[3]), std::atoi(argv[4]),
                      std::vector<std::string>(argv + 5, argv + argc));
    if (mode == "time" && argc == 5)
        return Time(argv[2], argv[3], std::atoi(argv[4]));
    if (mode == "close" && argc == 2)
        return Close();
    std::fprintf(stderr, "usage: revtally_handoff_probe burst PROGRAM SCRIPT... | series PROGRAM "
                         "FIRST LAST SCRIPT... | time PROGRAM SCRIPT RUNS | close\n");
    return 2;
}
