#include "base/IntegerText.h"

namespace {
// 0 to 35 for a digit of base 36; beyond that for any other character.
unsigned DigitValue(char c) {
    if (c >= '0' && c <= '9')
        return static_cast<unsigned>(c - '0');
    if (c >= 'A' && c <= 'Z')
        return static_cast<unsigned>(c - 'A' + 10);
    if (c >= 'a' && c <= 'z')
        return static_cast<unsigned>(c - 'a' + 10);
    return 99;
}

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

int DigitRun::Signed(bool negative) const {
    const std::uint32_t bits = negative ? 0u - value : value;
    // Two's-complement reading of the 32 bits, spelled out so no conversion is
    // implementation-defined.
    return bits <= 0x7FFFFFFFu ? static_cast<int>(bits) : -static_cast<int>(~bits) - 1;
}

DigitRun ScanDigits(std::string_view text, unsigned base) {
    DigitRun run;
    for (; run.length < text.size(); ++run.length) {
        const unsigned digit = DigitValue(text[run.length]);
        if (digit >= base)
            break;
        // The value so far is below 2^32, so the next one fits in 64 bits.
        const std::uint64_t next = std::uint64_t{run.value} * base + digit;
        run.fits = run.fits && next <= UINT32_MAX;
        run.value = static_cast<std::uint32_t>(next);
    }
    return run;
}

int ParseAtoi(std::string_view text) {
    const size_t at = AtoiDigitsStart(text);
    return ScanDigits(text.substr(at)).Signed(at > 0 && text[at - 1] == '-');
}

bool IsNumberToken(std::string_view token) {
    return ScanDigits(token.substr(AtoiDigitsStart(token))).length > 0;
}

std::optional<std::uint32_t> ParseDecimal(std::string_view text) {
    const DigitRun run = ScanDigits(text);
    if (run.length == 0 || run.length != text.size())
        return std::nullopt;
    return run.fits ? run.value : UINT32_MAX;
}
