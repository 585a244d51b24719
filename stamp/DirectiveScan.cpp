#include "stamp/DirectiveScan.h"

#include "stamp/TextRules.h"

#include <algorithm>

// The scan reads a text as the resource compiler's preprocessor does, as far as directives go:
// comments are blanked first (a comment may hide a #define), string and character literals are
// kept whole (a "//" in a URL is no comment), a backslash at a line's end joins the next line.
// A double-byte character is passed over whole, so that its second byte (0x5C in 表) is never
// taken for a backslash; only a byte that can be a second byte (0x40 and above) is taken for one,
// so that a stray lead byte of another code page never swallows a quote or a line end.
namespace {
bool IsPair(std::string_view text, size_t i, const CodePage& rule) {
    return rule.IsLeadByte(text[i]) && i + 1 < text.size() &&
           static_cast<unsigned char>(text[i + 1]) >= 0x40;
}

bool IsLineEnd(char ch) {
    return ch == '\r' || ch == '\n';
}

bool IsBlank(char ch) {
    return ch == ' ' || ch == '\t' || ch == '\v' || ch == '\f';
}

// A backslash and then a line end (CR LF, LF or a lone CR) at i: the length of the two, else 0.
size_t SpliceAt(std::string_view text, size_t i) {
    if (text[i] != '\\' || i + 1 >= text.size() || !IsLineEnd(text[i + 1]))
        return 0;
    return text[i + 1] == '\r' && i + 2 < text.size() && text[i + 2] == '\n' ? 3 : 2;
}

enum class State : std::uint8_t { code, lineComment, blockComment, literal };

void BlankComments(std::string_view text, const CodePage& rule, DirectiveScan& scan) {
    scan.code.assign(text);
    std::string& code = scan.code;
    State state = State::code;
    char quote = 0;
    for (size_t i = 0; i < text.size();) {
        const char ch = text[i];
        const size_t width = IsPair(text, i, rule) ? 2 : 1;
        switch (state) {
        case State::code:
            if (ch == '/' && i + 1 < text.size() && (text[i + 1] == '/' || text[i + 1] == '*')) {
                state = text[i + 1] == '/' ? State::lineComment : State::blockComment;
                code[i] = code[i + 1] = ' ';
                i += 2;
                continue;
            }
            if (ch == '"' || ch == '\'') {
                state = State::literal;
                quote = ch;
            }
            break;
        case State::literal:
            if (IsLineEnd(ch) || ch == quote)
                state = State::code; // an unclosed literal ends with its line
            else if (ch == '\\' && i + 1 < text.size() && !IsLineEnd(text[i + 1])) {
                i += 1 + (IsPair(text, i + 1, rule) ? 2 : 1);
                continue;
            }
            break;
        case State::lineComment:
            if (const size_t splice = SpliceAt(text, i); splice > 0) {
                code[i] = ' ';
                i += splice;
                scan.comments += '\n';
                continue;
            }
            if (IsLineEnd(ch)) {
                state = State::code;
                scan.comments += '\n';
                break;
            }
            [[fallthrough]];
        case State::blockComment:
            if (state == State::blockComment && ch == '*' && i + 1 < text.size() &&
                text[i + 1] == '/') {
                state = State::code;
                code[i] = code[i + 1] = ' ';
                scan.comments += '\n';
                i += 2;
                continue;
            }
            if (IsLineEnd(ch)) {
                scan.comments += '\n';
                break;
            }
            scan.comments.append(text.substr(i, width));
            for (size_t k = 0; k < width; ++k)
                code[i + k] = ' ';
            break;
        }
        i += width;
    }
}

// The end of the logical line that starts at begin (before its line end), and whether a backslash
// joined another line to it.
size_t LogicalLineEnd(std::string_view code, size_t begin, const CodePage& rule, bool& continued) {
    continued = false;
    for (size_t i = begin; i < code.size();) {
        if (const size_t splice = SpliceAt(code, i); splice > 0) {
            continued = true;
            i += splice;
        } else if (IsLineEnd(code[i])) {
            return i;
        } else {
            i += IsPair(code, i, rule) ? 2 : 1;
        }
    }
    return code.size();
}

// The line's end after a line end at i.
size_t NextLine(std::string_view code, size_t i) {
    if (i < code.size() && code[i] == '\r')
        ++i;
    if (i < code.size() && code[i] == '\n')
        ++i;
    return i;
}

size_t SkipBlanks(std::string_view code, size_t i, size_t end) {
    while (i < end && (IsBlank(code[i]) || SpliceAt(code, i) > 0))
        i += SpliceAt(code, i) > 0 ? SpliceAt(code, i) : 1;
    return i;
}

size_t SkipName(std::string_view code, size_t i, size_t end) {
    while (i < end && IsNameCharacter(code[i]))
        ++i;
    return i;
}

size_t TrimEnd(std::string_view code, size_t begin, size_t end) {
    while (end > begin && IsBlank(code[end - 1]))
        --end;
    return end;
}

bool IsBlankText(std::string_view code) {
    for (const char ch : code)
        if (!IsBlank(ch) && !IsLineEnd(ch))
            return false;
    return true;
}

// "#ifndef NAME", "#if !defined(NAME)" or "#if !defined NAME": the guarded name, else empty.
std::string_view GuardName(std::string_view condition) {
    const auto skip = [&condition](std::string_view what) {
        while (!condition.empty() && IsBlank(condition.front()))
            condition.remove_prefix(1);
        if (condition.substr(0, what.size()) != what)
            return false;
        condition.remove_prefix(what.size());
        return true;
    };
    bool parenthesis = false;
    if (!skip("ifndef ") && !skip("ifndef\t")) {
        if (!skip("if") || !skip("!") || !skip("defined"))
            return {};
        parenthesis = skip("(");
    }
    while (!condition.empty() && IsBlank(condition.front()))
        condition.remove_prefix(1);
    size_t name = 0;
    while (name < condition.size() && IsNameCharacter(condition[name]))
        ++name;
    std::string_view rest = condition.substr(name);
    condition = condition.substr(0, name);
    const std::string_view guarded = condition;
    while (!rest.empty() && IsBlank(rest.front()))
        rest.remove_prefix(1);
    if (parenthesis && rest.substr(0, 1) == ")")
        rest.remove_prefix(1);
    return IsBlankText(rest) ? guarded : std::string_view();
}

// A file wrapped whole in "#ifndef NAME / #define NAME ... #endif": its definitions are not
// conditional, whatever the guard is called.
void PassOverIncludeGuard(DirectiveScan& scan, const std::vector<int>& closing) {
    std::vector<Directive>& all = scan.directives;
    const std::string_view code = scan.code;
    if (all.size() < 3 || all[0].kind != Directive::Kind::condition || closing[0] < 0 ||
        static_cast<size_t>(closing[0]) != all.size() - 1)
        return;
    const std::string_view guard =
        GuardName(code.substr(static_cast<size_t>(all[0].nameBegin),
                              static_cast<size_t>(all[0].nameEnd - all[0].nameBegin)));
    const Directive& define = all[1];
    if (guard.empty() || define.kind != Directive::Kind::define ||
        code.substr(static_cast<size_t>(define.nameBegin),
                    static_cast<size_t>(define.nameEnd - define.nameBegin)) != guard)
        return;
    const size_t afterEnd = code.find_first_of("\r\n", static_cast<size_t>(all.back().at));
    if (!IsBlankText(code.substr(0, static_cast<size_t>(all[0].at))) ||
        (afterEnd != std::string_view::npos && !IsBlankText(code.substr(afterEnd))))
        return;
    for (Directive& directive : all)
        if (directive.condition == 0)
            directive.condition = -1;
}
} // namespace

DirectiveScan ScanDirectives(std::string_view text, const CodePage& rule) {
    DirectiveScan scan;
    BlankComments(text, rule, scan);
    const std::string_view code = scan.code;
    std::vector<int> open;    // the conditions open, innermost last
    std::vector<int> closing; // for each directive that opens a condition, its #endif
    for (size_t line = 0; line < code.size();) {
        bool continued = false;
        const size_t end = LogicalLineEnd(code, line, rule, continued);
        const size_t hash = SkipBlanks(code, line, end);
        line = NextLine(code, end);
        if (hash >= end || code[hash] != '#')
            continue;
        Directive d;
        d.at = static_cast<int>(hash);
        d.continued = continued;
        d.condition = open.empty() ? -1 : open.back();
        const size_t keyword = SkipBlanks(code, hash + 1, end);
        const size_t keywordEnd = SkipName(code, keyword, end);
        const std::string_view word = code.substr(keyword, keywordEnd - keyword);
        const size_t after = SkipBlanks(code, keywordEnd, end);
        d.nameBegin = static_cast<int>(after);
        d.nameEnd = static_cast<int>(TrimEnd(code, after, end));
        const int index = static_cast<int>(scan.directives.size());
        if (word == "define" || word == "undef") {
            const size_t nameEnd = SkipName(code, after, end);
            d.kind = nameEnd > after
                         ? (word == "define" ? Directive::Kind::define : Directive::Kind::undef)
                         : Directive::Kind::other;
            d.nameEnd = static_cast<int>(nameEnd);
            size_t body = nameEnd;
            d.functionLike = body < end && code[body] == '(';
            if (d.functionLike) {
                const size_t close = code.find(')', body);
                body = close == std::string_view::npos ? end : std::min(end, close + 1);
            }
            d.bodyBegin = static_cast<int>(body);
            d.bodyEnd = static_cast<int>(end);
        } else if (word == "include") {
            d.kind = Directive::Kind::include;
        } else if (word == "if" || word == "ifdef" || word == "ifndef") {
            d.kind = Directive::Kind::condition;
            d.nameBegin = static_cast<int>(keyword);
            open.push_back(index);
        } else if (word == "endif" && !open.empty()) {
            closing[static_cast<size_t>(open.back())] = index;
            open.pop_back();
        }
        scan.directives.push_back(d);
        closing.push_back(-1);
    }
    PassOverIncludeGuard(scan, closing);
    return scan;
}
