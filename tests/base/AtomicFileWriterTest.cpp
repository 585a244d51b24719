#include "base/AtomicFileWriter.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {
using testfiles::ReadBytes;
using testfiles::TestFolder;
using testfiles::WriteBytes;
using Names = std::vector<std::string>;

class AtomicWrite : public ::testing::Test {
protected:
    TestFolder m_folder;
    const std::string m_path = m_folder.Path("app.rc");
};

TEST_F(AtomicWrite, ReplacesTheWholeContent) {
    EXPECT_TRUE(AtomicFileWriter::ReplaceContents(m_path.c_str(), std::string(5000, 'x')));
    EXPECT_EQ(ReadBytes(m_path), std::string(5000, 'x'));
    EXPECT_TRUE(AtomicFileWriter::ReplaceContents(m_path.c_str(), "short\r\n"));
    EXPECT_EQ(ReadBytes(m_path), "short\r\n");
    EXPECT_TRUE(AtomicFileWriter::ReplaceContents(m_path.c_str(), ""));
    EXPECT_EQ(ReadBytes(m_path), "");
    EXPECT_EQ(m_folder.List(), Names{"app.rc"});
}

TEST_F(AtomicWrite, FailuresLeaveTheFolderAsItWas) {
    WriteBytes(m_path, "old");
    testfiles::SetReadOnly(m_path, true);
    EXPECT_FALSE(AtomicFileWriter::ReplaceContents(m_path.c_str(), "new"));
    testfiles::SetReadOnly(m_path, false);
    EXPECT_EQ(ReadBytes(m_path), "old");

    testfiles::MakeFolder(m_folder.Path("sub"));
    EXPECT_FALSE(AtomicFileWriter::ReplaceContents(m_folder.Path("sub").c_str(), "new"));
    const std::string inMissingFolder = m_folder.Path("absent") + testfiles::kSeparator + "app.rc";
    EXPECT_FALSE(AtomicFileWriter::ReplaceContents(inMissingFolder.c_str(), "new"));
    EXPECT_EQ(m_folder.List(), (Names{"app.rc", "sub"}));
}

// A reader that opens the file while it is being replaced sees the old bytes or the new ones,
// never a mixture or an empty file.
TEST_F(AtomicWrite, ReadersNeverSeeAPartialFile) {
    const std::string a(64 * 1024, 'a');
    const std::string b(3 * 1024, 'b');
    WriteBytes(m_path, a);
    std::atomic<bool> done{false};
    std::atomic<int> bad{0};
    std::thread reader([&] {
        while (!done) {
            // A failed open is not a partial file: skip it.
            std::string got(a.size() + 1, '\0');
#ifdef _WIN32
            HANDLE file = CreateFileA(m_path.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, 0, nullptr);
            DWORD read = 0;
            const bool opened = file != INVALID_HANDLE_VALUE;
            if (opened) {
                ReadFile(file, got.data(), static_cast<DWORD>(got.size()), &read, nullptr);
                CloseHandle(file);
            }
#else
            std::ifstream in(m_path, std::ios::binary);
            in.read(got.data(), static_cast<std::streamsize>(got.size()));
            const bool opened = in.is_open();
            const std::streamsize read = in.gcount();
#endif
            got.resize(static_cast<size_t>(read));
            if (opened && got != a && got != b)
                ++bad;
            // An open file cannot be replaced on Windows; the writer retries, but only briefly.
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    });
    for (int i = 0; i < 100; ++i) {
        const Expected<void> replaced =
            AtomicFileWriter::ReplaceContents(m_path.c_str(), i % 2 ? a : b);
        if (!replaced)
            ADD_FAILURE() << "replace " << i << ": " << replaced.Error().reason.Str() << " "
                          << replaced.Error().osError;
    }
    done = true;
    reader.join();
    EXPECT_EQ(bad, 0);
    EXPECT_EQ(m_folder.List(), Names{"app.rc"});
}

#ifdef _WIN32
TEST_F(AtomicWrite, KeepsTheHiddenAttribute) {
    WriteBytes(m_path, "old");
    ASSERT_TRUE(SetFileAttributesA(m_path.c_str(), FILE_ATTRIBUTE_HIDDEN));
    EXPECT_TRUE(AtomicFileWriter::ReplaceContents(m_path.c_str(), "new"));
    EXPECT_TRUE(GetFileAttributesA(m_path.c_str()) & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(ReadBytes(m_path), "new");
}

TEST_F(AtomicWrite, WaitsForAnotherProcessToLetGo) {
    WriteBytes(m_path, "old");
    HANDLE held = CreateFileA(m_path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(AtomicFileWriter::ReplaceContents(m_path.c_str(), "new"));
    EXPECT_EQ(ReadBytes(m_path), "old");
    // Let go while the writer is retrying: once its temporary file stands beside the script.
    std::thread release([this, held] {
        while (m_folder.List().size() < 2)
            Sleep(1);
        CloseHandle(held);
    });
    EXPECT_TRUE(AtomicFileWriter::ReplaceContents(m_path.c_str(), "new"));
    release.join();
    EXPECT_EQ(ReadBytes(m_path), "new");
    EXPECT_EQ(m_folder.List(), Names{"app.rc"});
}
#else
TEST_F(AtomicWrite, KeepsTheModeAndTheSymbolicLink) {
    const std::string target = m_folder.Path("real.rc");
    WriteBytes(target, "old");
    ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
    ASSERT_EQ(::symlink("real.rc", m_path.c_str()), 0);
    EXPECT_TRUE(AtomicFileWriter::ReplaceContents(m_path.c_str(), "new"));
    struct stat info;
    ASSERT_EQ(::lstat(m_path.c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    ASSERT_EQ(::stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(ReadBytes(target), "new");
    EXPECT_EQ(m_folder.List(), (Names{"app.rc", "real.rc"}));
}
#endif
} // namespace
