#include "framework/ProgramResources.h"

// Chosen by the program rather than left to the resource loader, which follows the thread's UI
// language and, for a language the program lacks, may take any one it has.
LANGID WindowLanguage() {
    static const LANGID language = PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_JAPANESE
                                       ? MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT)
                                       : MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
    return language;
}

ProgramResource FindProgramResource(LPCSTR type, UINT id) {
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceExA(module, type, MAKEINTRESOURCEA(id), WindowLanguage());
    if (!found)
        found = FindResourceA(module, MAKEINTRESOURCEA(id), type);
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    if (!loaded)
        return {};
    return {LockResource(loaded), SizeofResource(module, found)};
}

std::wstring LoadResourceString(UINT id) {
    // Strings come in blocks of sixteen, each its length and then its UTF-16 characters.
    const ProgramResource block = FindProgramResource(RT_STRING, id / 16 + 1);
    const auto* text = static_cast<const wchar_t*>(block.data);
    const wchar_t* end = text + block.size / sizeof(wchar_t);
    for (UINT index = 0; text && text < end; ++index) {
        const size_t length = *text++;
        if (length > static_cast<size_t>(end - text))
            break;
        if (index == id % 16)
            return std::wstring(text, length);
        text += length;
    }
    return std::wstring();
}
