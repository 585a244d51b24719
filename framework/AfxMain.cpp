// The process entry point: it hands the module path and the argument vector to the one
// application object and returns its exit code.
#include "framework/CException.h"
#include "framework/CWinApp.h"

#include <vector>

#ifdef _WIN32
#include <windows.h>

#include <commctrl.h>
#include <cstdlib>

namespace {
CString ModulePath() {
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        const DWORD length =
            GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return CString();
        if (length < buffer.size())
            return CString(buffer.data(), static_cast<int>(length));
        buffer.resize(buffer.size() * 2);
    }
}

int RunApplication(int argc, char** argv) {
    CWinApp* app = AfxGetApp();
    if (!app)
        return 0;
    std::vector<CString> arguments;
    for (int i = 0; i < argc; ++i)
        arguments.emplace_back(argv[i]);
    try {
        return app->Run(ModulePath(), std::move(arguments));
    } catch (const CException&) {
        return 0;
    } catch (const std::exception&) {
        return 0;
    }
}
} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return RunApplication(__argc, __argv);
}

#else
#include <climits>
#include <unistd.h>

namespace {
CString ModulePath(const char* argv0) {
    std::vector<char> buffer(PATH_MAX);
    const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length > 0 && static_cast<size_t>(length) < buffer.size())
        return CString(buffer.data(), static_cast<int>(length));
    return CString(argv0 ? argv0 : "");
}
} // namespace

int main(int argc, char** argv) {
    CWinApp* app = AfxGetApp();
    if (!app)
        return 0;
    std::vector<CString> arguments;
    for (int i = 0; i < argc; ++i)
        arguments.emplace_back(argv[i]);
    try {
        return app->Run(ModulePath(argc > 0 ? argv[0] : nullptr), std::move(arguments));
    } catch (const std::exception&) {
        return 0;
    }
}
#endif
