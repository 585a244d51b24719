#include "base/CString.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <vector>

namespace {
size_t Clamp(int value, size_t limit) {
    if (value < 0)
        return 0;
    return std::min(static_cast<size_t>(value), limit);
}
} // namespace

CString CString::Left(int count) const {
    return CString(m_data.substr(0, Clamp(count, m_data.size())));
}

CString CString::Mid(int first) const {
    return CString(m_data.substr(Clamp(first, m_data.size())));
}

CString CString::Mid(int first, int count) const {
    const size_t from = Clamp(first, m_data.size());
    return CString(m_data.substr(from, Clamp(count, m_data.size() - from)));
}

int CString::Find(char ch, int start) const {
    const size_t at = m_data.find(ch, Clamp(start, m_data.size()));
    return at == std::string::npos ? -1 : static_cast<int>(at);
}

int CString::Find(const char* sub, int start) const {
    if (static_cast<size_t>(std::max(start, 0)) > m_data.size())
        return -1;
    const size_t at = m_data.find(sub, Clamp(start, m_data.size()));
    return at == std::string::npos ? -1 : static_cast<int>(at);
}

int CString::Insert(int index, const char* text) {
    m_data.insert(Clamp(index, m_data.size()), text);
    return GetLength();
}

int CString::Delete(int index, int count) {
    const size_t from = Clamp(index, m_data.size());
    m_data.erase(from, Clamp(count, m_data.size() - from));
    return GetLength();
}

void CString::Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list probe;
    va_copy(probe, args);
    const int needed = std::vsnprintf(nullptr, 0, format, probe);
    va_end(probe);
    if (needed < 0) {
        m_data.clear();
    } else {
        std::vector<char> buffer(static_cast<size_t>(needed) + 1);
        std::vsnprintf(buffer.data(), buffer.size(), format, args);
        m_data.assign(buffer.data(), static_cast<size_t>(needed));
    }
    va_end(args);
}

CString& CString::operator=(const char* text) {
    m_data = text ? text : "";
    return *this;
}

CString& CString::operator+=(const CString& other) {
    m_data += other.m_data;
    return *this;
}

CString& CString::operator+=(const char* text) {
    if (text)
        m_data += text;
    return *this;
}

CString& CString::operator+=(char ch) {
    m_data += ch;
    return *this;
}

CString operator+(const CString& a, const CString& b) {
    return CString(a.m_data + b.m_data);
}

CString operator+(const CString& a, const char* b) {
    CString result(a);
    result += b;
    return result;
}

CString operator+(const char* a, const CString& b) {
    CString result(a);
    result += b;
    return result;
}
