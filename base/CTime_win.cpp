#include "base/CTime.h"

bool CTime::ToLocal(std::tm& local) const {
    return localtime_s(&local, &m_time) == 0;
}
