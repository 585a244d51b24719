#include "ScriptText.h"

namespace testfiles {

ScriptText& ScriptText::Values(std::string values) {
    m_values = std::move(values);
    return *this;
}

ScriptText& ScriptText::Head(std::string lines) {
    m_head = std::move(lines);
    return *this;
}

ScriptText& ScriptText::Options(std::string lines) {
    m_options = std::move(lines);
    return *this;
}

std::string ScriptText::Text() const {
    std::string text = m_head + "VS_VERSION_INFO VERSIONINFO\r\n FILEVERSION " + m_statements +
                       "\r\n PRODUCTVERSION " + m_statements + "\r\n" + m_options + "BEGIN\r\n";
    if (!m_values.empty())
        text += "    BLOCK \"StringFileInfo\"\r\n"
                "    BEGIN\r\n"
                "        BLOCK \"041104b0\"\r\n"
                "        BEGIN\r\n"
                "            VALUE \"FileVersion\", \"" +
                m_values + "\\0\"\r\n            VALUE \"ProductVersion\", \"" + m_values +
                "\\0\"\r\n"
                "        END\r\n"
                "    END\r\n";
    return text + "END\r\n";
}

} // namespace testfiles
