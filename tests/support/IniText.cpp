#include "IniText.h"

namespace testfiles {

IniText& IniText::Projects(const std::vector<IniProject>& projects) {
    Section("PROJECT");
    Key("SIZE", std::to_string(projects.size()));
    for (size_t i = 0; i < projects.size(); ++i) {
        const IniProject& p = projects[i];
        Section("PROJECT" + std::to_string(i));
        Key("APPLICATION", p.name);
        Key("MEJORVERSION", std::to_string(p.version.major));
        Key("MINORVERSION", std::to_string(p.version.minor));
        Key("SUBVERSION", std::to_string(p.version.sub));
        Key("BUILDNUMBER", std::to_string(p.version.build));
        Key("LASTUPDATE", p.lastUpdate);
        Key("TARGETDIRECTORY", !p.directory.empty()
                                   ? p.directory
                                   : p.script.substr(0, p.script.find_last_of('\\') + 1));
        Key("RCFILE", p.script);
    }
    return *this;
}

IniText& IniText::ColumnWidths(std::span<const int> widths) {
    Section("LISTCONTROL");
    for (size_t column = 0; column < widths.size(); ++column)
        Key("HEADER_WIDTH" + std::to_string(column), std::to_string(widths[column]));
    return *this;
}

IniText& IniText::Position(int left, int top) {
    Section("WINDOW");
    Key("LEFT", std::to_string(left));
    Key("TOP", std::to_string(top));
    return *this;
}

IniText& IniText::Raw(const std::string& lines) {
    m_text += lines;
    return *this;
}

void IniText::Section(const std::string& name) {
    m_text += "[" + name + "]\r\n";
}

void IniText::Key(const std::string& key, const std::string& value) {
    m_text += key + "=" + value + "\r\n";
}

} // namespace testfiles
