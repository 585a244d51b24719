#include "framework/Win32Text.h"

#include "base/AnsiText.h"

#include <windows.h>

namespace {
// wchar_t is a UTF-16 unit on Windows.
std::wstring Wide(const std::u16string& text) {
    return std::wstring(text.begin(), text.end());
}
} // namespace

std::wstring Utf8ToWide(const char* utf8) {
    return Wide(Utf8ToUtf16(utf8 ? utf8 : ""));
}

std::wstring AnsiToWide(const CString& ansi) {
    return Wide(AnsiToUtf16(ansi.View()));
}

std::wstring SystemErrorText(DWORD error) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message(text ? text : L"", length);
    LocalFree(text);
    while (!message.empty() && (message.back() == L'\r' || message.back() == L'\n'))
        message.pop_back();
    return message;
}
