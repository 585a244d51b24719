#include "base/AnsiText.h"
#include "base/Unicode.h"

namespace {
constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf8(std::string& out, char32_t c) {
    char bytes[4];
    out.append(bytes, PutUtf8(bytes, c));
}
} // namespace

std::string Utf16ToAnsi(std::u16string_view text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1]))
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        else if (IsHighSurrogate(c) || IsLowSurrogate(c))
            c = kReplacement;
        AppendUtf8(out, c);
    }
    return out;
}

std::u16string AnsiToUtf16(std::string_view text) {
    std::u16string out;
    for (size_t i = 0; i < text.size();) {
        // A byte that starts no well-formed character stands for itself as U+FFFD.
        char32_t c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            ++i;
        } else if (!NextUtf8(text, i, c)) {
            c = kReplacement;
            ++i;
        }
        if (c >= 0x10000) {
            out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            out += static_cast<char16_t>(c);
        }
    }
    return out;
}

std::string Utf8ToAnsi(std::string_view text) {
    return std::string(text);
}

std::string AnsiToUtf8(std::string_view text) {
    return std::string(text);
}
