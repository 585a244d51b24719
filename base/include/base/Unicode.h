#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// The forms a text file of the user's may be kept in. Without a byte-order mark it is ANSI code
// page text; editors that save Unicode put a mark first.
enum class TextForm : std::uint8_t { ansi, utf8, utf16le, utf16be };

// The form the file's first bytes mark.
TextForm FormOfMark(std::string_view bytes);
// The byte-order mark of a form; empty for ANSI text.
std::string_view MarkOf(TextForm form);

inline bool IsHighSurrogate(unsigned unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
inline bool IsLowSurrogate(unsigned unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// Puts a character as UTF-8 (one to four bytes) at out; returns the end of what it put.
char* PutUtf8(char* out, char32_t c);

// The UTF-8 character at text[i], moving i past it; false, with i where it was, when the bytes
// there are no well-formed character (a stray continuation byte, a short, overlong or surrogate
// sequence).
bool NextUtf8(std::string_view text, std::size_t& i, char32_t& c);
