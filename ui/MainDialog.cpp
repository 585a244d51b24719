#include "ui/MainDialog.h"

#include "base/CWinApp.h"
#include "base/CodePage.h"
#include "framework/AfxMessageBox.h"
#include "framework/CFileDialog.h"
#include "framework/DataExchange.h"
#include "framework/ProgramResources.h"
#include "framework/Win32Text.h"
#include "registry/ProfileFile.h"
#include "stamp/VersionSteps.h"
#include "res/resource.h"
#include "stamp/ScriptEdit.h"
#include "stamp/VersionHistory.h"
#include "ui/AboutDialog.h"
#include "ui/DirectoryDialog.h"
#include "ui/HandOff.h"
#include "ui/ProjectListView.h"
#include "ui/ScriptFileFilter.h"
#include "ui/ShellDocuments.h"
#include "ui/WindowPosition.h"

#include <utility>

namespace {
// A message of the string table about the INI file: its path and why it failed, in the system's
// own words where it has them.
std::wstring ProfileMessage(UINT id, const CString& path, const Failure& failure) {
    std::wstring reason = SystemErrorText(static_cast<DWORD>(failure.osError));
    if (reason.empty())
        reason = AnsiToWide(failure.reason);
    return AfxFormatMessage(LoadResourceString(id), {AnsiToWide(path), reason});
}
} // namespace

const MainDialog::NumberField MainDialog::kNumberFields[4] = {
    {IDC_MAJOR, IDC_MAJOR_SPIN, &VersionNumber::major, &MainDialog::m_major},
    {IDC_MINOR, IDC_MINOR_SPIN, &VersionNumber::minor, &MainDialog::m_minor},
    {IDC_SUB, IDC_SUB_SPIN, &VersionNumber::sub, &MainDialog::m_sub},
    {IDC_BUILD, IDC_BUILD_SPIN, &VersionNumber::build, &MainDialog::m_build},
};

// The number fields' controls are bound as id ranges.
static_assert(IDC_BUILD - IDC_MAJOR == 3 && IDC_BUILD_SPIN - IDC_MAJOR_SPIN == 3 &&
              IDC_BUILD_UP - IDC_MINOR_UP == 2);

// clang-format off
const MessageMapEntry MainDialog::kMessageEntries[] = {
    OnNotify(IDC_PROJECT_LIST, NM_CLICK, &MainDialog::OnClickProjectList),
    OnMoveMessage(&MainDialog::OnMove),
    OnCommandRange(IDC_MAJOR, IDC_BUILD, EN_CHANGE, &MainDialog::OnChangeNumber),
    OnNotifyRange(IDC_MAJOR_SPIN, IDC_BUILD_SPIN, UDN_DELTAPOS, &MainDialog::OnDeltaPosNumber),
    OnCommand(IDC_MAJOR_UP, BN_CLICKED, &MainDialog::OnUpButton),
    OnCommandRange(IDC_MINOR_UP, IDC_BUILD_UP, BN_CLICKED, &MainDialog::OnUpButton),
    OnCopyDataMessage(&MainDialog::OnCopyData),
    OnMessage(WM_HANDOFF, &MainDialog::OnHandOffMessage),
    OnMessage(WM_ENDSESSION, &MainDialog::OnEndSession),
    OnMessage(WM_PROFILE_UNREAD, &MainDialog::OnProfileUnread),
    OnMessage(WM_DPICHANGED, &MainDialog::OnDpiChanged),
    OnSysCommandMessage(&MainDialog::OnSysCommand),
    OnCommand(IDM_ABOUTBOX, 0, &MainDialog::OnAbout),
    OnCommand(IDC_ADD, BN_CLICKED, &MainDialog::OnAdd),
    OnCommand(IDC_MODIFY, BN_CLICKED, &MainDialog::OnModify),
    OnCommand(IDC_DELETE, BN_CLICKED, &MainDialog::OnDelete),
    OnCommand(IDC_HISTORY, BN_CLICKED, &MainDialog::OnHistory),
    OnCommand(IDC_VERSION, BN_CLICKED, &MainDialog::OnAbout),
    OnCommand(ID_HELP, BN_CLICKED, &MainDialog::OnHelp),
    OnCommand(ID_APP_EXIT, 0, &MainDialog::OnAppExit),
};
// clang-format on
const MessageMap MainDialog::kMessageMap = {&TrayDialog::kMessageMap, kMessageEntries,
                                            sizeof kMessageEntries / sizeof kMessageEntries[0]};

const MessageMap* MainDialog::GetMessageMap() const {
    return &kMessageMap;
}

MainDialog::MainDialog(bool trayMode, CWnd* parent)
    : TrayDialog(IDD_MAIN_DIALOG, trayMode, parent) {}

void MainDialog::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_PROJECT_LIST, m_projectList);
    // The current project's read-only texts.
    static constexpr std::pair<int, CString MainDialog::*> kTexts[] = {
        {IDC_NAME, &MainDialog::m_nameText},
        {IDC_DIRECTORY, &MainDialog::m_directoryText},
        {IDC_LAST_UPDATE, &MainDialog::m_lastUpdateText}};
    for (const auto& [id, member] : kTexts)
        DDX_Text(pDX, id, this->*member);
    // The build first, as the window has always read its fields.
    for (const int index : {3, 0, 1, 2}) {
        const NumberField& number = kNumberFields[index];
        DDX_Text(pDX, number.editId, this->*number.member);
        DDV_MinMaxInt(pDX, this->*number.member, 0, version_steps::kLargest);
    }
}

BOOL MainDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    m_dpi = GetDpi();
    AppendSystemMenuItem(IDM_ABOUTBOX, LoadResourceString(IDS_ABOUTBOX));
    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);

    // Up proposes +1 only when the range runs upward; the controls' own positions are never read.
    for (const NumberField& number : kNumberFields)
        SendDlgItemMessageA(m_hWnd, number.spinId, UDM_SETRANGE32, 0, version_steps::kLargest);

    LoadProjectList();
    if (m_projects.GetCount() > 0)
        SelectProject(m_projects.GetAt(0));
    window_position::Restore(*this, m_positionAtStart);

    // Builds running at another integrity level must still reach the window.
    ChangeWindowMessageFilterEx(m_hWnd, WM_COPYDATA, MSGFLT_ALLOW, nullptr);

    StartInTray();
    return TRUE;
}

void MainDialog::OnOK() {
    if (IsTrayMode()) {
        ShowWindow(SW_HIDE);
        return;
    }
    CDialog::OnOK();
}

BOOL MainDialog::DestroyWindow() {
    // Without its window the list is gone too: saving now would store an empty list.
    if (!m_hWnd)
        return FALSE;
    RemoveTrayIcon();
    SaveProjectList();
    shell_documents::CloseHelp();
    return CDialog::DestroyWindow();
}

void MainDialog::LoadProjectList() {
    const CString& path = AfxGetApp()->m_pszProfileName;
    ProjectListView view(m_projectList);
    const std::vector<int> defaultWidths = ProjectListView::DefaultWidths();
    Expected<StoredWindow> stored = profile_file::Load(path, defaultWidths);
    if (!stored) {
        m_profileUnread = ProfileMessage(IDS_PROFILE_NOT_READ, path, stored.Error());
        view.CreateColumns(defaultWidths, true);
        PostMessageA(m_hWnd, WM_PROFILE_UNREAD, 0, 0);
        return;
    }
    m_positionAtStart = stored->position;
    const std::vector<int> widths = view.CreateColumns(stored->columnWidths, stored->firstRun);
    // A file that cannot be written now is told of when the window closes.
    if (stored->firstRun)
        (void)profile_file::SaveColumnWidths(path, widths);
    m_projects = std::move(stored->projects);
    view.Fill(m_projects);
}

LRESULT MainDialog::OnProfileUnread(WPARAM, LPARAM) {
    // Over the window it is about, unless the window lives in the tray.
    if (!IsTrayMode())
        ShowWindow(SW_SHOWNORMAL);
    AfxMessageBox(m_profileUnread, MB_ICONEXCLAMATION);
    return 0;
}

void MainDialog::SaveProjectList(bool releaseRecords) {
    const CString& path = AfxGetApp()->m_pszProfileName;
    while (m_profileUnread.empty()) {
        const Expected<void> saved = profile_file::Save(
            path, m_projects, ProjectListView(m_projectList).ColumnWidths(), m_movedTo);
        // Ending Windows cannot wait for an answer.
        if (saved || m_sessionEnding ||
            AfxMessageBox(ProfileMessage(IDS_PROFILE_NOT_SAVED, path, saved.Error()),
                          MB_RETRYCANCEL | MB_ICONEXCLAMATION) != IDRETRY)
            break;
    }
    if (releaseRecords) {
        m_currentProject = nullptr;
        m_projectList.DeleteAllItems();
        m_followedHeaders.clear();
        m_projects.Clear();
    }
}

void MainDialog::OnMove(int, int) {
    if (const auto at = window_position::ToKeep(*this))
        m_movedTo = at;
}

LRESULT MainDialog::OnDpiChanged(WPARAM wParam, LPARAM) {
    // Hidden, the window is only being put where it stood: the stored widths stand.
    if (IsWindowVisible())
        ProjectListView(m_projectList).ScaleColumns(m_dpi, HIWORD(wParam));
    m_dpi = HIWORD(wParam);
    Default();
    return 0;
}

LRESULT MainDialog::OnEndSession(WPARAM ending, LPARAM) {
    // Logoff and shutdown end the process without destroying the window.
    if (ending) {
        m_sessionEnding = true;
        SaveProjectList(false);
    }
    return 0;
}

std::unique_ptr<ProjectRecord> MainDialog::RemoveProjectRow(int index) {
    m_projectList.DeleteItem(index);
    std::unique_ptr<ProjectRecord> removed = m_projects.Remove(index);
    m_followedHeaders.erase(removed.get());
    return removed;
}

void MainDialog::SelectProject(ProjectRecord* record) {
    if (record != m_currentProject)
        m_failureReported = nullptr;
    if (record && !m_followedHeaders.contains(record))
        ReadFollowed(*record);
    m_currentProject = record;
    m_nameText = record ? record->name : CString();
    m_directoryText = record ? record->directory : CString();
    m_lastUpdateText = record ? record->lastUpdate : CString();
    SetMembers(record ? record->version : VersionNumber{});
    const int row = FindRowByRecord(record);
    if (record && row >= 0)
        m_projectList.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
    UpdateData(FALSE);
}

void MainDialog::OnClickProjectList(NMHDR* header, LRESULT* result) {
    const auto* click = reinterpret_cast<const NMITEMACTIVATE*>(header);
    if (click->iItem >= 0 && click->iItem < m_projects.GetCount())
        SelectProject(m_projects.GetAt(click->iItem));
    *result = 0;
}

void MainDialog::CommitCurrentProject() {
    if (!m_currentProject)
        return;
    if (const Expected<std::vector<CString>> written =
            ScriptEdit(m_currentProject->rcFile).Write(m_currentProject->version)) {
        m_failureReported = nullptr;
        NoteFollowedHeaders(*m_currentProject, *written);
        RereadSharing(*written);
    } else {
        ReportFailedWrite(written.Error().reason);
    }
    ProjectListView(m_projectList).RefreshRecord(m_projects, *m_currentProject);
}

void MainDialog::NoteFollowedHeaders(ProjectRecord& record, std::vector<CString> headers) {
    m_followedHeaders[&record] = std::move(headers);
}

// The numbers stored with the list may be older than a build of another program of the product
// that raised the header: an edit would write them back over it. A script that holds its numbers
// keeps those of the list, as it always did.
void MainDialog::ReadFollowed(ProjectRecord& record) {
    Expected<ScriptEdit::Numbers> read = ScriptEdit(record.rcFile).Read();
    if (read && !read->headers.empty()) {
        record.version = read->version;
        ProjectListView(m_projectList).RefreshRecord(m_projects, record);
    }
    NoteFollowedHeaders(record, read ? std::move(read->headers) : std::vector<CString>());
}

// Only the projects noted with headers are looked at: a list of literal scripts reads nothing.
void MainDialog::RereadSharing(const std::vector<CString>& headers) {
    const auto shares = [&headers](const std::vector<CString>& followed) {
        for (const CString& header : headers)
            for (const CString& other : followed)
                if (EqualNoCaseMbcs(header.View(), other.View()))
                    return true;
        return false;
    };
    for (auto& [record, followed] : m_followedHeaders) {
        if (record == m_currentProject || !shares(followed))
            continue;
        // One that cannot be read now keeps the numbers it showed.
        if (const Expected<ScriptEdit::Numbers> read = ScriptEdit(record->rcFile).Read()) {
            record->version = read->version;
            followed = read->headers;
            ProjectListView(m_projectList).RefreshRecord(m_projects, *record);
        }
    }
}

void MainDialog::ReportFailedWrite(const CString& reason) {
    // A build that handed its script over waits for this window: it has said so in its own log.
    // A record without a script (an edited list) has nothing to tell.
    if (InSendMessage() || m_failureReported == m_currentProject ||
        m_currentProject->rcFile.IsEmpty())
        return;
    m_failureReported = m_currentProject;
    AfxMessageBox(AfxFormatMessage(LoadResourceString(IDS_SCRIPT_NOT_WRITTEN),
                                   {AnsiToWide(m_currentProject->rcFile), AnsiToWide(reason)}),
                  MB_ICONEXCLAMATION);
}

void MainDialog::OnChangeNumber(UINT editId) {
    UpdateData(TRUE);
    if (!m_currentProject)
        return;
    // Only the edited number is taken: the others may hold text that was refused.
    for (const NumberField& number : kNumberFields) {
        if (number.editId == static_cast<int>(editId))
            m_currentProject->version.*number.field = this->*number.member;
    }
    CommitCurrentProject();
}

void MainDialog::OnDeltaPosNumber(NMHDR* header, LRESULT* result) {
    *result = 0;
    VersionNumber numbers = Members();
    for (const NumberField& number : kNumberFields) {
        if (number.spinId == static_cast<int>(header->idFrom))
            numbers.*number.field = version_steps::Stepped(
                numbers.*number.field, reinterpret_cast<const NMUPDOWN*>(header)->iDelta);
    }
    ChangeNumbers(numbers);
}

void MainDialog::ChangeNumbers(VersionNumber numbers) {
    if (!m_currentProject)
        return;
    SetMembers(numbers);
    m_currentProject->version = numbers;
    UpdateData(FALSE);
    CommitCurrentProject();
}

void MainDialog::OnUpButton(UINT buttonId) {
    static constexpr struct {
        int id;
        VersionNumber (*change)(VersionNumber);
    } kButtons[] = {{IDC_MAJOR_UP, &version_steps::MajorUp},
                    {IDC_MINOR_UP, &version_steps::MinorUp},
                    {IDC_SUB_UP, &version_steps::SubUp},
                    {IDC_BUILD_UP, &version_steps::BuildUp}};
    for (const auto& button : kButtons) {
        if (button.id == static_cast<int>(buttonId))
            ChangeNumbers(button.change(Members()));
    }
}

void MainDialog::ApplyResourceScript(const CString& path) {
    const ProjectList::Placement placed = m_projects.RegisterAtTop(path);
    if (placed.fromRow >= 0)
        m_projectList.DeleteItem(placed.fromRow);
    ProjectListView(m_projectList).InsertRow(0, placed.record);
    ProjectRecord* record = placed.record;
    // Held from the read to the write back, so that no stamping run lands in between; a script
    // that could not be read leaves the record as it was.
    const ScriptEdit script(path);
    const Expected<ScriptEdit::Numbers> read = script.Read();
    if (read) {
        record->version = read->version;
        NoteFollowedHeaders(*record, read->headers);
    }
    record->lastUpdate = CurrentTimeStamp();
    SelectProject(record);
    if (read)
        CommitCurrentProject();
    else
        ProjectListView(m_projectList).RefreshRecord(m_projects, *record);
}

void MainDialog::OnSysCommand(UINT id, LPARAM) {
    if ((id & 0xFFF0) == IDM_ABOUTBOX) {
        OnAbout();
        return;
    }
    Default();
}

BOOL MainDialog::OnCopyData(CWnd*, COPYDATASTRUCT* pCopyDataStruct) {
    const std::optional<CString> path = HandOffPathFromCopyData(pCopyDataStruct);
    // An empty path comes from a second start of the program: the window shows itself.
    if (path && path->IsEmpty())
        ShowWindow(SW_RESTORE);
    else if (path)
        ApplyResourceScript(*path);
    return TRUE;
}

LRESULT MainDialog::OnHandOffMessage(WPARAM, LPARAM lParam) {
    if (const std::optional<CString> path = HandOffPathFromGlobalMemory(lParam))
        ApplyResourceScript(*path);
    return 0;
}

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
    m_currentProject = nullptr;
    RemoveProjectRow(row);
    SelectProject(m_projects.SuccessorOfRemoved(row));
}

void MainDialog::WinHelp(DWORD_PTR, UINT) {
    shell_documents::ShowHelp(m_hWnd);
}

void MainDialog::OnHelp() {
    WinHelp(0, HELP_CONTEXT);
}

void MainDialog::OnAppExit() {
    // Closing the main window ends the program.
    SendMessage(WM_CLOSE);
}

void MainDialog::OnHistory() {
    if (m_currentProject)
        shell_documents::ShowHistory(m_hWnd, *m_currentProject);
}

void MainDialog::OnAbout() {
    AboutDialog about;
    about.DoModal();
}
