#include "ui/ProjectListView.h"

#include "framework/CFileException.h"
#include "framework/ProfileStore.h"
#include "registry/ProjectList.h"
#include "registry/ProjectListStore.h"
#include "registry/WindowSettings.h"

namespace {
CString Formatted(const char* format, int a, int b = 0, int c = 0) {
    CString text;
    text.Format(format, a, b, c);
    return text;
}
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
    for (int column = 0; column < WindowSettings::kColumnCount; ++column)
        m_control.InsertColumn(column, WindowSettings::kColumns[column].title, LVCFMT_LEFT,
                               WindowSettings::ReadColumnWidth(profile, column), column);
    if (!firstRun)
        return;
    for (int column = 0; column < WindowSettings::kColumnCount; ++column) {
        m_control.SetColumnWidth(column, LVSCW_AUTOSIZE_USEHEADER);
        WindowSettings::WriteColumnWidth(profile, column, m_control.GetColumnWidth(column));
    }
}

void ProjectListView::SaveColumnWidths(ProfileStore& profile) const {
    const int columns = m_control.GetColumnCount();
    for (int column = 0; column < columns && column < WindowSettings::kColumnCount; ++column)
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
    m_control.InsertItem(index, record->name);
    m_control.SetItemData(index, reinterpret_cast<DWORD_PTR>(record));
    RefreshRow(index, *record);
}

void ProjectListView::RefreshRow(int index, const ProjectRecord& record) {
    const VersionNumber& v = record.version;
    m_control.SetItemText(index, 1, Formatted("%d.%d.%d", v.major, v.minor, v.sub));
    m_control.SetItemText(index, 2, Formatted("%d", v.build));
    m_control.SetItemText(index, 3, record.lastUpdate);
    m_control.SetItemText(index, 4, record.directory);
}

void ProjectListView::RefreshRecord(const ProjectList& list, const ProjectRecord& record) {
    const int row = list.FindRowByRecord(&record);
    if (row >= 0)
        RefreshRow(row, record);
}
