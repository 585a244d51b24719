// Adding, modifying and deleting projects, the history and help buttons, and the about box.
#include "ui/AboutDialog.h"
#include "framework/CFileDialog.h"
#include "DialogDriver.h"
#include "registry/ProjectRecord.h"
#include "framework/Win32Text.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

using namespace uitest;

namespace {
// What the file dialog answers, instead of a user.
struct FileChoice {
    static inline INT_PTR s_result = IDCANCEL;
    static inline std::string s_path;
    static INT_PTR Answer(HWND, CString& path) {
        path = s_path.c_str();
        return s_result;
    }
};

class ScopedFileChoice {
public:
    ScopedFileChoice(INT_PTR result, const std::string& path) {
        FileChoice::s_result = result;
        FileChoice::s_path = path;
        m_previous = CFileDialog::SetHook(&FileChoice::Answer);
    }
    ~ScopedFileChoice() { CFileDialog::SetHook(m_previous); }

private:
    CFileDialog::Hook m_previous;
};

// Runs steps inside the modal loop of a dialog the test opened: a thread timer fires there.
class WhileModal {
public:
    explicit WhileModal(std::function<void()> steps) {
        s_steps = std::move(steps);
        m_timer = SetTimer(nullptr, 0, 50, &WhileModal::Fire);
    }
    ~WhileModal() { KillTimer(nullptr, m_timer); }

private:
    static void CALLBACK Fire(HWND, UINT, UINT_PTR timer, DWORD) {
        KillTimer(nullptr, timer);
        if (s_steps)
            std::exchange(s_steps, nullptr)();
    }
    static inline std::function<void()> s_steps;
    UINT_PTR m_timer;
};

HWND DirectoryDialogWindow() {
    return FindWindowW(L"#32770", L"ディレクトリの修正");
}

std::string ItemText(HWND dialog, int id) {
    char buffer[1024] = {};
    GetDlgItemTextA(dialog, id, buffer, sizeof buffer);
    return buffer;
}

class ProjectMaintenance : public MainDialogFixture {
protected:
    // Four projects a, b, c, d, top to bottom.
    void OpenFour() {
        std::vector<StoredProject> projects;
        for (const char* name : {"a", "b", "c", "d"})
            projects.push_back({name, Version{1, 0, 0, 1},
                                AddScript(std::string(name) + ".rc", ScriptText({1, 0, 0, 1}))});
        Open(ProjectIni(projects));
    }
    void Select(int row) { ClickRow(Dialog(), row); }
    std::string Rows() {
        std::string names;
        for (int row = 0; row < Dialog().GetProjectList().GetItemCount(); ++row)
            names += RowName(Dialog(), row);
        return names;
    }
};

TEST_F(ProjectMaintenance, DeleteSelectsTheRowThatTakesItsPlace) {
    struct Case {
        int row;
        const char* left;
        const char* selected;
    };
    for (const Case& c : {Case{0, "bcd", "b"}, Case{1, "acd", "c"}, Case{3, "abc", "c"}}) {
        SCOPED_TRACE(c.row);
        OpenFour();
        Select(c.row);
        ClickButton(Dialog(), IDC_DELETE);
        EXPECT_EQ(Rows(), c.left);
        ASSERT_NE(Dialog().GetCurrentProject(), nullptr);
        EXPECT_EQ(std::string(Dialog().GetCurrentProject()->name), c.selected);
        EXPECT_EQ(FieldText(Dialog(), IDC_NAME), c.selected);
        EXPECT_TRUE(Dialog().GetProjectList().GetItemState(
                        Dialog().FindRowByRecord(Dialog().GetCurrentProject()), LVIS_SELECTED) &
                    LVIS_SELECTED);
    }
}

TEST_F(ProjectMaintenance, DeletingTheOnlyProjectClearsTheFields) {
    Open(ProjectIni(
        {{"only", Version{2, 3, 4, 5}, AddScript("only.rc", ScriptText({2, 3, 4, 5}))}}));
    ClickButton(Dialog(), IDC_DELETE);
    EXPECT_EQ(Dialog().GetProjectList().GetItemCount(), 0);
    EXPECT_EQ(Dialog().GetCurrentProject(), nullptr);
    EXPECT_EQ(FieldText(Dialog(), IDC_NAME), "");
    EXPECT_EQ(ShownNumbers(Dialog()), "0.0.0 b0");
    // Nothing left to delete: a second press is harmless.
    ClickButton(Dialog(), IDC_DELETE);
    Close();
    EXPECT_EQ(Profile().ReadInt("PROJECT", "SIZE"), 0);
}

TEST_F(ProjectMaintenance, AddingARegisteredScriptInOtherLetterCaseMovesItUp) {
    OpenFour();
    std::string other = Script("C.RC");
    ScopedFileChoice choice(IDOK, other);
    ClickButton(Dialog(), IDC_ADD);
    EXPECT_EQ(Rows(), "cabd");
    EXPECT_EQ(std::string(Dialog().GetCurrentProject()->rcFile), Script("c.rc"));

    // A cancelled choice changes nothing.
    ScopedFileChoice cancelled(IDCANCEL, Script("new.rc"));
    ClickButton(Dialog(), IDC_ADD);
    EXPECT_EQ(Rows(), "cabd");
}

TEST_F(ProjectMaintenance, AddingANewScriptRegistersIt) {
    OpenFour();
    const std::string path = AddScript("tool.v2.rc", ScriptText({7, 8, 9, 10}));
    ScopedFileChoice choice(IDOK, path);
    ClickButton(Dialog(), IDC_ADD);
    EXPECT_EQ(Rows(), "tool.v2abcd");
    EXPECT_EQ(ShownNumbers(Dialog()), "7.8.9 b10");
    EXPECT_EQ(std::string(Dialog().GetCurrentProject()->directory), m_scripts.Path() + "\\");
}

// The window reads and writes scripts as a stamping run does: a UTF-16LE script is listed with
// its numbers and rewritten in UTF-16LE, and version macros survive every kind of edit.
TEST_F(ProjectMaintenance, AddedScriptsKeepTheirEncodingAndTheirMacros) {
    using testfiles::ReplaceAll;
    const std::string comment = "// 表示ソフト バージョン情報\r\n";
    const std::string plain = ScriptText({1, 2, 3, 4});
    const std::string macros = "VER_MAJOR,VER_MINOR,VER_PATCH,0";
    const std::string macroValues = ReplaceAll(plain, "\"1, 2, 3, 4\\0\"", "VER_STR");
    struct Case {
        const char* name;
        std::string text;
        const char* listed;
        std::string typed; // after typing build 9; for macro scripts also after the other edits
    };
    const Case cases[] = {
        {"wide", testfiles::Utf16File(comment + plain), "1.2.3 b4",
         testfiles::Utf16File(comment + ScriptText({1, 2, 3, 9}))},
        {"numbered", ReplaceAll(plain, "VS_VERSION_INFO", "1"), "1.2.3 b4",
         ReplaceAll(ScriptText({1, 2, 3, 9}), "VS_VERSION_INFO", "1")},
        {"macros", ReplaceAll(macroValues, "1, 2, 3, 4", macros), "0.0.0 b0", ""},
        {"values", macroValues, "1.2.3 b4", ""},
        {"product", ReplaceAll(plain, "PRODUCTVERSION 1, 2, 3, 4", "PRODUCTVERSION " + macros),
         "1.2.3 b4", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OpenFour();
        const std::string path = AddScript(std::string(c.name) + ".rc", c.text);
        ScopedFileChoice choice(IDOK, path);
        ClickButton(Dialog(), IDC_ADD);
        EXPECT_EQ(RowName(Dialog(), 0), c.name);
        EXPECT_EQ(RowNumbers(Dialog(), 0), c.listed);
        EXPECT_EQ(testfiles::ReadBytes(path), c.text);
        TypeInto(Dialog(), IDC_BUILD, "9");
        const std::string typed = c.typed.empty() ? c.text : c.typed;
        EXPECT_EQ(testfiles::ReadBytes(path), typed);
        if (c.typed.empty()) {
            ClickButton(Dialog(), IDC_MINOR_UP);
            ClickArrow(Dialog(), IDC_SUB_SPIN, false);
            EXPECT_EQ(testfiles::ReadBytes(path), c.text);
        }
        // A script the window may not rewrite is told once, not at every keystroke.
        EXPECT_EQ(m_messages.Messages().size(), c.typed.empty() ? 1u : 0u);
        m_messages.Clear();
    }
}

TEST_F(ProjectMaintenance, ModifyThenCancelLeavesTheRecordAlone) {
    OpenFour();
    ProjectRecord* record = Dialog().GetCurrentProject();
    const std::string before = std::string(record->rcFile);
    std::string shownTarget;
    std::string shownAfterBrowse;
    ScopedFileChoice choice(IDOK, Script("elsewhere.rc"));
    WhileModal steps([&] {
        HWND box = DirectoryDialogWindow();
        ASSERT_NE(box, nullptr);
        SendMessageA(GetDlgItem(box, IDC_DIRECTORY_BROWSE), BM_CLICK, 0, 0);
        shownTarget = ItemText(box, IDC_DIRECTORY_TARGET);
        shownAfterBrowse = ItemText(box, IDC_DIRECTORY_NEW);
        SendMessageA(GetDlgItem(box, IDCANCEL), BM_CLICK, 0, 0);
    });
    ClickButton(Dialog(), IDC_MODIFY);
    EXPECT_EQ(shownTarget, before);
    EXPECT_EQ(shownAfterBrowse, Script("elsewhere.rc"));
    EXPECT_EQ(std::string(record->rcFile), before);
}

TEST_F(ProjectMaintenance, ModifyChangesOnlyTheScriptPath) {
    OpenFour();
    ProjectRecord* record = Dialog().GetCurrentProject();
    const std::string moved = Script("moved.rc");
    WhileModal steps([&] {
        HWND box = DirectoryDialogWindow();
        ASSERT_NE(box, nullptr);
        SetDlgItemTextA(box, IDC_DIRECTORY_NEW, moved.c_str());
        SendMessageA(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    });
    ClickButton(Dialog(), IDC_MODIFY);
    EXPECT_EQ(std::string(record->rcFile), moved);
    EXPECT_EQ(std::string(record->name), "a");
    EXPECT_EQ(std::string(record->directory), m_scripts.Path() + "\\");
    // The script at its new place is found as the same project.
    EXPECT_EQ(Dialog().FindRowByScript(moved.c_str()), 0);
}

TEST_F(ProjectMaintenance, APathLongerThanTheFieldIsRefusedAtOk) {
    const std::string longPath = "C:\\" + std::string(250, 'x') + ".rc";
    Open(ProjectIni({{"long", Version{1, 0, 0, 1}, longPath}}));
    bool stillOpenAfterOk = false;
    WhileModal steps([&] {
        HWND box = DirectoryDialogWindow();
        ASSERT_NE(box, nullptr);
        SendMessageA(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
        stillOpenAfterOk = IsWindow(box) != FALSE;
        SendMessageA(GetDlgItem(box, IDCANCEL), BM_CLICK, 0, 0);
    });
    ClickButton(Dialog(), IDC_MODIFY);
    EXPECT_TRUE(stillOpenAfterOk);
    ASSERT_EQ(m_messages.Messages().size(), 1u);
    EXPECT_EQ(m_messages.Messages()[0], Utf8ToWide("240 文字以内で入力してください。"));
    EXPECT_EQ(std::string(Dialog().GetCurrentProject()->rcFile), longPath);
}

TEST_F(ProjectMaintenance, HistoryOfANeverStampedProjectSaysThereIsNone) {
    OpenFour();
    ClickButton(Dialog(), IDC_HISTORY);
    ASSERT_EQ(m_messages.Messages().size(), 1u);
    EXPECT_EQ(m_messages.Messages()[0], Utf8ToWide("履歴ファイルがありません"));
}

TEST_F(ProjectMaintenance, HelpWithoutTheHelpFileSaysSo) {
    OpenFour();
    // The help file is looked for beside the program, here a folder without one.
    AfxGetApp()->Run((m_scripts.Path() + "\\Revtally.exe").c_str(), {});
    Dialog().WinHelp(0);
    ASSERT_EQ(m_messages.Messages().size(), 1u);
    EXPECT_EQ(m_messages.Messages()[0], Utf8ToWide("ヘルプファイルが見つかりません。"));
}

TEST_F(ProjectMaintenance, EveryHelpRequestEndsInTheHelpOperation) {
    OpenFour();
    AfxGetApp()->Run((m_scripts.Path() + "\\Revtally.exe").c_str(), {});
    AfxGetApp()->m_pMainWnd = &Dialog();
    // The button, and F1 (which arrives as WM_HELP).
    ClickButton(Dialog(), ID_HELP);
    HELPINFO help{};
    help.cbSize = sizeof help;
    SendMessageA(Dialog().GetSafeHwnd(), WM_HELP, 0, reinterpret_cast<LPARAM>(&help));
    AfxGetApp()->m_pMainWnd = nullptr;
    EXPECT_EQ(m_messages.Messages(),
              std::vector<std::wstring>(2, Utf8ToWide("ヘルプファイルが見つかりません。")));
}

TEST_F(ProjectMaintenance, TheModalDialogsAreShownOverTheMainWindow) {
    OpenFour();
    AfxGetApp()->m_pMainWnd = &Dialog();
    struct Seen {
        bool visible = false;
        HWND owner = nullptr;
    };
    auto look = [](HWND box, Seen& seen) {
        if (!box)
            return;
        seen.visible = IsWindowVisible(box) != FALSE;
        seen.owner = GetWindow(box, GW_OWNER);
        SendMessageA(GetDlgItem(box, IDCANCEL) ? GetDlgItem(box, IDCANCEL) : GetDlgItem(box, IDOK),
                     BM_CLICK, 0, 0);
    };
    Seen about;
    {
        WhileModal steps([&] { look(FindWindowW(L"#32770", L"Revtallyのﾊﾞｰｼﾞｮﾝ情報"), about); });
        ClickButton(Dialog(), IDC_VERSION);
    }
    Seen directory;
    {
        WhileModal steps([&] { look(DirectoryDialogWindow(), directory); });
        ClickButton(Dialog(), IDC_MODIFY);
    }
    AfxGetApp()->m_pMainWnd = nullptr;
    EXPECT_TRUE(about.visible);
    EXPECT_EQ(about.owner, Dialog().GetSafeHwnd());
    EXPECT_TRUE(directory.visible);
    EXPECT_EQ(directory.owner, Dialog().GetSafeHwnd());
}

TEST(AboutBox, ShowsTheProgramsOwnVersionAndBuild) {
    AboutDialog about;
    ASSERT_TRUE(about.Create());
    EXPECT_EQ(ItemText(about.GetSafeHwnd(), IDC_ABOUT_VERSION), REVTALLY_TEST_VERSION_TEXT);
    EXPECT_EQ(ItemText(about.GetSafeHwnd(), IDC_ABOUT_BUILD), REVTALLY_TEST_BUILD_TEXT);
    about.DestroyWindow();
}

// The manifest makes the program DPI-aware, so the fonts it makes itself must follow the monitor.
// (Wine treats every program as per-monitor aware, so only the manifest's text tells.)
TEST(AboutBox, FontsAreSizedForTheMonitorsDpi) {
    HRSRC manifest = FindResourceA(nullptr, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    ASSERT_NE(manifest, nullptr);
    const std::string text(static_cast<const char*>(LockResource(LoadResource(nullptr, manifest))),
                           SizeofResource(nullptr, manifest));
    EXPECT_NE(text.find(">PerMonitorV2, System</dpiAwareness>"), std::string::npos);

    AboutDialog about;
    ASSERT_TRUE(about.Create());
    auto height = [&](int id) {
        LOGFONTA font{};
        GetObjectA(
            reinterpret_cast<HFONT>(SendDlgItemMessageA(about.GetSafeHwnd(), id, WM_GETFONT, 0, 0)),
            sizeof font, &font);
        return font.lfHeight;
    };
    for (const UINT dpi : {about.GetDpi(), 144u, 192u}) {
        SCOPED_TRACE(dpi);
        if (dpi != about.GetDpi())
            SendDpiChange(about.GetSafeHwnd(), dpi);
        EXPECT_EQ(height(IDC_ABOUT_TITLE), -MulDiv(400, static_cast<int>(dpi), 720));
        for (int id :
             {IDC_ABOUT_VERSION, IDC_ABOUT_VERSION_LABEL, IDC_ABOUT_BUILD, IDC_ABOUT_BUILD_LABEL})
            EXPECT_EQ(height(id), -MulDiv(80, static_cast<int>(dpi), 720)) << id;
    }
    about.DestroyWindow();
}
} // namespace
