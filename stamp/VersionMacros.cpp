#include "stamp/VersionMacros.h"

#include "base/IntegerText.h"
#include "stamp/MacroSources.h"
#include "stamp/StringTokenizer.h"

#include <algorithm>
#include <array>
#include <map>
#include <optional>
#include <tuple>
#include <utility>

// A version macro is followed only where no guess is needed: a name with exactly one definition,
// outside every condition, whose body is one decimal number, a list of four decimal numbers or
// names, or another name, followed field by field. Anything else stops the follow with a line
// that names the macro and why, and then nothing is written.
namespace {
constexpr const char* kFieldNames[] = {"major", "minor", "sub", "build"};
constexpr int kMostAliases = 16; // a name defined through itself would go on forever

// The digits of a number in a file's working text (0 is the script).
struct Site {
    int file = 0;
    int begin = 0;
    int end = 0;

    friend auto operator<=>(const Site&, const Site&) = default;
};

struct Field {
    Site site;
    int value = 0;
    bool written = true; // not in a statement of four numbers, which the script's writer rewrites
    CString owner;       // the macro, or the statement, that holds the number
};

struct Statement {
    bool present = false;
    std::array<Field, 4> fields;

    VersionNumber Numbers() const {
        return {fields[0].value, fields[1].value, fields[2].value, fields[3].value};
    }
};

// A string macro that held the old numbers: where its four numbers stand.
struct StringSite {
    std::array<Site, 4> numbers;
    bool product = false;
};

using Tokens = std::vector<Site>;

Failure Refuse(const CString& reason) {
    return Failure::LeftAlone(reason);
}

std::string_view Span(std::string_view code, const Site& site) {
    return code.substr(static_cast<size_t>(site.begin), static_cast<size_t>(site.end - site.begin));
}

bool IsBlank(char ch) {
    return ch == ' ' || ch == '\t';
}

bool IsName(std::string_view token) {
    return !token.empty() && IsNameStart(token[0]) &&
           std::all_of(token.begin(), token.end(), IsNameCharacter);
}

CString Decimal(int value) {
    CString text;
    text.Format("%d", value);
    return text;
}

// The tokens of a piece of a file by the reader's rule, each with its place, blanks and TABs
// around it left out. A token's first occurrence after the previous one is where it stands: what
// the tokenizer skips is delimiters, and no token begins with one.
Tokens TokensOf(std::string_view code, int file, int begin, int end) {
    const std::string_view piece =
        code.substr(static_cast<size_t>(begin), static_cast<size_t>(end - begin));
    StringTokenizer tokenizer{CString(piece), " ,\r\n"};
    Tokens tokens;
    size_t from = 0;
    for (CString token = tokenizer.NextToken(); !token.IsEmpty(); token = tokenizer.NextToken()) {
        size_t first = piece.find(token.View(), from);
        size_t last = first + static_cast<size_t>(token.GetLength());
        from = last;
        while (first < last && IsBlank(piece[first]))
            ++first;
        while (last > first && IsBlank(piece[last - 1]))
            --last;
        if (first < last)
            tokens.push_back(
                {file, begin + static_cast<int>(first), begin + static_cast<int>(last)});
    }
    return tokens;
}

// Past a string literal at i (its opening quote, or the L before it); npos when it does not
// close.
size_t PastLiteral(std::string_view code, size_t i) {
    if (code[i] == 'L')
        ++i;
    for (++i; i < code.size(); ++i) {
        if (code[i] == '\\')
            ++i;
        else if (code[i] == '"')
            return i + 1;
    }
    return std::string_view::npos;
}

bool StartsLiteral(std::string_view code, size_t i) {
    return i < code.size() &&
           (code[i] == '"' || (code[i] == 'L' && i + 1 < code.size() && code[i + 1] == '"'));
}

// Past the parenthesised arguments of a call at i.
size_t PastCall(std::string_view code, size_t i, size_t end) {
    for (int open = 0; i < end;) {
        if (StartsLiteral(code, i)) {
            i = std::min(end, PastLiteral(code, i));
            continue;
        }
        open += code[i] == '(' ? 1 : code[i] == ')' ? -1 : 0;
        ++i;
        if (open == 0)
            break;
    }
    return i;
}

// Follows the statements' macros through the files reached.
class Resolver {
public:
    explicit Resolver(const MacroSources& sources) : m_sources(sources) {}

    Expected<Statement> ReadStatement(std::string_view keyword, const StatementLine& line) const;
    // The string macros a value line names that held the old numbers.
    Expected<void> ReadValue(const StatementLine& line, const VersionNumber& file,
                             const VersionNumber& product, std::vector<StringSite>& out) const;

private:
    Expected<Tokens> NumberBody(std::string_view name, const MacroDefinition& definition) const;
    // The body of a number macro reached through depth aliases.
    Expected<Tokens> Body(std::string_view name, int depth) const;
    Expected<Field> Number(std::string_view name, int depth) const;
    Expected<std::array<Field, 4>> List(std::string_view name, int depth) const;
    Expected<std::array<Field, 4>> Items(const Tokens& tokens, const CString& owner,
                                         int depth) const;
    Expected<void> Strings(int file, size_t begin, size_t end, const VersionNumber& old,
                           bool product, int depth, std::vector<StringSite>& out) const;
    Expected<void> StringMacro(std::string_view name, const VersionNumber& old, bool product,
                               int depth, std::vector<StringSite>& out) const;
    std::string_view Text(const Site& site) const { return Span(m_sources.Code(site.file), site); }

    const MacroSources& m_sources;
};

// A number macro's body: one decimal number, one name, or four of them, each a token.
Expected<Tokens> Resolver::NumberBody(std::string_view name,
                                      const MacroDefinition& definition) const {
    const CString macro(name);
    const std::string_view code = m_sources.Code(definition.file);
    const std::string_view body = Span(code, {0, definition.bodyBegin, definition.bodyEnd});
    const CString shown = m_sources.Shown(definition.file, body);
    if (shown.IsEmpty())
        return Refuse(macro + " is defined with no value");
    if (body.find("##") != std::string_view::npos)
        return Refuse(macro + " is made by token pasting (" + shown + ")");
    if (body.find_first_of("@$") != std::string_view::npos)
        return Refuse(macro + " holds " + shown + ", a placeholder that a generator fills in");
    Tokens tokens = TokensOf(code, definition.file, definition.bodyBegin, definition.bodyEnd);
    const bool plain = (tokens.size() == 1 || tokens.size() == 4) &&
                       std::all_of(tokens.begin(), tokens.end(), [&](const Site& token) {
                           return IsName(Text(token)) || IsDecimal(Text(token));
                       });
    if (!plain)
        return Refuse(macro + " holds " + shown +
                      (body.find_first_of("+-*/%()<>&|^~!?") != std::string_view::npos
                           ? ", arithmetic"
                           : ", neither a number nor a list of four"));
    for (const Site& token : tokens)
        if (IsDecimal(Text(token)) && Text(token).size() > 1 && Text(token)[0] == '0')
            return Refuse(macro + " holds " + CString(Text(token)) + ", an octal number");
    return tokens;
}

Expected<Tokens> Resolver::Body(std::string_view name, int depth) const {
    if (depth > kMostAliases)
        return Refuse(CString(name) + " is defined through itself");
    const Expected<MacroDefinition> definition = m_sources.Definition(name);
    if (!definition)
        return definition.Error();
    return NumberBody(name, *definition);
}

Expected<Field> Resolver::Number(std::string_view name, int depth) const {
    const Expected<Tokens> tokens = Body(name, depth);
    if (!tokens)
        return tokens.Error();
    if (tokens->size() == 4)
        return Refuse(CString(name) + " holds a list of four where one number belongs");
    const Site& token = tokens->front();
    if (IsName(Text(token)))
        return Number(Text(token), depth + 1);
    return Field{token, ParseAtoi(Text(token)), true, CString(name)};
}

Expected<std::array<Field, 4>> Resolver::List(std::string_view name, int depth) const {
    const Expected<Tokens> tokens = Body(name, depth);
    if (!tokens)
        return tokens.Error();
    if (tokens->size() == 4)
        return Items(*tokens, CString(name), depth);
    if (IsDecimal(Text(tokens->front())))
        return Refuse(CString(name) + " holds one number where four belong");
    return List(Text(tokens->front()), depth + 1);
}

// Four fields, each a decimal number where it stands or a name followed to its number. A build
// written as a number among names (VER_MAJOR,VER_MINOR,0,0) is no build the project counts.
Expected<std::array<Field, 4>> Resolver::Items(const Tokens& tokens, const CString& owner,
                                               int depth) const {
    std::array<Field, 4> fields;
    for (size_t k = 0; k < fields.size(); ++k) {
        const std::string_view token = Text(tokens[k]);
        if (IsDecimal(token)) {
            fields[k] = {tokens[k], ParseAtoi(token), true, owner};
            continue;
        }
        if (!IsName(token))
            return Refuse(owner + " holds " + m_sources.Shown(tokens[k].file, token) +
                          ", neither a decimal number nor a name");
        Expected<Field> field = Number(token, depth + 1);
        if (!field)
            return field.Error();
        fields[k] = *field;
    }
    const bool names = std::any_of(tokens.begin(), tokens.begin() + 3,
                                   [&](const Site& token) { return IsName(Text(token)); });
    if (names && IsDecimal(Text(tokens[3])))
        return Refuse("the build in " + owner + " is the number " + CString(Text(tokens[3])) +
                      " among names, no build number the project counts");
    return fields;
}

Expected<Statement> Resolver::ReadStatement(std::string_view keyword,
                                            const StatementLine& line) const {
    const CString name(keyword);
    Statement statement;
    if (line.begin < 0)
        return statement;
    const std::string_view code = m_sources.Code(0);
    if (!line.IsWhole() || code.substr(static_cast<size_t>(line.begin), keyword.size()) != keyword)
        return Refuse("no " + name + " statement ending in CR LF in the version resource");
    statement.present = true;
    const Tokens tokens =
        TokensOf(code, 0, line.begin + static_cast<int>(keyword.size()), line.end);
    // Four numbers: the reader's and the writer's as they always were.
    if (tokens.size() >= 4 && std::all_of(tokens.begin(), tokens.begin() + 4,
                                          [&](const Site& t) { return IsNumberToken(Text(t)); })) {
        for (size_t k = 0; k < 4; ++k)
            statement.fields[k] = {tokens[k], ParseAtoi(Text(tokens[k])), false, name};
        return statement;
    }
    Expected<std::array<Field, 4>> fields =
        tokens.size() == 1 && IsName(Text(tokens[0]))
            ? List(Text(tokens[0]), 0)
            : (tokens.size() == 4
                   ? Items(tokens, name, 0)
                   : Expected<std::array<Field, 4>>(
                         Refuse(name + " holds neither four numbers or names nor one name")));
    if (!fields)
        return fields.Error();
    statement.fields = *fields;
    return statement;
}

// The old four numbers as a string literal's whole content holds them, in one of the forms
// "1, 0, 0, 290", "1,0,0,290" or "1.0.0.290", with or without "\0": their places, else none.
std::optional<std::array<Site, 4>> NumbersIn(std::string_view content, Site at,
                                             const VersionNumber& old) {
    if (content.size() >= 2 && content.substr(content.size() - 2) == "\\0")
        content.remove_suffix(2);
    const int values[] = {old.major, old.minor, old.sub, old.build};
    std::array<Site, 4> numbers;
    std::string_view separator;
    size_t i = 0;
    for (size_t k = 0; k < 4; ++k) {
        if (k > 0) {
            if (separator.empty())
                for (const std::string_view form : {", ", ",", "."})
                    if (content.substr(i, form.size()) == form) {
                        separator = form;
                        break;
                    }
            if (separator.empty() || content.substr(i, separator.size()) != separator)
                return std::nullopt;
            i += separator.size();
        }
        const size_t end = i + ScanDigits(content.substr(i)).length;
        if (content.substr(i, end - i) != Decimal(values[k]).View())
            return std::nullopt;
        numbers[k] = {at.file, at.begin + static_cast<int>(i), at.begin + static_cast<int>(end)};
        i = end;
    }
    if (i != content.size())
        return std::nullopt;
    return numbers;
}

// A string value's expression: literals, names of string macros, and calls (STRINGIZE(VER_MAJOR)),
// whose stringized numbers need nothing. It ends at anything else.
Expected<void> Resolver::Strings(int file, size_t begin, size_t end, const VersionNumber& old,
                                 bool product, int depth, std::vector<StringSite>& out) const {
    const std::string_view code = m_sources.Code(file).substr(0, end);
    for (size_t i = begin; i < end;) {
        if (IsBlank(code[i])) {
            ++i;
        } else if (StartsLiteral(code, i)) {
            i = PastLiteral(code, i);
        } else if (IsNameStart(code[i])) {
            const size_t nameBegin = i;
            while (i < end && IsNameCharacter(code[i]))
                ++i;
            const std::string_view name = code.substr(nameBegin, i - nameBegin);
            while (i < end && IsBlank(code[i]))
                ++i;
            if (i < end && code[i] == '(') {
                i = PastCall(code, i, end);
            } else if (Expected<void> macro = StringMacro(name, old, product, depth + 1, out);
                       !macro) {
                return macro;
            }
        } else {
            break;
        }
    }
    return {};
}

// A string macro that is a plain literal holding the old numbers gets the new ones; one holding
// other text ("1.9.0", "Release 0.84") stays as it is.
Expected<void> Resolver::StringMacro(std::string_view name, const VersionNumber& old, bool product,
                                     int depth, std::vector<StringSite>& out) const {
    if (depth > kMostAliases)
        return Refuse(CString(name) + " is defined through itself");
    const Expected<MacroDefinition> definition = m_sources.Definition(name);
    if (!definition)
        return definition.Error();
    const std::string_view code = m_sources.Code(definition->file);
    size_t begin = static_cast<size_t>(definition->bodyBegin);
    size_t end = static_cast<size_t>(definition->bodyEnd);
    while (begin < end && IsBlank(code[begin]))
        ++begin;
    while (end > begin && IsBlank(code[end - 1]))
        --end;
    if (begin < end && StartsLiteral(code, begin) && PastLiteral(code, begin) == end) {
        const size_t content = code.find('"', begin) + 1;
        const Site at{definition->file, static_cast<int>(content), static_cast<int>(end - 1)};
        if (const auto numbers = NumbersIn(Span(code, at), at, old))
            out.push_back({*numbers, product});
        return {};
    }
    return Strings(definition->file, begin, end, old, product, depth, out);
}

Expected<void> Resolver::ReadValue(const StatementLine& line, const VersionNumber& file,
                                   const VersionNumber& product,
                                   std::vector<StringSite>& out) const {
    constexpr std::string_view kFileVersion = "\"FileVersion\"";
    constexpr std::string_view kProductVersion = "\"ProductVersion\"";
    const std::string_view code = m_sources.Code(0);
    if (!line.IsWhole() || line.begin < 0)
        return Refuse("a version string value does not end in CR LF");
    const std::string_view value = line.In(code);
    const bool isProduct = value.substr(0, kProductVersion.size()) == kProductVersion;
    if (!isProduct && value.substr(0, kFileVersion.size()) != kFileVersion)
        return Refuse("a version string value names neither FileVersion nor ProductVersion");
    size_t i = static_cast<size_t>(line.begin) +
               (isProduct ? kProductVersion.size() : kFileVersion.size());
    const size_t end = static_cast<size_t>(line.end);
    while (i < end && IsBlank(code[i]))
        ++i;
    if (i < end && code[i] == ',')
        ++i;
    while (i < end && IsBlank(code[i]))
        ++i;
    // A string literal is the script's writer's to rewrite.
    if (StartsLiteral(code, i))
        return {};
    return Strings(0, i, end, isProduct ? product : file, isProduct, 0, out);
}
} // namespace

struct VersionMacros::Followed {
    MacroSources sources;
    Statement file;
    Statement product;
    std::vector<StringSite> strings;
    VersionNumber version;

    // The number each site gets from a change, or why the change cannot be written: one macro
    // standing for two fields that would differ.
    Expected<std::map<Site, int>> Assign(MacroChange change, const VersionNumber& fileNext,
                                         const VersionNumber& productNext) const;
};

Expected<std::map<Site, int>>
VersionMacros::Followed::Assign(MacroChange change, const VersionNumber& fileNext,
                                const VersionNumber& productNext) const {
    std::map<Site, int> numbers;
    std::map<Site, CString> meaning;
    const auto assign = [&](const Site& site, int value, const CString& what,
                            const CString& owner) -> Expected<void> {
        const auto [at, added] = numbers.emplace(site, value);
        if (added)
            meaning.emplace(site, what);
        else if (at->second != value)
            return Refuse(owner + " is both " + meaning[site] + " and " + what +
                          ", which would differ");
        return {};
    };
    for (const auto& [statement, next, keyword] :
         {std::tuple{&file, fileNext, "FILEVERSION"}, {&product, productNext, "PRODUCTVERSION"}}) {
        if (!statement->present)
            continue;
        const int values[] = {next.major, next.minor, next.sub, next.build};
        for (size_t k = change == MacroChange::build ? 3 : 0; k < 4; ++k) {
            const Field& field = statement->fields[k];
            if (!field.written)
                continue;
            if (Expected<void> assigned = assign(
                    field.site, values[k], CString(keyword) + "'s " + kFieldNames[k], field.owner);
                !assigned)
                return assigned.Error();
        }
    }
    for (const StringSite& string : strings) {
        const VersionNumber& next = string.product ? productNext : fileNext;
        const int values[] = {next.major, next.minor, next.sub, next.build};
        for (size_t k = 0; k < 4; ++k)
            if (Expected<void> assigned =
                    assign(string.numbers[k], values[k],
                           CString(string.product ? "the ProductVersion" : "the FileVersion") +
                               " string's " + kFieldNames[k],
                           "a version string");
                !assigned)
                return assigned.Error();
    }
    return numbers;
}

VersionMacros::VersionMacros(std::unique_ptr<Followed> followed)
    : m_followed(std::move(followed)) {}
VersionMacros::VersionMacros(VersionMacros&&) noexcept = default;
VersionMacros& VersionMacros::operator=(VersionMacros&&) noexcept = default;
VersionMacros::~VersionMacros() = default;

Expected<VersionMacros> VersionMacros::Follow(const VersionStatements& statements) {
    Expected<MacroSources> sources =
        MacroSources::Read(statements.scriptPath, statements.text, statements.rule);
    if (!sources)
        return sources.Error();
    const Resolver resolver(*sources);
    const Expected<Statement> file = resolver.ReadStatement("FILEVERSION", statements.fileVersion);
    if (!file)
        return file.Error();
    if (!file->present)
        return Refuse("no FILEVERSION statement in the version resource");
    const Expected<Statement> product =
        resolver.ReadStatement("PRODUCTVERSION", statements.productVersion);
    if (!product)
        return product.Error();
    std::vector<StringSite> strings;
    const VersionNumber fileOld = file->Numbers();
    const VersionNumber productOld = product->present ? product->Numbers() : fileOld;
    for (const StatementLine& line : statements.values)
        if (Expected<void> value = resolver.ReadValue(line, fileOld, productOld, strings); !value)
            return value.Error();
    auto followed = std::unique_ptr<Followed>(
        new Followed{std::move(*sources), *file, *product, std::move(strings), fileOld});
    // A stamp must change nothing but build numbers: a build macro that also stands for another
    // field would change that one too.
    for (const Statement* statement : {&followed->file, &followed->product})
        for (size_t k = 0; k < 3; ++k)
            for (const Statement* other : {&followed->file, &followed->product}) {
                const Field& field = statement->fields[k];
                const Field& build = other->fields[3];
                if (statement->present && other->present && field.written && build.written &&
                    field.site == build.site)
                    return Refuse(
                        build.owner + " is both a build and " +
                        (statement == &followed->file ? "FILEVERSION" : "PRODUCTVERSION") + "'s " +
                        kFieldNames[k]);
            }
    // What a stamp would write, made once with the numbers as they are: so that a follow that
    // succeeds is one a stamp can write (no generated header among those it would write).
    VersionMacros macros(std::move(followed));
    if (const Expected<MacroWrites> stamp = macros.Write(MacroChange::build, fileOld); !stamp)
        return stamp.Error();
    return macros;
}

const VersionNumber& VersionMacros::Version() const {
    return m_followed->version;
}

std::vector<CString> VersionMacros::HeadersWritten(MacroChange change) const {
    const Followed& f = *m_followed;
    const Expected<std::map<Site, int>> numbers = f.Assign(change, f.version, f.product.Numbers());
    std::vector<CString> paths;
    if (!numbers)
        return paths;
    for (const auto& [site, value] : *numbers)
        if (site.file > 0 &&
            std::find(paths.begin(), paths.end(), f.sources.Path(site.file)) == paths.end())
            paths.push_back(f.sources.Path(site.file));
    return paths;
}

Expected<MacroWrites> VersionMacros::Write(MacroChange change, const VersionNumber& next) const {
    const Followed& f = *m_followed;
    VersionNumber productNext = f.product.present ? f.product.Numbers() : f.version;
    if (change == MacroChange::allFields)
        productNext = next;
    productNext.build = next.build;
    const Expected<std::map<Site, int>> numbers = f.Assign(change, next, productNext);
    if (!numbers)
        return numbers.Error();
    std::map<int, std::vector<TextEdit>> edits; // by file, each in text order
    for (const auto& [site, value] : *numbers) {
        const CString text = Decimal(value);
        if (Span(f.sources.Code(site.file), site) != text.View())
            edits[site.file].push_back({site.begin, site.end, text});
    }
    MacroWrites writes;
    for (const auto& [file, fileEdits] : edits) {
        if (file == 0) {
            writes.scriptEdits = fileEdits;
            continue;
        }
        Expected<std::string> bytes = f.sources.Rewrite(file, fileEdits);
        if (!bytes)
            return bytes.Error();
        writes.headers.push_back({f.sources.Path(file), std::move(*bytes)});
    }
    // Every header the change may write, changed this time or not, is left alone when generated.
    for (const auto& [site, value] : *numbers)
        if (site.file > 0)
            if (Expected<void> writable = f.sources.CheckWritable(site.file); !writable)
                return writable.Error();
    return writes;
}

Expected<MacroWrites> VersionMacros::RaiseBuild(int build) const {
    VersionNumber next = m_followed->version;
    next.build = build;
    return Write(MacroChange::build, next);
}

Expected<MacroWrites> VersionMacros::SetVersion(const VersionNumber& version) const {
    return Write(MacroChange::allFields, version);
}
