#pragma once

#include <string_view>

// How a number field of a dialog reads its text: blanks and tabs may stand around the number and a
// sign may lead it; anything else, a lone sign or a zero written with a sign is not a number. A
// run of digits beyond the largest int reads as that largest value (and likewise below zero).
bool ParseDialogInteger(std::string_view text, int& value);

// atoi in the "C" locale, with the digits summed modulo 2^32 instead of overflowing: 4294967297
// reads as 1 and 2147483648 as -2147483648.
int ParseAtoi(std::string_view text);

// Whether ParseAtoi reads digits in the token: a macro name, a quoted number or a comment word is
// not a number, and must be neither read as 0 nor overwritten.
bool IsNumberToken(std::string_view token);
