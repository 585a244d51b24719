#pragma once

#include "ScriptText.h"

#include <span>
#include <string>
#include <vector>

// The text of the program's INI file, one function a section (or sections), CR LF line ends, to
// be joined in the order wanted. Names and paths go in as the 8-bit text they are.
namespace testfiles {

struct IniProject {
    std::string name;
    VersionNumber version;
    std::string script;
    std::string lastUpdate = "2001/02/03 04:05:06";
    // Empty: the script's folder, ending in its backslash, as the window registers it.
    std::string directory = "";
};

// "PROJECT" with "SIZE", then one section "PROJECT<n>" per project.
std::string ProjectsIni(const std::vector<IniProject>& projects);
// "LISTCONTROL" with HEADER_WIDTH0 onwards.
std::string ColumnWidthsIni(std::span<const int> widths);
// "WINDOW" with "LEFT" and "TOP".
std::string PositionIni(int left, int top);

} // namespace testfiles
