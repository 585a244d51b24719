#pragma once

#include "base/CString.h"
#include "base/Expected.h"
#include "registry/ProjectList.h"
#include "registry/WindowSettings.h"

#include <optional>
#include <span>
#include <vector>

// The INI file as the window reads it when it opens and writes it when it closes.
struct StoredWindow {
    ProjectList projects;
    window_settings::Position position;
    // Each column's stored width, or the default given for it.
    std::vector<int> columnWidths;
    // No list stored yet: the window fits its columns to their titles and keeps the widths at once.
    bool firstRun = false;
};

namespace profile_file {
Expected<StoredWindow> Load(const CString& path, std::span<const int> defaultWidths);
// The first run's fitted widths, kept before any project is.
Expected<void> SaveColumnWidths(const CString& path, std::span<const int> widths);
// The list, the column widths and, when the user moved the window, where to; all at once.
Expected<void> Save(const CString& path, const ProjectList& projects, std::span<const int> widths,
                    const std::optional<window_settings::Position>& movedTo);
} // namespace profile_file
