#pragma once

#include "registry/ProjectRecord.h"

#include <memory>
#include <vector>

// The registered projects in the order the window shows and saves them, top first. The list owns
// the records; everything else (the rows of the window, the current project) only points at them,
// and a record stays where it is in memory while it is in the list.
class ProjectList {
public:
    int GetCount() const { return static_cast<int>(m_records.size()); }
    ProjectRecord* GetAt(int row) const { return m_records[static_cast<size_t>(row)].get(); }

    // The first row whose script is the path, compared as file names compare (letter case
    // folded, multibyte-aware); -1 when none.
    int FindRowByScript(const CString& path) const;
    // The row of that very record; -1 when it is not in the list.
    int FindRowByRecord(const ProjectRecord* record) const;

    void Insert(int row, std::unique_ptr<ProjectRecord> record);
    ProjectRecord* Append(std::unique_ptr<ProjectRecord> record);
    // Takes the record out of the list; the caller owns it from then on.
    std::unique_ptr<ProjectRecord> Remove(int row);
    // Moves a record of the list to the row.
    void Move(ProjectRecord* record, int row);
    void Clear() { m_records.clear(); }

    // A new project for a script: named after the script's title, in the script's folder.
    static std::unique_ptr<ProjectRecord> MakeRecordFor(const CString& path);

    // Where a script's project stands after RegisterAtTop: at the top, moved from its old row,
    // or new (fromRow -1).
    struct Placement {
        ProjectRecord* record;
        int fromRow;
    };
    // Finds the project of a script, or registers a new one, and puts it at the top.
    Placement RegisterAtTop(const CString& path);

    // Which record becomes current after the one in row was deleted: the one that took its
    // place, else the one above; nullptr when the list is empty.
    ProjectRecord* SuccessorOfRemoved(int row) const;

private:
    std::vector<std::unique_ptr<ProjectRecord>> m_records;
};
