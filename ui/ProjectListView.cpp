#include "ui/ProjectListView.h"

#include "framework/ProgramResources.h"
#include "framework/Win32Text.h"
#include "registry/ProjectList.h"
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

std::vector<int> ProjectListView::DefaultWidths() {
    std::vector<int> widths;
    for (const Column& column : kColumns)
        widths.push_back(column.defaultWidth);
    return widths;
}

std::vector<int> ProjectListView::CreateColumns(std::span<const int> widths, bool fitToTitles) {
    for (int column = 0; column < kColumnCount; ++column)
        m_control.InsertColumn(column, LoadResourceString(kColumns[column].title), LVCFMT_LEFT,
                               widths[static_cast<size_t>(column)], column);
    if (fitToTitles) {
        for (int column = 0; column < kColumnCount; ++column)
            m_control.SetColumnWidth(column, LVSCW_AUTOSIZE_USEHEADER);
    }
    return ColumnWidths();
}

std::vector<int> ProjectListView::ColumnWidths() const {
    std::vector<int> widths;
    const int columns = m_control.GetColumnCount();
    for (int column = 0; column < columns && column < kColumnCount; ++column)
        widths.push_back(m_control.GetColumnWidth(column));
    return widths;
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
