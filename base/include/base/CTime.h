#pragma once

#include "base/CString.h"

#include <ctime>

// A moment in seconds since the epoch, shown in local time.
class CTime {
public:
    CTime() = default;
    explicit CTime(std::time_t time) : m_time(time) {}

    static CTime Now();

    // strftime rules in local time; empty when the moment has no local time.
    CString Format(const char* format) const;
    std::time_t GetTime() const { return m_time; }

private:
    // The moment in local time; false when it has none.
    bool ToLocal(std::tm& local) const;

    std::time_t m_time = 0;
};
