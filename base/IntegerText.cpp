#include "base/IntegerText.h"

#include <climits>
#include <cstdint>

bool ParseDialogInteger(std::string_view text, int& value) {
    size_t i = 0;
    auto blank = [&](size_t at) {
        return at < text.size() && (text[at] == ' ' || text[at] == '\t');
    };
    while (blank(i))
        ++i;
    bool negative = false;
    bool signed_ = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        signed_ = true;
        ++i;
    }
    const size_t digitsStart = i;
    long long magnitude = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        if (magnitude <= INT_MAX)
            magnitude = magnitude * 10 + (text[i] - '0');
    }
    if (i == digitsStart)
        return false;
    while (blank(i))
        ++i;
    if (i != text.size())
        return false;
    if (signed_ && magnitude == 0)
        return false;
    if (magnitude > INT_MAX)
        magnitude = INT_MAX;
    value = static_cast<int>(negative ? -magnitude : magnitude);
    return true;
}

namespace {
// Where atoi's digits would begin: after the white space it skips (blank, TAB, LF, VT, FF, CR)
// and one sign.
size_t AtoiDigitsStart(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    return i;
}
} // namespace

int ParseAtoi(std::string_view text) {
    size_t i = AtoiDigitsStart(text);
    const bool negative = i > 0 && text[i - 1] == '-';
    std::uint32_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = value * 10u + static_cast<std::uint32_t>(text[i] - '0');
    if (negative)
        value = 0u - value;
    // Two's-complement reading of the 32 bits, spelled out so no conversion is
    // implementation-defined.
    return value <= 0x7FFFFFFFu ? static_cast<int>(value) : -static_cast<int>(~value) - 1;
}

bool IsNumberToken(std::string_view token) {
    const size_t at = AtoiDigitsStart(token);
    return at < token.size() && token[at] >= '0' && token[at] <= '9';
}
