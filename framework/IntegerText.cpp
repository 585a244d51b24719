#include "framework/IntegerText.h"

#include <climits>

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
