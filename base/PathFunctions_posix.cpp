#include "base/PathFunctions.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

const char kPathSeparator = '/';

CString FolderOf(const CString& path) {
    const size_t slash = path.View().rfind('/');
    return slash == std::string_view::npos ? CString(".") : path.Left(static_cast<int>(slash) + 1);
}

Expected<CString> FullPathOf(const CString& name) {
    if (name.IsEmpty())
        return Failure::Failed("an empty name has no full path");
    if (name[0] == '/')
        return name;
    std::vector<char> buffer(4096);
    while (!::getcwd(buffer.data(), buffer.size())) {
        if (errno != ERANGE)
            return Failure::OfOsError(errno);
        buffer.resize(buffer.size() * 2);
    }
    CString folder(buffer.data());
    if (folder.IsEmpty() || folder[folder.GetLength() - 1] != '/')
        folder += '/';
    return folder + name;
}

CString FindProgram(const CString& name) {
    const char* path = std::getenv("PATH");
    std::string_view folders = path ? path : "";
    while (!folders.empty()) {
        const size_t colon = folders.find(':');
        std::string candidate(folders.substr(0, colon));
        folders = colon == std::string_view::npos ? std::string_view() : folders.substr(colon + 1);
        if (candidate.empty())
            candidate.push_back('.');
        candidate.append("/").append(name.View());
        struct stat info {};
        if (::stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
            ::access(candidate.c_str(), X_OK) == 0)
            return CString(candidate.c_str());
    }
    return CString();
}

CString ModulePath() {
    std::vector<char> buffer(PATH_MAX);
    const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length > 0 && static_cast<size_t>(length) < buffer.size())
        return CString(buffer.data(), static_cast<int>(length));
    return CString();
}
