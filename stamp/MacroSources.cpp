#include "stamp/MacroSources.h"

#include "base/CFile.h"
#include "base/PathFunctions.h"
#include "stamp/DirectiveScan.h"
#include "stamp/ScriptEncoding.h"
#include "stamp/TextRules.h"

#include <algorithm>
#include <map>
#include <utility>

namespace {
// One file reached. A header keeps its bytes and its encoding, which the working text points
// into; the script's working text is the caller's.
struct SourceFile {
    CString path;
    CString bytes;
    ScriptEncoding encoding;
    std::string_view text;
    CodePage rule = CodePage::SingleByte();
    DirectiveScan scan;
};

bool IsSeparator(char ch) {
    return ch == '/' || ch == '\\';
}

// The path with each '/' and '\' that is a character of its own as this platform's separator and
// "." and ".." folded away, so that one header reached by two ways ("res\..\version.h") is one
// file.
CString NormalPath(std::string_view path) {
    const CodePage& rule = CodePage::Active();
    CString normal;
    size_t i = 0;
    for (; i < path.size() && IsSeparator(path[i]); ++i)
        normal += kPathSeparator; // a root, or the two of a network path
    std::vector<std::string> parts;
    std::string part;
    for (; i <= path.size(); ++i) {
        if (i < path.size() && !IsSeparator(path[i])) {
            const bool pair = rule.IsLeadByte(path[i]) && i + 1 < path.size() &&
                              static_cast<unsigned char>(path[i + 1]) >= 0x40;
            part.append(path.substr(i, pair ? 2 : 1));
            i += pair ? 1 : 0;
            continue;
        }
        if (part == ".." && !parts.empty() && parts.back() != ".." && parts.back().back() != ':')
            parts.pop_back();
        else if (!part.empty() && part != ".")
            parts.push_back(part);
        part.clear();
    }
    for (size_t k = 0; k < parts.size(); ++k) {
        if (k > 0)
            normal += kPathSeparator;
        normal += CString(parts[k]);
    }
    return normal;
}

bool IsAbsolute(std::string_view name) {
    return (!name.empty() && IsSeparator(name[0])) || (name.size() > 1 && name[1] == ':');
}

CString NameOf(const CString& path) {
    const CString name = ExtractFileName(path);
    return name.IsEmpty() ? path : name;
}

CString Listed(const std::vector<CString>& names) {
    CString list;
    for (const CString& name : names)
        list += (list.IsEmpty() ? "" : ", ") + name;
    return list;
}

void AddOnce(std::vector<CString>& names, const CString& name) {
    if (std::find(names.begin(), names.end(), name) == names.end())
        names.push_back(name);
}

std::string_view Span(std::string_view code, int begin, int end) {
    return code.substr(static_cast<size_t>(begin), static_cast<size_t>(end - begin));
}

// What the comments of a generated header say, in lower case.
constexpr std::string_view kGeneratedMarks[] = {"generated",       "overwritten",   "do not edit",
                                                "don't edit",      "not be edited", "do not modify",
                                                "not be modified", "don't modify"};
constexpr const char* kTemplateSuffixes[] = {".in", ".tpl", ".cmake"};
} // namespace

struct MacroSources::Files {
    std::vector<std::unique_ptr<SourceFile>> list;
    std::map<std::string, int> reached; // by the folded path
    std::vector<CString> notFound;
    std::vector<CString> notFollowed;
    // Each name's #defines and #undefs: the file and the directive's index.
    std::map<std::string, std::vector<std::pair<int, int>>, std::less<>> defines;
    std::map<std::string, std::vector<std::pair<int, int>>, std::less<>> undefs;

    const Directive& DirectiveOf(std::pair<int, int> where) const {
        return list[static_cast<size_t>(where.first)]
            ->scan.directives[static_cast<size_t>(where.second)];
    }
    Expected<void> Add(const CString& path);
    Expected<void> Reach(int file, std::vector<CString>& folders);
};

Expected<void> MacroSources::Files::Add(const CString& path) {
    auto file = std::make_unique<SourceFile>();
    file->path = path;
    const Expected<CString> bytes = ReadWholeFile(path);
    if (!bytes)
        return bytes.Error().Prefixed("cannot read " + NameOf(path) + ": ");
    file->bytes = *bytes;
    if (Expected<void> decoded = file->encoding.Decode(file->bytes.View()); !decoded)
        return decoded.Error().Prefixed(NameOf(path) + ": ");
    file->text = file->encoding.Text();
    file->rule = file->encoding.SearchRule();
    file->scan = ScanDirectives(file->text, file->rule);
    reached.emplace(FoldCaseMbcs(path.View()), static_cast<int>(list.size()));
    list.push_back(std::move(file));
    return {};
}

// The compiler's order for a quoted include: the folder of the file that includes it, then those
// of the files that include that one, out to the script's.
Expected<void> MacroSources::Files::Reach(int index, std::vector<CString>& folders) {
    const SourceFile& file = *list[static_cast<size_t>(index)];
    folders.push_back(ExtractDirectory(file.path));
    for (const Directive& directive : file.scan.directives) {
        if (directive.kind != Directive::Kind::include)
            continue;
        const std::string_view what = Span(file.scan.code, directive.nameBegin, directive.nameEnd);
        const size_t close = what.find(what.substr(0, 1) == "<" ? '>' : '"', 1);
        if (what.substr(0, 1) == "<") {
            AddOnce(notFollowed, CString(what.substr(0, close + 1)));
            continue;
        }
        if (what.substr(0, 1) != "\"" || close == std::string_view::npos) {
            AddOnce(notFound, CString(what));
            continue;
        }
        const std::string_view name = what.substr(1, close - 1);
        CString found;
        if (IsAbsolute(name)) {
            found = NormalPath(name);
            if (!CFile::Exists(found))
                found.Empty();
        }
        for (auto folder = folders.rbegin();
             found.IsEmpty() && !IsAbsolute(name) && folder != folders.rend(); ++folder) {
            const CString candidate = NormalPath((*folder + CString(name)).View());
            if (CFile::Exists(candidate))
                found = candidate;
        }
        if (found.IsEmpty()) {
            AddOnce(notFound, CString(name));
            continue;
        }
        if (reached.count(FoldCaseMbcs(found.View())) > 0)
            continue;
        if (Expected<void> added = Add(found); !added)
            return added;
        if (Expected<void> further = Reach(static_cast<int>(list.size()) - 1, folders); !further)
            return further;
    }
    folders.pop_back();
    return {};
}

MacroSources::MacroSources(std::unique_ptr<Files> files) : m_files(std::move(files)) {}
MacroSources::MacroSources(MacroSources&&) noexcept = default;
MacroSources& MacroSources::operator=(MacroSources&&) noexcept = default;
MacroSources::~MacroSources() = default;

Expected<MacroSources> MacroSources::Read(const CString& scriptPath, std::string_view text,
                                          const CodePage& rule) {
    auto files = std::make_unique<Files>();
    auto script = std::make_unique<SourceFile>();
    script->path = NormalPath(scriptPath.View());
    script->text = text;
    script->rule = rule;
    script->scan = ScanDirectives(text, rule);
    files->reached.emplace(FoldCaseMbcs(script->path.View()), 0);
    files->list.push_back(std::move(script));
    std::vector<CString> folders;
    if (Expected<void> reached = files->Reach(0, folders); !reached)
        return reached.Error();
    for (size_t f = 0; f < files->list.size(); ++f) {
        const DirectiveScan& scan = files->list[f]->scan;
        for (size_t d = 0; d < scan.directives.size(); ++d) {
            const Directive& directive = scan.directives[d];
            if (directive.kind != Directive::Kind::define &&
                directive.kind != Directive::Kind::undef)
                continue;
            auto& names =
                directive.kind == Directive::Kind::define ? files->defines : files->undefs;
            names[std::string(Span(scan.code, directive.nameBegin, directive.nameEnd))].push_back(
                {static_cast<int>(f), static_cast<int>(d)});
        }
    }
    return MacroSources(std::move(files));
}

Expected<MacroDefinition> MacroSources::Definition(std::string_view name) const {
    const CString macro(name);
    const auto found = m_files->defines.find(name);
    if (found == m_files->defines.end()) {
        CString missing;
        if (!m_files->notFound.empty())
            missing = "not found: " + Listed(m_files->notFound);
        if (!m_files->notFollowed.empty())
            missing += (missing.IsEmpty() ? "" : "; ") + CString("not followed: ") +
                       Listed(m_files->notFollowed);
        return Failure::LeftAlone(macro + " is defined in none of the files the script includes" +
                                  (missing.IsEmpty() ? CString() : " (" + missing + ")"));
    }
    const std::vector<std::pair<int, int>>& sites = found->second;
    const auto where = [this](std::pair<int, int> site) {
        return Where(site.first, m_files->DirectiveOf(site).at);
    };
    if (sites.size() > 1) {
        CString count;
        count.Format("%d times", static_cast<int>(sites.size()));
        return Failure::LeftAlone(macro + " is defined " +
                                  (sites.size() == 2 ? CString("twice") : count) + " (" +
                                  where(sites[0]) + ", " + where(sites[1]) + ")");
    }
    if (const auto undone = m_files->undefs.find(name); undone != m_files->undefs.end())
        return Failure::LeftAlone(macro + " is #undef'd (" + where(undone->second[0]) + ")");
    const Directive& directive = m_files->DirectiveOf(sites[0]);
    const CString place = where(sites[0]);
    if (directive.condition >= 0) {
        const Directive& condition = m_files->DirectiveOf({sites[0].first, directive.condition});
        return Failure::LeftAlone(
            macro + " is defined under #" +
            Shown(sites[0].first,
                  Span(Code(sites[0].first), condition.nameBegin, condition.nameEnd)) +
            " (" + place + ")");
    }
    if (directive.functionLike)
        return Failure::LeftAlone(macro + " is a function-like macro (" + place + ")");
    if (directive.continued)
        return Failure::LeftAlone(macro + " goes on over the next line (" + place + ")");
    return MacroDefinition{sites[0].first, directive.bodyBegin, directive.bodyEnd};
}

std::string_view MacroSources::Code(int file) const {
    return m_files->list[static_cast<size_t>(file)]->scan.code;
}

CString MacroSources::Where(int file, int at) const {
    const std::string_view before = Code(file).substr(0, static_cast<size_t>(at));
    CString line;
    line.Format(" line %d", static_cast<int>(std::count(before.begin(), before.end(), '\n')) + 1);
    return NameOf(Path(file)) + line;
}

CString MacroSources::Shown(int file, std::string_view snippet) const {
    // The script's working text is the caller's: its macros and numbers are ASCII, shown as
    // they are.
    if (file > 0)
        return m_files->list[static_cast<size_t>(file)]->encoding.ForMessage(snippet);
    return CString(TrimBlanks(snippet));
}

const CString& MacroSources::Path(int file) const {
    return m_files->list[static_cast<size_t>(file)]->path;
}

Expected<void> MacroSources::CheckWritable(int file) const {
    const SourceFile& source = *m_files->list[static_cast<size_t>(file)];
    const CString name = NameOf(source.path);
    for (const char* suffix : kTemplateSuffixes)
        if (CFile::Exists(source.path + suffix))
            return Failure::LeftAlone(name + " is made from " + name + suffix +
                                      " beside it: a generated header is left to its generator");
    std::string comments = source.scan.comments;
    for (char& ch : comments)
        if (ch >= 'A' && ch <= 'Z')
            ch = static_cast<char>(ch - 'A' + 'a');
    for (const std::string_view mark : kGeneratedMarks)
        if (comments.find(mark) != std::string::npos)
            return Failure::LeftAlone(name + " says \"" + CString(mark) +
                                      "\" in a comment: a generated header is left to its "
                                      "generator");
    if (source.encoding.HadNul())
        return Failure::LeftAlone(name + " holds a NUL byte");
    return {};
}

Expected<std::string> MacroSources::Rewrite(int file, const std::vector<TextEdit>& edits) const {
    const SourceFile& source = *m_files->list[static_cast<size_t>(file)];
    Expected<std::string> bytes = source.encoding.Encode(ApplyEdits(source.text, edits));
    if (!bytes)
        return bytes.Error().Prefixed(NameOf(source.path) + ": ");
    return bytes;
}
