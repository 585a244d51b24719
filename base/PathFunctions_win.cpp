#include "base/PathFunctions.h"

#include <optional>

#include <vector>

#include <windows.h>

namespace {
// No fixed buffer: the platform says how long the result is. The call is asked again when the
// answer grew in between.
template <typename Call> std::optional<CString> AskForText(Call call) {
    DWORD needed = call(0, nullptr);
    for (int attempt = 0; needed != 0 && attempt < 3; ++attempt) {
        std::vector<char> buffer(needed);
        const DWORD length = call(needed, buffer.data());
        if (length == 0)
            return std::nullopt;
        if (length < needed)
            return CString(buffer.data(), static_cast<int>(length));
        needed = length;
    }
    return std::nullopt;
}
} // namespace

const char kPathSeparator = '\\';

Expected<CString> FullPathOf(const CString& name) {
    if (std::optional<CString> full = AskForText([&](DWORD size, char* buffer) {
            return GetFullPathNameA(name, size, buffer, nullptr);
        }))
        return *full;
    return Failure::OfOsError(static_cast<long>(GetLastError()));
}

CString FindProgram(const CString& name) {
    const std::optional<CString> found = AskForText([&](DWORD size, char* buffer) {
        return SearchPathA(nullptr, name, nullptr, size, buffer, nullptr);
    });
    if (!found)
        return CString();
    const DWORD attributes = GetFileAttributesA(*found);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return CString();
    return *found;
}

CString ModulePath() {
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        const DWORD length =
            GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return CString();
        if (length < buffer.size())
            return CString(buffer.data(), static_cast<int>(length));
        buffer.resize(buffer.size() * 2);
    }
}
