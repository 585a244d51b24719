#pragma once

#include "framework/CString.h"

class CWinApp;
class ProjectListView;

// The project list in the INI file: section "PROJECT" holds the count ("SIZE"), and each project
// has a section "PROJECT<index>" in list order. Loaded once when the window opens, saved once when
// it closes.
class ProjectListStore {
public:
    explicit ProjectListStore(CWinApp& app) : m_app(app) {}

    // Makes the list's columns (fitting them on the first run) and one row per stored project.
    void LoadProjectList(ProjectListView& list) const;
    // Writes the column widths and every row, top first. With releaseRecords the rows' records
    // are released (the window is going away); without, the list stays as it was.
    void SaveProjectList(ProjectListView& list, bool releaseRecords = true) const;

    static CString SectionName(int index);

private:
    CWinApp& m_app;
};
