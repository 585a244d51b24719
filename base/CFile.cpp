#include "base/CFile.h"
#include "base/CFileException.h"

#include <climits>
#include <string>

CFile::CFile(std::intptr_t handle, const CString& path) : m_handle(handle), m_path(path) {}

void CFile::ThrowLastError() const {
    CFileException::ThrowOsError(LastError(), m_path);
}

std::size_t CFile::Read(void* buffer, std::size_t count) {
    auto* bytes = static_cast<char*>(buffer);
    std::size_t total = 0;
    while (total < count) {
        const std::size_t got = ReadSome(bytes + total, count - total);
        if (got == 0)
            break;
        total += got;
    }
    return total;
}

void CFile::Write(const void* buffer, std::size_t count) {
    const auto* bytes = static_cast<const char*>(buffer);
    for (std::size_t total = 0; total < count;)
        total += WriteSome(bytes + total, count - total);
}

Expected<CString> ReadWholeFile(const CString& path) {
    return FileCall([&] {
        CFile file(path, CFile::modeRead);
        const std::uint64_t length = file.GetLength();
        // A CString counts its bytes in an int.
        if (length > static_cast<std::uint64_t>(INT_MAX - 2))
            throw CFileException(CFileException::genericException, 0, path);
        std::string bytes(static_cast<size_t>(length), '\0');
        bytes.resize(file.Read(bytes.data(), bytes.size()));
        return CString(std::move(bytes));
    });
}
