#pragma once

struct ProjectRecord;

// What the INI mapping needs of the list that holds the projects at run time.
class ProjectListView {
public:
    virtual ~ProjectListView() = default;

    virtual int GetRowCount() const = 0;
    // nullptr for a row that carries no record.
    virtual ProjectRecord* GetRowRecord(int row) const = 0;
    virtual void AppendProjectRow(ProjectRecord* record) = 0;
    // The row lets go of its record (which the caller then releases).
    virtual void DetachRowRecord(int row) = 0;

    virtual void InsertListColumn(int column, const char* title, int width) = 0;
    // Lets the list fit the column to its title; returns the width it chose.
    virtual int FitColumnToTitle(int column) = 0;
    virtual int GetListColumnWidth(int column) const = 0;
    virtual int GetListColumnCount() const = 0;
};
