#include "stamp/RcVersionWriter.h"

#include "base/AtomicFileWriter.h"
#include "stamp/ScriptEncoding.h"
#include "stamp/StringTokenizer.h"
#include "stamp/TextRules.h"

#include <string>
#include <string_view>
#include <vector>

// A script is left alone when rewriting it could damage it: a missing statement, a keyword with no
// CR after it or a bare LF before it, a NUL byte in the file, a version statement that goes on
// over the next line, a statement holding something other than numbers (a macro), a string value
// holding no string literal, or UTF-16 that is not well-formed.
namespace {
constexpr std::string_view kFileVersionString = "\"FileVersion\"";
constexpr std::string_view kProductVersionString = "\"ProductVersion\"";

struct Replacement {
    int begin;
    int end;
    CString text;
};

// For writing, a line a bare LF cuts is not whole either: replacing up to a later CR would
// swallow whole lines.
bool EndsInCrLf(std::string_view text, const StatementLine& line) {
    return line.IsWhole() && line.In(text).find('\n') == std::string_view::npos;
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

Failure Refuse(const CString& reason) {
    return Failure::LeftAlone(reason);
}

// A statement is replaced only when what it holds are numbers: "FILEVERSION VER_MAJOR,..." keeps
// the project's version macros. Tokens are counted from the end of the keyword, so a TAB after it
// does no harm; past the fourth, a trailing comment is not looked at.
Expected<void> CheckNumbers(const ScriptEncoding& script, std::string_view keyword,
                            const StatementLine& line) {
    StringTokenizer tokens(CString(line.In(script.Text()).substr(keyword.size())), " ,\r\n");
    for (int count = 0; count < 4 && tokens.HasMoreTokens(); ++count) {
        const CString token = tokens.NextToken();
        if (!IsNumberToken(token.View()))
            return Refuse(CString(keyword) + " holds " + script.ForMessage(token.View()) +
                          ", not a number");
    }
    return {};
}

// A string value is replaced only when a string literal follows its name (blanks, a comma,
// blanks, then " or L") and nothing but blanks and a comment follows the literal on its line:
// VALUE "FileVersion", VER_FILEVERSION_STR stays as it is, and so does a value that goes on after
// its literal ("0.10.70.0" APP_VERSION_TEXT), which the new line would cut off.
Expected<void> CheckStringLiteral(const ScriptEncoding& script, std::string_view keyword,
                                  const StatementLine& line) {
    std::string_view rest = line.In(script.Text()).substr(keyword.size());
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
    return {};
}

Expected<StatementLine> LocateStatement(const ScriptEncoding& script, std::string_view keyword,
                                        int start) {
    const std::string_view text = script.Text();
    const CString name(keyword);
    const StatementLine line = FindStatementLine(text, keyword, start, script.SearchRule());
    if (line.begin < 0)
        return Refuse("no " + name + " statement in the version resource");
    if (!EndsInCrLf(text, line))
        return Refuse("the " + name + " line does not end in CR LF");
    if (ContinuesOnNextLine(line.In(text), script.SearchRule()))
        return Refuse("the " + name + " statement goes on over the next line");
    if (Expected<void> numbers = CheckNumbers(script, keyword, line); !numbers)
        return numbers.Error();
    return line;
}
} // namespace

Expected<CString> RewriteRcVersion(std::string_view bytes, const VersionNumber& version) {
    ScriptEncoding script;
    if (Expected<void> decoded = script.Decode(bytes); !decoded)
        return decoded.Error();
    // Writing back only the text before it would cut the file short.
    if (script.HadNul())
        return Refuse(script.GetForm() == TextForm::ansi
                          ? "the script holds a NUL byte (UTF-16 without a byte-order mark?)"
                          : "the script holds a U+0000 character");
    const std::string_view view = script.Text();
    const CodePage& rule = script.SearchRule();
    const int block = FindVersionBlock(view, rule);
    if (block < 0)
        return Refuse(kNoVersionResource);

    const Expected<StatementLine> fileVersion = LocateStatement(script, "FILEVERSION", block);
    if (!fileVersion)
        return fileVersion.Error();
    const Expected<StatementLine> productVersion =
        LocateStatement(script, "PRODUCTVERSION", fileVersion->end);
    if (!productVersion)
        return productVersion.Error();

    CString numbers;
    numbers.Format("%d, %d, %d, %d", version.major, version.minor, version.sub, version.build);
    std::vector<Replacement> replacements;
    replacements.push_back({fileVersion->begin, fileVersion->end, "FILEVERSION " + numbers});
    replacements.push_back(
        {productVersion->begin, productVersion->end, "PRODUCTVERSION " + numbers});

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
    for (int from = productVersion->end;;) {
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
        const StatementLine line = FindStatementLine(view, next->keyword, at, rule);
        if (!EndsInCrLf(view, line))
            return Refuse("a " + CString(next->keyword) + " line does not end in CR LF");
        if (Expected<void> literal = CheckStringLiteral(script, next->keyword, line); !literal)
            return literal.Error();
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
    Expected<std::string> encoded = script.Encode(std::move(out));
    if (!encoded)
        return encoded.Error();
    return CString(std::move(*encoded));
}

Expected<void> WriteRcVersion(const CString& path, const VersionNumber& version) {
    const Expected<CString> rewritten = ReadScript(path).AndThen(
        [&](const CString& bytes) { return RewriteRcVersion(bytes.View(), version); });
    if (!rewritten)
        return rewritten.Error();
    if (Expected<void> replaced = AtomicFileWriter::ReplaceContents(path, rewritten->View());
        !replaced)
        return replaced.Error().Prefixed("cannot rewrite the script: ");
    return {};
}
