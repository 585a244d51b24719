#include "ui/ProjectListView.h"

#include "framework/CFileException.h"
#include "framework/ProfileStore.h"
#include "framework/Win32Text.h"
#include "registry/ProjectList.h"
#include "registry/ProjectListStore.h"
#include "registry/WindowSettings.h"
#include "res/resource.h"

namespace {
CString Formatted(const char* format, int a, int b = 0, int c = 0) {
    CString text;
    text.Format(format, a, b, c);
    return text;
}

// The list's columns, left to right: title, width before the user sets one, and a row's text.
struct Column {
    UINT title;
    int defaultWidth;
    CString (*text)(const ProjectRecord& record);
};
const Column kColumns[] = {
    {IDS_COLUMN_PROJECT, 220, [](const ProjectRecord& r) { return r.name; }},
    {IDS_COLUMN_VERSION, 220,
     [](const ProjectRecord& r) {
         return Formatted("%d.%d.%d", r.version.major, r.version.minor, r.version.sub);
     }},
    {IDS_COLUMN_BUILD, 180,
     [](const ProjectRecord& r) { return Formatted("%d", r.version.build); }},
    {IDS_COLUMN_LAST_UPDATE, 220, [](const ProjectRecord& r) { return r.lastUpdate; }},
    {IDS_COLUMN_DIRECTORY, 320, [](const ProjectRecord& r) { return r.directory; }},
};
constexpr int kColumnCount = static_cast<int>(sizeof kColumns / sizeof kColumns[0]);
} // namespace

void ProjectListView::Load(IniDocument& profile, const CString& profilePath, ProjectList& list) {
    const bool firstRun =
        ProjectListStore::ReadProjectCount(profile) == ProjectListStore::kNoProjectsYet;
    CreateColumns(profile, firstRun);
    // The fitted widths are kept at once, before any project is loaded.
    if (firstRun) {
        try {
            profile.Save(profilePath);
        } catch (const CFileException&) {
        }
    }
    ProjectListStore::LoadProjectList(profile, list);
    Fill(list);
}

void ProjectListView::Save(const CString& profilePath, const ProjectList& list,
                           const std::optional<WindowSettings::Position>& movedTo) const {
    IniDocument profile = IniDocument::Load(profilePath);
    if (movedTo)
        WindowSettings::WritePosition(profile, *movedTo);
    SaveColumnWidths(profile);
    ProjectListStore::SaveProjectList(list, profile);
    profile.Save(profilePath);
}

void ProjectListView::CreateColumns(ProfileStore& profile, bool firstRun) {
    for (int column = 0; column < kColumnCount; ++column)
        m_control.InsertColumn(
            column, LoadResourceString(kColumns[column].title), LVCFMT_LEFT,
            WindowSettings::ReadColumnWidth(profile, column, kColumns[column].defaultWidth),
            column);
    if (!firstRun)
        return;
    for (int column = 0; column < kColumnCount; ++column) {
        m_control.SetColumnWidth(column, LVSCW_AUTOSIZE_USEHEADER);
        WindowSettings::WriteColumnWidth(profile, column, m_control.GetColumnWidth(column));
    }
}

void ProjectListView::SaveColumnWidths(ProfileStore& profile) const {
    const int columns = m_control.GetColumnCount();
    for (int column = 0; column < columns && column < kColumnCount; ++column)
        WindowSettings::WriteColumnWidth(profile, column, m_control.GetColumnWidth(column));
}

void ProjectListView::ScaleColumns(UINT fromDpi, UINT toDpi) {
    if (fromDpi == 0 || fromDpi == toDpi)
        return;
    const int columns = m_control.GetColumnCount();
    for (int column = 0; column < columns; ++column)
        m_control.SetColumnWidth(column,
                                 MulDiv(m_control.GetColumnWidth(column), static_cast<int>(toDpi),
                                        static_cast<int>(fromDpi)));
}

void ProjectListView::Fill(const ProjectList& list) {
    SendMessageA(m_control.m_hWnd, WM_SETREDRAW, FALSE, 0);
    for (int row = 0; row < list.GetCount(); ++row)
        InsertRow(row, list.GetAt(row));
    SendMessageA(m_control.m_hWnd, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(m_control.m_hWnd, nullptr, TRUE);
}

void ProjectListView::InsertRow(int index, ProjectRecord* record) {
    m_control.InsertItem(index, kColumns[0].text(*record));
    m_control.SetItemData(index, reinterpret_cast<DWORD_PTR>(record));
    RefreshRow(index, *record);
}

void ProjectListView::RefreshRow(int index, const ProjectRecord& record) {
    for (int column = 1; column < kColumnCount; ++column)
        m_control.SetItemText(index, column, kColumns[column].text(record));
}

void ProjectListView::RefreshRecord(const ProjectList& list, const ProjectRecord& record) {
    const int row = list.FindRowByRecord(&record);
    if (row >= 0)
        RefreshRow(row, record);
}
