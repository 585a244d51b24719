#pragma once

#include "framework/CString.h"

#include <initializer_list>
#include <string_view>

// Replaces a file's whole content so that readers see either the old bytes or the new ones, never
// a mixture or a shortened file: the new bytes go to a temporary file in the same folder, synced to
// disk, which takes the old file's name only on Commit. An object destroyed without a Commit
// removes its temporary file, so a failure between preparing two files and replacing them changes
// neither.
//
// Temporary files are named NAME.~rvtPID-COUNTER-RANDOM.tmp. A process killed before it could
// remove its own leaves one behind; RemoveStaleTemporaries takes those away.
class AtomicFileWriter {
public:
    // Writes and syncs the temporary file. Throws CFileException, leaving nothing behind. The old
    // file's mode (POSIX) or attributes (Windows) go to the new one; a file whose status cannot be
    // read is not replaced, since its mode would be lost.
    AtomicFileWriter(const CString& path, std::string_view bytes);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    // Renames the temporary file over the file. Throws CFileException, and the temporary file is
    // gone then too.
    void Commit();

    // Preparing and committing in one, then syncing the folder.
    static void ReplaceContents(const CString& path, std::string_view bytes);

    // Makes the renames into the file's folder durable. POSIX: an fsync of the folder; Windows:
    // every rename here is written through already. False when the folder could not be synced.
    bool SyncFolder(CString* failure = nullptr) const;

    // Removes the temporary files of files in one folder left by processes that no longer run (or
    // by an earlier process of this one's id). Call it only while holding the files' lock, so that
    // no live writer of the same file is working on one. Best effort: what cannot be removed
    // stays. (The temporary files of a symbolic link lie beside what it points at, and are not
    // looked for.)
    static void RemoveStaleTemporaries(std::initializer_list<CString> paths);

    // How often and how long a replace waits for another process to let go of the file.
    static constexpr int kShareRetries = 20;
    static constexpr int kShareRetryMilliseconds = 25;

private:
    // The name part that marks this program's temporary files ("app.rc.~rvt").
    static CString TemporaryPrefix(const CString& name);
    // A fresh temporary file name beside target.
    static CString NewTemporaryName(const CString& target);
    // The process id a temporary file's name carries after the prefix; false for another name.
    static bool ProcessIdOf(std::string_view suffix, unsigned long& processId);
    static bool IsRunningProcess(unsigned long processId);
    static unsigned long CurrentProcessId();
    void Prepare(const CString& path, std::string_view bytes);
    void Discard() noexcept;
    void LetGoOfOldFile() noexcept;

    CString m_target; // the file replaced (POSIX: what a symbolic link points at)
    CString m_temporary;
    bool m_pending = false;
    int m_oldFile = -1; // POSIX: the replaced file, held open until this object ends
};
