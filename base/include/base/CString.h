#pragma once

#include <string>
#include <string_view>

// 8-bit text in the ANSI code page. Byte semantics throughout: lengths and indices count bytes,
// and nothing here knows about double-byte characters (see CodePage and the stamp searches).
class CString {
public:
    CString() = default;
    CString(const char* text) : m_data(text ? text : "") {}
    CString(const char* text, int length) : m_data(text, static_cast<size_t>(length)) {}
    CString(std::string text) : m_data(std::move(text)) {}
    CString(std::string_view text) : m_data(text) {}

    int GetLength() const { return static_cast<int>(m_data.size()); }
    bool IsEmpty() const { return m_data.empty(); }
    void Empty() { m_data.clear(); }
    char GetAt(int index) const { return m_data[static_cast<size_t>(index)]; }
    char operator[](int index) const { return GetAt(index); }

    operator const char*() const { return m_data.c_str(); }
    const char* GetString() const { return m_data.c_str(); }
    const std::string& Str() const { return m_data; }
    std::string& Str() { return m_data; }
    std::string_view View() const { return m_data; }

    CString Left(int count) const;
    CString Mid(int first) const;
    CString Mid(int first, int count) const;

    // Plain byte search; -1 when absent.
    int Find(char ch, int start = 0) const;
    int Find(const char* sub, int start = 0) const;

    int Insert(int index, const char* text);
    int Delete(int index, int count = 1);

    // printf-style formatting into this string.
    void Format(const char* format, ...)
#if defined(__GNUC__)
        __attribute__((format(printf, 2, 3)))
#endif
        ;

    CString& operator=(const char* text);
    CString& operator+=(const CString& other);
    CString& operator+=(const char* text);
    CString& operator+=(char ch);

    friend CString operator+(const CString& a, const CString& b);
    friend CString operator+(const CString& a, const char* b);
    friend CString operator+(const char* a, const CString& b);
    friend bool operator==(const CString& a, const CString& b) {
        return a.m_data == b.m_data;
    }
    friend bool operator==(const CString& a, const char* b) {
        return a.m_data == (b ? b : "");
    }

private:
    std::string m_data;
};
