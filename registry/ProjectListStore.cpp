#include "registry/ProjectListStore.h"

#include "framework/ProfileStore.h"
#include "registry/ProjectList.h"

namespace {
constexpr char kProjectSection[] = "PROJECT";
constexpr char kSize[] = "SIZE";
constexpr char kName[] = "APPLICATION";
// Spelled as every stored INI file spells it: a corrected key would read every major version as 0.
constexpr char kMajor[] = "MEJORVERSION";
constexpr char kMinor[] = "MINORVERSION";
constexpr char kSub[] = "SUBVERSION";
constexpr char kBuild[] = "BUILDNUMBER";
constexpr char kLastUpdate[] = "LASTUPDATE";
constexpr char kDirectory[] = "TARGETDIRECTORY";
constexpr char kScript[] = "RCFILE";
} // namespace

CString ProjectListStore::SectionName(int index) {
    CString name;
    name.Format("%s%d", kProjectSection, index);
    return name;
}

int ProjectListStore::ReadProjectCount(const ProfileStore& profile) {
    return profile.ReadInt(kProjectSection, kSize, kNoProjectsYet);
}

void ProjectListStore::LoadProjectList(const ProfileStore& profile, ProjectList& list) {
    const int size = ReadProjectCount(profile);
    for (int index = 0; index < size; ++index) {
        auto record = std::make_unique<ProjectRecord>();
        const CString section = SectionName(index);
        record->name = profile.ReadString(section, kName);
        record->version.major = profile.ReadInt(section, kMajor, 0);
        record->version.minor = profile.ReadInt(section, kMinor, 0);
        record->version.sub = profile.ReadInt(section, kSub, 0);
        record->version.build = profile.ReadInt(section, kBuild, 0);
        record->lastUpdate = profile.ReadString(section, kLastUpdate);
        record->directory = profile.ReadString(section, kDirectory);
        record->rcFile = profile.ReadString(section, kScript);
        list.Append(std::move(record));
    }
}

void ProjectListStore::SaveProjectList(const ProjectList& list, ProfileStore& profile) {
    const int rows = list.GetCount();
    profile.WriteInt(kProjectSection, kSize, rows);
    for (int row = 0; row < rows; ++row) {
        const ProjectRecord& record = *list.GetAt(row);
        const CString section = SectionName(row);
        profile.WriteString(section, kName, record.name);
        profile.WriteInt(section, kMajor, record.version.major);
        profile.WriteInt(section, kMinor, record.version.minor);
        profile.WriteInt(section, kSub, record.version.sub);
        profile.WriteInt(section, kBuild, record.version.build);
        profile.WriteString(section, kLastUpdate, record.lastUpdate);
        profile.WriteString(section, kDirectory, record.directory);
        profile.WriteString(section, kScript, record.rcFile);
    }
}
