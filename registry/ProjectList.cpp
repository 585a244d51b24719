#include "registry/ProjectList.h"

#include "base/CodePage.h"
#include "base/PathFunctions.h"

int ProjectList::FindRowByScript(const CString& path) const {
    for (int row = 0; row < GetCount(); ++row) {
        if (EqualNoCaseMbcs(GetAt(row)->rcFile.View(), path.View()))
            return row;
    }
    return -1;
}

int ProjectList::FindRowByRecord(const ProjectRecord* record) const {
    for (int row = 0; row < GetCount(); ++row) {
        if (GetAt(row) == record)
            return row;
    }
    return -1;
}

void ProjectList::Insert(int row, std::unique_ptr<ProjectRecord> record) {
    m_records.insert(m_records.begin() + row, std::move(record));
}

ProjectRecord* ProjectList::Append(std::unique_ptr<ProjectRecord> record) {
    m_records.push_back(std::move(record));
    return m_records.back().get();
}

std::unique_ptr<ProjectRecord> ProjectList::Remove(int row) {
    std::unique_ptr<ProjectRecord> record = std::move(m_records[static_cast<size_t>(row)]);
    m_records.erase(m_records.begin() + row);
    return record;
}

void ProjectList::Move(ProjectRecord* record, int row) {
    const int from = FindRowByRecord(record);
    if (from >= 0)
        Insert(row, Remove(from));
}

std::unique_ptr<ProjectRecord> ProjectList::MakeRecordFor(const CString& path) {
    auto record = std::make_unique<ProjectRecord>();
    record->directory = ExtractDirectory(path);
    record->name = ExtractFileTitle(ExtractFileName(path));
    record->rcFile = path;
    return record;
}

ProjectList::Placement ProjectList::RegisterAtTop(const CString& path) {
    const int row = FindRowByScript(path);
    if (row >= 0) {
        ProjectRecord* record = GetAt(row);
        Move(record, 0);
        return {record, row};
    }
    Insert(0, MakeRecordFor(path));
    return {GetAt(0), -1};
}

ProjectRecord* ProjectList::SuccessorOfRemoved(int row) const {
    if (GetCount() == 0)
        return nullptr;
    return GetAt(row < GetCount() ? row : GetCount() - 1);
}
