#pragma once

#include <string_view>

// How a number field of a dialog reads its text: blanks and tabs may stand around the number and a
// sign may lead it; anything else, a lone sign or a zero written with a sign is not a number. A
// run of digits beyond the largest int reads as that largest value (and likewise below zero).
bool ParseDialogInteger(std::string_view text, int& value);
