#include "registry/ProjectListStore.h"

#include "framework/CWinApp.h"
#include "registry/ProjectListView.h"
#include "registry/ProjectRecord.h"
#include "registry/WindowSettings.h"

namespace {
constexpr char kProjectSection[] = "PROJECT";
constexpr char kSize[] = "SIZE";
constexpr char kName[] = "APPLICATION";
constexpr char kMajor[] = "MEJORVERSION";
constexpr char kMinor[] = "MINORVERSION";
constexpr char kSub[] = "SUBVERSION";
constexpr char kBuild[] = "BUILDNUMBER";
constexpr char kLastUpdate[] = "LASTUPDATE";
constexpr char kDirectory[] = "TARGETDIRECTORY";
constexpr char kScript[] = "RCFILE";
// No count stored yet: the first run, which also fits the columns to their titles.
constexpr int kNoProjectsYet = -1;
} // namespace

CString ProjectListStore::SectionName(int index) {
    CString name;
    name.Format("%s%d", kProjectSection, index);
    return name;
}

void ProjectListStore::LoadProjectList(ProjectListView& list) const {
    const int size = m_app.GetProfileInt(kProjectSection, kSize, kNoProjectsYet);
    const WindowSettings settings(m_app);
    for (int column = 0; column < WindowSettings::kColumnCount; ++column)
        list.InsertListColumn(column, WindowSettings::kColumns[column].title,
                              settings.ReadColumnWidth(column));
    if (size == kNoProjectsYet) {
        for (int column = 0; column < WindowSettings::kColumnCount; ++column)
            settings.WriteColumnWidth(column, list.FitColumnToTitle(column));
    }
    for (int index = 0; index < size; ++index) {
        auto* record = new ProjectRecord;
        const CString section = SectionName(index);
        record->name = m_app.GetProfileString(section, kName);
        record->major = m_app.GetProfileInt(section, kMajor, 0);
        record->minor = m_app.GetProfileInt(section, kMinor, 0);
        record->sub = m_app.GetProfileInt(section, kSub, 0);
        record->build = m_app.GetProfileInt(section, kBuild, 0);
        record->lastUpdate = m_app.GetProfileString(section, kLastUpdate);
        record->directory = m_app.GetProfileString(section, kDirectory);
        record->rcFile = m_app.GetProfileString(section, kScript);
        list.AppendProjectRow(record);
    }
}

void ProjectListStore::SaveProjectList(ProjectListView& list, bool releaseRecords) const {
    const WindowSettings settings(m_app);
    const int columns = list.GetListColumnCount();
    for (int column = 0; column < columns && column < WindowSettings::kColumnCount; ++column)
        settings.WriteColumnWidth(column, list.GetListColumnWidth(column));

    const int rows = list.GetRowCount();
    m_app.WriteProfileInt(kProjectSection, kSize, rows);
    for (int row = 0; row < rows; ++row) {
        ProjectRecord* record = list.GetRowRecord(row);
        if (!record)
            continue;
        const CString section = SectionName(row);
        m_app.WriteProfileString(section, kName, record->name);
        m_app.WriteProfileInt(section, kMajor, record->major);
        m_app.WriteProfileInt(section, kMinor, record->minor);
        m_app.WriteProfileInt(section, kSub, record->sub);
        m_app.WriteProfileInt(section, kBuild, record->build);
        m_app.WriteProfileString(section, kLastUpdate, record->lastUpdate);
        m_app.WriteProfileString(section, kDirectory, record->directory);
        m_app.WriteProfileString(section, kScript, record->rcFile);
        if (releaseRecords) {
            list.DetachRowRecord(row);
            delete record;
        }
    }
}
