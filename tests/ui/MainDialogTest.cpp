#include "DialogDriver.h"
#include "ui/MainDialog.h"
#include "registry/ProjectRecord.h"
#include "UiTestSupport.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>

using namespace uitest;

namespace {
TEST(MainDialogSmoke, OpensOverAnEmptyProfileAndSavesOnDestroy) {
    MessageCapture messages;
    ProfileFolder profile;
    MainDialog dialog(false);
    ASSERT_TRUE(dialog.Create());
    PumpMessages();
    EXPECT_EQ(dialog.GetProjectList().GetItemCount(), 0);
    EXPECT_EQ(dialog.GetProjectList().GetColumnCount(), 5);
    dialog.DestroyWindow();
    EXPECT_EQ(profile.ReadInt("PROJECT", "SIZE"), 0);
    EXPECT_TRUE(messages.Messages().empty());
}

const char* const kWidthKeys[] = {"HEADER_WIDTH0", "HEADER_WIDTH1", "HEADER_WIDTH2",
                                  "HEADER_WIDTH3", "HEADER_WIDTH4"};

// Stored projects ------------------------------------------------------------------------------

using ProjectListStoreTest = MainDialogFixture;

TEST_F(ProjectListStoreTest, FirstRunStoresTheFittedWidthsAtOnce) {
    Open("");
    CListCtrl& list = Dialog().GetProjectList();
    const int defaults[] = {220, 220, 180, 220};
    for (int column = 0; column < 5; ++column) {
        SCOPED_TRACE(column);
        // Written while the window opens, not only when it closes.
        EXPECT_EQ(Profile().ReadInt("LISTCONTROL", kWidthKeys[column]),
                  list.GetColumnWidth(column));
        if (column < 4) {
            EXPECT_NE(list.GetColumnWidth(column), defaults[column]);
        }
    }
}

TEST_F(ProjectListStoreTest, AMissingWidthIsTheDefaultWhenProjectsAreStored) {
    Open("[PROJECT]\r\nSIZE=0\r\n[LISTCONTROL]\r\nHEADER_WIDTH0=101\r\nHEADER_WIDTH1=102\r\n"
         "HEADER_WIDTH3=103\r\nHEADER_WIDTH4=104\r\n");
    CListCtrl& list = Dialog().GetProjectList();
    EXPECT_EQ(list.GetColumnWidth(0), 101);
    EXPECT_EQ(list.GetColumnWidth(2), 180);
    EXPECT_EQ(Profile().ReadString("LISTCONTROL", "HEADER_WIDTH2"), "<missing>");
    Close();
    EXPECT_EQ(Profile().ReadInt("LISTCONTROL", "HEADER_WIDTH2"), 180);
}

TEST_F(ProjectListStoreTest, SectionsBelowTheSizeAreReadEvenWhenMissing) {
    Open("[PROJECT]\r\nSIZE=2147483647\r\n[PROJECT0]\r\nAPPLICATION=only\r\n[PROJECT2]\r\n");
    ASSERT_EQ(Dialog().GetProjectList().GetItemCount(), 3);
    EXPECT_EQ(RowName(Dialog(), 0), "only");
    for (int row = 1; row < 3; ++row) {
        EXPECT_EQ(RowName(Dialog(), row), "");
        EXPECT_EQ(RowNumbers(Dialog(), row), "0.0.0 b0");
        EXPECT_EQ(std::string(Dialog().GetProjectList().GetItemText(row, 4)), "");
    }
}

TEST_F(ProjectListStoreTest, HandTypedNamesAndNegativeNumbersSurviveARestart) {
    Open("[project]\r\nsize=1\r\n[Project0]\r\napplication=lower\r\nMejorVersion=4\r\n"
         "minorversion=5\r\nsubversion=6\r\nbuildnumber=-5\r\nrcfile=C:\\x\\lower.rc\r\n");
    ASSERT_EQ(Dialog().GetProjectList().GetItemCount(), 1);
    EXPECT_EQ(RowName(Dialog(), 0), "lower");
    EXPECT_EQ(RowNumbers(Dialog(), 0), "4.5.6 b-5");
    Close();
    EXPECT_EQ(Profile().ReadInt("PROJECT0", "BUILDNUMBER"), -5);
    EXPECT_EQ(Profile().ReadString("PROJECT0", "RCFILE"), "C:\\x\\lower.rc");
    EXPECT_EQ(Profile().ReadString("PROJECT0", "LASTUPDATE"), "");
}

TEST_F(ProjectListStoreTest, DeletedProjectsLeaveTheirOldSectionsBehind) {
    std::vector<StoredProject> stored;
    for (int i = 0; i < 5; ++i)
        stored.push_back({Numbered("p", i), {i, 0, 0, 0}, Numbered("C:\\p\\p", i)});
    Open(ProjectIni(stored));
    Dialog().RemoveProjectRow(3);
    Dialog().RemoveProjectRow(1);
    Close();
    EXPECT_EQ(Profile().ReadInt("PROJECT", "SIZE"), 3);
    const char* const kept[] = {"p0", "p2", "p4", "p3", "p4"};
    const int majors[] = {0, 2, 4, 3, 4};
    for (int i = 0; i < 5; ++i) {
        const std::string section = Numbered("PROJECT", i);
        EXPECT_EQ(Profile().ReadString(section.c_str(), "APPLICATION"), kept[i]) << section;
        EXPECT_EQ(Profile().ReadInt(section.c_str(), "MEJORVERSION"), majors[i]) << section;
    }
}

TEST_F(ProjectListStoreTest, ColumnsFollowTheVisibleWindowToAnotherDpi) {
    Open("[PROJECT]\r\nSIZE=0\r\n[LISTCONTROL]\r\nHEADER_WIDTH0=100\r\nHEADER_WIDTH1=61\r\n");
    CListCtrl& list = Dialog().GetProjectList();
    const UINT dpi = Dialog().GetDpi();
    // Hidden, the window is only being put where it stood: the stored widths stand.
    SendDpiChange(Dialog().GetSafeHwnd(), dpi * 2);
    EXPECT_EQ(list.GetColumnWidth(0), 100);
    Dialog().ShowWindow(SW_SHOWNA);
    SendDpiChange(Dialog().GetSafeHwnd(), dpi * 3);
    EXPECT_EQ(list.GetColumnWidth(0), 150);
    EXPECT_EQ(list.GetColumnWidth(1), 92);
    Close();
    EXPECT_EQ(Profile().ReadInt("LISTCONTROL", kWidthKeys[0]), 150);
}

// Window position ----------------------------------------------------------------------------

using WindowPositionTest = MainDialogFixture;

RECT WindowRect(MainDialog& dialog) {
    RECT rect{};
    dialog.GetWindowRect(&rect);
    return rect;
}

TEST_F(WindowPositionTest, StoredPositionIsPulledOntoTheScreenOrCentred) {
    RECT screen{};
    GetWindowRect(GetDesktopWindow(), &screen);
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    constexpr int kCentred = INT_MIN;
    struct Case {
        const char* left; // nullptr: no section "WINDOW"
        const char* top;
        int x;
        int y;
    };
    const Case cases[] = {
        {"-40", "10", -40, 10},
        {"-51", "10", 0, 10},
        {"40", "-1", 40, 0},
        {"5000", "5000", screen.right - 50, screen.bottom - 100},
        {"-51", "-1", kCentred, kCentred},
        {"-32000", "-32000", kCentred, kCentred},
        {"0", "0", kCentred, kCentred},
        {nullptr, nullptr, kCentred, kCentred},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.left ? std::string(c.left) + "," + c.top : "no section");
        Open(c.left ? std::string("[WINDOW]\r\nLEFT=") + c.left + "\r\nTOP=" + c.top + "\r\n"
                    : "[PROJECT]\r\nSIZE=0\r\n");
        const RECT rect = WindowRect(Dialog());
        if (c.x == kCentred) {
            EXPECT_LE(std::abs((rect.left + rect.right) - (work.left + work.right)), 1);
            EXPECT_LE(std::abs((rect.top + rect.bottom) - (work.top + work.bottom)), 1);
        } else {
            EXPECT_EQ(rect.left, c.x);
            EXPECT_EQ(rect.top, c.y);
        }
        // Placing the hidden window is no move of the user's.
        EXPECT_EQ(Profile().ReadString("WINDOW", "LEFT"), c.left ? c.left : "<missing>");
        EXPECT_EQ(Profile().ReadString("WINDOW", "TOP"), c.top ? c.top : "<missing>");
    }
}

// Hidden or minimised the window moves too (a tray start minimises it at its first showing): only
// where the user put the shown window is kept, written with the list when the window closes.
TEST_F(WindowPositionTest, OnlyWhereTheUserPutTheWindowIsStoredWithTheList) {
    for (const auto& [tray, show] :
         {std::pair{false, SW_MINIMIZE}, {true, SW_SHOW}, {false, SW_SHOW}}) {
        m_trayMode = tray;
        Open("[PROJECT]\r\nSIZE=0\r\n" + testfiles::PositionIni(40, 30));
        Dialog().ShowWindow(show);
        Dialog().SetWindowPos(nullptr, 120, 80, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        PumpMessages();
        EXPECT_EQ(Profile().ReadInt("WINDOW", "LEFT"), 40);
        Close();
        const bool moved = !tray && show == SW_SHOW;
        EXPECT_EQ(Profile().ReadInt("WINDOW", "LEFT"), moved ? 120 : 40) << show << tray;
        EXPECT_EQ(Profile().ReadInt("WINDOW", "TOP"), moved ? 80 : 30) << show << tray;
    }
}

// Selection ----------------------------------------------------------------------------------

class SelectionTest : public MainDialogFixture {
protected:
    void OpenThree() {
        const Version versions[] = {{1, 0, 0, 1}, {2, 0, 0, 2}, {3, 0, 0, 3}};
        std::vector<StoredProject> stored;
        for (int i = 0; i < 3; ++i) {
            const std::string name = Numbered("s", i);
            stored.push_back(
                {name, versions[i], AddScript(name + ".rc", StaleScriptText(versions[i]))});
        }
        Open(ProjectIni(stored));
    }
    // Selecting must never rewrite a script: each still has its stale string values.
    void ExpectScriptsUntouched() {
        const Version versions[] = {{1, 0, 0, 1}, {2, 0, 0, 2}, {3, 0, 0, 3}};
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(testfiles::ReadBytes(Script(Numbered("s", i) + ".rc")),
                      StaleScriptText(versions[i]));
    }
};

TEST_F(SelectionTest, StartSelectsTheFirstRowAndShowsIt) {
    OpenThree();
    EXPECT_EQ(Dialog().GetProjectList().GetItemState(0, LVIS_SELECTED), UINT{LVIS_SELECTED});
    EXPECT_EQ(FieldText(Dialog(), IDC_NAME), "s0");
    EXPECT_EQ(ShownNumbers(Dialog()), "1.0.0 b1");
    EXPECT_EQ(FieldText(Dialog(), IDC_LAST_UPDATE), "2001/02/03 04:05:06");
    EXPECT_EQ(FieldText(Dialog(), IDC_DIRECTORY), m_scripts.Path() + "\\");
    ExpectScriptsUntouched();
}

TEST_F(SelectionTest, KeysMoveOnlyTheMarkWhileAClickSelects) {
    OpenThree();
    HWND list = Dialog().GetProjectList().GetSafeHwnd();
    SendMessageA(list, WM_KEYDOWN, VK_END, 0);
    SendMessageA(list, WM_KEYUP, VK_END, 0);
    PumpMessages();
    ASSERT_EQ(Dialog().GetProjectList().GetItemState(2, LVIS_SELECTED), UINT{LVIS_SELECTED});
    EXPECT_EQ(FieldText(Dialog(), IDC_NAME), "s0");
    EXPECT_EQ(ShownNumbers(Dialog()), "1.0.0 b1");

    ClickRow(Dialog(), 1);
    EXPECT_EQ(FieldText(Dialog(), IDC_NAME), "s1");
    EXPECT_EQ(ShownNumbers(Dialog()), "2.0.0 b2");
    EXPECT_EQ(std::string(Dialog().GetCurrentProject()->name), "s1");
    ExpectScriptsUntouched();
    EXPECT_TRUE(m_messages.Messages().empty());
}

// Closing ------------------------------------------------------------------------------------

// Queues the user's actions behind the initialisation, so the dialog's own modal loop runs them:
// text in the minor edit, then "閉じる", then "ｷｬﾝｾﾙ". Ending with IDCANCEL means "閉じる" left
// the dialog running.
class ScriptedCloseDialog : public MainDialog {
public:
    ScriptedCloseDialog(bool trayMode, const char* minorText)
        : MainDialog(trayMode), m_minorText(minorText) {}
    BOOL OnInitDialog() override {
        const BOOL result = MainDialog::OnInitDialog();
        SetDlgItemTextA(m_hWnd, IDC_MINOR, m_minorText);
        PostMessageA(GetDlgItem(IDOK), BM_CLICK, 0, 0);
        PostMessageA(GetDlgItem(IDCANCEL), BM_CLICK, 0, 0);
        return result;
    }

private:
    const char* m_minorText;
};

using CloseTest = MainDialogFixture;

TEST_F(CloseTest, CloseButtonEndsOnlyANormalWindowWithValidFields) {
    const std::wstring kNotANumber = L"整数を入力してください。";
    struct Case {
        BOOL trayMode;
        const char* minorText;
        INT_PTR result;
        size_t messages; // one for the typing, one more when "閉じる" reads the fields
    };
    const Case cases[] = {
        {FALSE, "7", IDOK, 0},
        {FALSE, "x7", IDCANCEL, 2},
        {TRUE, "x7", IDCANCEL, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.minorText) + (c.trayMode ? " tray" : ""));
        m_messages.Clear();
        ProfileFolder profile("[PROJECT]\r\nSIZE=1\r\n[PROJECT0]\r\nAPPLICATION=a\r\n");
        ScriptedCloseDialog dialog(c.trayMode, c.minorText);
        EXPECT_EQ(dialog.DoModal(), c.result);
        ASSERT_EQ(m_messages.Messages().size(), c.messages);
        for (const std::wstring& message : m_messages.Messages())
            EXPECT_EQ(message, kNotANumber);
        EXPECT_EQ(profile.ReadInt("PROJECT", "SIZE"), 1);
    }
}

TEST_F(CloseTest, CloseButtonHidesTheWindowInTrayMode) {
    m_trayMode = true;
    Open("[PROJECT]\r\nSIZE=0\r\n");
    Dialog().ShowWindow(SW_SHOW); // the first showing in tray mode hides it again
    PumpMessages();
    EXPECT_FALSE(Dialog().IsWindowVisible());
    Dialog().ShowWindow(SW_RESTORE);
    PumpMessages();
    ASSERT_TRUE(Dialog().IsWindowVisible());
    ClickButton(Dialog(), IDOK);
    EXPECT_FALSE(Dialog().IsWindowVisible());
    EXPECT_NE(Dialog().GetSafeHwnd(), nullptr);
}

// When Windows ends nobody can be asked: a save that fails then is not told.
TEST_F(CloseTest, AFailedSaveIsNotToldWhenWindowsEnds) {
    Open("[PROJECT]\r\nSIZE=1\r\n");
    testfiles::SetReadOnly(Profile().IniPath(), true);
    SendMessageA(Dialog().GetSafeHwnd(), WM_ENDSESSION, TRUE, 0);
    EXPECT_TRUE(m_messages.Messages().empty());
    testfiles::SetReadOnly(Profile().IniPath(), false);
}
} // namespace
