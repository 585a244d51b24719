#pragma once

#include <string>
#include <utility>

namespace testfiles {

// A resource script with one version resource, in the shapes the tests write. With values it has
// the layout the writer leaves behind, so a rewrite with the same numbers gives the same bytes.
class ScriptText {
public:
    // What follows FILEVERSION and PRODUCTVERSION: "1, 2, 3, 41", "1,2,3,41".
    explicit ScriptText(std::string statements) : m_statements(std::move(statements)) {}
    // "FileVersion" and "ProductVersion" in a string block "041104b0"; without: no string block.
    ScriptText& Values(std::string values);
    // Lines before the resource, each ended by CR LF.
    ScriptText& Head(std::string lines);
    // Statements after PRODUCTVERSION, each ended by CR LF.
    ScriptText& Options(std::string lines);

    std::string Text() const;

private:
    std::string m_statements, m_values, m_head, m_options;
};

} // namespace testfiles
