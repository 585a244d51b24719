#include "ui/HandOff.h"

#include "base/PathFunctions.h"
#include "res/resource.h"

#include <cstring>

namespace {
constexpr char kWindowProgram[] = "revtally.exe";
constexpr char kWindowCommandLine[] = "revtally.exe -t";
constexpr int kFindAttempts = 20;
constexpr DWORD kFindInterval = 100;
constexpr UINT kSendTimeout = 10000;

// Starts the window instance in tray mode. Its current folder is its own, so it never holds a
// build's folder open.
bool StartWindowInstance() {
    const CString program = FindProgram(kWindowProgram);
    if (program.IsEmpty())
        return false;
    const CString folder = ExtractDirectory(program);
    std::vector<char> commandLine(kWindowCommandLine,
                                  kWindowCommandLine + sizeof kWindowCommandLine);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(program, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.IsEmpty() ? nullptr : folder.GetString(), &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}
} // namespace

std::optional<HandOffRecord> MakeHandOffRecord(const CString& path) {
    // A path cut short would name another file: better no hand-off at all.
    HandOffRecord record{kHandOffApplyScript, sizeof record, {}};
    if (path.GetLength() >= static_cast<int>(sizeof record.path))
        return std::nullopt;
    std::memcpy(record.path, path.GetString(), static_cast<size_t>(path.GetLength()));
    return record;
}

std::vector<HWND> FindRunningWindows() {
    std::vector<HWND> found;
    for (HWND window = nullptr; (window = FindWindowExA(nullptr, window, "#32770", "Revtally"));)
        if (::GetDlgItem(window, IDC_PROJECT_LIST))
            found.push_back(window);
    return found;
}

bool SendHandOff(const HandOffRecord& record, bool startIfNone) {
    HWND window = nullptr;
    bool started = !startIfNone;
    for (int attempt = 0; attempt < kFindAttempts; ++attempt) {
        const std::vector<HWND> running = FindRunningWindows();
        window = running.empty() ? nullptr : running.front();
        if (!window && !started) {
            started = true;
            if (!StartWindowInstance())
                return false;
        }
        // Also once a window is found: a window instance just started may not have run its
        // initialisation yet, which lets WM_COPYDATA in from builds at another integrity level.
        Sleep(kFindInterval);
        if (window)
            break;
    }
    if (!window)
        return false;
    COPYDATASTRUCT data{};
    data.dwData = sizeof record;
    data.cbData = sizeof record;
    data.lpData = const_cast<HandOffRecord*>(&record);
    DWORD_PTR ignored = 0;
    // A hung window instance must not hang the build that stamps.
    return SendMessageTimeoutA(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                               SMTO_ABORTIFHUNG, kSendTimeout, &ignored) != 0;
}

std::optional<CString> ReadHandOffPath(const void* data, std::size_t size) {
    HandOffRecord record;
    if (!data || size < sizeof record)
        return std::nullopt;
    std::memcpy(&record, data, sizeof record);
    if (record.command != kHandOffApplyScript)
        return std::nullopt;
    const void* end = std::memchr(record.path, '\0', sizeof record.path);
    if (!end)
        return std::nullopt;
    return CString(record.path, static_cast<int>(static_cast<const char*>(end) - record.path));
}

std::optional<CString> HandOffPathFromCopyData(const COPYDATASTRUCT* data) {
    if (!data)
        return std::nullopt;
    return ReadHandOffPath(data->lpData, data->cbData);
}

std::optional<CString> HandOffPathFromGlobalMemory(LPARAM handle) {
    // A handle means something only in the process that made it.
    if (InSendMessageEx(nullptr) != ISMEX_NOSEND)
        return std::nullopt;
    HGLOBAL memory = reinterpret_cast<HGLOBAL>(handle);
    const void* data = memory ? GlobalLock(memory) : nullptr;
    if (!data)
        return std::nullopt;
    std::optional<CString> path = ReadHandOffPath(data, GlobalSize(memory));
    // The memory belongs to the sender: unlocked, never freed here.
    GlobalUnlock(memory);
    return path;
}
