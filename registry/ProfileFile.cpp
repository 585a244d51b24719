#include "registry/ProfileFile.h"

#include "base/IniDocument.h"
#include "registry/ProjectListStore.h"

namespace {
void WriteColumnWidths(IniDocument& profile, std::span<const int> widths) {
    for (size_t column = 0; column < widths.size(); ++column)
        window_settings::WriteColumnWidth(profile, static_cast<int>(column), widths[column]);
}

// The file is read again before it is written: the user may have added sections of their own
// since the window opened, and they stay.
template <typename Change> Expected<void> Rewrite(const CString& path, Change change) {
    Expected<IniDocument> profile = IniDocument::Load(path);
    if (!profile)
        return profile.Error();
    change(*profile);
    return profile->Save(path);
}
} // namespace

Expected<StoredWindow> profile_file::Load(const CString& path, std::span<const int> defaultWidths) {
    const Expected<IniDocument> profile = IniDocument::Load(path);
    if (!profile)
        return profile.Error();
    StoredWindow stored;
    stored.firstRun = project_list_store::IsFirstRun(*profile);
    stored.position = window_settings::ReadPosition(*profile);
    for (size_t column = 0; column < defaultWidths.size(); ++column)
        stored.columnWidths.push_back(window_settings::ReadColumnWidth(
            *profile, static_cast<int>(column), defaultWidths[column]));
    stored.projects = project_list_store::LoadProjectList(*profile);
    return stored;
}

Expected<void> profile_file::SaveColumnWidths(const CString& path, std::span<const int> widths) {
    return Rewrite(path, [&](IniDocument& profile) { WriteColumnWidths(profile, widths); });
}

Expected<void> profile_file::Save(const CString& path, const ProjectList& projects,
                                  std::span<const int> widths,
                                  const std::optional<window_settings::Position>& movedTo) {
    return Rewrite(path, [&](IniDocument& profile) {
        if (movedTo)
            window_settings::WritePosition(profile, *movedTo);
        WriteColumnWidths(profile, widths);
        project_list_store::SaveProjectList(projects, profile);
    });
}
