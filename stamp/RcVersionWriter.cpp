#include "stamp/RcVersionWriter.h"

#include "framework/AtomicFileWriter.h"
#include "framework/CFileException.h"
#include "stamp/ScriptEncoding.h"
#include "stamp/StringTokenizer.h"
#include "stamp/TextRules.h"

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
                     StatementLine& line, const CodePage& rule) {
    const int begin = FindMbcs(text, keyword, start, rule);
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
bool ContinuesOnNextLine(std::string_view line, const CodePage& rule) {
    const int comment = FindMbcs(line, "//", 0, rule);
    if (comment >= 0)
        line = line.substr(0, static_cast<size_t>(comment));
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t'))
        line.remove_suffix(1);
    return !line.empty() && line.back() == ',';
}

StampResult Refuse(const CString& reason) {
    return StampResult::LeftAlone(reason);
}

std::string_view LineText(std::string_view text, const StatementLine& line) {
    return text.substr(static_cast<size_t>(line.begin), static_cast<size_t>(line.end - line.begin));
}

// A statement is replaced only when what it holds are numbers: "FILEVERSION VER_MAJOR,..." keeps
// the project's version macros. Tokens are counted from the end of the keyword, so a TAB after it
// does no harm; past the fourth, a trailing comment is not looked at.
StampResult CheckNumbers(const ScriptEncoding& script, std::string_view keyword,
                         const StatementLine& line) {
    StringTokenizer tokens(CString(LineText(script.Text(), line).substr(keyword.size())), " ,\r\n");
    for (int count = 0; count < 4 && tokens.HasMoreTokens(); ++count) {
        const CString token = tokens.NextToken();
        if (!IsNumberToken(token.View()))
            return Refuse(CString(keyword) + " holds " + script.ForMessage(token.View()) +
                          ", not a number");
    }
    return StampResult::Done();
}

// A string value is replaced only when a string literal follows its name (blanks, a comma,
// blanks, then " or L") and nothing but blanks and a comment follows the literal on its line:
// VALUE "FileVersion", VER_FILEVERSION_STR stays as it is, and so does a value that goes on after
// its literal ("0.10.70.0" APP_VERSION_TEXT), which the new line would cut off.
StampResult CheckStringLiteral(const ScriptEncoding& script, std::string_view keyword,
                               const StatementLine& line) {
    std::string_view rest = LineText(script.Text(), line).substr(keyword.size());
    auto skipBlanks = [&rest] {
        while (!rest.empty() && (rest.front() == ' ' || rest.front() == '\t'))
            rest.remove_prefix(1);
    };
    const CString name(keyword);
    skipBlanks();
    bool literal = false;
    if (!rest.empty() && rest.front() == ',') {
        rest.remove_prefix(1);
        skipBlanks();
        literal = rest.substr(0, 1) == "\"" || rest.substr(0, 2) == "L\"";
    }
    if (!literal) {
        const CString shown = script.ForMessage(rest);
        return Refuse(name + (shown.IsEmpty() ? " holds no string literal"
                                              : " holds " + shown + ", not a string literal"));
    }
    // To the closing quote: a doubled quote and a backslash escape do not close the literal, and
    // a double-byte character is passed over whole.
    size_t i = rest.find('"') + 1;
    const CodePage& rule = script.SearchRule();
    for (; i < rest.size(); ++i) {
        if (rule.IsLeadByte(rest[i]) || rest[i] == '\\' ||
            (rest[i] == '"' && i + 1 < rest.size() && rest[i + 1] == '"'))
            ++i;
        else if (rest[i] == '"')
            break;
    }
    if (i >= rest.size())
        return Refuse(name + " holds a string literal that does not close on its line");
    rest.remove_prefix(i + 1);
    skipBlanks();
    if (!rest.empty() && rest.substr(0, 2) != "//" && rest.substr(0, 2) != "/*")
        return Refuse(name + " goes on after its string literal: " + script.ForMessage(rest));
    return StampResult::Done();
}

StampResult LocateStatement(const ScriptEncoding& script, std::string_view keyword, int start,
                            StatementLine& line) {
    const std::string_view text = script.Text();
    const CString name(keyword);
    switch (LocateLine(text, keyword, start, line, script.SearchRule())) {
    case LineState::missing:
        return Refuse("no " + name + " statement in the version resource");
    case LineState::unterminated:
        return Refuse("the " + name + " line does not end in CR LF");
    case LineState::found:
        break;
    }
    if (ContinuesOnNextLine(LineText(text, line), script.SearchRule()))
        return Refuse("the " + name + " statement goes on over the next line");
    return CheckNumbers(script, keyword, line);
}
} // namespace

StampResult RewriteRcVersion(const CString& bytes, const VersionNumber& version, CString& result) {
    ScriptEncoding script;
    CString failure;
    if (!script.Decode(bytes.View(), &failure))
        return Refuse(failure);
    // Writing back only the text before it would cut the file short.
    if (script.HadNul())
        return Refuse(script.GetForm() == ScriptEncoding::Form::ansi
                          ? "the script holds a NUL byte (UTF-16 without a byte-order mark?)"
                          : "the script holds a U+0000 character");
    const std::string_view view = script.Text();
    const CodePage& rule = script.SearchRule();
    const int block = FindVersionBlock(view, rule);
    if (block < 0)
        return Refuse(kNoVersionResource);

    StatementLine fileVersion;
    StatementLine productVersion;
    if (StampResult found = LocateStatement(script, "FILEVERSION", block, fileVersion); !found)
        return found;
    if (StampResult found =
            LocateStatement(script, "PRODUCTVERSION", fileVersion.end, productVersion);
        !found)
        return found;

    CString numbers;
    numbers.Format("%d, %d, %d, %d", version.major, version.minor, version.sub, version.build);
    std::vector<Replacement> replacements;
    replacements.push_back({fileVersion.begin, fileVersion.end, "FILEVERSION " + numbers});
    replacements.push_back({productVersion.begin, productVersion.end, "PRODUCTVERSION " + numbers});

    // String values come after the PRODUCTVERSION statement, in every block and every later
    // resource. One value per line: the replacement runs to the line's end, so a line holding
    // both kinds goes with the first, and the search goes on behind it.
    const auto valueLine = [&](std::string_view keyword) {
        return CString(keyword) + ", \"" + numbers + "\\0\"";
    };
    const struct {
        std::string_view keyword;
        CString text;
    } kinds[] = {{kFileVersionString, valueLine(kFileVersionString)},
                 {kProductVersionString, valueLine(kProductVersionString)}};
    for (int from = productVersion.end;;) {
        const auto* next = std::end(kinds);
        int at = -1;
        for (const auto& kind : kinds) {
            const int found = FindMbcs(view, kind.keyword, from, rule);
            if (found >= 0 && (at < 0 || found < at)) {
                at = found;
                next = &kind;
            }
        }
        if (at < 0)
            break;
        StatementLine line;
        if (LocateLine(view, next->keyword, at, line, rule) != LineState::found)
            return Refuse("a " + CString(next->keyword) + " line does not end in CR LF");
        if (StampResult literal = CheckStringLiteral(script, next->keyword, line); !literal)
            return literal;
        replacements.push_back({line.begin, line.end, next->text});
        from = line.end;
    }
    // One pass over the text, the replacements in the order they were found: the replaced lines are
    // few, but the file around them may be large.
    std::string out;
    out.reserve(view.size() + replacements.size() * 48);
    int copied = 0;
    for (const Replacement& r : replacements) {
        out.append(view.substr(static_cast<size_t>(copied), static_cast<size_t>(r.begin - copied)));
        out.append(r.text.View());
        copied = r.end;
    }
    out.append(view.substr(static_cast<size_t>(copied)));
    std::string encoded;
    if (!script.Encode(std::move(out), encoded, &failure))
        return Refuse(failure);
    result = CString(std::move(encoded));
    return StampResult::Done();
}

StampResult WriteRcVersion(const CString& path, const VersionNumber& version) {
    CString bytes;
    try {
        bytes = LoadFileBytes(path);
    } catch (const CFileException& error) {
        return StampResult::Failed(CString("cannot read the script: ") + error.Describe());
    }
    CString result;
    if (StampResult rewritten = RewriteRcVersion(bytes, version, result); !rewritten)
        return rewritten;
    try {
        AtomicFileWriter::ReplaceContents(path, result.View());
    } catch (const CFileException& error) {
        return StampResult::Failed(CString("cannot rewrite the script: ") + error.Describe());
    }
    return StampResult::Done();
}
