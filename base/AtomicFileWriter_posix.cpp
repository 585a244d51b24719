#include "base/AtomicFileWriter.h"
#include "base/CFileException.h"
#include "base/PathFunctions.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {
constexpr int kNameAttempts = 16;

[[noreturn]] void Fail(int error, const CString& path) {
    CFileException::ThrowOsError(static_cast<long>(error), path);
}

// What a symbolic link points at, so that the file is replaced and the link stays a link.
CString TargetOf(const CString& path) {
    struct stat linkInfo;
    if (::lstat(path, &linkInfo) != 0) {
        if (errno == ENOENT)
            return path;
        Fail(errno, path);
    }
    if (!S_ISLNK(linkInfo.st_mode))
        return path;
    char* resolved = ::realpath(path, nullptr);
    if (!resolved)
        Fail(errno, path);
    CString target(resolved);
    std::free(resolved);
    return target;
}
} // namespace

unsigned long AtomicFileWriter::CurrentProcessId() {
    return static_cast<unsigned long>(::getpid());
}

bool AtomicFileWriter::IsRunningProcess(unsigned long processId) {
    return ::kill(static_cast<pid_t>(processId), 0) == 0 || errno == EPERM;
}

AtomicFileWriter::AtomicFileWriter(const CString& path, std::string_view bytes) : m_target(path) {
    // The old file stays open until this object ends: a rename over a file nobody holds frees its
    // blocks inside the rename, which for a large script takes long enough for a cancelled build to
    // land between the script's rename and the history's.
    constexpr int kOldFileFlags = O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK;
    m_oldFile = ::open(path, kOldFileFlags);
    // A symbolic link stays a link: what it points at is replaced. Without read access the open
    // says nothing of links, so ask.
    if (m_oldFile < 0 && (errno == ELOOP || errno == EACCES)) {
        m_target = TargetOf(path);
        if (m_target != path)
            m_oldFile = ::open(m_target, kOldFileFlags);
    }
    try {
        WriteTemporary(path, bytes);
    } catch (...) {
        LetGoOfOldFile();
        throw;
    }
}

void AtomicFileWriter::WriteTemporary(const CString& path, std::string_view bytes) {
    struct stat info;
    bool exists = true;
    if ((m_oldFile >= 0 ? ::fstat(m_oldFile, &info) : ::stat(m_target, &info)) != 0) {
        // Only "no such file" makes a new file; any other failure would lose the file's mode.
        if (errno != ENOENT)
            Fail(errno, path);
        exists = false;
    }
    if (exists && S_ISDIR(info.st_mode))
        Fail(EISDIR, path);
    // rename() ignores the target's mode, so a file its owner made read-only is honoured here.
    if (exists && !(info.st_mode & S_IWUSR))
        Fail(EACCES, path);

    int fd = -1;
    for (int attempt = 0; fd < 0; ++attempt) {
        m_temporary = NewTemporaryName(m_target);
        fd = ::open(m_temporary, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && (errno != EEXIST || attempt + 1 == kNameAttempts))
            Fail(errno, path);
    }
    m_pending = true;
    if (exists && ::fchmod(fd, info.st_mode & 07777) != 0) {
        const int error = errno;
        ::close(fd);
        Discard();
        Fail(error, path);
    }
    FillTemporary(fd, path, bytes);
}

void AtomicFileWriter::MoveIntoPlace() {
    if (::rename(m_temporary, m_target) != 0) {
        const int error = errno;
        Discard();
        Fail(error, m_target);
    }
    m_pending = false;
}

void AtomicFileWriter::Discard() noexcept {
    if (m_pending)
        ::unlink(m_temporary);
    m_pending = false;
}

void AtomicFileWriter::LetGoOfOldFile() noexcept {
    if (m_oldFile >= 0)
        ::close(m_oldFile);
    m_oldFile = -1;
}

void AtomicFileWriter::FlushFolder() const {
    const int fd = ::open(FolderOf(m_target), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        Fail(errno, m_target);
    // Some file systems cannot sync a folder at all (EINVAL); their renames are as durable as
    // they get.
    const int error = ::fsync(fd) != 0 && errno != EINVAL ? errno : 0;
    ::close(fd);
    if (error)
        Fail(error, m_target);
}

void AtomicFileWriter::RemoveStaleTemporaries(std::initializer_list<CString> paths) {
    if (paths.size() == 0)
        return;
    const CString folder = FolderOf(*paths.begin());
    std::vector<CString> prefixes;
    for (const CString& path : paths) {
        // The name after the folder; a bare name has none before it.
        const CString own = FolderOf(path);
        prefixes.push_back(TemporaryPrefix(own.View() == "." ? path : path.Mid(own.GetLength())));
    }
    DIR* listing = ::opendir(folder);
    if (!listing)
        return;
    while (const dirent* entry = ::readdir(listing)) {
        const std::string_view name = entry->d_name;
        for (const CString& prefix : prefixes) {
            if (name.substr(0, prefix.View().size()) != prefix.View())
                continue;
            const std::optional<unsigned long> processId =
                ProcessIdOf(name.substr(prefix.View().size()));
            if (processId && (*processId == CurrentProcessId() || !IsRunningProcess(*processId)))
                ::unlinkat(::dirfd(listing), entry->d_name, 0);
        }
    }
    ::closedir(listing);
}
