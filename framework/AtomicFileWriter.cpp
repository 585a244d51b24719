#include "framework/AtomicFileWriter.h"

#include <atomic>
#include <chrono>
#include <cstdint>

namespace {
std::atomic<unsigned> g_temporaryCounter{0};
constexpr char kTemporaryMark[] = ".~rvt";
constexpr char kTemporaryEnd[] = ".tmp";

// Process ids come back in new containers and after reboots, and a leftover file of a killed run
// may carry this run's id: the random part keeps its name from ever being one we must take.
std::uint32_t RandomPart() {
    static std::atomic<std::uint64_t> state{
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
        static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count())};
    // splitmix64: enough to make two names differ, not meant for secrets.
    std::uint64_t z = state.fetch_add(0x9E3779B97F4A7C15ull) + 0x9E3779B97F4A7C15ull;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return static_cast<std::uint32_t>(z ^ (z >> 31));
}
} // namespace

CString AtomicFileWriter::TemporaryPrefix(const CString& name) {
    return name + kTemporaryMark;
}

CString AtomicFileWriter::NewTemporaryName(const CString& target) {
    CString suffix;
    suffix.Format("%lx-%u-%08x%s", CurrentProcessId(), g_temporaryCounter.fetch_add(1),
                  static_cast<unsigned>(RandomPart()), kTemporaryEnd);
    return TemporaryPrefix(target) + suffix;
}

bool AtomicFileWriter::ProcessIdOf(std::string_view suffix, unsigned long& processId) {
    const std::string_view end = kTemporaryEnd;
    if (suffix.size() <= end.size() || suffix.substr(suffix.size() - end.size()) != end)
        return false;
    processId = 0;
    size_t digits = 0;
    for (; digits < suffix.size() && digits < 8; ++digits) {
        const char c = suffix[digits];
        const int value = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
        if (value < 0)
            break;
        processId = processId * 16 + static_cast<unsigned long>(value);
    }
    return digits > 0 && digits < suffix.size() && suffix[digits] == '-';
}

AtomicFileWriter::~AtomicFileWriter() {
    Discard();
    LetGoOfOldFile();
}

void AtomicFileWriter::ReplaceContents(const CString& path, std::string_view bytes) {
    AtomicFileWriter writer(path, bytes);
    writer.Commit();
    // The content is replaced; a folder that cannot be synced does not make that a failure.
    writer.SyncFolder();
}
