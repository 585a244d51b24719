#pragma once

#include "base/CodePage.h"
#include "base/PathFunctions.h"

#include <string>

// Code page 932 characters chosen for their second byte: 0x5C (the backslash) for the first three,
// a byte that could itself open a character, and the first letter of a keyword.
#define HYO "\x95\x5C" // 表
#define SO "\x83\x5C"  // ソ
#define NOU "\x94\x5C" // 能
#define XYA "\x83\x83" // ャ
#define XE "\x83\x46"  // ェ: 'F'
#define KE "\x83\x50"  // ケ: 'P'

// Puts a code page rule in place for one test and restores the previous one. Natively the default
// rule is single-byte, under Wine it is the system's 932: tests that depend on lead bytes say
// which rule they mean, so the same expectations hold on both.
class CodePageScope {
public:
    explicit CodePageScope(const CodePage& rule) : m_previous(CodePage::SetActive(rule)) {}
    ~CodePageScope() { CodePage::SetActive(m_previous); }
    CodePageScope(const CodePageScope&) = delete;
    CodePageScope& operator=(const CodePageScope&) = delete;

private:
    CodePage m_previous;
};

// "C:|work|app.rc" with each '|' turned into this platform's separator.
inline std::string NativePath(std::string path) {
    for (char& ch : path)
        if (ch == '|')
            ch = kPathSeparator;
    return path;
}
