#pragma once

#include "framework/CListCtrl.h"

#include <span>
#include <vector>

class ProjectList;
struct ProjectRecord;

// The list control as the view of the project list: one row per record, in the list's order,
// each row's item data pointing at its record and its texts made from it.
class ProjectListView {
public:
    explicit ProjectListView(CListCtrl& control) : m_control(control) {}

    // Each column's width before the user sets one.
    static std::vector<int> DefaultWidths();
    // The columns at the widths given, or fitted to their titles; the widths they have then.
    std::vector<int> CreateColumns(std::span<const int> widths, bool fitToTitles);
    std::vector<int> ColumnWidths() const;
    // Every column's width taken from one display's dots per inch to another's.
    void ScaleColumns(UINT fromDpi, UINT toDpi);

    // A row for every record, painted once when all are in.
    void Fill(const ProjectList& list);
    void InsertRow(int index, ProjectRecord* record);
    // Every column but the first; the name in column 0 stays as it was inserted.
    void RefreshRow(int index, const ProjectRecord& record);
    // The same for the row of a record of the list, if it has one.
    void RefreshRecord(const ProjectList& list, const ProjectRecord& record);

private:
    CListCtrl& m_control;
};
