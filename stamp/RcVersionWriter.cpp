#include "stamp/RcVersionWriter.h"

#include "framework/AtomicFileWriter.h"
#include "framework/CFileException.h"
#include "stamp/TextRules.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace {
constexpr std::string_view kFileVersionString = "\"FileVersion\"";
constexpr std::string_view kProductVersionString = "\"ProductVersion\"";

struct Replacement {
    int begin;
    int end;
    CString text;
};

enum class LineState { found, missing, unterminated };

// The statement line of a keyword, for writing: besides a missing keyword, a line that is not
// closed by CR LF is reported, since replacing up to a later CR would swallow whole lines.
LineState LocateLine(std::string_view text, std::string_view keyword, int start,
                     StatementLine& line) {
    const int begin = FindMbcs(text, keyword, start);
    if (begin < 0)
        return LineState::missing;
    const size_t cr = text.find('\r', static_cast<size_t>(begin));
    if (cr == std::string_view::npos)
        return LineState::unterminated;
    if (text.substr(static_cast<size_t>(begin), cr - static_cast<size_t>(begin)).find('\n') !=
        std::string_view::npos)
        return LineState::unterminated;
    line.begin = begin;
    line.end = static_cast<int>(cr);
    return LineState::found;
}

// "FILEVERSION 1,0,0," with the rest on the next line: the new text would leave the rest behind.
bool ContinuesOnNextLine(std::string_view line) {
    const int comment = FindMbcs(line, "//", 0);
    if (comment >= 0)
        line = line.substr(0, static_cast<size_t>(comment));
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t'))
        line.remove_suffix(1);
    return !line.empty() && line.back() == ',';
}

BOOL Fail(CString* failure, const CString& reason) {
    if (failure)
        *failure = reason;
    return FALSE;
}

BOOL LocateStatement(std::string_view text, std::string_view keyword, int start,
                     StatementLine& line, CString* failure) {
    const CString name(keyword);
    switch (LocateLine(text, keyword, start, line)) {
    case LineState::missing:
        return Fail(failure, "no " + name + " statement in the version resource");
    case LineState::unterminated:
        return Fail(failure, "the " + name + " line does not end in CR LF");
    case LineState::found:
        break;
    }
    if (ContinuesOnNextLine(text.substr(static_cast<size_t>(line.begin),
                                        static_cast<size_t>(line.end - line.begin))))
        return Fail(failure, "the " + name + " statement goes on over the next line");
    return TRUE;
}
} // namespace

BOOL RewriteRcVersion(const CString& text, int major, int minor, int sub, int build,
                      CString& result, CString* failure) {
    const std::string_view view = text.View();
    const int block = FindMbcs(view, "VS_VERSION_INFO", 0);
    if (block < 0)
        return Fail(failure, "no VS_VERSION_INFO resource");

    StatementLine fileVersion;
    StatementLine productVersion;
    if (!LocateStatement(view, "FILEVERSION", block, fileVersion, failure) ||
        !LocateStatement(view, "PRODUCTVERSION", fileVersion.end, productVersion, failure))
        return FALSE;

    CString numbers;
    numbers.Format("%d, %d, %d, %d", major, minor, sub, build);
    std::vector<Replacement> replacements;
    replacements.push_back({fileVersion.begin, fileVersion.end, "FILEVERSION " + numbers});
    replacements.push_back({productVersion.begin, productVersion.end, "PRODUCTVERSION " + numbers});

    // String values come after the PRODUCTVERSION statement, in every block and every later
    // resource. One value per line: the replacement runs to the line's end.
    const CString fileString = CString(kFileVersionString) + ", \"" + numbers + "\\0\"";
    const CString productString = CString(kProductVersionString) + ", \"" + numbers + "\\0\"";
    std::vector<Replacement> fileStrings;
    StatementLine line;
    for (int from = productVersion.end;;) {
        const LineState state = LocateLine(view, kFileVersionString, from, line);
        if (state == LineState::missing)
            break;
        if (state == LineState::unterminated)
            return Fail(failure, "a \"FileVersion\" line does not end in CR LF");
        fileStrings.push_back({line.begin, line.end, fileString});
        from = line.end;
    }
    std::vector<Replacement> productStrings;
    for (int from = productVersion.end;;) {
        const LineState state = LocateLine(view, kProductVersionString, from, line);
        if (state == LineState::missing)
            break;
        if (state == LineState::unterminated)
            return Fail(failure, "a \"ProductVersion\" line does not end in CR LF");
        // A "ProductVersion" behind a "FileVersion" on the same line went with that line.
        const auto covering = std::find_if(fileStrings.begin(), fileStrings.end(), [&](auto& f) {
            return f.begin < line.begin && line.begin < f.end;
        });
        if (covering != fileStrings.end()) {
            from = covering->end;
            continue;
        }
        // A "FileVersion" behind this one on the same line goes with this line.
        fileStrings.erase(
            std::remove_if(fileStrings.begin(), fileStrings.end(),
                           [&](auto& f) { return line.begin < f.begin && f.end == line.end; }),
            fileStrings.end());
        productStrings.push_back({line.begin, line.end, productString});
        from = line.end;
    }
    replacements.insert(replacements.end(), fileStrings.begin(), fileStrings.end());
    replacements.insert(replacements.end(), productStrings.begin(), productStrings.end());
    std::sort(replacements.begin(), replacements.end(),
              [](const Replacement& a, const Replacement& b) { return a.begin < b.begin; });

    // One pass over the text: the replaced lines are few, but the file around them may be large.
    std::string out;
    out.reserve(view.size() + replacements.size() * 48);
    int copied = 0;
    for (const Replacement& r : replacements) {
        out.append(view.substr(static_cast<size_t>(copied), static_cast<size_t>(r.begin - copied)));
        out.append(r.text.View());
        copied = r.end;
    }
    out.append(view.substr(static_cast<size_t>(copied)));
    result = CString(std::move(out));
    return TRUE;
}

BOOL WriteRcVersion(const CString& path, const int& major, const int& minor, const int& sub,
                    const int& build, CString* failure) {
    try {
        bool hadNul = false;
        const CString text = LoadTextFile(path, &hadNul);
        if (hadNul)
            return Fail(failure, "the script holds a NUL byte (a UTF-16 file?)");
        CString result;
        if (!RewriteRcVersion(text, major, minor, sub, build, result, failure))
            return FALSE;
        AtomicFileWriter::ReplaceContents(path, result.View());
        return TRUE;
    } catch (const CFileException& error) {
        return Fail(failure, CString("cannot rewrite the script: ") + error.Describe());
    }
}
