#include "framework/CTime.h"

CTime CTime::Now() {
    return CTime(std::time(nullptr));
}

CString CTime::Format(const char* format) const {
    std::tm local{};
#ifdef _WIN32
    if (localtime_s(&local, &m_time) != 0)
        return CString();
#else
    if (!localtime_r(&m_time, &local))
        return CString();
#endif
    char buffer[256];
    const size_t length = std::strftime(buffer, sizeof buffer, format, &local);
    return CString(buffer, static_cast<int>(length));
}
