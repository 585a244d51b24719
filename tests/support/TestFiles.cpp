#include "TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <sstream>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace testfiles {
namespace {
std::atomic<unsigned> g_counter{0};

#ifdef _WIN32
std::string TempRoot() {
    char buffer[MAX_PATH + 1];
    const DWORD length = GetTempPathA(sizeof buffer, buffer);
    std::string root(buffer, length);
    if (!root.empty() && root.back() == '\\')
        root.pop_back();
    return root;
}
unsigned long ProcessId() {
    return GetCurrentProcessId();
}
#else
std::string TempRoot() {
    const char* tmp = std::getenv("TMPDIR");
    return tmp && *tmp ? tmp : "/tmp";
}
unsigned long ProcessId() {
    return static_cast<unsigned long>(::getpid());
}
#endif
} // namespace

std::string CurrentProcessIdText() {
    char text[16];
    std::snprintf(text, sizeof text, "%lx", ProcessId());
    return text;
}

TestFolder::TestFolder(const std::string& nameHint) {
    for (;;) {
        m_path = TempRoot() + kSeparator + nameHint + "-" + std::to_string(ProcessId()) + "-" +
                 std::to_string(g_counter.fetch_add(1));
        if (!Exists(m_path))
            break;
    }
    MakeFolder(m_path);
}

TestFolder::~TestFolder() {
    RemoveTree(m_path);
}

std::string DataFile(const std::string& name) {
    return std::string(REVTALLY_TEST_DATA) + kSeparator + name;
}

#ifdef _WIN32

std::vector<std::string> TestFolder::List() const {
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((m_path + "\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::string name = data.cFileName;
        if (name != "." && name != "..")
            names.push_back(name);
    } while (FindNextFileA(find, &data));
    FindClose(find);
    std::sort(names.begin(), names.end());
    return names;
}

std::string ReadBytes(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        ADD_FAILURE() << "cannot read " << path;
        return {};
    }
    std::string bytes;
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
        bytes.append(buffer, got);
    CloseHandle(file);
    return bytes;
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                              0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << "cannot write " << path;
    DWORD put = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr);
    CloseHandle(file);
    ASSERT_EQ(put, bytes.size());
}

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void MakeFolder(const std::string& path) {
    ASSERT_TRUE(CreateDirectoryA(path.c_str(), nullptr)) << "cannot create " << path;
}

void SetReadOnly(const std::string& path, bool readOnly) {
    ASSERT_TRUE(SetFileAttributesA(path.c_str(),
                                   readOnly ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL));
}

void RemoveTree(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return;
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        DeleteFileA(path.c_str());
        return;
    }
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((path + "\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = data.cFileName;
            if (name != "." && name != "..")
                RemoveTree(path + "\\" + name);
        } while (FindNextFileA(find, &data));
        FindClose(find);
    }
    RemoveDirectoryA(path.c_str());
}

long long WriteTime(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return -1;
    return (static_cast<long long>(data.ftLastWriteTime.dwHighDateTime) << 32) |
           data.ftLastWriteTime.dwLowDateTime;
}

void MakeOld(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    const FILETIME old{0, 0x01C00000}; // 2001
    const bool set = file != INVALID_HANDLE_VALUE && SetFileTime(file, nullptr, nullptr, &old);
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    if (!set)
        ADD_FAILURE() << "cannot set the time of " << path;
}

std::string BesideThisProgram(const std::string& name) {
    char self[MAX_PATH];
    const std::string path(self, GetModuleFileNameA(nullptr, self, MAX_PATH));
    return path.substr(0, path.find_last_of('\\') + 1) + name;
}

bool SetFolderReadOnly(const std::string& path, bool readOnly) {
    using UnixName = char*(CDECL*)(const wchar_t*);
    const auto unixName = reinterpret_cast<UnixName>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    wchar_t wide[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
    char* name = unixName ? unixName(wide) : nullptr;
    const std::string folder = std::string("'") + (name ? name : "") + "'";
    HeapFree(GetProcessHeap(), 0, name);
    // Wine starts Unix programs as its own but cannot wait for them: the last step leaves a mark
    // beside the folder. An immutable folder takes no other change.
    const std::string script = readOnly ? "chmod a-w " + folder + "; chattr +i " + folder
                                        : "chattr -i " + folder + "; chmod u+w " + folder;
    if (HANDLE shell = name ? StartProcess("Z:\\usr\\bin\\sh",
                                           "-c \"" + script + "; touch " + folder + ".done\"")
                            : nullptr)
        CloseHandle(shell);
    for (int wait = 0; wait < 200 && !DeleteFileA((path + ".done").c_str()); ++wait)
        Sleep(50);
    HANDLE probe = CreateFileA((path + "\\.probe").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                               FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    CloseHandle(probe);
    return (probe == INVALID_HANDLE_VALUE) == readOnly;
}

void* StartProcess(const std::string& program, const std::string& arguments,
                   const std::string& folder) {
    std::string commandLine = "\"" + program + "\"" + (arguments.empty() ? "" : " ") + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &started))
        return nullptr;
    CloseHandle(started.hThread);
    return started.hProcess;
}

namespace {
std::string Quote(const std::string& argument) {
    if (!argument.empty() && argument.find_first_of(" \t\"") == std::string::npos)
        return argument;
    std::string quoted = "\"";
    int backslashes = 0;
    for (char ch : argument) {
        if (ch == '\\') {
            ++backslashes;
            continue;
        }
        quoted.append(static_cast<size_t>(ch == '"' ? backslashes * 2 + 1 : backslashes), '\\');
        backslashes = 0;
        quoted += ch;
    }
    quoted.append(static_cast<size_t>(backslashes * 2), '\\');
    return quoted + "\"";
}

struct Started {
    HANDLE process = nullptr;
    std::string errPath;
};

Started Start(const std::string& program, const std::vector<std::string>& arguments,
              const std::string& workingFolder, const std::string& errPath) {
    Started started;
    started.errPath = errPath;
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    auto create = [&](const std::string& path) {
        return CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           &inherit, CREATE_ALWAYS, 0, nullptr);
    };
    HANDLE err = create(errPath);
    HANDLE out = create(errPath + ".out");
    if (err == INVALID_HANDLE_VALUE || out == INVALID_HANDLE_VALUE) {
        ADD_FAILURE() << "cannot create " << errPath;
        return started;
    }
    std::string commandLine = Quote(program);
    for (const std::string& argument : arguments) {
        commandLine += ' ';
        commandLine += Quote(argument);
    }
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdError = err;
    startup.hStdOutput = out;
    PROCESS_INFORMATION process{};
    std::vector<char> mutableLine(commandLine.begin(), commandLine.end());
    mutableLine.push_back('\0');
    if (!CreateProcessA(program.c_str(), mutableLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                        workingFolder.c_str(), &startup, &process)) {
        ADD_FAILURE() << "cannot start " << program << " (error " << GetLastError() << ")";
        CloseHandle(err);
        CloseHandle(out);
        return started;
    }
    CloseHandle(err);
    CloseHandle(out);
    CloseHandle(process.hThread);
    started.process = process.hProcess;
    return started;
}

RunResult Finish(const Started& started, int timeoutSeconds) {
    RunResult result;
    if (!started.process)
        return result;
    if (WaitForSingleObject(started.process, static_cast<DWORD>(timeoutSeconds) * 1000) !=
        WAIT_OBJECT_0) {
        ADD_FAILURE() << "a program did not end within " << timeoutSeconds << " s";
        TerminateProcess(started.process, 99);
        WaitForSingleObject(started.process, 5000);
    }
    DWORD code = 0;
    GetExitCodeProcess(started.process, &code);
    CloseHandle(started.process);
    result.exitCode = static_cast<int>(code);
    result.standardError = ReadBytes(started.errPath);
    result.standardOutput = ReadBytes(started.errPath + ".out");
    return result;
}
} // namespace

#else

std::vector<std::string> TestFolder::List() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(m_path))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        ADD_FAILURE() << "cannot read " << path;
        return {};
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    ASSERT_TRUE(out) << "cannot write " << path;
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool Exists(const std::string& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0;
}

void MakeFolder(const std::string& path) {
    ASSERT_EQ(::mkdir(path.c_str(), 0777), 0) << "cannot create " << path;
}

void SetReadOnly(const std::string& path, bool readOnly) {
    ASSERT_EQ(::chmod(path.c_str(), readOnly ? 0444 : 0644), 0);
}

void RemoveTree(const std::string& path) {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

long long WriteTime(const std::string& path) {
    struct stat info;
    if (::stat(path.c_str(), &info) != 0)
        return -1;
    return static_cast<long long>(info.st_mtim.tv_sec) * 1000000000LL + info.st_mtim.tv_nsec;
}

void MakeOld(const std::string& path) {
    const struct timespec old[2] = {{631152000, 0}, {631152000, 0}}; // 1990
    if (::utimensat(AT_FDCWD, path.c_str(), old, 0) != 0)
        ADD_FAILURE() << "cannot set the time of " << path;
}

namespace {
struct Started {
    pid_t process = -1;
    std::string errPath;
};

Started Start(const std::string& program, const std::vector<std::string>& arguments,
              const std::string& workingFolder, const std::string& errPath) {
    Started started;
    started.errPath = errPath;
    const pid_t child = ::fork();
    if (child == 0) {
        const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int out = ::open((errPath + ".out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (err < 0 || out < 0 || ::dup2(err, 2) < 0 || ::dup2(out, 1) < 0 ||
            ::chdir(workingFolder.c_str()) != 0)
            ::_exit(127);
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(program.c_str()));
        for (const std::string& argument : arguments)
            argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    if (child < 0)
        ADD_FAILURE() << "cannot start " << program;
    started.process = child;
    return started;
}

RunResult Finish(const Started& started, int timeoutSeconds) {
    RunResult result;
    if (started.process < 0)
        return result;
    int status = 0;
    for (int waited = 0;; waited += 10) {
        if (::waitpid(started.process, &status, WNOHANG) == started.process)
            break;
        if (waited >= timeoutSeconds * 1000) {
            ADD_FAILURE() << "a program did not end within " << timeoutSeconds << " s";
            ::kill(started.process, SIGKILL);
            ::waitpid(started.process, &status, 0);
            break;
        }
        ::usleep(10000);
    }
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.standardError = ReadBytes(started.errPath);
    result.standardOutput = ReadBytes(started.errPath + ".out");
    return result;
}
} // namespace

#endif

RunResult RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                     const std::string& workingFolder, int timeoutSeconds) {
    TestFolder capture("rvt-err");
    return Finish(Start(program, arguments, workingFolder, capture.Path("stderr.txt")),
                  timeoutSeconds);
}

std::vector<RunResult> RunMany(const std::string& program,
                               const std::vector<std::vector<std::string>>& argumentLists,
                               const std::string& workingFolder, int timeoutSeconds) {
    TestFolder capture("rvt-err");
    std::vector<Started> started;
    for (size_t i = 0; i < argumentLists.size(); ++i)
        started.push_back(Start(program, argumentLists[i], workingFolder,
                                capture.Path("stderr" + std::to_string(i) + ".txt")));
    std::vector<RunResult> results;
    for (const Started& one : started)
        results.push_back(Finish(one, timeoutSeconds));
    return results;
}

std::string MaskTimeStamps(const std::string& text) {
    // dddd/dd/dd dd:dd:dd
    static const char kShape[] = "0000/00/00 00:00:00";
    const size_t width = sizeof kShape - 1;
    std::string out;
    size_t i = 0;
    while (i < text.size()) {
        bool match = i + width <= text.size();
        for (size_t k = 0; match && k < width; ++k) {
            const unsigned char ch = static_cast<unsigned char>(text[i + k]);
            match = kShape[k] == '0' ? std::isdigit(ch) != 0 : ch == kShape[k];
        }
        if (match) {
            out += "<time>";
            i += width;
        } else {
            out += text[i++];
        }
    }
    return out;
}

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

std::string Utf16File(const std::string& utf8, bool bigEndian) {
    std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    auto put = [&](unsigned unit) {
        const char high = static_cast<char>(unit >> 8);
        const char low = static_cast<char>(unit & 0xFF);
        out += bigEndian ? high : low;
        out += bigEndian ? low : high;
    };
    for (size_t i = 0; i < utf8.size();) {
        const unsigned char lead = static_cast<unsigned char>(utf8[i]);
        const int length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        unsigned c = length == 1 ? lead : lead & (0x7F >> length);
        for (int k = 1; k < length; ++k)
            c = (c << 6) | (static_cast<unsigned char>(utf8[i + static_cast<size_t>(k)]) & 0x3F);
        i += static_cast<size_t>(length);
        if (c < 0x10000) {
            put(c);
        } else {
            put(0xD800 + ((c - 0x10000) >> 10));
            put(0xDC00 + ((c - 0x10000) & 0x3FF));
        }
    }
    return out;
}

} // namespace testfiles
