#include "stamp/StringTokenizer.h"

#include <cstring>

namespace {
constexpr char kDoubleQuote = '"';
constexpr char kApostrophe = '\'';
} // namespace

StringTokenizer::StringTokenizer(const CString& text, const CString& delimiters)
    : m_position(0), m_length(text.GetLength()), m_text(text), m_delimiters(delimiters) {}

bool StringTokenizer::IsDelimiter(char ch) const {
    return ch != '\0' && std::memchr(m_delimiters.GetString(), ch,
                                     static_cast<size_t>(m_delimiters.GetLength())) != nullptr;
}

CString StringTokenizer::Scan(int& position) const {
    while (position < m_length && IsDelimiter(m_text[position]))
        ++position;
    const int start = position;
    CString token;
    char openQuote = 0;
    while (position < m_length) {
        const char ch = m_text[position];
        if (openQuote) {
            // The closing quote counts as an unquoted character: kept unless it is a delimiter.
            if (ch == openQuote) {
                openQuote = 0;
                if (IsDelimiter(ch))
                    break;
            }
        } else if (ch == kDoubleQuote || ch == kApostrophe) {
            openQuote = ch;
        } else if (IsDelimiter(ch)) {
            break;
        }
        ++position;
    }
    token = m_text.Mid(start, position - start);
    return token;
}

CString StringTokenizer::NextToken() {
    return Scan(m_position);
}

CString StringTokenizer::PeekToken() const {
    int position = m_position;
    return Scan(position);
}

bool StringTokenizer::HasMoreTokens() const {
    return !PeekToken().IsEmpty();
}
