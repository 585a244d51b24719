#include "stamp/VersionScript.h"

#include <iterator>

namespace {
constexpr std::string_view kStringValueKeywords[] = {"\"FileVersion\"", "\"ProductVersion\""};

// One value a line: a line holding both kinds goes with the first, and the search goes on behind
// it. A line with no CR after it ends the search, since no line follows it.
std::vector<StringValueLine> FindStringValues(std::string_view text, int from,
                                              const CodePage& rule) {
    std::vector<StringValueLine> values;
    for (;;) {
        const std::string_view* next = std::end(kStringValueKeywords);
        int at = -1;
        for (const std::string_view& keyword : kStringValueKeywords) {
            const int found = FindMbcs(text, keyword, from, rule);
            if (found >= 0 && (at < 0 || found < at)) {
                at = found;
                next = &keyword;
            }
        }
        if (at < 0)
            return values;
        const StatementLine line = FindStatementLine(text, *next, at, rule);
        values.push_back({*next, line});
        if (!line.IsWhole())
            return values;
        from = line.end;
    }
}
} // namespace

Expected<VersionScript> VersionScript::Read(const CString& path) {
    Expected<CString> bytes = ReadScript(path);
    if (!bytes)
        return bytes.Error();
    return Locate(std::move(*bytes));
}

Expected<VersionScript> VersionScript::Locate(CString bytes) {
    auto found = std::make_unique<Found>();
    found->bytes = std::move(bytes);
    if (Expected<void> decoded = found->encoding.Decode(found->bytes.View()); !decoded)
        return decoded.Error();
    const std::string_view text = found->encoding.Text();
    const CodePage& rule = found->encoding.SearchRule();
    found->block = FindVersionBlock(text, rule);
    if (found->block >= 0)
        found->fileVersion = FindStatementLine(text, "FILEVERSION", found->block, rule);
    if (found->fileVersion.IsWhole())
        found->productVersion =
            FindStatementLine(text, "PRODUCTVERSION", found->fileVersion.end, rule);
    if (found->productVersion.IsWhole())
        found->stringValues = FindStringValues(text, found->productVersion.end, rule);
    return VersionScript(std::move(found));
}
