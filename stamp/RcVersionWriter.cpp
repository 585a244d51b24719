#include "stamp/RcVersionWriter.h"

#include "base/AtomicFileWriter.h"
#include "stamp/StringTokenizer.h"
#include "stamp/TextEdit.h"
#include "stamp/TextRules.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

// A script is left alone when rewriting it could damage it: a missing statement, a keyword with no
// CR after it or a bare LF before it, a NUL byte in the file, a version statement that goes on
// over the next line, a statement holding something other than numbers (a macro), a string value
// holding no string literal, or UTF-16 that is not well-formed.
namespace {

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

// What follows a value's name: blanks, a comma and blanks, then the value.
std::string_view ValueOf(std::string_view text, std::string_view keyword, const StatementLine& line,
                         bool& comma) {
    std::string_view rest = line.In(text).substr(keyword.size());
    const auto skipBlanks = [&rest] {
        while (!rest.empty() && (rest.front() == ' ' || rest.front() == '\t'))
            rest.remove_prefix(1);
    };
    skipBlanks();
    comma = !rest.empty() && rest.front() == ',';
    if (comma) {
        rest.remove_prefix(1);
        skipBlanks();
    }
    return rest;
}

bool StartsWithLiteral(std::string_view value) {
    return value.substr(0, 1) == "\"" || value.substr(0, 2) == "L\"";
}

// A string value is replaced only when a string literal follows its name (blanks, a comma,
// blanks, then " or L") and nothing but blanks and a comment follows the literal on its line:
// VALUE "FileVersion", VER_FILEVERSION_STR stays as it is, and so does a value that goes on after
// its literal ("0.10.70.0" APP_VERSION_TEXT), which the new line would cut off. What stands
// between the literal's quotes.
Expected<std::string_view> StringLiteralOf(const ScriptEncoding& script, std::string_view keyword,
                                           const StatementLine& line) {
    bool comma = false;
    std::string_view rest = ValueOf(script.Text(), keyword, line, comma);
    const auto skipBlanks = [&rest] {
        while (!rest.empty() && (rest.front() == ' ' || rest.front() == '\t'))
            rest.remove_prefix(1);
    };
    const CString name(keyword);
    if (!comma || !StartsWithLiteral(rest)) {
        const CString shown = script.ForMessage(rest);
        return Refuse(name + (shown.IsEmpty() ? " holds no string literal"
                                              : " holds " + shown + ", not a string literal"));
    }
    // To the closing quote: a doubled quote and a backslash escape do not close the literal, and
    // a double-byte character is passed over whole.
    const size_t opening = rest.find('"');
    size_t i = opening + 1;
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
    const std::string_view content = rest.substr(opening + 1, i - opening - 1);
    rest.remove_prefix(i + 1);
    skipBlanks();
    if (!rest.empty() && rest.substr(0, 2) != "//" && rest.substr(0, 2) != "/*")
        return Refuse(name + " goes on after its string literal: " + script.ForMessage(rest));
    return content;
}

// The forms a version string is written in: "1, 0, 0, 1", "1,0,0,1" or "1.0.0.1", each with or
// without the "\\0" the resource compiler reads as a NUL. Fields of 0 at the end may be left out
// ("0.9.2" for 0, 9, 2, 0), as Windows shows the same version then.
bool HoldsNumbers(std::string_view literal, const VersionNumber& numbers) {
    if (literal.size() >= 2 && literal.substr(literal.size() - 2) == "\\0")
        literal.remove_suffix(2);
    const int fields[] = {numbers.major, numbers.minor, numbers.sub, numbers.build};
    std::string digits[4];
    for (int k = 0; k < 4; ++k)
        digits[k] = std::to_string(fields[k]);
    for (const std::string_view separator : {", ", ",", "."}) {
        std::string form = digits[0];
        for (int shown = 1; shown < 4; ++shown) {
            form.append(separator).append(digits[shown]);
            const bool restAreZero =
                std::all_of(fields + shown + 1, fields + 4, [](int field) { return field == 0; });
            if (restAreZero && literal == form)
                return true;
        }
    }
    return false;
}

// A statement the locator found, if the writer may replace it.
Expected<StatementLine> CheckStatement(const VersionScript& script, std::string_view keyword,
                                       const StatementLine& line) {
    const std::string_view text = script.Text();
    const CString name(keyword);
    if (line.begin < 0)
        return Refuse("no " + name + " statement in the version resource");
    if (!EndsInCrLf(text, line))
        return Refuse("the " + name + " line does not end in CR LF");
    if (ContinuesOnNextLine(line.In(text), script.Encoding().SearchRule()))
        return Refuse("the " + name + " statement goes on over the next line");
    if (Expected<void> numbers = CheckNumbers(script.Encoding(), keyword, line); !numbers)
        return numbers.Error();
    return line;
}
} // namespace

Expected<CString> RewriteRcVersion(const VersionScript& script, const VersionNumber& version,
                                   const std::vector<TextEdit>* macroEdits) {
    const ScriptEncoding& encoding = script.Encoding();
    const std::string_view text = script.Text();
    // Followed, what holds names is the definitions' to change, not the script's.
    const auto holdsNames = [&](std::string_view keyword, const StatementLine& line) {
        return macroEdits && line.begin >= 0 &&
               (line.IsWhole() ? !CheckNumbers(encoding, keyword, line) : true);
    };
    // Writing back only the text before it would cut the file short.
    if (encoding.HadNul())
        return Refuse(encoding.GetForm() == TextForm::ansi
                          ? "the script holds a NUL byte (UTF-16 without a byte-order mark?)"
                          : "the script holds a U+0000 character");
    if (script.Block() < 0)
        return Refuse(kNoVersionResource);
    CString numbers;
    numbers.Format("%d, %d, %d, %d", version.major, version.minor, version.sub, version.build);
    std::vector<TextEdit> edits;
    for (const auto& [keyword, line] :
         {std::pair{std::string_view("FILEVERSION"), script.FileVersion()},
          {std::string_view("PRODUCTVERSION"), script.ProductVersion()}}) {
        if (holdsNames(keyword, line))
            continue;
        const Expected<StatementLine> statement = CheckStatement(script, keyword, line);
        if (!statement)
            return statement.Error();
        edits.push_back({statement->begin, statement->end, CString(keyword) + " " + numbers});
    }
    // The replacement runs to the line's end.
    for (const StringValueLine& value : script.StringValues()) {
        bool comma = false;
        if (macroEdits && value.line.IsWhole() &&
            !StartsWithLiteral(ValueOf(text, value.keyword, value.line, comma)))
            continue;
        if (!EndsInCrLf(text, value.line))
            return Refuse("a " + CString(value.keyword) + " line does not end in CR LF");
        if (Expected<std::string_view> literal =
                StringLiteralOf(encoding, value.keyword, value.line);
            !literal)
            return literal.Error();
        edits.push_back({value.line.begin, value.line.end,
                         CString(value.keyword) + ", \"" + numbers + "\\0\""});
    }
    if (macroEdits) {
        edits.insert(edits.end(), macroEdits->begin(), macroEdits->end());
        std::sort(edits.begin(), edits.end(),
                  [](const TextEdit& a, const TextEdit& b) { return a.begin < b.begin; });
    }
    Expected<std::string> encoded = encoding.Encode(ApplyEdits(text, edits));
    if (!encoded)
        return encoded.Error();
    return CString(std::move(*encoded));
}

std::vector<CString> StringsNotHolding(const VersionScript& script, const VersionNumber& numbers) {
    std::vector<CString> strings;
    for (const StringValueLine& value : script.StringValues()) {
        const Expected<std::string_view> literal =
            StringLiteralOf(script.Encoding(), value.keyword, value.line);
        if (literal && !HoldsNumbers(*literal, numbers))
            strings.push_back(CString(value.keyword) + " held \"" +
                              script.Encoding().ForMessage(*literal) + "\"");
    }
    return strings;
}

Expected<CString> RewriteRcVersion(std::string_view bytes, const VersionNumber& version) {
    return VersionScript::Locate(CString(bytes)).AndThen([&](const VersionScript& script) {
        return RewriteRcVersion(script, version);
    });
}

Expected<void> WriteRcVersion(const CString& path, const VersionNumber& version) {
    return VersionScript::Read(path).AndThen(
        [&](const VersionScript& script) { return WriteRcVersion(path, script, version); });
}

Expected<void> WriteRcVersion(const CString& path, const VersionScript& script,
                              const VersionNumber& version) {
    const Expected<CString> rewritten = RewriteRcVersion(script, version);
    if (!rewritten)
        return rewritten.Error();
    if (Expected<void> replaced = AtomicFileWriter::ReplaceContents(path, rewritten->View());
        !replaced)
        return replaced.Error().Prefixed("cannot rewrite the script: ");
    return {};
}
