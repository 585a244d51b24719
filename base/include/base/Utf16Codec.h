#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// UTF-16 kept as bytes in either byte order, to and from UTF-8. What is not well-formed (an
// unpaired surrogate; bytes that start no UTF-8 character) is refused or stands as U+FFFD.
enum class IllFormed : std::uint8_t { refuse, replace };

// Appends the UTF-8 of the units (a last odd byte is not one) to out. Refused: false, with the
// index of the unpaired surrogate in bad and out cut back to what it held.
bool AppendUtf16AsUtf8(std::string_view units, bool bigEndian, IllFormed rule, std::string& out,
                       std::size_t* bad = nullptr);
// Appends the UTF-16 units of UTF-8 text to out. Refused: false, out cut back to what it held.
bool AppendUtf8AsUtf16(std::string_view text, bool bigEndian, IllFormed rule, std::string& out);

// The units of the bytes in the host's order, for the platform's wide-character calls, and back.
std::u16string Utf16Units(std::string_view units, bool bigEndian);
std::string Utf16Bytes(std::u16string_view units, bool bigEndian);
