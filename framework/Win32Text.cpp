#include "framework/Win32Text.h"

#include <windows.h>

namespace {
std::wstring ToWide(UINT codePage, const char* text, int length) {
    if (length <= 0)
        return std::wstring();
    const int needed = MultiByteToWideChar(codePage, 0, text, length, nullptr, 0);
    std::wstring wide(static_cast<size_t>(needed), L'\0');
    MultiByteToWideChar(codePage, 0, text, length, wide.data(), needed);
    return wide;
}
} // namespace

std::wstring Utf8ToWide(const char* utf8) {
    return ToWide(CP_UTF8, utf8, utf8 ? lstrlenA(utf8) : 0);
}

std::wstring AnsiToWide(const CString& ansi) {
    return ToWide(CP_ACP, ansi.GetString(), ansi.GetLength());
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
