#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

// The two rules by which the program reads a decimal number, both on one scan of digits.

// A run of digits at the start of a text: how many there are, their value modulo 2^32, and
// whether that is their whole value.
struct DigitRun {
    std::size_t length = 0;
    std::uint32_t value = 0;
    bool fits = true;

    // The value with its sign, read as a 32-bit two's-complement number.
    int Signed(bool negative) const;
};
// Digits of a base up to 36: 0 to 9, then the letters in either case.
DigitRun ScanDigits(std::string_view text, unsigned base = 10);

// The scripts' rule: atoi in the "C" locale, with the digits summed modulo 2^32 instead of
// overflowing: 4294967297 reads as 1 and 2147483648 as -2147483648.
int ParseAtoi(std::string_view text);
// Whether ParseAtoi reads digits in the token: a macro name, a quoted number or a comment word is
// not a number, and must be neither read as 0 nor overwritten.
bool IsNumberToken(std::string_view token);

// The strict rule, of the INI file's section names, of -b and of the dialog's number fields:
// decimal digits and nothing else, no blank and no sign. Their value, or UINT32_MAX for any
// larger one; nothing for any other text.
std::optional<std::uint32_t> ParseDecimal(std::string_view text);
