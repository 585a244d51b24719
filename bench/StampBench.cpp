// How long reading, stamping and recording take on large scripts and a long history, each set
// beside the cost of the file work alone (load, or load and the same temp-file-and-replace write).
// Figures only: nothing here fails on a slow result.

#include "base/AtomicFileWriter.h"
#include "base/CFile.h"
#include "base/CodePage.h"
#include "RatioReporter.h"
#include "stamp/RcVersionReader.h"
#include "stamp/RcVersionWriter.h"
#include "stamp/ScriptEncoding.h"
#include "stamp/TextRules.h"
#include "stamp/VersionHistory.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <stdexcept>
#include <system_error>
#include <vector>

#include <unistd.h>

namespace {
constexpr int kHistoryEntries = 100000;
constexpr double kTargetRatio = 2.0;

struct ScriptSize {
    const char* label;
    size_t bytes;
};
constexpr ScriptSize kScriptSizes[] = {
    {"10KB", 10 * 1024}, {"1MB", 1024 * 1024}, {"10MB", 10 * 1024 * 1024}};

// Japanese UI text as code page 932 bytes; several hold 0x5C as a second byte, which is what
// makes the multibyte-aware scans necessary in the first place.
constexpr const char* kJapanese[] = {
    "\x95\x5c\x8e\xa6\x83\x5c\x83\x74\x83\x67",                 // display software
    "\x90\xdd\x92\xe8",                                         // settings
    "\x83\x74\x83\x40\x83\x43\x83\x8b\x82\xf0\x8a\x4a\x82\xad", // open file
    "\x83\x4c\x83\x83\x83\x93\x83\x5a\x83\x8b",                 // cancel
    "\x83\x6f\x81\x5b\x83\x57\x83\x87\x83\x93\x8f\xee\x95\xf1", // version information
    "\x95\xdb\x91\xb6\x82\xb5\x82\xdc\x82\xb7\x82\xa9\x81\x48", // save changes?
    "\x8f\x49\x97\xb9",                                         // exit
    "\x83\x77\x83\x8b\x83\x76",                                 // help
};
constexpr size_t kJapaneseCount = sizeof kJapanese / sizeof kJapanese[0];
// The same texts as UTF-8, for the script a resource editor saves as UTF-16LE.
constexpr const char* kJapaneseUtf8[kJapaneseCount] = {
    "表示ソフト",     "設定",           "ファイルを開く", "キャンセル",
    "バージョン情報", "保存しますか？", "終了",           "ヘルプ",
};
constexpr size_t kUtf16Bytes = 10 * 1024 * 1024;

std::filesystem::path g_folder;
const char* const* g_phrases = kJapanese;

std::string Japanese(int index) {
    return g_phrases[static_cast<size_t>(index) % kJapaneseCount];
}

std::string ToCrLf(const std::string& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (char ch : text) {
        if (ch == '\n')
            out += '\r';
        out += ch;
    }
    return out;
}

std::string ScriptHeader() {
    return "// Microsoft Visual C++ generated resource script.\n"
           "//\n"
           "#include \"resource.h\"\n"
           "\n"
           "#define APSTUDIO_READONLY_SYMBOLS\n"
           "/////////////////////////////////////////////////////////////////////////////\n"
           "//\n"
           "// Generated from the TEXTINCLUDE 2 resource.\n"
           "//\n"
           "#include \"afxres.h\"\n"
           "\n"
           "/////////////////////////////////////////////////////////////////////////////\n"
           "#undef APSTUDIO_READONLY_SYMBOLS\n"
           "\n"
           "/////////////////////////////////////////////////////////////////////////////\n"
           "// Japanese resources\n"
           "\n"
           "#if !defined(AFX_RESOURCE_DLL) || defined(AFX_TARG_JPN)\n"
           "#ifdef _WIN32\n"
           "LANGUAGE LANG_JAPANESE, SUBLANG_DEFAULT\n"
           "#pragma code_page(932)\n"
           "#endif //_WIN32\n"
           "\n";
}

std::string SectionComment(const char* title) {
    return std::string(
               "/////////////////////////////////////////////////////////////////////////////\n"
               "//\n"
               "// ") +
           title + "\n//\n\n";
}

std::string Dialog(int index) {
    const std::string id = std::to_string(index);
    std::string text = "IDD_PAGE" + id + " DIALOGEX 0, 0, 320, 200\n" +
                       "STYLE DS_SETFONT | DS_MODALFRAME | DS_FIXEDSYS | WS_POPUP | WS_CAPTION | "
                       "WS_SYSMENU\n" +
                       "CAPTION \"" + Japanese(index) + "\"\n" +
                       "FONT 9, \"MS UI Gothic\", 0, 0, 0x1\n" + "BEGIN\n";
    for (int control = 0; control < 6; ++control) {
        const std::string cid = std::to_string(1000 + index % 500 * 10 + control);
        const int y = 7 + control * 18;
        text += "    LTEXT           \"" + Japanese(index + control) + ":\",IDC_STATIC" + cid +
                ",7," + std::to_string(y) + ",60,8\n";
        text += "    EDITTEXT        IDC_EDIT" + cid + ",70," + std::to_string(y - 2) +
                ",180,14,ES_AUTOHSCROLL\n";
    }
    text += "    DEFPUSHBUTTON   \"OK\",IDOK,209,179,50,14\n"
            "    PUSHBUTTON      \"" +
            Japanese(3) +
            "\",IDCANCEL,263,179,50,14\n"
            "END\n\n";
    return text;
}

std::string StringTable(int index) {
    std::string text = "STRINGTABLE\nBEGIN\n";
    for (int entry = 0; entry < 16; ++entry) {
        const int id = 10000 + index * 16 + entry;
        text += "    IDS_MESSAGE" + std::to_string(id) + "       \"" + Japanese(index + entry) +
                " (" + std::to_string(id) + ")\\n" + Japanese(entry) + "\"\n";
    }
    return text + "END\n\n";
}

std::string Menu(int index) {
    return "IDR_MENU" + std::to_string(index) +
           " MENU\n"
           "BEGIN\n"
           "    POPUP \"" +
           Japanese(0) +
           "(&F)\"\n"
           "    BEGIN\n"
           "        MENUITEM \"" +
           Japanese(2) +
           "(&O)...\\tCtrl+O\",      ID_FILE_OPEN\n"
           "        MENUITEM SEPARATOR\n"
           "        MENUITEM \"" +
           Japanese(6) +
           "(&X)\",                   ID_APP_EXIT\n"
           "    END\n"
           "    POPUP \"" +
           Japanese(7) +
           "(&H)\"\n"
           "    BEGIN\n"
           "        MENUITEM \"" +
           Japanese(4) +
           "(&A)...\",                ID_APP_ABOUT\n"
           "    END\n"
           "END\n\n";
}

std::string VersionBlock() {
    return "#ifndef _MAC\n" + SectionComment("Version") +
           "VS_VERSION_INFO VERSIONINFO\n"
           " FILEVERSION 1,2,3,41\n"
           " PRODUCTVERSION 1,2,3,41\n"
           " FILEFLAGSMASK 0x3fL\n"
           "#ifdef _DEBUG\n"
           " FILEFLAGS 0x1L\n"
           "#else\n"
           " FILEFLAGS 0x0L\n"
           "#endif\n"
           " FILEOS 0x4L\n"
           " FILETYPE 0x1L\n"
           " FILESUBTYPE 0x0L\n"
           "BEGIN\n"
           "    BLOCK \"StringFileInfo\"\n"
           "    BEGIN\n"
           "        BLOCK \"041104b0\"\n"
           "        BEGIN\n"
           "            VALUE \"CompanyName\", \"Sample Works\\0\"\n"
           "            VALUE \"FileDescription\", \"" +
           Japanese(0) +
           "\\0\"\n"
           "            VALUE \"FileVersion\", \"1, 2, 3, 41\\0\"\n"
           "            VALUE \"InternalName\", \"viewer\\0\"\n"
           "            VALUE \"LegalCopyright\", \"Copyright (C) 2026\\0\"\n"
           "            VALUE \"OriginalFilename\", \"viewer.exe\\0\"\n"
           "            VALUE \"ProductName\", \"" +
           Japanese(0) +
           "\\0\"\n"
           "            VALUE \"ProductVersion\", \"1, 2, 3, 41\\0\"\n"
           "        END\n"
           "    END\n"
           "    BLOCK \"VarFileInfo\"\n"
           "    BEGIN\n"
           "        VALUE \"Translation\", 0x411, 1200\n"
           "    END\n"
           "END\n"
           "\n"
           "#endif    // !_MAC\n\n";
}

std::string Trailer() {
    return SectionComment("Accelerator") +
           "IDR_MAINFRAME ACCELERATORS\n"
           "BEGIN\n"
           "    \"O\",            ID_FILE_OPEN,           VIRTKEY, CONTROL, NOINVERT\n"
           "    VK_F1,          ID_HELP,                VIRTKEY, NOINVERT\n"
           "END\n\n"
           "#endif    // Japanese resources\n"
           "/////////////////////////////////////////////////////////////////////////////\n"
           "\n"
           "#ifndef APSTUDIO_INVOKED\n"
           "#include \"res\\\\viewer.rc2\"\n"
           "#endif    // not APSTUDIO_INVOKED\n";
}

// A script as a resource editor leaves it: dialogs, menus and string tables with their section
// comments, and the version resource near the end, where the scans have to walk past all of it.
std::string GenerateScript(size_t targetBytes) {
    const std::string tail = ToCrLf(VersionBlock() + Trailer());
    std::string script = ToCrLf(ScriptHeader());
    for (int index = 0;; ++index) {
        std::string chunk;
        switch (index % 4) {
        case 0:
            chunk = SectionComment("Dialog") + Dialog(index);
            break;
        case 1:
            chunk = SectionComment("String Table") + StringTable(index);
            break;
        case 2:
            chunk = SectionComment("Menu") + Menu(index);
            break;
        default:
            chunk = Dialog(index) + StringTable(index);
            break;
        }
        chunk = ToCrLf(chunk);
        if (script.size() + chunk.size() + tail.size() > targetBytes)
            break;
        script += chunk;
    }
    return script + tail;
}

// The same kind of script as the resource editor saves it in UTF-16LE, about targetBytes long.
std::string GenerateUtf16Script(size_t targetBytes) {
    g_phrases = kJapaneseUtf8;
    // ASCII doubles in UTF-16 and the Japanese texts shrink by a third: about 7 bytes for 4.
    const std::string text = GenerateScript(targetBytes / 7 * 4);
    g_phrases = kJapanese;
    ScriptEncoding form;
    if (!form.Decode("\xFF\xFE"))
        throw std::runtime_error("cannot take the UTF-16LE form");
    Expected<std::string> bytes = form.Encode(text);
    if (!bytes)
        throw std::runtime_error("cannot encode the UTF-16LE script");
    return std::move(*bytes);
}

// A history as years of builds leave it: newest first under #UPDATELIST.
std::string GenerateHistory(int entries) {
    std::string text = HistoryTemplate("app").Str();
    std::string list;
    list.reserve(static_cast<size_t>(entries) * 48);
    for (int build = entries; build >= 1; --build) {
        char stamp[32];
        std::snprintf(stamp, sizeof stamp, "20%02d/%02d/%02d %02d:%02d:%02d", 10 + build / 20000,
                      1 + build / 1700 % 12, 1 + build / 60 % 28, build / 3 % 24, build % 60,
                      build * 7 % 60);
        list += FormatHistoryEntry(stamp, {1, build / 10000, build / 100 % 100, build}).Str();
    }
    const CString marker = "#UPDATELIST";
    const size_t at = text.find(marker.Str()) + marker.Str().size();
    text.insert(at, list);
    return text;
}

void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
}

std::string ScriptPath(const ScriptSize& size) {
    return (g_folder / (std::string("app") + size.label + ".rc")).string();
}

std::string Utf16ScriptPath() {
    return (g_folder / "app10MB-utf16le.rc").string();
}

CodePage RuleNamed(bool cp932) {
    return cp932 ? CodePage::Cp932() : CodePage::SingleByte();
}

void ReadFloor(benchmark::State& state, std::string path) {
    for (auto _ : state) {
        Expected<CString> text = ReadWholeFile(path.c_str());
        benchmark::DoNotOptimize(text);
    }
    state.SetBytesProcessed(state.iterations() *
                            static_cast<int64_t>(std::filesystem::file_size(path)));
}

void ReadVersion(benchmark::State& state, std::string path, bool cp932) {
    const CodePage previous = CodePage::SetActive(RuleNamed(cp932));
    for (auto _ : state) {
        Expected<VersionNumber> version = ReadRcVersion(path.c_str());
        if (!version) {
            state.SkipWithError("ReadRcVersion refused the script");
            break;
        }
        benchmark::DoNotOptimize(version);
    }
    CodePage::SetActive(previous);
    state.SetBytesProcessed(state.iterations() *
                            static_cast<int64_t>(std::filesystem::file_size(path)));
}

void WriteFloor(benchmark::State& state, std::string path) {
    for (auto _ : state) {
        const Expected<CString> text = ReadWholeFile(path.c_str());
        if (!text || !AtomicFileWriter::ReplaceContents(path.c_str(), text->View())) {
            state.SkipWithError("cannot replace the script");
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() *
                            static_cast<int64_t>(std::filesystem::file_size(path)));
}

void WriteVersion(benchmark::State& state, std::string path, bool cp932) {
    const CodePage previous = CodePage::SetActive(RuleNamed(cp932));
    // Four-digit builds keep the file the same length from one iteration to the next.
    int build = 1000;
    for (auto _ : state) {
        if (!WriteRcVersion(path.c_str(), {1, 2, 3, build})) {
            state.SkipWithError("WriteRcVersion refused the script");
            break;
        }
        build = build == 9999 ? 1000 : build + 1;
    }
    CodePage::SetActive(previous);
    state.SetBytesProcessed(state.iterations() *
                            static_cast<int64_t>(std::filesystem::file_size(path)));
}

std::string HistoryScriptPath() {
    return (g_folder / "history.rc").string();
}

// Each run starts from the same 100,000 entries; the few hundred a run adds change nothing
// measurable.
void ResetHistory() {
    static const std::string history = GenerateHistory(kHistoryEntries);
    WriteFile(HistoryFileOf(HistoryScriptPath().c_str()).path.GetString(), history);
}

void HistoryFloor(benchmark::State& state) {
    ResetHistory();
    const CString path = HistoryFileOf(HistoryScriptPath().c_str()).path;
    for (auto _ : state) {
        const Expected<CString> text = ReadWholeFile(path);
        if (!text || !AtomicFileWriter::ReplaceContents(path, text->View())) {
            state.SkipWithError("cannot replace the history");
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() *
                            static_cast<int64_t>(std::filesystem::file_size(path.GetString())));
}

void AppendHistory(benchmark::State& state, bool cp932) {
    ResetHistory();
    const CodePage previous = CodePage::SetActive(RuleNamed(cp932));
    const HistoryFile history = HistoryFileOf(HistoryScriptPath().c_str());
    int build = 100001;
    for (auto _ : state) {
        const Expected<CString> text = LoadVersionHistory(history);
        const Expected<CString> added =
            text ? AddHistoryEntry(*text, CurrentTimeStamp(), {1, 10, 0, build++}) : text;
        if (!added || !AtomicFileWriter::ReplaceContents(history.path, added->View())) {
            state.SkipWithError("cannot add the entry");
            break;
        }
    }
    CodePage::SetActive(previous);
    state.SetBytesProcessed(state.iterations() *
                            static_cast<int64_t>(std::filesystem::file_size(history.path.Str())));
}

// Wall time: the file system's share of the work is the point of the comparison.
void Configure(benchmark::internal::Benchmark* benchmark) {
    benchmark->UseRealTime()->Unit(benchmark::kMicrosecond);
}

std::vector<RatioReporter::Pair> RegisterAll() {
    std::vector<RatioReporter::Pair> pairs;
    for (const ScriptSize& size : kScriptSizes) {
        const std::string path = ScriptPath(size);
        WriteFile(path, GenerateScript(size.bytes));
        const double target = size.bytes >= 1024 * 1024 ? kTargetRatio : 0;
        const std::string readFloor = std::string("ReadWholeFile/") + size.label;
        const std::string writeFloor = std::string("Load+ReplaceContents/") + size.label;
        // The operation under both code page rules, each against the floor.
        const auto againstFloor = [&](const char* operation,
                                      void (*run)(benchmark::State&, std::string, bool),
                                      const std::string& floor) {
            for (bool cp932 : {false, true}) {
                const std::string name =
                    std::string(operation) + "/" + size.label + (cp932 ? "/cp932" : "/sbcs");
                Configure(benchmark::RegisterBenchmark(name.c_str(), run, path, cp932));
                pairs.push_back({name, floor, target});
            }
        };
        Configure(benchmark::RegisterBenchmark(readFloor.c_str(), ReadFloor, path));
        againstFloor("ReadRcVersion", ReadVersion, readFloor);
        Configure(benchmark::RegisterBenchmark(writeFloor.c_str(), WriteFloor, path));
        againstFloor("WriteRcVersion", WriteVersion, writeFloor);
    }
    // The UTF-16LE script is decoded to one working text and encoded back: against the 8-bit
    // script of the same size on disk, under the rule its text is searched with there.
    const std::string utf16 = Utf16ScriptPath();
    WriteFile(utf16, GenerateUtf16Script(kUtf16Bytes));
    for (const auto& [operation, run] :
         {std::pair{"ReadRcVersion", &ReadVersion}, std::pair{"WriteRcVersion", &WriteVersion}}) {
        const std::string name = std::string(operation) + "/10MB/utf16le";
        Configure(benchmark::RegisterBenchmark(name.c_str(), run, utf16, false));
        pairs.push_back({name, std::string(operation) + "/10MB/cp932", kTargetRatio});
    }

    const std::string historyFloor = "Load+ReplaceContents/history100k";
    Configure(benchmark::RegisterBenchmark(historyFloor.c_str(), HistoryFloor));
    for (bool cp932 : {false, true}) {
        const std::string name =
            std::string("AppendVersionHistory/history100k") + (cp932 ? "/cp932" : "/sbcs");
        Configure(benchmark::RegisterBenchmark(name.c_str(), AppendHistory, cp932));
        pairs.push_back({name, historyFloor, 0});
    }
    return pairs;
}
} // namespace

int main(int argc, char** argv) {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "revtally-bench-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) {
        std::perror("mkdtemp");
        return 1;
    }
    g_folder = pattern;
    int status = 0;
    try {
        const std::vector<RatioReporter::Pair> pairs = RegisterAll();
        benchmark::Initialize(&argc, argv);
        if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
            status = 1;
        } else {
            std::cout << "scripts and history in " << g_folder.string() << '\n';
            for (const ScriptSize& size : kScriptSizes)
                std::cout << "  " << ScriptPath(size) << ": "
                          << std::filesystem::file_size(ScriptPath(size)) << " bytes\n";
            std::cout << "  " << Utf16ScriptPath() << ": "
                      << std::filesystem::file_size(Utf16ScriptPath()) << " bytes\n";
            // Colour codes only where a terminal will interpret them.
            RatioReporter reporter(::isatty(STDOUT_FILENO)
                                       ? benchmark::ConsoleReporter::OO_Defaults
                                       : benchmark::ConsoleReporter::OO_Tabular);
            benchmark::RunSpecifiedBenchmarks(&reporter);
            reporter.PrintRatios(pairs, std::cout);
            benchmark::Shutdown();
        }
    } catch (const std::exception& error) {
        std::cerr << "revtally_stamp_bench: " << error.what() << '\n';
        status = 1;
    }
    std::error_code ignored;
    std::filesystem::remove_all(g_folder, ignored);
    return status;
}
