#include "base/AtomicFileWriter.h"
#include "base/CFile.h"
#include "base/IntegerText.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <utility>

// Readers never see a mixture or a shortened file. An object destroyed without a Commit removes
// its temporary file, so a failure between preparing two files and replacing them changes
// neither. Temporary files are named NAME.~rvtPID-COUNTER-RANDOM.tmp: a process killed before it
// could remove its own leaves one behind, and RemoveStaleTemporaries takes those away (only under
// the files' lock, so that no live writer of the same file is working on one).

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

std::optional<unsigned long> AtomicFileWriter::ProcessIdOf(std::string_view suffix) {
    const std::string_view end = kTemporaryEnd;
    if (suffix.size() <= end.size() || suffix.substr(suffix.size() - end.size()) != end)
        return std::nullopt;
    // Up to eight digits, in lower case as the names are made.
    const DigitRun digits = ScanDigits(suffix.substr(0, 8), 16);
    if (digits.length == 0 || digits.length >= suffix.size() || suffix[digits.length] != '-' ||
        suffix.substr(0, digits.length).find_first_of("ABCDEF") != std::string_view::npos)
        return std::nullopt;
    return digits.value;
}

AtomicFileWriter::AtomicFileWriter(AtomicFileWriter&& other) noexcept
    : m_target(std::move(other.m_target)), m_temporary(std::move(other.m_temporary)),
      m_pending(std::exchange(other.m_pending, false)),
      m_oldFile(std::exchange(other.m_oldFile, -1)) {}

AtomicFileWriter::~AtomicFileWriter() {
    Discard();
    LetGoOfOldFile();
}

void AtomicFileWriter::FillTemporary(std::intptr_t file, const CString& path,
                                     std::string_view bytes) {
    // On every way out but success the temporary file goes, closed first.
    try {
        CFile temporary(file, path);
        temporary.Write(bytes.data(), bytes.size());
        temporary.Flush();
        temporary.Close();
    } catch (...) {
        Discard();
        throw;
    }
}

Expected<AtomicFileWriter> AtomicFileWriter::Prepare(const CString& path, std::string_view bytes) {
    return FileCall([&] { return AtomicFileWriter(path, bytes); });
}

Expected<void> AtomicFileWriter::Commit() {
    return FileCall([&] { MoveIntoPlace(); });
}

Expected<void> AtomicFileWriter::SyncFolder() const {
    return FileCall([&] { FlushFolder(); });
}

Expected<void> AtomicFileWriter::ReplaceContents(const CString& path, std::string_view bytes) {
    Expected<AtomicFileWriter> writer = Prepare(path, bytes);
    if (!writer)
        return writer.Error();
    if (Expected<void> committed = writer->Commit(); !committed)
        return committed;
    // The content is replaced; a folder that cannot be synced does not make that a failure.
    (void)writer->SyncFolder();
    return {};
}
