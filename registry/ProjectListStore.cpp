#include "registry/ProjectListStore.h"

#include "base/IniDocument.h"
#include "base/IntegerText.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <optional>
#include <string_view>

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
constexpr int kNoProjectsYet = -1;

bool EqualNoCaseAscii(std::string_view a, std::string_view b) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [&](char x, char y) { return lower(x) == lower(y); });
}

// The index of a section named as a row's section is ("PROJECT" and the index as "%d" gives it),
// or -1 for any other name.
int IndexOfSection(std::string_view name) {
    constexpr std::string_view kPrefix = kProjectSection;
    if (name.size() <= kPrefix.size() || name.size() > kPrefix.size() + 10 ||
        !EqualNoCaseAscii(name.substr(0, kPrefix.size()), kPrefix))
        return -1;
    const std::string_view digits = name.substr(kPrefix.size());
    if (digits.size() > 1 && digits[0] == '0')
        return -1;
    const std::optional<std::uint32_t> index = ParseDecimal(digits);
    return index && *index < static_cast<std::uint32_t>(INT_MAX) ? static_cast<int>(*index) : -1;
}

CString SectionName(int index) {
    CString name;
    name.Format("%s%d", kProjectSection, index);
    return name;
}

int ReadProjectCount(const IniDocument& profile) {
    return profile.ReadInt(kProjectSection, kSize, kNoProjectsYet);
}

// One past the highest index of the sections "PROJECT<index>" the file holds; 0 for none.
int StoredSectionsEnd(const IniDocument& profile) {
    int end = 0;
    for (const CString& name : profile.SectionNames())
        end = std::max(end, IndexOfSection(name.View()) + 1);
    return end;
}
} // namespace

bool project_list_store::IsFirstRun(const IniDocument& profile) {
    return ReadProjectCount(profile) == kNoProjectsYet;
}

ProjectList project_list_store::LoadProjectList(const IniDocument& profile) {
    ProjectList list;
    // A count beyond the sections the file holds (typed by hand, or a damaged file) would only
    // make empty projects, as many as it says.
    const int size = std::min(ReadProjectCount(profile), StoredSectionsEnd(profile));
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
    return list;
}

void project_list_store::SaveProjectList(const ProjectList& list, IniDocument& profile) {
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
