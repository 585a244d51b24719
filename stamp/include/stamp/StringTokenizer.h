#pragma once

#include "base/CString.h"

// Splits a statement line into tokens. Each character of the delimiter set separates tokens, except
// between quotes (a double quote or an apostrophe), which stay part of the token they open or
// close. An unclosed quote runs to the end of the text.
class StringTokenizer {
public:
    StringTokenizer(const CString& text, const CString& delimiters);

    CString NextToken();
    CString PeekToken() const;
    bool HasMoreTokens() const;

private:
    CString Scan(int& position) const;
    bool IsDelimiter(char ch) const;

    int m_position = 0;
    int m_length = 0;
    CString m_text;
    CString m_delimiters;
};
