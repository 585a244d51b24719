#pragma once

#include <string>
#include <string_view>

// The program's 8-bit text to and from the Unicode forms a user's editor may save the INI file in,
// as the platform's profile functions convert it: the ANSI code page on Windows (a character the
// code page lacks becomes '?'), UTF-8 elsewhere.
std::string Utf16ToAnsi(std::u16string_view text);
std::u16string AnsiToUtf16(std::string_view text);
std::string Utf8ToAnsi(std::string_view text);
std::string AnsiToUtf8(std::string_view text);
// The program's own texts, UTF-8 in the source, for the wide-character calls.
std::u16string Utf8ToUtf16(std::string_view text);
