#include "base/AnsiText.h"

#include <windows.h>

namespace {
std::u16string ToUtf16(UINT codePage, std::string_view text) {
    if (text.empty())
        return {};
    const int size = static_cast<int>(text.size());
    const int needed = MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0);
    std::u16string wide(static_cast<size_t>(needed), u'\0');
    MultiByteToWideChar(codePage, 0, text.data(), size, reinterpret_cast<wchar_t*>(wide.data()),
                        needed);
    return wide;
}

std::string FromUtf16(UINT codePage, std::u16string_view text) {
    if (text.empty())
        return {};
    const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
    const int size = static_cast<int>(text.size());
    const int needed = WideCharToMultiByte(codePage, 0, wide, size, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(needed), '\0');
    WideCharToMultiByte(codePage, 0, wide, size, bytes.data(), needed, nullptr, nullptr);
    return bytes;
}
} // namespace

std::string Utf16ToAnsi(std::u16string_view text) {
    return FromUtf16(CP_ACP, text);
}

std::u16string AnsiToUtf16(std::string_view text) {
    return ToUtf16(CP_ACP, text);
}

std::string Utf8ToAnsi(std::string_view text) {
    return FromUtf16(CP_ACP, ToUtf16(CP_UTF8, text));
}

std::string AnsiToUtf8(std::string_view text) {
    return FromUtf16(CP_UTF8, ToUtf16(CP_ACP, text));
}

std::u16string Utf8ToUtf16(std::string_view text) {
    return ToUtf16(CP_UTF8, text);
}
