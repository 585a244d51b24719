#include "base/CTime.h"

bool CTime::ToLocal(std::tm& local) const {
    return localtime_r(&m_time, &local) != nullptr;
}
