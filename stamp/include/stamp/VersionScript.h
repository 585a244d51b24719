#pragma once

#include "base/CString.h"
#include "base/Expected.h"
#include "stamp/ScriptEncoding.h"
#include "stamp/TextRules.h"

#include <memory>
#include <string_view>
#include <vector>

// The line of a "FileVersion" or "ProductVersion" string value.
struct StringValueLine {
    std::string_view keyword; // with its double quotes
    StatementLine line;
};

// A script's bytes decoded, and where its version resource and each of its statements stand in
// the working text: found once, for the reader and the writer alike, each of which keeps its own
// rules for what a line may hold.
class VersionScript {
public:
    // Left alone: UTF-16 that is not well-formed.
    static Expected<VersionScript> Locate(CString bytes);
    // The script's file read and located; a failure to read says "cannot read the script".
    static Expected<VersionScript> Read(const CString& path);

    const CString& Bytes() const { return m_found->bytes; }
    const ScriptEncoding& Encoding() const { return m_found->encoding; }
    std::string_view Text() const { return m_found->encoding.Text(); }
    // The first "VS_VERSION_INFO", or else a resource statement such as "1 VERSIONINFO"; -1 when
    // there is neither.
    int Block() const { return m_found->block; }
    // FILEVERSION at or after the block, PRODUCTVERSION after the end of a whole FILEVERSION line.
    const StatementLine& FileVersion() const { return m_found->fileVersion; }
    const StatementLine& ProductVersion() const { return m_found->productVersion; }
    // The string values after the end of a whole PRODUCTVERSION line, in every block and every
    // later resource, one a line, in the order they stand; the last may have no line end.
    const std::vector<StringValueLine>& StringValues() const { return m_found->stringValues; }

private:
    struct Found {
        CString bytes; // what the working text of the 8-bit forms points into
        ScriptEncoding encoding;
        int block = -1;
        StatementLine fileVersion;
        StatementLine productVersion;
        std::vector<StringValueLine> stringValues;
    };
    explicit VersionScript(std::unique_ptr<Found> found) : m_found(std::move(found)) {}

    std::unique_ptr<Found> m_found;
};
