#pragma once

#include "base/CString.h"
#include "base/CodePage.h"
#include "base/Expected.h"
#include "stamp/TextEdit.h"
#include "stamp/TextRules.h"
#include "stamp/VersionNumber.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// A script's version statements as the reader finds them in its working text (ScriptEncoding's
// Text and SearchRule), each line from its keyword or quoted name up to its CR.
struct VersionStatements {
    CString scriptPath; // full
    std::string_view text;
    CodePage rule = CodePage::SingleByte();
    StatementLine fileVersion;
    StatementLine productVersion;      // begin -1 when there is none
    std::vector<StatementLine> values; // each "FileVersion" and "ProductVersion" VALUE line
};

// A header's new bytes, in the header's own encoding.
struct HeaderWrite {
    CString path;
    std::string bytes;
};

// What a change of the numbers writes where the macros define them: edits of the script's working
// text (in text order) and the headers that change.
struct MacroWrites {
    std::vector<TextEdit> scriptEdits;
    std::vector<HeaderWrite> headers;
};

// What a change writes: the build alone (a stamp), or all four fields (the window's edit).
enum class MacroChange : std::uint8_t { build, allFields };

// The version macros of a script followed to their definitions in the script and the files it
// includes with #include "...". Statements that hold four numbers and values that hold a string
// literal are not this class's to write: the script's writer rewrites them as it always did.
class VersionMacros {
public:
    // Reads the files the script includes. Left alone, with the reason: a macro these rules may
    // not raise, or a header the stamp would write that is generated. Failed: a file found could
    // not be read. A follow that succeeds is one a stamp can write.
    static Expected<VersionMacros> Follow(const VersionStatements& statements);

    VersionMacros(VersionMacros&&) noexcept;
    VersionMacros& operator=(VersionMacros&&) noexcept;
    ~VersionMacros();

    // FILEVERSION's numbers where they are defined. Any value: the range is the caller's.
    const VersionNumber& Version() const;
    // The headers a change may write, for the caller to lock (and then follow again).
    std::vector<CString> HeadersWritten(MacroChange change) const;

    // A stamp: the build where the fourth fields of FILEVERSION and PRODUCTVERSION are defined,
    // and the string macros that held the old numbers.
    Expected<MacroWrites> RaiseBuild(int build) const;
    // The window's edit: every field of both statements where it is defined, and the strings.
    Expected<MacroWrites> SetVersion(const VersionNumber& version) const;

private:
    struct Followed;
    explicit VersionMacros(std::unique_ptr<Followed> followed);
    Expected<MacroWrites> Write(MacroChange change, const VersionNumber& next) const;

    std::unique_ptr<Followed> m_followed;
};
