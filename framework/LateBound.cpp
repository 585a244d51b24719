#include "framework/LateBound.h"

#include <windows.h>

void* LateBoundAddress(const char* library, const char* name) {
    // A library loaded already is only counted again; one loaded here stays for the process.
    HMODULE module = GetModuleHandleA(library);
    if (!module)
        module = LoadLibraryA(library);
    return module ? reinterpret_cast<void*>(GetProcAddress(module, name)) : nullptr;
}
