#pragma once

#include "base/CString.h"

#include <string>
#include <string_view>
#include <vector>

// A change of a text: the bytes from begin up to end give way to text.
struct TextEdit {
    int begin;
    int end;
    CString text;
};

// The text with the edits made, in one pass; the edits stand in text order and do not overlap.
std::string ApplyEdits(std::string_view text, const std::vector<TextEdit>& edits);
