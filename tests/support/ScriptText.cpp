#include "ScriptText.h"

#include <ostream>

void PrintTo(const VersionNumber& v, std::ostream* os) {
    *os << v.major << '.' << v.minor << '.' << v.sub << " b" << v.build;
}

namespace testfiles {

std::string VersionText(const VersionNumber& v) {
    return std::to_string(v.major) + ", " + std::to_string(v.minor) + ", " + std::to_string(v.sub) +
           ", " + std::to_string(v.build);
}

std::string ScriptText(const std::string& statements, const std::string& values,
                       const std::string& head, const std::string& options) {
    std::string text = head + "VS_VERSION_INFO VERSIONINFO\r\n FILEVERSION " + statements +
                       "\r\n PRODUCTVERSION " + statements + "\r\n" + options + "BEGIN\r\n";
    if (!values.empty())
        text += "    BLOCK \"StringFileInfo\"\r\n"
                "    BEGIN\r\n"
                "        BLOCK \"041104b0\"\r\n"
                "        BEGIN\r\n"
                "            VALUE \"FileVersion\", \"" +
                values + "\\0\"\r\n            VALUE \"ProductVersion\", \"" + values +
                "\\0\"\r\n"
                "        END\r\n"
                "    END\r\n";
    return text + "END\r\n";
}

} // namespace testfiles
