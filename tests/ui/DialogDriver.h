#pragma once

// Drives the main window as a user would, through the messages the controls send and receive, and
// reads back what the window shows.
#include "ui/MainDialog.h"
#include "IniText.h"
#include "ScriptText.h"
#include "UiTestSupport.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include <commctrl.h>
#include <windows.h>

namespace uitest {

using Version = VersionNumber;

// "p" and 3 give "p3".
inline std::string Numbered(const char* prefix, int number) {
    std::string text(prefix);
    text += std::to_string(number);
    return text;
}

inline std::string ToText(const Version& v) {
    return std::to_string(v.major) + "." + std::to_string(v.minor) + "." + std::to_string(v.sub) +
           " b" + std::to_string(v.build);
}

// A resource script in the layout the writer leaves behind, so a rewrite with the same numbers
// gives the same bytes. String values that lag behind the statements tell whether the writer ran.
inline std::string ScriptText(const Version& statements, const Version& strings) {
    return testfiles::ScriptText(testfiles::VersionText(statements),
                                 testfiles::VersionText(strings));
}
inline std::string ScriptText(const Version& v) {
    return ScriptText(v, v);
}
inline std::string StaleScriptText(const Version& v) {
    return ScriptText(v, Version{});
}

using StoredProject = testfiles::IniProject;

inline std::string ProjectIni(const std::vector<StoredProject>& projects,
                              const std::string& more = "") {
    return testfiles::ProjectsIni(projects) + more;
}

inline std::string FieldText(MainDialog& dialog, int id) {
    char buffer[4096] = {};
    GetDlgItemTextA(dialog.GetSafeHwnd(), id, buffer, sizeof buffer);
    return buffer;
}

// The four numbers as the edits show them.
inline std::string ShownNumbers(MainDialog& dialog) {
    return FieldText(dialog, IDC_MAJOR) + "." + FieldText(dialog, IDC_MINOR) + "." +
           FieldText(dialog, IDC_SUB) + " b" + FieldText(dialog, IDC_BUILD);
}

// The four numbers as the list shows them in a row.
inline std::string RowNumbers(MainDialog& dialog, int row) {
    CListCtrl& list = dialog.GetProjectList();
    return std::string(list.GetItemText(row, 1)) + " b" + std::string(list.GetItemText(row, 2));
}

inline std::string RowName(MainDialog& dialog, int row) {
    return std::string(dialog.GetProjectList().GetItemText(row, 0));
}

// Setting the text sends EN_CHANGE, as a keystroke does.
inline void TypeInto(MainDialog& dialog, int id, const char* text) {
    SetDlgItemTextA(dialog.GetSafeHwnd(), id, text);
    PumpMessages();
}

inline void ClickButton(MainDialog& dialog, int id) {
    SendMessageA(dialog.GetDlgItem(id), BM_CLICK, 0, 0);
    PumpMessages();
}

inline void ClickAt(HWND control, int x, int y) {
    SendMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageA(control, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    PumpMessages();
}

// A click on one arrow of an up-down control: the control itself proposes the change.
inline void ClickArrow(MainDialog& dialog, int spinId, bool up) {
    HWND spin = dialog.GetDlgItem(spinId);
    RECT client{};
    GetClientRect(spin, &client);
    const int height = client.bottom - client.top;
    ClickAt(spin, client.right / 2, up ? height / 4 : height * 3 / 4);
}

inline void ClickRow(MainDialog& dialog, int row) {
    HWND list = dialog.GetProjectList().GetSafeHwnd();
    RECT item{};
    item.left = LVIR_LABEL;
    ASSERT_TRUE(SendMessageA(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&item)));
    ClickAt(list, item.left + 4, (item.top + item.bottom) / 2);
}

// One window over its own INI file and script folder. Message boxes are captured, never shown.
class MainDialogFixture : public ::testing::Test {
protected:
    std::string Script(const std::string& name) const { return m_scripts.Path(name); }
    std::string AddScript(const std::string& name, const std::string& text) const {
        testfiles::WriteBytes(Script(name), text);
        return Script(name);
    }

    // Opens a fresh window; a window still open is closed first.
    void Open(const std::string& iniText) {
        Close();
        m_messages.Clear();
        m_profile = std::make_unique<ProfileFolder>(iniText);
        m_dialog = std::make_unique<MainDialog>(m_trayMode);
        ASSERT_TRUE(m_dialog->Create());
        PumpMessages();
    }
    // Destroying the window saves the list.
    void Close() {
        if (m_dialog && m_dialog->GetSafeHwnd())
            m_dialog->DestroyWindow();
        PumpMessages();
        m_dialog.reset();
    }
    void TearDown() override {
        Close();
        m_profile.reset();
    }

    MainDialog& Dialog() { return *m_dialog; }
    const ProfileFolder& Profile() const { return *m_profile; }

    testfiles::TestFolder m_scripts{"rvt-rc"};
    MessageCapture m_messages;
    bool m_trayMode = false;
    std::unique_ptr<ProfileFolder> m_profile;
    std::unique_ptr<MainDialog> m_dialog;
};

} // namespace uitest
