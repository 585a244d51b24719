#pragma once

#include "framework/AfxMessageBox.h"
#include "base/CWinApp.h"
#include "TestFiles.h"

#include <string>
#include <vector>

#include <windows.h>

namespace uitest {

// Runs the messages waiting in this thread's queue (and those they cause) until none is left.
inline void PumpMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

// What the test program's application object was told of exceptions that reached a window
// procedure, oldest first.
std::vector<std::string>& ReportedExceptions();

// What the system sends a window moved to a monitor of that DPI; the suggested frame is the one
// the window has.
inline void SendDpiChange(HWND window, UINT dpi) {
    RECT frame{};
    GetWindowRect(window, &frame);
    SendMessageA(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&frame));
}

// Collects what the program would have shown in message boxes, instead of showing them.
class MessageCapture {
public:
    MessageCapture() {
        s_messages.clear();
        m_previous = AfxSetMessageBoxHook(&MessageCapture::Record);
    }
    ~MessageCapture() { AfxSetMessageBoxHook(m_previous); }
    MessageCapture(const MessageCapture&) = delete;
    MessageCapture& operator=(const MessageCapture&) = delete;

    const std::vector<std::wstring>& Messages() const { return s_messages; }
    void Clear() { s_messages.clear(); }

private:
    static int Record(const std::wstring& text, UINT) {
        s_messages.push_back(text);
        return IDOK;
    }
    static inline std::vector<std::wstring> s_messages;
    MessageBoxHook m_previous = nullptr;
};

// A temporary folder whose INI file the application object reads and writes while it lives. The
// INI text is written before any window opens, since the platform caches the file.
class ProfileFolder {
public:
    explicit ProfileFolder(const std::string& iniText = "") : m_folder("rvt-ui") {
        m_iniPath = m_folder.Path("Revtally.ini");
        if (!iniText.empty())
            testfiles::WriteBytes(m_iniPath, iniText);
        AfxGetApp()->m_pszProfileName = m_iniPath.c_str();
    }
    ~ProfileFolder() {
        // Let the platform forget its cached copy before the file goes.
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, m_iniPath.c_str());
    }

    const std::string& IniPath() const { return m_iniPath; }
    std::string Path(const std::string& name) const { return m_folder.Path(name); }
    int ReadInt(const char* section, const char* key, int defaultValue = -999) const {
        return static_cast<int>(
            GetPrivateProfileIntA(section, key, defaultValue, m_iniPath.c_str()));
    }
    std::string ReadString(const char* section, const char* key,
                           const char* defaultValue = "<missing>") const {
        char buffer[4096];
        const DWORD length = GetPrivateProfileStringA(section, key, defaultValue, buffer,
                                                      sizeof buffer, m_iniPath.c_str());
        return std::string(buffer, length);
    }

private:
    testfiles::TestFolder m_folder;
    std::string m_iniPath;
};

} // namespace uitest
