#include "base/PathFunctions.h"
#include "CodePageSamples.h"

#include <gtest/gtest.h>

namespace {
struct PathCase {
    const char* name;
    const char* path; // '|' stands for the platform's separator
    const char* directory;
    const char* fileName;
    const char* title;
};

class PathSplit : public ::testing::TestWithParam<PathCase> {
protected:
    CodePageScope m_codePage{CodePage::Cp932()};
};

TEST_P(PathSplit, CutsAtTheLastSeparatorThatIsACharacter) {
    const PathCase& c = GetParam();
    const CString path(NativePath(c.path));
    const CString name = ExtractFileName(path);
    EXPECT_EQ(ExtractDirectory(path).Str(), NativePath(c.directory));
    EXPECT_EQ(name.Str(), NativePath(c.fileName));
    EXPECT_EQ(ExtractFileTitle(name).Str(), c.title);
}

const PathCase kPathCases[] = {
    {"Plain", "C:|work|app.rc", "C:|work|", "app.rc", "app"},
    {"NoSeparator", "app.rc", "", "", ""},
    {"AtTheRoot", "|app.rc", "|", "app.rc", "app"},
    {"FolderOnly", "C:|work|", "C:|work|", "", ""},
    {"TwoDots", "C:|work|my.app.rc", "C:|work|", "my.app.rc", "my.app"},
    {"DotInTheFolder", "C:|my.dir|app", "C:|my.dir|", "app", "app"},
    {"FolderEndingIn5C", "C:|" HYO "|app.rc", "C:|" HYO "|", "app.rc", "app"},
    {"NamesEndingIn5C", "C:|" SO NOU "|" SO ".rc", "C:|" SO NOU "|", SO ".rc", SO},
    {"NameOfOneCharacter", "C:|tools|" HYO, "C:|tools|", HYO, HYO},
    {"DotsAndTrailBytes", "C:|" NOU "x|" HYO "." SO "|b.c.rc", "C:|" NOU "x|" HYO "." SO "|",
     "b.c.rc", "b.c"},
};
INSTANTIATE_TEST_SUITE_P(Cp932, PathSplit, ::testing::ValuesIn(kPathCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FileTitle, DropsOnlyTheLastExtension) {
    const struct {
        const char* name;
        const char* title;
    } cases[] = {{"app.rc", "app"}, {"my.app.rc", "my.app"}, {"app", "app"},
                 {".rc", ""},       {"app.", "app"},         {"", ""},
                 {HYO ".rc", HYO}};
    for (const auto& c : cases)
        EXPECT_EQ(ExtractFileTitle(c.name).Str(), c.title) << c.name;
}

TEST(PathSplit, TheOtherSlashIsAnOrdinaryCharacter) {
#ifdef _WIN32
    const CString path("C:\\work/app.rc");
    EXPECT_EQ(ExtractDirectory(path).Str(), "C:\\");
    EXPECT_EQ(ExtractFileName(path).Str(), "work/app.rc");
#else
    const CString path("/home/dev\\app.rc");
    EXPECT_EQ(ExtractDirectory(path).Str(), "/home/");
    EXPECT_EQ(ExtractFileName(path).Str(), "dev\\app.rc");
#endif
}
} // namespace
