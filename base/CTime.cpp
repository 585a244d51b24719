#include "base/CTime.h"

CTime CTime::Now() {
    return CTime(std::time(nullptr));
}

CString CTime::Format(const char* format) const {
    std::tm local{};
    if (!ToLocal(local))
        return CString();
    char buffer[256];
    const size_t length = std::strftime(buffer, sizeof buffer, format, &local);
    return CString(buffer, static_cast<int>(length));
}
