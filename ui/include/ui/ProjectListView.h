#pragma once

#include "framework/CListCtrl.h"
#include "framework/IniDocument.h"
#include "registry/WindowSettings.h"

#include <optional>

class ProfileStore;
class ProjectList;
struct ProjectRecord;

// The list control as the view of the project list: one row per record, in the list's order,
// each row's item data pointing at its record and its texts made from it.
class ProjectListView {
public:
    explicit ProjectListView(CListCtrl& control) : m_control(control) {}

    // The list as the INI file read from profilePath holds it: columns, then the projects'
    // records and rows. On the first run the fitted widths are written at once (a file that
    // cannot be written then is told of when the window closes).
    void Load(IniDocument& profile, const CString& profilePath, ProjectList& list);
    // Reads the file again (the user may have added sections of their own), puts into it where
    // the window was moved to, when it was, the widths and the list, and writes it. Throws
    // CFileException when the file cannot be read or written.
    void Save(const CString& profilePath, const ProjectList& list,
              const std::optional<WindowSettings::Position>& movedTo) const;

    // The columns at their stored widths. On the first run they are fitted to their titles
    // and the widths go into the profile.
    void CreateColumns(ProfileStore& profile, bool firstRun);
    void SaveColumnWidths(ProfileStore& profile) const;
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
