#pragma once

#include "registry/ProjectList.h"

class IniDocument;

// The project list in the INI file: section "PROJECT" holds the count ("SIZE"), and each project
// has a section "PROJECT<index>" in list order.
namespace project_list_store {
// No count stored yet: the first run, on which the window also fits its columns.
bool IsFirstRun(const IniDocument& profile);
// One record per stored project: the sections below the stored count and up to the last one the
// file holds, missing ones between included (they give empty projects).
ProjectList LoadProjectList(const IniDocument& profile);
// Writes the count and every project, top first. Sections at or above the new count stay as they
// are.
void SaveProjectList(const ProjectList& list, IniDocument& profile);
} // namespace project_list_store
