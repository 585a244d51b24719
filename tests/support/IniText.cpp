#include "IniText.h"

namespace testfiles {
namespace {
std::string Key(const std::string& key, const std::string& value) {
    return key + "=" + value + "\r\n";
}
} // namespace

std::string ProjectsIni(const std::vector<IniProject>& projects) {
    std::string text = "[PROJECT]\r\n" + Key("SIZE", std::to_string(projects.size()));
    for (size_t i = 0; i < projects.size(); ++i) {
        const IniProject& p = projects[i];
        const std::string folder = p.script.substr(0, p.script.find_last_of('\\') + 1);
        text += "[PROJECT" + std::to_string(i) + "]\r\n" + Key("APPLICATION", p.name) +
                Key("MEJORVERSION", std::to_string(p.version.major)) +
                Key("MINORVERSION", std::to_string(p.version.minor)) +
                Key("SUBVERSION", std::to_string(p.version.sub)) +
                Key("BUILDNUMBER", std::to_string(p.version.build)) +
                Key("LASTUPDATE", p.lastUpdate) +
                Key("TARGETDIRECTORY", p.directory.empty() ? folder : p.directory) +
                Key("RCFILE", p.script);
    }
    return text;
}

std::string ColumnWidthsIni(std::span<const int> widths) {
    std::string text = "[LISTCONTROL]\r\n";
    for (size_t column = 0; column < widths.size(); ++column)
        text += Key("HEADER_WIDTH" + std::to_string(column), std::to_string(widths[column]));
    return text;
}

std::string PositionIni(int left, int top) {
    return "[WINDOW]\r\n" + Key("LEFT", std::to_string(left)) + Key("TOP", std::to_string(top));
}

} // namespace testfiles
