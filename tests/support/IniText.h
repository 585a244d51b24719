#pragma once

#include "TestVersion.h"

#include <span>
#include <string>
#include <utility>
#include <vector>

namespace testfiles {

// One project as the list file holds it.
struct IniProject {
    // An empty directory stands for the script's folder, ending in its backslash, as the window
    // registers it.
    IniProject(std::string name, TestVersion version, std::string script,
               std::string lastUpdate = "2001/02/03 04:05:06", std::string directory = "")
        : name(std::move(name)), version(version), script(std::move(script)),
          lastUpdate(std::move(lastUpdate)), directory(std::move(directory)) {}

    std::string name;
    TestVersion version;
    std::string script;
    std::string lastUpdate;
    std::string directory;
};

// The text of the program's INI file, section by section in the order asked for, CR LF line ends.
// Names and paths go in as the 8-bit text they are.
class IniText {
public:
    // "PROJECT" with "SIZE", then one section "PROJECT<n>" per project.
    IniText& Projects(const std::vector<IniProject>& projects);
    // "LISTCONTROL" with HEADER_WIDTH0 onwards.
    IniText& ColumnWidths(std::span<const int> widths);
    // "WINDOW" with "LEFT" and "TOP".
    IniText& Position(int left, int top);
    // Lines taken as they are: keys of no section above, or text typed by hand.
    IniText& Raw(const std::string& lines);

    const std::string& Text() const { return m_text; }

private:
    void Section(const std::string& name);
    void Key(const std::string& key, const std::string& value);

    std::string m_text;
};

} // namespace testfiles
