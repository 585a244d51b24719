#include "CodePageSamples.h"
#include "TestFiles.h"
#include "stamp/ScriptEncoding.h"
#include "stamp/StampScript.h"
#include "stamp/VersionMacros.h"
#include "stamp/VersionScript.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace {
using testfiles::ReadBytes;
using Lines = std::vector<std::string>;

// A file of a test project: its path under the project's folder ('|' between folders) and its
// text; a script's and an .rc2's "\n" become CR LF, a header's stay as written.
struct ProjectFile {
    const char* path;
    std::string text;
};

// A project, the first file its script, and what a stamp (or the window's edit, when given)
// writes: each changed line as "file: line", or the line of refusal.
struct ProjectCase {
    const char* name;
    std::vector<ProjectFile> files;
    Lines outcome;
    VersionNumber read{};
    std::optional<VersionNumber> edit{};
};

void PrintTo(const ProjectCase& project, std::ostream* os) {
    *os << project.name;
}

std::string Script(const std::string& head, const std::string& fileVersion,
                   const std::string& productVersion, const std::string& fileString,
                   const std::string& productString) {
    return head + "\nVS_VERSION_INFO VERSIONINFO\n FILEVERSION " + fileVersion +
           "\n PRODUCTVERSION " + productVersion +
           "\n FILEFLAGSMASK 0x3fL\nBEGIN\n    BLOCK \"StringFileInfo\"\n    BEGIN\n"
           "        BLOCK \"040904b0\"\n        BEGIN\n            VALUE \"FileVersion\", " +
           fileString + "\n            VALUE \"ProductVersion\", " + productString +
           "\n        END\n    END\nEND\n";
}

const std::string kFields = "VER_MAJOR,VER_MINOR,VER_SUB,VER_BUILD";

// A script whose statements name per-field macros of version.h, its include.
std::vector<ProjectFile> PerField(const std::string& header,
                                  const std::string& include = "\"version.h\"",
                                  const std::string& fileVersion = kFields) {
    return {
        {"app.rc", Script("#include " + include, fileVersion, kFields, "\"1.0\\0\"", "\"1.0\\0\"")},
        {"version.h", header}};
}

const std::string kFieldMacros = "#define VER_MAJOR 2\n#define VER_MINOR 1\n#define VER_SUB 0\n";

const std::vector<ProjectFile> kTwoUp = {
    {"src|app|app.rc",
     Script("#include \"resource.h\"\n#ifndef APSTUDIO_INVOKED\n#include \"res\\app.rc2\"\n#endif",
            kFields, kFields, "VER_FILEVERSION_STR", "\"2.1.0.16\\0\"")},
    {"src|app|res|app.rc2", "// app.rc2 - resources the resource editor does not edit\n"
                            "#include \"..\\..\\version.h\"\n"},
    {"version.h", "#ifndef VERSION_H\n#define VERSION_H\n" + kFieldMacros +
                      "#define VER_BUILD\t16 // raised by every build\n"
                      "#define VER_FILEVERSION_STR \"2.1.0.16\"\n#endif /* VERSION_H */\n"}};

const std::string kWizardHead =
    "//Microsoft Visual C++ generated resource script.\n//\n#include \"resource.h\"\n\n"
    "#define APSTUDIO_READONLY_SYMBOLS\n#include \"winres.h\"\n#include \"VersionNo.h\"\n"
    "#undef APSTUDIO_READONLY_SYMBOLS\n\n#ifdef APSTUDIO_INVOKED\n2 TEXTINCLUDE\nBEGIN\n"
    "    \"#include \"\"winres.h\"\"\\r\\n\"\n    \"#include \"\"VersionNo.h\"\"\\r\\n\"\n"
    "    \"\\0\"\nEND\n#endif    // APSTUDIO_INVOKED";

const ProjectCase kProjects[] = {
    {"VersionNoListsAndStrings",
     {{"app.rc",
       Script("#include \"VersionNo.h\"", "FILEVER", "PRODUCTVER", "STRFILEVER", "STRPRODUCTVER")},
      {"VersionNo.h",
       "// " HYO "\r\n#define FILEVER\t1,0,0,290\r\n#define PRODUCTVER 1,0,0,290\r\n"
       "#define STRFILEVER \"1, 0, 0, 290\\0\"\r\n#define STRPRODUCTVER \"1.0.0.290\"\r\n"}},
     {"VersionNo.h: #define FILEVER\t1,0,0,291", "VersionNo.h: #define PRODUCTVER 1,0,0,291",
      "VersionNo.h: #define STRFILEVER \"1, 0, 0, 291\\0\"",
      "VersionNo.h: #define STRPRODUCTVER \"1.0.0.291\""},
     {1, 0, 0, 290}},
    {"PerFieldTwoFoldersUpThroughAnRc2",
     kTwoUp,
     {"version.h: #define VER_BUILD\t17 // raised by every build",
      "version.h: #define VER_FILEVERSION_STR \"2.1.0.17\""},
     {2, 1, 0, 16}},
    {"WindowEditWritesEveryField",
     kTwoUp,
     {"version.h: #define VER_MAJOR 3", "version.h: #define VER_SUB 4",
      "version.h: #define VER_BUILD\t20 // raised by every build",
      "version.h: #define VER_FILEVERSION_STR \"3.1.4.20\""},
     {2, 1, 0, 16},
     VersionNumber{3, 1, 4, 20}},
    {"AliasesAndStringizedStrings",
     {{"app.rc", Script("#include \"version.h\"", "VER_FILEVERSION", "VER_PRODUCTVERSION",
                        "VER_FILEVERSION_STR", "VER_PRODUCT_STR \"\\0\"")},
      {"version.h",
       kFieldMacros +
           "#define VER_BUILD BUILD_NUMBER\n#define BUILD_NUMBER 7\n"
           "#define VER_FILEVERSION VER_MAJOR,VER_MINOR,VER_SUB,VER_BUILD\n"
           "#define VER_PRODUCTVERSION VER_FILEVERSION\n"
           "#define STRINGIZE2(x) #x\n#define STRINGIZE(x) STRINGIZE2(x)\n"
           "#define VER_FILEVERSION_STR STRINGIZE(VER_MAJOR) \".\" STRINGIZE(VER_BUILD)\n"
           "#define VER_PRODUCT_STR \"2.1\"\n"}},
     {"version.h: #define BUILD_NUMBER 8"},
     {2, 1, 0, 7}},
    {"ScriptDefinesAndAUtf8HeaderWithMark",
     {{"app.rc", Script("#include \"version.h\"\n#define APP_BUILD 41 /* 製品 */",
                        "VER_MAJOR,VER_MINOR,VER_SUB,APP_BUILD", "3,2,1,41", "VER_STR", "VER_STR")},
      {"version.h",
       "\xEF\xBB\xBF// 製品の版\n#define VER_MAJOR 3\n#define VER_MINOR 2\n#define VER_SUB 1\n"
       "#define VER_STR \"3.2.1.41\" // 版\n"}},
     {"app.rc: #define APP_BUILD 42 /* 製品 */", "version.h: #define VER_STR \"3.2.1.42\" // 版"},
     {3, 2, 1, 41}},
    {"Cp1252Header",
     PerField(kFieldMacros + "// \xA9 Soci\xE9t\xE9\r\n#define VER_BUILD 9 // r\xE9vision\r\n"),
     {"version.h: #define VER_BUILD 10 // r\xE9vision"},
     {2, 1, 0, 9}},
    {"WizardScriptPassesOverWinresH",
     {{"app.rc", Script(kWizardHead, "FILEVER", "PRODUCTVER", "STRFILEVER", "STRPRODUCTVER")},
      {"resource.h", "//{{NO_DEPENDENCIES}}\n// Microsoft Visual C++ generated include file.\n"
                     "#define IDR_MAINFRAME 128\n"},
      {"VersionNo.h",
       "#define FILEVER 1,0,0,1\n#define PRODUCTVER 1,0,0,1\n"
       "#define STRFILEVER \"1, 0, 0, 1\\0\"\n#define STRPRODUCTVER \"1, 0, 0, 1\\0\"\n"}},
     {"VersionNo.h: #define FILEVER 1,2,0,5", "VersionNo.h: #define PRODUCTVER 1,2,0,5",
      "VersionNo.h: #define STRFILEVER \"1, 2, 0, 5\\0\"",
      "VersionNo.h: #define STRPRODUCTVER \"1, 2, 0, 5\\0\""},
     {1, 0, 0, 1},
     VersionNumber{1, 2, 0, 5}},
    {"DefinedTwice",
     {{"app.rc",
       Script("#include \"version.h\"\n#include \"build.h\"", kFields, kFields, "\"\"", "\"\"")},
      {"version.h", kFieldMacros + "#define VER_BUILD 16\n"},
      {"build.h", "#define VER_BUILD 17\n"}},
     {"VER_BUILD is defined twice (version.h line 4, build.h line 1)"}},
    {"UnderIfdef",
     PerField(kFieldMacros + "#ifdef OFFICIAL\n#define VER_BUILD 16\n#endif\n"),
     {"VER_BUILD is defined under #ifdef OFFICIAL (version.h line 5)"}},
    {"LiteralBuildAmongNames",
     PerField(kFieldMacros, "\"version.h\"", "VER_MAJOR,VER_MINOR,VER_SUB,0"),
     {"the build in FILEVERSION is the number 0 among names, no build number the project counts"}},
    {"TokenPasting",
     PerField(kFieldMacros + "#define VER_BUILD VER_##NUMBER\n"),
     {"VER_BUILD is made by token pasting (VER_##NUMBER)"}},
    {"Arithmetic",
     PerField(kFieldMacros + "#define VER_BUILD (VER_BASE + 5)\n"),
     {"VER_BUILD holds (VER_BASE + 5), arithmetic"}},
    {"Placeholder",
     PerField(kFieldMacros + "#define VER_BUILD @BUILD_NUMBER@\n"),
     {"VER_BUILD holds @BUILD_NUMBER@, a placeholder that a generator fills in"}},
    {"OnlyInAnAngleInclude",
     PerField(kFieldMacros + "#define VER_BUILD 16\n", "<version.h>"),
     {"VER_MAJOR is defined in none of the files the script includes (not followed: <version.h>)"}},
    {"OnlyInAFileNotFound",
     {PerField("", "\"..\\common\\version.h\"")[0]},
     {"VER_MAJOR is defined in none of the files the script includes (not found: "
      "..\\common\\version.h)"}},
    {"TemplateBeside",
     {PerField("")[0],
      {"version.h", kFieldMacros + "#define VER_BUILD 16\n"},
      {"version.h.in", "#define VER_BUILD @BUILD@\n"}},
     {"version.h is made from version.h.in beside it: a generated header is left to its "
      "generator"}},
    {"GeneratedComment",
     PerField("/* Generated by the build: edits are lost. */\n" + kFieldMacros +
              "#define VER_BUILD 16\n"),
     {"version.h says \"generated\" in a comment: a generated header is left to its generator"}},
};

// "file: line" for each line of after that differs from before's; the line ends must not.
void AddChanged(const std::string& file, std::string_view before, std::string_view after,
                Lines& changed) {
    const auto split = [](std::string_view text) {
        Lines lines;
        for (size_t at = 0; at <= text.size();) {
            const size_t end = std::min(text.find('\n', at), text.size());
            lines.emplace_back(text.substr(at, end - at));
            at = end + 1;
        }
        return lines;
    };
    const Lines old = split(before);
    const Lines now = split(after);
    ASSERT_EQ(old.size(), now.size()) << file;
    for (size_t k = 0; k < old.size(); ++k)
        if (old[k] != now[k]) {
            EXPECT_EQ(old[k].ends_with('\r'), now[k].ends_with('\r')) << file << ": " << now[k];
            changed.push_back(file + ": " + now[k].substr(0, now[k].find('\r')));
        }
}

class FollowProject : public ::testing::TestWithParam<ProjectCase> {};

TEST_P(FollowProject, WritesWhereTheMacrosAreDefinedOrSaysWhyNot) {
    const ProjectCase& project = GetParam();
    CodePageScope codePage{CodePage::Cp932()};
    testfiles::TestFolder folder;
    for (const ProjectFile& file : project.files) {
        const std::string path = folder.Path(NativePath(file.path));
        for (size_t at = folder.Path().size() + 1;
             (at = path.find(kPathSeparator, at)) != std::string::npos; ++at)
            if (!testfiles::Exists(path.substr(0, at)))
                testfiles::MakeFolder(path.substr(0, at));
        const bool script = path.find(".rc") != std::string::npos;
        testfiles::WriteBytes(path,
                              script ? testfiles::ReplaceAll(file.text, "\n", "\r\n") : file.text);
    }
    const std::string scriptPath = folder.Path(NativePath(project.files[0].path));
    const Expected<VersionScript> script = VersionScript::Read(scriptPath.c_str());
    ASSERT_TRUE(script);
    const Expected<VersionMacros> macros =
        VersionMacros::Follow(StatementsOf(*script, scriptPath.c_str()));
    const Expected<MacroWrites> writes = !macros ? Expected<MacroWrites>(macros.Error())
                                         : project.edit
                                             ? macros->SetVersion(*project.edit)
                                             : macros->RaiseBuild(macros->Version().build + 1);
    Lines outcome;
    if (!writes) {
        EXPECT_EQ(writes.Error().kind, Failure::Kind::leftAlone);
        outcome.push_back(writes.Error().reason.Str());
    } else {
        EXPECT_EQ(macros->Version(), project.read);
        AddChanged("app.rc", script->Text(), ApplyEdits(script->Text(), writes->scriptEdits),
                   outcome);
        const std::vector<CString> locked =
            macros->HeadersWritten(project.edit ? MacroChange::allFields : MacroChange::build);
        for (const HeaderWrite& header : writes->headers) {
            EXPECT_NE(std::find(locked.begin(), locked.end(), header.path), locked.end());
            const std::string before = ReadBytes(header.path.Str());
            ScriptEncoding old;
            ScriptEncoding now;
            ASSERT_TRUE(old.Decode(before) && now.Decode(header.bytes));
            EXPECT_EQ(FormOfMark(before), FormOfMark(header.bytes));
            AddChanged(ExtractFileName(header.path).Str(), old.Text(), now.Text(), outcome);
        }
    }
    EXPECT_EQ(outcome, project.outcome);
}

INSTANTIATE_TEST_SUITE_P(VersionMacros, FollowProject, ::testing::ValuesIn(kProjects),
                         [](const auto& info) { return std::string(info.param.name); });
} // namespace
