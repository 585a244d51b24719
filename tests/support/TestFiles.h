#pragma once

#include <string>
#include <vector>

// File and process helpers for tests. Paths are 8-bit strings in the ANSI code page, joined with
// the platform's separator, exactly as the program under test sees them.
namespace testfiles {

#ifdef _WIN32
inline constexpr char kSeparator = '\\';
#else
inline constexpr char kSeparator = '/';
#endif

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
class TestFolder {
public:
    // nameHint becomes part of the folder's name: it may hold code page 932 bytes.
    explicit TestFolder(const std::string& nameHint = "rvt");
    ~TestFolder();
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    const std::string& Path() const { return m_path; }
    std::string Path(const std::string& name) const { return m_path + kSeparator + name; }
    // Names of the entries in the folder, sorted.
    std::vector<std::string> List() const;

private:
    std::string m_path;
};

std::string DataFile(const std::string& name);
// This process's id in hexadecimal, as the program's temporary file names carry it.
std::string CurrentProcessIdText();
std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);
bool Exists(const std::string& path);
void MakeFolder(const std::string& path);
void SetReadOnly(const std::string& path, bool readOnly);
void RemoveTree(const std::string& path);
// The file's last write time in platform units, to tell whether a file was rewritten.
long long WriteTime(const std::string& path);
// Sets the file's last write time years back, so that any rewrite shows in WriteTime.
void MakeOld(const std::string& path);

struct RunResult {
    int exitCode = -1;
    std::string standardError;
    std::string standardOutput;
};

// Runs a program with the given arguments in the given folder, standard error and output captured
// through files (as a build tool would pass inherited handles), and waits at most timeoutSeconds.
RunResult RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                     const std::string& workingFolder, int timeoutSeconds = 60);

// Starts all the runs at once, then waits for each.
std::vector<RunResult> RunMany(const std::string& program,
                               const std::vector<std::vector<std::string>>& argumentLists,
                               const std::string& workingFolder, int timeoutSeconds = 120);

#ifdef _WIN32
// A file in this test program's folder, where the build puts the program under test too.
std::string BesideThisProgram(const std::string& name);
// Makes a folder refuse new files, or take them again, by its Unix permissions or, for root, its
// immutable flag. False when neither works here.
bool SetFolderReadOnly(const std::string& path, bool readOnly);
// Starts the program with the command-line tail in the folder (empty: ours) and gives its process
// handle, or nullptr with the reason left for GetLastError.
void* StartProcess(const std::string& program, const std::string& arguments,
                   const std::string& folder = "");
#endif

// Text written in UTF-8 (ASCII and Japanese from this source, say) as a UTF-16 file with its
// byte-order mark, little- or big-endian, as Windows tools save it.
std::string Utf16File(const std::string& utf8, bool bigEndian = false);

// text with every occurrence of from replaced by to.
std::string ReplaceAll(std::string text, const std::string& from, const std::string& to);

// Replaces each timestamp of the form 2026/12/07 05:14:18 with "<time>".
std::string MaskTimeStamps(const std::string& text);

// A case of a table of texts, whose name names the test (kCaseName, for INSTANTIATE_TEST_SUITE_P).
struct NamedText {
    const char* name;
    std::string text;
};
inline constexpr auto kCaseName = [](const auto& info) { return std::string(info.param.name); };

} // namespace testfiles
