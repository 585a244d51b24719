#include "framework/FullPath.h"

#include <vector>

#include <windows.h>

namespace {
// No fixed buffer: the platform says how long the result is. The call is asked again when the
// answer grew in between.
template <typename Call> bool AskForText(Call call, CString& result) {
    DWORD needed = call(0, nullptr);
    for (int attempt = 0; needed != 0 && attempt < 3; ++attempt) {
        std::vector<char> buffer(needed);
        const DWORD length = call(needed, buffer.data());
        if (length == 0)
            return false;
        if (length < needed) {
            result = CString(buffer.data(), static_cast<int>(length));
            return true;
        }
        needed = length;
    }
    return false;
}
} // namespace

bool FullPathOf(const CString& name, CString& fullPath) {
    return AskForText(
        [&](DWORD size, char* buffer) { return GetFullPathNameA(name, size, buffer, nullptr); },
        fullPath);
}

CString FindProgram(const CString& name) {
    CString found;
    if (!AskForText(
            [&](DWORD size, char* buffer) {
                return SearchPathA(nullptr, name, nullptr, size, buffer, nullptr);
            },
            found))
        return CString();
    const DWORD attributes = GetFileAttributesA(found);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return CString();
    return found;
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
