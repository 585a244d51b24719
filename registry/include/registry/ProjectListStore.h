#pragma once

#include "framework/CString.h"

class ProfileStore;
class ProjectList;

// The project list in the INI file: section "PROJECT" holds the count ("SIZE"), and each project
// has a section "PROJECT<index>" in list order. Loaded once when the window opens, saved once when
// it closes.
class ProjectListStore {
public:
    // No count stored yet: the first run, on which the window also fits its columns.
    static constexpr int kNoProjectsYet = -1;

    static int ReadProjectCount(const ProfileStore& profile);
    // One past the highest index of the sections "PROJECT<index>" the file holds; 0 for none.
    static int StoredSectionsEnd(const ProfileStore& profile);
    // Appends one record per stored project: the sections below the stored count and up to the
    // last one the file holds, missing ones between included (they give empty projects).
    static void LoadProjectList(const ProfileStore& profile, ProjectList& list);
    // Writes the count and every project, top first. Sections at or above the new count stay as
    // they are.
    static void SaveProjectList(const ProjectList& list, ProfileStore& profile);

    static CString SectionName(int index);
};
