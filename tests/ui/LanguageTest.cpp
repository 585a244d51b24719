// Every text the window shows, as the user reads it: Japanese for a Japanese user, exactly as the
// window has always spoken, and English for any other. CTest runs these under both (LANG
// ja_JP.UTF-8 and en_US.UTF-8, code pages 932 and 1252).
#include "DialogDriver.h"
#include "framework/ProgramResources.h"
#include "registry/ProjectRecord.h"
#include "res/ProductInfo.h"
#include "ui/AboutDialog.h"
#include "ui/DirectoryDialog.h"

#include <cstdlib>
#include <map>

namespace uitest {
namespace {
// Where a text is shown: a dialog's caption and its labels and buttons in their order, the tray
// menu's items, the system menu's own item, the list's column titles, or the string table (the
// message boxes and prompts), by id.
enum Place { kMain, kAbout, kDirectory, kTrayMenu, kSystemMenu, kColumns, kString };
struct Text {
    Place place;
    const wchar_t* japanese;
    const wchar_t* english;
    UINT id = 0; // the string's, for kString
};
#define CREDIT L"" REVTALLY_CREDIT
#define HELP_DOWNLOAD L"" REVTALLY_HTMLHELP_DOWNLOAD
const Text kTexts[] = {
    {kMain, L"Revtally", L"Revtally"},
    {kMain, L"閉じる", L"Close"},
    {kMain, L"ｷｬﾝｾﾙ", L"Cancel"},
    {kMain, L"プロジェクト名：", L"Project:"},
    {kMain, L"バージョン：(Mejor Minor Sub)", L"Version (major, minor, sub):"},
    {kMain, L"ビルドナンバー：", L"Build:"},
    {kMain, L"所在：(プロジェクトがあるディレクトリ)", L"Folder of the project:"},
    {kMain, L"Mejor Up", L"Major Up"},
    {kMain, L"Minor Up", L"Minor Up"},
    {kMain, L"Sub Up", L"Sub Up"},
    {kMain, L"Build Up", L"Build Up"},
    {kMain, L"更新履歴...", L"History..."},
    {kMain, L"最終更新日：(最後にリリースビルドされた日)",
     L"Last update (the last release build):"},
    {kMain, L"ヘルプ", L"Help"},
    {kMain, L"削除", L"Delete"},
    {kMain, L"ﾊﾞｰｼﾞｮﾝ", L"About"},
    {kMain, L"追加...", L"Add..."},
    {kMain, L"修正...", L"Edit..."},
    {kAbout, L"Revtallyのﾊﾞｰｼﾞｮﾝ情報", L"About Revtally"},
    {kAbout, L"Revtally", L"Revtally"},
    {kAbout, L"Version", L"Version"},
    {kAbout, L"" REVTALLY_TEST_VERSION_TEXT, L"" REVTALLY_TEST_VERSION_TEXT},
    {kAbout, L"Build", L"Build"},
    {kAbout, L"" REVTALLY_TEST_BUILD_TEXT, L"" REVTALLY_TEST_BUILD_TEXT},
    {kAbout, CREDIT, CREDIT},
    {kAbout, L"Help", L"Help"},
    {kAbout, L"Web", L"Web"},
    {kAbout, L"OK", L"OK"},
    {kDirectory, L"ディレクトリの修正", L"Script Path"},
    {kDirectory, L"修正対象：", L"Script now:"},
    {kDirectory, L"修正後：", L"Script from now on:"},
    {kDirectory, L"...", L"..."},
    {kDirectory, L"OK", L"OK"},
    {kDirectory, L"ｷｬﾝｾﾙ", L"Cancel"},
    {kTrayMenu, L"表示(&D)", L"&Show"},
    {kTrayMenu, L"", L""}, // the separator
    {kTrayMenu, L"ヘルプ(&H)", L"&Help"},
    {kTrayMenu, L"ﾊﾞｰｼﾞｮﾝ情報(&V)", L"&About Revtally"},
    {kTrayMenu, L"Revtallyの終了(&Q)", L"E&xit Revtally"},
    {kSystemMenu, L"Revtally のﾊﾞｰｼﾞｮﾝ情報(&A)...", L"&About Revtally..."},
    {kColumns, L"Project", L"Project"},
    {kColumns, L"Version", L"Version"},
    {kColumns, L"Build", L"Build"},
    {kColumns, L"Last Update", L"Last Update"},
    {kColumns, L"Directory", L"Directory"},
    {kString, L"ヘルプファイルが見つかりません。", L"The help file cannot be found.",
     IDS_HELP_NOT_FOUND},
    {kString,
     L"HTMLHelpViewerが正常にインストールされていません。\r\nIE4."
     L"01とHtmlHelpViewerのランタイムをインストールしてください。HtmlHelpViewerのランタイムはこのプ"
     L"ログラムに添付しているhhupd131.exeです。\r\nhhupd."
     L"exeの最新版は次の場所にあります。\r\n" HELP_DOWNLOAD,
     L"The HTML Help viewer is not installed properly.\r\nInstall Internet Explorer 4.01 and the "
     L"HTML "
     L"Help runtime. The runtime comes with this program as hhupd131.exe.\r\nThe latest hhupd.exe "
     L"is found here:\r\n" HELP_DOWNLOAD,
     IDS_HELP_NO_VIEWER},
    {kString, L"履歴ファイルがありません", L"There is no history file", IDS_HISTORY_NOT_FOUND},
    {kString, L"履歴ファイルは他のアプリケーションが使用しています",
     L"The history file is in use by another application", IDS_HISTORY_IN_USE},
    {kString, L"履歴ファイルが壊れています", L"The history file is damaged", IDS_HISTORY_DAMAGED},
    {kString, L"リソーススクリプトに書き込めませんでした。\r\n%1\r\n%2",
     L"The resource script could not be written.\r\n%1\r\n%2", IDS_SCRIPT_NOT_WRITTEN},
    {kString,
     L"設定ファイルを読み込めませんでした。\r\n%1\r\n%"
     L"2\r\n\r\n登録済みのプロジェクトは表示されません"
     L"。ウィンドウを閉じるときに変更は保存されません。",
     L"The settings file could not be read.\r\n%1\r\n%2\r\n\r\nThe registered projects are not "
     L"shown, and changes are not saved when the window closes.",
     IDS_PROFILE_NOT_READ},
    {kString,
     L"設定ファイルに保存できませんでした。\r\n%1\r\n%2\r\n\r\n[再試行] でもう一度保存します。[キャ"
     L"ンセル] で保存せずに終了し、ウィンドウを開いてからの変更は失われます。",
     L"The settings file could not be saved.\r\n%1\r\n%2\r\n\r\nRetry saves it again. Cancel ends "
     L"without saving, and the changes since the window opened are lost.",
     IDS_PROFILE_NOT_SAVED},
    {kString, L"予期しないエラーが起きました。\r\n%1", L"An unexpected error occurred.\r\n%1",
     IDS_UNEXPECTED_ERROR},
    {kString, L"整数を入力してください。", L"Please enter an integer.", AFX_IDP_PARSE_INT},
    {kString, L"%1 から %2 までの整数を入力してください。",
     L"Please enter an integer between %1 and %2.", AFX_IDP_PARSE_INT_RANGE},
    {kString, L"%1 文字以内で入力してください。", L"Please enter no more than %1 characters.",
     AFX_IDP_PARSE_STRING_SIZE},
};

// A window's caption, then the texts of its labels and buttons in their order (an icon's text
// names its resource, and is no text).
std::vector<std::wstring> Shown(HWND dialog) {
    std::vector<std::wstring> texts;
    for (HWND child = dialog; child;
         child = GetWindow(child, child == dialog ? GW_CHILD : GW_HWNDNEXT)) {
        wchar_t text[1024] = {};
        char kind[32] = {};
        GetClassNameA(child, kind, sizeof kind);
        GetWindowTextW(child, text, 1024);
        if (child == dialog || ((!lstrcmpiA(kind, "Static") || !lstrcmpiA(kind, "Button")) &&
                                *text && *text != 0xFFFF))
            texts.emplace_back(text);
    }
    return texts;
}

std::wstring MenuItem(HMENU menu, UINT position) {
    wchar_t text[256] = {};
    GetMenuStringW(menu, position, text, 256, MF_BYPOSITION);
    return text;
}

using LanguageTest = MainDialogFixture;

TEST_F(LanguageTest, EveryTextInTheUsersLanguage) {
    // The language follows the user's: the run as an English user does not pass as a Japanese one.
    const char* lang = std::getenv("LANG");
    const bool english = PRIMARYLANGID(WindowLanguage()) != LANG_JAPANESE;
    ASSERT_EQ(english, lang && std::string(lang).rfind("ja_", 0) != 0) << lang;
    Open("");
    AboutDialog about;
    ASSERT_TRUE(about.Create());
    ProjectRecord record{"app", {}, "", "C:\\w\\app.rc", "C:\\w\\"};
    DirectoryDialog directory(&record);
    ASSERT_TRUE(directory.Create());
    HMENU tray = LoadMenuIndirectW(FindProgramResource(RT_MENU, IDR_TRAY_MENU).data);
    HMENU system = GetSystemMenu(Dialog().GetSafeHwnd(), FALSE);
    std::map<Place, std::vector<std::wstring>> shown = {
        {kMain, Shown(Dialog().GetSafeHwnd())},
        {kAbout, Shown(about.GetSafeHwnd())},
        {kDirectory, Shown(directory.GetSafeHwnd())},
        {kSystemMenu, {MenuItem(system, static_cast<UINT>(GetMenuItemCount(system) - 1))}}};
    for (UINT item = 0; item < static_cast<UINT>(GetMenuItemCount(GetSubMenu(tray, 0))); ++item)
        shown[kTrayMenu].push_back(MenuItem(GetSubMenu(tray, 0), item));
    for (int column = 0; column < 5; ++column) {
        wchar_t title[64] = {};
        LVCOLUMNW info{};
        info.mask = LVCF_TEXT;
        info.pszText = title;
        info.cchTextMax = 64;
        SendMessageW(Dialog().GetProjectList().GetSafeHwnd(), LVM_GETCOLUMNW, column,
                     reinterpret_cast<LPARAM>(&info));
        shown[kColumns].push_back(title);
    }
    std::map<Place, std::vector<std::wstring>> expected;
    for (const Text& text : kTexts) {
        const std::wstring wanted = english ? text.english : text.japanese;
        if (text.place == kString)
            EXPECT_EQ(LoadResourceString(text.id), wanted) << text.id;
        else
            expected[text.place].push_back(wanted);
    }
    for (const auto& [place, texts] : expected)
        EXPECT_EQ(shown[place], texts) << "place " << place;
    DestroyMenu(tray);
    about.DestroyWindow();
    directory.DestroyWindow();
}

std::wstring ListText(MainDialog& dialog, int row, int column) {
    wchar_t text[512] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = 512;
    SendMessageW(dialog.GetProjectList().GetSafeHwnd(), LVM_GETITEMTEXTW, row,
                 reinterpret_cast<LPARAM>(&item));
    return text;
}

// A path in the characters of the user's code page: Japanese under code page 932, accented Latin
// under 1252. The list and the fields show it as the user wrote it.
TEST_F(LanguageTest, PathsInTheUsersCodePageShowAsWritten) {
    const bool japanese = GetACP() == 932;
    const std::string folder = japanese ? "\x95\x5C\x8E\xA6" : "Caf\xE9";
    const std::string name = japanese ? "\x83\x5C\x83\x74\x83\x67"
                                      : "Pi\xE8"
                                        "ce";
    const std::wstring shownFolder = japanese ? L"表示" : L"Café";
    const std::wstring shownName = japanese ? L"ソフト" : L"Pièce";
    testfiles::MakeFolder(m_scripts.Path(folder));
    Open("");
    Dialog().ApplyResourceScript(
        AddScript(folder + "\\" + name + ".rc", ScriptText(Version{1, 2, 3, 4})).c_str());
    EXPECT_EQ(ListText(Dialog(), 0, 0), shownName);
    EXPECT_NE(ListText(Dialog(), 0, 4).find(shownFolder), std::wstring::npos);
    wchar_t text[512] = {};
    GetDlgItemTextW(Dialog().GetSafeHwnd(), IDC_NAME, text, 512);
    EXPECT_EQ(std::wstring(text), shownName);
    GetDlgItemTextW(Dialog().GetSafeHwnd(), IDC_DIRECTORY, text, 512);
    EXPECT_NE(std::wstring(text).find(shownFolder), std::wstring::npos);
}
} // namespace
} // namespace uitest
