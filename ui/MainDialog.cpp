#include "ui/MainDialog.h"

#include "ui/AboutDialog.h"
#include "framework/AfxMessageBox.h"
#include "framework/CFileDialog.h"
#include "framework/CTime.h"
#include "ui/DirectoryDialog.h"
#include "ui/ScriptFileFilter.h"
#include "framework/CodePage.h"
#include "stamp/HandOffRecord.h"
#include "framework/CWinApp.h"
#include "framework/DataExchange.h"
#include "stamp/PathFunctions.h"
#include "registry/ProjectListStore.h"
#include "registry/ProjectRecord.h"
#include "stamp/RcVersionReader.h"
#include "stamp/RcVersionWriter.h"
#include "stamp/TextRules.h"
#include "framework/Win32Text.h"
#include "registry/WindowSettings.h"
#include "res/resource.h"

#include <climits>
#include <cstring>
#include <string>

namespace {
constexpr int kLargestNumber = INT_MAX;
constexpr char kTimeStampFormat[] = "%Y/%m/%d %H:%M:%S";

CString VersionText(const ProjectRecord& record) {
    CString text;
    text.Format("%d.%d.%d", record.major, record.minor, record.sub);
    return text;
}

CString BuildText(const ProjectRecord& record) {
    CString text;
    text.Format("%d", record.build);
    return text;
}

int RaisedByOne(int value) {
    return value < kLargestNumber ? value + 1 : value;
}

constexpr UINT_PTR kHideTimer = 13;
constexpr UINT kHideTimerPeriod = 10;
constexpr UINT kTrayNotifyMessage = WM_APP + 0x200;
constexpr UINT kAboutCommand = IDM_ABOUTBOX;

// Sent to every top-level window when the task bar starts again (after a crash of the shell), so
// that tray icons can be put back.
const UINT kTaskbarCreatedMessage = RegisterWindowMessageA("TaskbarCreated");
} // namespace

// clang-format off
const MessageMapEntry MainDialog::kMessageEntries[] = {
    OnNotify(IDC_PROJECT_LIST, NM_CLICK, &MainDialog::OnClickProjectList),
    OnNotify(IDC_PROJECT_LIST, HDN_BEGINTRACKA, &MainDialog::OnHeaderNotify),
    OnNotify(IDC_PROJECT_LIST, HDN_ENDTRACKA, &MainDialog::OnHeaderNotify),
    OnNotify(IDC_PROJECT_LIST, HDN_TRACKA, &MainDialog::OnHeaderNotify),
    OnNotify(IDC_PROJECT_LIST, HDN_ENDDRAG, &MainDialog::OnHeaderNotify),
    OnNotify(IDC_PROJECT_LIST, HDN_DIVIDERDBLCLICKA, &MainDialog::OnHeaderNotify),
    OnNotify(IDC_PROJECT_LIST, LVN_COLUMNCLICK, &MainDialog::OnHeaderNotify),
    OnSizeMessage(&MainDialog::OnSize),
    OnShowWindowMessage(&MainDialog::OnShowWindow),
    OnMoveMessage(&MainDialog::OnMove),
    OnCommand(IDC_MAJOR, EN_CHANGE, &MainDialog::OnChangeMajor),
    OnCommand(IDC_MINOR, EN_CHANGE, &MainDialog::OnChangeMinor),
    OnCommand(IDC_SUB, EN_CHANGE, &MainDialog::OnChangeSub),
    OnCommand(IDC_BUILD, EN_CHANGE, &MainDialog::OnChangeBuild),
    OnNotify(IDC_MAJOR_SPIN, UDN_DELTAPOS, &MainDialog::OnDeltaPosMajor),
    OnNotify(IDC_MINOR_SPIN, UDN_DELTAPOS, &MainDialog::OnDeltaPosMinor),
    OnNotify(IDC_SUB_SPIN, UDN_DELTAPOS, &MainDialog::OnDeltaPosSub),
    OnNotify(IDC_BUILD_SPIN, UDN_DELTAPOS, &MainDialog::OnDeltaPosBuild),
    OnCommand(IDC_MAJOR_UP, BN_CLICKED, &MainDialog::OnMajorUp),
    OnCommand(IDC_MINOR_UP, BN_CLICKED, &MainDialog::OnMinorUp),
    OnCommand(IDC_SUB_UP, BN_CLICKED, &MainDialog::OnSubUp),
    OnCommand(IDC_BUILD_UP, BN_CLICKED, &MainDialog::OnBuildUp),
    OnCopyDataMessage(&MainDialog::OnCopyData),
    OnMessage(kHandOffMessage, &MainDialog::OnHandOffMessage),
    OnMessage(kTrayNotifyMessage, &MainDialog::OnTrayNotify),
    OnMessage(kTaskbarCreatedMessage, &MainDialog::OnTaskbarCreated),
    OnMessage(WM_ENDSESSION, &MainDialog::OnEndSession),
    OnMessage(WM_QUERYDRAGICON, &MainDialog::OnQueryDragIcon),
    OnTimerMessage(&MainDialog::OnTimer),
    OnSysCommandMessage(&MainDialog::OnSysCommand),
    OnPaintMessage(&MainDialog::OnPaint),
    OnCommand(ID_TRAY_SHOW, 0, &MainDialog::OnTrayShow),
    OnCommand(IDM_ABOUTBOX, 0, &MainDialog::OnAbout),
    OnCommand(IDC_ADD, BN_CLICKED, &MainDialog::OnAdd),
    OnCommand(IDC_MODIFY, BN_CLICKED, &MainDialog::OnModify),
    OnCommand(IDC_DELETE, BN_CLICKED, &MainDialog::OnDelete),
    OnCommand(IDC_HISTORY, BN_CLICKED, &MainDialog::OnHistory),
    OnCommand(IDC_VERSION, BN_CLICKED, &MainDialog::OnAbout),
};
// clang-format on
const MessageMap MainDialog::kMessageMap = {nullptr, kMessageEntries,
                                            sizeof kMessageEntries / sizeof kMessageEntries[0]};

const MessageMap* MainDialog::GetMessageMap() const {
    return &kMessageMap;
}

MainDialog::MainDialog(const LaunchOptions* launchOptions, CWnd* parent)
    : CDialog(kTemplateId, parent),
      m_hIcon(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME))),
      m_launchOptions(launchOptions) {}

void MainDialog::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_PROJECT_LIST, m_projectList);
    DDX_Text(pDX, IDC_NAME, m_nameText);
    DDX_Text(pDX, IDC_DIRECTORY, m_directoryText);
    DDX_Text(pDX, IDC_LAST_UPDATE, m_lastUpdateText);
    DDX_Text(pDX, IDC_BUILD, m_build);
    DDV_MinMaxInt(pDX, m_build, 0, kLargestNumber);
    DDX_Text(pDX, IDC_MAJOR, m_major);
    DDV_MinMaxInt(pDX, m_major, 0, kLargestNumber);
    DDX_Text(pDX, IDC_MINOR, m_minor);
    DDV_MinMaxInt(pDX, m_minor, 0, kLargestNumber);
    DDX_Text(pDX, IDC_SUB, m_sub);
    DDV_MinMaxInt(pDX, m_sub, 0, kLargestNumber);
}

BOOL MainDialog::OnInitDialog() {
    CDialog::OnInitDialog();

    if (HMENU systemMenu = GetSystemMenu(m_hWnd, FALSE)) {
        wchar_t about[256] = {};
        if (LoadStringW(GetModuleHandleA(nullptr), IDS_ABOUTBOX, about, 256) > 0) {
            AppendMenuW(systemMenu, MF_SEPARATOR, 0, nullptr);
            AppendMenuW(systemMenu, MF_STRING, IDM_ABOUTBOX, about);
        }
    }
    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);

    // Up proposes +1 only when the range runs upward; the controls' own positions are never read.
    for (int spin : {IDC_MAJOR_SPIN, IDC_MINOR_SPIN, IDC_SUB_SPIN, IDC_BUILD_SPIN})
        SendDlgItemMessageA(m_hWnd, spin, UDM_SETRANGE32, 0, kLargestNumber);

    LoadProjectList();
    if (m_projectList.GetItemCount() > 0)
        SelectProject(GetRowRecord(0));

    const WindowSettings settings(*AfxGetApp());
    if (settings.RestorePosition(*this))
        CenterWindow();

    // Builds running at another integrity level must still reach the window.
    ChangeWindowMessageFilterEx(m_hWnd, WM_COPYDATA, MSGFLT_ALLOW, nullptr);

    if (m_launchOptions && m_launchOptions->trayMode) {
        AddTrayIcon();
        SetTimer(m_hWnd, kHideTimer, kHideTimerPeriod, nullptr);
    }
    return TRUE;
}

void MainDialog::OnOK() {
    if (m_launchOptions && m_launchOptions->trayMode) {
        ShowWindow(SW_HIDE);
        return;
    }
    CDialog::OnOK();
}

BOOL MainDialog::DestroyWindow() {
    // Without its window the list is gone too: saving now would store an empty list.
    if (!m_hWnd)
        return FALSE;
    NOTIFYICONDATAA icon;
    FillTrayIcon(icon);
    Shell_NotifyIconA(NIM_DELETE, &icon);
    SaveProjectList();
    if (HWND help = FindWindowA(nullptr, kHelpWindowTitle))
        PostMessageA(help, WM_CLOSE, 0, 0);
    return CDialog::DestroyWindow();
}

void MainDialog::LoadProjectList() {
    ProjectListStore(*AfxGetApp()).LoadProjectList(*this);
}

void MainDialog::SaveProjectList() {
    m_currentProject = nullptr;
    ProjectListStore(*AfxGetApp()).SaveProjectList(*this);
}

// Rows ---------------------------------------------------------------------------------------

int MainDialog::GetRowCount() const {
    return m_projectList.GetItemCount();
}

ProjectRecord* MainDialog::GetRowRecord(int row) const {
    return reinterpret_cast<ProjectRecord*>(m_projectList.GetItemData(row));
}

void MainDialog::DetachRowRecord(int row) {
    m_projectList.SetItemData(row, 0);
}

void MainDialog::InsertListColumn(int column, const char* title, int width) {
    m_projectList.InsertColumn(column, title, LVCFMT_LEFT, width, column);
}

int MainDialog::FitColumnToTitle(int column) {
    m_projectList.SetColumnWidth(column, LVSCW_AUTOSIZE_USEHEADER);
    return m_projectList.GetColumnWidth(column);
}

int MainDialog::GetListColumnWidth(int column) const {
    return m_projectList.GetColumnWidth(column);
}

int MainDialog::GetListColumnCount() const {
    return m_projectList.GetColumnCount();
}

int MainDialog::FindRowByScript(const CString& path) const {
    for (int row = 0; row < GetRowCount(); ++row) {
        const ProjectRecord* record = GetRowRecord(row);
        if (record && EqualNoCaseMbcs(record->rcFile.View(), path.View()))
            return row;
    }
    return -1;
}

int MainDialog::FindRowByRecord(const ProjectRecord* record) const {
    for (int row = 0; row < GetRowCount(); ++row) {
        if (GetRowRecord(row) == record)
            return row;
    }
    return -1;
}

void MainDialog::InsertProjectRow(int index, ProjectRecord* record) {
    m_projectList.InsertItem(index, record->name);
    m_projectList.SetItemText(index, 1, VersionText(*record));
    m_projectList.SetItemText(index, 2, BuildText(*record));
    m_projectList.SetItemText(index, 3, record->lastUpdate);
    m_projectList.SetItemText(index, 4, record->directory);
    m_projectList.SetItemData(index, reinterpret_cast<DWORD_PTR>(record));
}

void MainDialog::InsertProjectRowAtTop(ProjectRecord* record) {
    InsertProjectRow(0, record);
}

void MainDialog::AppendProjectRow(ProjectRecord* record) {
    InsertProjectRow(m_projectList.GetItemCount(), record);
}

ProjectRecord* MainDialog::RemoveProjectRow(int index) {
    ProjectRecord* record = GetRowRecord(index);
    m_projectList.DeleteItem(index);
    return record;
}

void MainDialog::MoveProjectRow(int index, ProjectRecord* record) {
    RemoveProjectRow(FindRowByRecord(record));
    InsertProjectRow(index, record);
}

void MainDialog::RefreshProjectRow(const ProjectRecord* record) {
    const int row = FindRowByRecord(record);
    if (row < 0)
        return;
    m_projectList.SetItemText(row, 1, VersionText(*record));
    m_projectList.SetItemText(row, 2, BuildText(*record));
    m_projectList.SetItemText(row, 3, record->lastUpdate);
    m_projectList.SetItemText(row, 4, record->directory);
}

// Selection ----------------------------------------------------------------------------------

void MainDialog::SelectProject(ProjectRecord* record) {
    m_currentProject = record;
    if (record) {
        m_nameText = record->name;
        m_directoryText = record->directory;
        m_lastUpdateText = record->lastUpdate;
        m_major = record->major;
        m_minor = record->minor;
        m_sub = record->sub;
        m_build = record->build;
        const int row = FindRowByRecord(record);
        if (row >= 0)
            m_projectList.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
    } else {
        m_nameText.Empty();
        m_directoryText.Empty();
        m_lastUpdateText.Empty();
        m_major = m_minor = m_sub = m_build = 0;
    }
    UpdateData(FALSE);
}

void MainDialog::OnClickProjectList(NMHDR* header, LRESULT* result) {
    const auto* click = reinterpret_cast<const NMITEMACTIVATE*>(header);
    if (click->iItem >= 0)
        SelectProject(GetRowRecord(click->iItem));
    *result = 0;
}

void MainDialog::OnHeaderNotify(NMHDR*, LRESULT* result) {
    *result = 0;
}

// Window states ------------------------------------------------------------------------------

void MainDialog::OnSize(UINT type, int, int) {
    if (type == SIZE_MINIMIZED)
        ShowWindow(SW_HIDE);
}

void MainDialog::OnShowWindow(BOOL, UINT) {
    if (m_launchOptions && m_launchOptions->trayMode && m_firstShow) {
        m_firstShow = FALSE;
        ShowWindow(SW_MINIMIZE);
    }
}

void MainDialog::OnMove(int, int) {
    WindowSettings(*AfxGetApp()).SavePosition(*this);
}

// Editing the numbers ------------------------------------------------------------------------

void MainDialog::CommitCurrentProject() {
    if (!m_currentProject)
        return;
    WriteRcVersion(m_currentProject->rcFile, m_currentProject->major, m_currentProject->minor,
                   m_currentProject->sub, m_currentProject->build);
    RefreshProjectRow(m_currentProject);
}

void MainDialog::OnNumberEdited(int ProjectRecord::*field, int MainDialog::*member) {
    UpdateData(TRUE);
    if (!m_currentProject)
        return;
    m_currentProject->*field = this->*member;
    CommitCurrentProject();
}

void MainDialog::OnChangeMajor() {
    OnNumberEdited(&ProjectRecord::major, &MainDialog::m_major);
}
void MainDialog::OnChangeMinor() {
    OnNumberEdited(&ProjectRecord::minor, &MainDialog::m_minor);
}
void MainDialog::OnChangeSub() {
    OnNumberEdited(&ProjectRecord::sub, &MainDialog::m_sub);
}
void MainDialog::OnChangeBuild() {
    OnNumberEdited(&ProjectRecord::build, &MainDialog::m_build);
}

void MainDialog::OnNumberStepped(NMHDR* header, int ProjectRecord::*field,
                                 int MainDialog::*member) {
    if (!m_currentProject)
        return;
    int& value = this->*member;
    // One step per notification, whatever size the control proposes.
    if (reinterpret_cast<const NMUPDOWN*>(header)->iDelta < 0) {
        if (value > 0)
            --value;
    } else {
        value = RaisedByOne(value);
    }
    m_currentProject->*field = value;
    UpdateData(FALSE);
    CommitCurrentProject();
}

void MainDialog::OnDeltaPosMajor(NMHDR* header, LRESULT* result) {
    OnNumberStepped(header, &ProjectRecord::major, &MainDialog::m_major);
    *result = 0;
}
void MainDialog::OnDeltaPosMinor(NMHDR* header, LRESULT* result) {
    OnNumberStepped(header, &ProjectRecord::minor, &MainDialog::m_minor);
    *result = 0;
}
void MainDialog::OnDeltaPosSub(NMHDR* header, LRESULT* result) {
    OnNumberStepped(header, &ProjectRecord::sub, &MainDialog::m_sub);
    *result = 0;
}
void MainDialog::OnDeltaPosBuild(NMHDR* header, LRESULT* result) {
    OnNumberStepped(header, &ProjectRecord::build, &MainDialog::m_build);
    *result = 0;
}

void MainDialog::OnMajorUp() {
    if (!m_currentProject)
        return;
    m_currentProject->major = m_major = RaisedByOne(m_major);
    m_currentProject->minor = m_minor = 0;
    m_currentProject->sub = m_sub = 0;
    UpdateData(FALSE);
    CommitCurrentProject();
}

void MainDialog::OnMinorUp() {
    if (!m_currentProject)
        return;
    m_currentProject->minor = m_minor = RaisedByOne(m_minor);
    m_currentProject->sub = m_sub = 0;
    UpdateData(FALSE);
    CommitCurrentProject();
}

void MainDialog::OnSubUp() {
    if (!m_currentProject)
        return;
    m_currentProject->sub = m_sub = RaisedByOne(m_sub);
    UpdateData(FALSE);
    CommitCurrentProject();
}

void MainDialog::OnBuildUp() {
    if (!m_currentProject)
        return;
    m_currentProject->build = m_build = RaisedByOne(m_build);
    UpdateData(FALSE);
    CommitCurrentProject();
}

// Applying a script --------------------------------------------------------------------------

void MainDialog::ApplyResourceScript(const CString& path) {
    const int row = FindRowByScript(path);
    ProjectRecord* record = row >= 0 ? GetRowRecord(row) : nullptr;
    if (record) {
        MoveProjectRow(0, record);
    } else {
        record = new ProjectRecord;
        record->directory = ExtractDirectory(path);
        record->name = ExtractFileTitle(ExtractFileName(path));
        record->rcFile = path;
        InsertProjectRowAtTop(record);
    }
    // A partial read must never reach the record, the script or the INI file.
    int major = 0, minor = 0, sub = 0, build = 0;
    const bool read = ReadRcVersion(path, major, minor, sub, build) != FALSE;
    if (read) {
        record->major = major;
        record->minor = minor;
        record->sub = sub;
        record->build = build;
    }
    record->lastUpdate = CTime::Now().Format(kTimeStampFormat);
    SelectProject(record);
    if (read)
        CommitCurrentProject();
    else
        RefreshProjectRow(record);
}

// Tray and window life ------------------------------------------------------------------------

void MainDialog::FillTrayIcon(NOTIFYICONDATAA& icon) const {
    std::memset(&icon, 0, sizeof icon);
    // The original (version 1) layout of the record, which every shell understands.
    icon.cbSize = NOTIFYICONDATAA_V1_SIZE;
    icon.hWnd = m_hWnd;
    icon.uID = 0;
    icon.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    icon.uCallbackMessage = kTrayNotifyMessage;
    icon.hIcon = m_hIcon;
    // The tip holds at most 63 bytes; a name that long is cut, never inside a character.
    const CString name(AfxGetApp()->m_pszAppName ? AfxGetApp()->m_pszAppName : "");
    const CodePage& codePage = CodePage::Active();
    const int limit = static_cast<int>(sizeof icon.szTip) - 1;
    int length = 0;
    while (length < name.GetLength()) {
        const int width =
            codePage.IsLeadByte(name[length]) && length + 1 < name.GetLength() ? 2 : 1;
        if (length + width > limit)
            break;
        length += width;
    }
    std::memcpy(icon.szTip, name.GetString(), static_cast<size_t>(length));
}

void MainDialog::AddTrayIcon() {
    NOTIFYICONDATAA icon;
    FillTrayIcon(icon);
    Shell_NotifyIconA(NIM_ADD, &icon);
}

LRESULT MainDialog::OnTaskbarCreated(WPARAM, LPARAM) {
    if (m_launchOptions && m_launchOptions->trayMode)
        AddTrayIcon();
    return 0;
}

LRESULT MainDialog::OnTrayNotify(WPARAM, LPARAM lParam) {
    POINT cursor{};
    GetCursorPos(&cursor);
    switch (static_cast<UINT>(lParam)) {
    case WM_LBUTTONUP: {
        SetForegroundWindow(m_hWnd);
        HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_TRAY_MENU));
        if (menu) {
            TrackPopupMenu(GetSubMenu(menu, 0), TPM_RIGHTALIGN | TPM_LEFTBUTTON, cursor.x, cursor.y,
                           0, m_hWnd, nullptr);
            DestroyMenu(menu);
        }
        // Without it the menu of a window in the background may not close when clicked away.
        PostMessageA(m_hWnd, WM_NULL, 0, 0);
        break;
    }
    case WM_LBUTTONDBLCLK:
        ShowWindow(SW_RESTORE);
        break;
    default:
        break;
    }
    return 0;
}

void MainDialog::OnTrayShow() {
    ShowWindow(SW_RESTORE);
}

void MainDialog::OnTimer(UINT_PTR id) {
    if (id == kHideTimer) {
        ShowWindow(SW_HIDE);
        KillTimer(m_hWnd, kHideTimer);
    }
    Default();
}

void MainDialog::OnSysCommand(UINT id, LPARAM) {
    if ((id & 0xFFF0) == kAboutCommand) {
        OnAbout();
        return;
    }
    Default();
}

void MainDialog::OnPaint() {
    if (!IsIconic(m_hWnd)) {
        Default();
        return;
    }
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(m_hWnd, &paint);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RECT client{};
    GetClientRect(m_hWnd, &client);
    const int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
    DrawIcon(dc, x, y, m_hIcon);
    EndPaint(m_hWnd, &paint);
}

LRESULT MainDialog::OnQueryDragIcon(WPARAM, LPARAM) {
    return reinterpret_cast<LRESULT>(m_hIcon);
}

LRESULT MainDialog::OnEndSession(WPARAM ending, LPARAM) {
    // Logoff and shutdown end the process without destroying the window.
    if (ending)
        ProjectListStore(*AfxGetApp()).SaveProjectList(*this, false);
    return 0;
}

// Hand-off from other processes --------------------------------------------------------------

void MainDialog::ApplyHandOff(const void* data, size_t size) {
    HandOffRecord record;
    if (!data || size < sizeof record)
        return;
    std::memcpy(&record, data, sizeof record);
    if (record.command != kHandOffApplyScript)
        return;
    if (!std::memchr(record.path, '\0', sizeof record.path))
        return;
    const CString path(record.path);
    if (path.IsEmpty())
        ShowWindow(SW_RESTORE);
    else
        ApplyResourceScript(path);
}

BOOL MainDialog::OnCopyData(CWnd*, COPYDATASTRUCT* pCopyDataStruct) {
    if (pCopyDataStruct)
        ApplyHandOff(pCopyDataStruct->lpData, pCopyDataStruct->cbData);
    return TRUE;
}

LRESULT MainDialog::OnHandOffMessage(WPARAM, LPARAM lParam) {
    // A memory handle means something only in the thread that made it.
    if (InSendMessageEx(nullptr) != ISMEX_NOSEND)
        return 0;
    HGLOBAL memory = reinterpret_cast<HGLOBAL>(lParam);
    const void* data = memory ? GlobalLock(memory) : nullptr;
    if (!data)
        return 0;
    const size_t size = GlobalSize(memory);
    HandOffRecord record;
    if (size >= sizeof record) {
        std::memcpy(&record, data, sizeof record);
        if (record.command == kHandOffApplyScript &&
            std::memchr(record.path, '\0', sizeof record.path))
            ApplyResourceScript(CString(record.path));
    }
    GlobalUnlock(memory);
    return 0;
}

// Project maintenance ------------------------------------------------------------------------

void MainDialog::OnAdd() {
    CFileDialog dialog(TRUE, kScriptDefaultExtension, nullptr, OFN_HIDEREADONLY, kScriptFileFilter,
                       this);
    if (dialog.DoModal() == IDOK)
        ApplyResourceScript(dialog.GetPathName());
}

void MainDialog::OnModify() {
    if (!m_currentProject)
        return;
    DirectoryDialog dialog(m_currentProject, this);
    dialog.DoModal();
}

void MainDialog::OnDelete() {
    const int row = FindRowByRecord(m_currentProject);
    if (row < 0)
        return;
    delete RemoveProjectRow(row);
    m_currentProject = nullptr;
    const int left = GetRowCount();
    if (left == 0)
        SelectProject(nullptr);
    else
        SelectProject(GetRowRecord(row < left ? row : left - 1));
}

// Help, history and about --------------------------------------------------------------------

namespace {
constexpr char kHelpFileName[] = "Revtally.chm";
constexpr char kHistorySuffix[] = "_ver.txt";

std::wstring ResourceString(UINT id) {
    const wchar_t* text = nullptr;
    const int length =
        LoadStringW(GetModuleHandleA(nullptr), id, reinterpret_cast<wchar_t*>(&text), 0);
    return length > 0 ? std::wstring(text, static_cast<size_t>(length)) : std::wstring();
}
} // namespace

void MainDialog::WinHelp(DWORD_PTR, UINT) {
    if (HWND viewer = FindWindowA(nullptr, kHelpWindowTitle)) {
        ::ShowWindow(viewer, SW_SHOWNORMAL);
        return;
    }
    // Beside the program, not in the current folder: a window started by a build has the
    // build's folder as its current folder.
    const CString helpFile = ExtractDirectory(AfxGetApp()->GetModulePath()) + kHelpFileName;
    const INT_PTR result =
        reinterpret_cast<INT_PTR>(ShellExecuteA(m_hWnd, "open", helpFile, "", "", SW_SHOWNORMAL));
    if (result == SE_ERR_FNF || result == SE_ERR_PNF)
        AfxMessageBox(ResourceString(IDS_HELP_NOT_FOUND), MB_ICONEXCLAMATION);
    else if (result == SE_ERR_NOASSOC)
        AfxMessageBox(ResourceString(IDS_HELP_NO_VIEWER), MB_ICONEXCLAMATION);
}

void MainDialog::OnHistory() {
    if (!m_currentProject)
        return;
    const CString path = m_currentProject->directory + m_currentProject->name + kHistorySuffix;
    const INT_PTR result =
        reinterpret_cast<INT_PTR>(ShellExecuteA(m_hWnd, "open", path, "", "", SW_SHOW));
    const char* message = nullptr;
    switch (result) {
    case SE_ERR_FNF:
    case SE_ERR_PNF:
        message = "履歴ファイルがありません";
        break;
    case SE_ERR_ACCESSDENIED:
        message = "履歴ファイルは他のアプリケーションが使用しています";
        break;
    case ERROR_BAD_FORMAT:
        message = "履歴ファイルが壊れています";
        break;
    default:
        break;
    }
    if (message)
        AfxMessageBox(Utf8ToWide(message), MB_ICONEXCLAMATION);
}

void MainDialog::OnAbout() {
    AboutDialog about;
    about.DoModal();
}
