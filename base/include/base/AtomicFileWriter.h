#pragma once

#include "base/CString.h"
#include "base/Expected.h"

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string_view>

// Replaces a file's whole content so that readers see either the old bytes or the new ones: the
// new bytes go to a synced temporary file beside it, which takes the file's name on Commit.
class AtomicFileWriter {
public:
    // Writes and syncs the temporary file; a failure leaves nothing behind. The old file's mode
    // (POSIX) or attributes (Windows) go to the new one.
    static Expected<AtomicFileWriter> Prepare(const CString& path, std::string_view bytes);
    AtomicFileWriter(AtomicFileWriter&& other) noexcept;
    ~AtomicFileWriter();
    AtomicFileWriter& operator=(AtomicFileWriter&&) = delete;

    // Renames the temporary file over the file; on a failure the temporary file is gone too.
    Expected<void> Commit();
    // Makes the renames into the file's folder durable.
    Expected<void> SyncFolder() const;

    // Preparing and committing in one, then syncing the folder.
    static Expected<void> ReplaceContents(const CString& path, std::string_view bytes);

    // Removes the temporary files of files in one folder left by processes that no longer run (or
    // by an earlier process of this one's id). Only while holding the files' lock; best effort.
    static void RemoveStaleTemporaries(std::initializer_list<CString> paths);

    // How often and how long a replace waits for another process to let go of the file.
    static constexpr int kShareRetries = 20;
    static constexpr int kShareRetryMilliseconds = 25;

private:
    // The file layer's own half: its failures are CFileExceptions.
    AtomicFileWriter(const CString& path, std::string_view bytes);
    void WriteTemporary(const CString& path, std::string_view bytes);
    // Writes, syncs and closes the temporary file the platform opened (a HANDLE or a descriptor).
    void FillTemporary(std::intptr_t file, const CString& path, std::string_view bytes);
    void MoveIntoPlace();
    void FlushFolder() const;

    // The name part that marks this program's temporary files ("app.rc.~rvt").
    static CString TemporaryPrefix(const CString& name);
    // A fresh temporary file name beside target.
    static CString NewTemporaryName(const CString& target);
    // The process id a temporary file's name carries after the prefix; none for another name.
    static std::optional<unsigned long> ProcessIdOf(std::string_view suffix);
    static bool IsRunningProcess(unsigned long processId);
    static unsigned long CurrentProcessId();
    void Discard() noexcept;
    void LetGoOfOldFile() noexcept;

    CString m_target; // the file replaced (POSIX: what a symbolic link points at)
    CString m_temporary;
    bool m_pending = false;
    int m_oldFile = -1; // POSIX: the replaced file, held open until this object ends
};
