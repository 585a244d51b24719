#pragma once

#include "base/CString.h"
#include "base/CodePage.h"
#include "base/Expected.h"
#include "stamp/TextEdit.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

// The one definition of a macro: its file (0 is the script) and its body, comments blanked, as a
// span of that file's working text.
struct MacroDefinition {
    int file = 0;
    int bodyBegin = 0;
    int bodyEnd = 0;
};

// A script and the files it reaches by #include "...", each looked for in the folder of the file
// that includes it, then in the folders of the files that include that one, up to the script's.
// #include <...> is never followed, and a quoted include not found is passed over.
class MacroSources {
public:
    // Failed: a file found could not be read. Left alone: a header that is no text.
    static Expected<MacroSources> Read(const CString& scriptPath, std::string_view text,
                                       const CodePage& rule);

    MacroSources(MacroSources&&) noexcept;
    MacroSources& operator=(MacroSources&&) noexcept;
    ~MacroSources();

    // Left alone, naming the macro: defined nowhere (with the includes not found), more than once,
    // under a condition, as a function-like macro, #undef'd or over more than one line.
    Expected<MacroDefinition> Definition(std::string_view name) const;

    // A file's text with its comments blanked, every other byte where it stands in its working
    // text.
    std::string_view Code(int file) const;
    // "version.h line 3", for a line of the build log.
    CString Where(int file, int at) const;
    // A snippet of a file as a line of the build log may show it.
    CString Shown(int file, std::string_view snippet) const;
    const CString& Path(int file) const;

    // Left alone: a header that is generated (a template beside it, or its comments say so),
    // which its generator, not a stamp, writes.
    Expected<void> CheckWritable(int file) const;
    // A header's new bytes, in its own encoding, for edits of its working text.
    Expected<std::string> Rewrite(int file, const std::vector<TextEdit>& edits) const;

private:
    struct Files;
    explicit MacroSources(std::unique_ptr<Files> files);

    std::unique_ptr<Files> m_files;
};
