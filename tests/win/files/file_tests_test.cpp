// File and folder tests on the real file system, through Wine's drives.
#include <gtest/gtest.h>

#include <string>

#include "launch/file_tests.h"
#include "launch/target_names.h"
#include "support/win_test_support.h"

namespace {

class FileTests : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = testing_win::TempDir() + L"\\files";
        ::CreateDirectoryW(dir_.c_str(), nullptr);
        file_ = dir_ + L"\\a.asc";
        HANDLE h = ::CreateFileW(file_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        ::CloseHandle(h);
    }
    void TearDown() override {
        ::DeleteFileW(file_.c_str());
        ::RemoveDirectoryW(dir_.c_str());
    }
    std::wstring dir_, file_;
};

TEST_F(FileTests, RegularFilesOnly) {
    EXPECT_TRUE(FileExists(file_.c_str()));
    EXPECT_FALSE(FileExists((file_ + L"\\").c_str()));  // a trailing separator is never a file
    EXPECT_FALSE(FileExists(dir_.c_str()));
    EXPECT_FALSE(FileExists((dir_ + L"\\missing.asc").c_str()));
    EXPECT_FALSE(FileExists(L""));
    EXPECT_FALSE(FileExists(nullptr));
}

TEST_F(FileTests, FoldersWithOrWithoutTrailingSeparatorAndDriveRoots) {
    EXPECT_TRUE(DirectoryExists(dir_.c_str()));
    EXPECT_TRUE(DirectoryExists((dir_ + L"\\").c_str()));
    EXPECT_TRUE(DirectoryExists((dir_ + L"/").c_str()));
    EXPECT_FALSE(DirectoryExists(file_.c_str()));
    EXPECT_FALSE(DirectoryExists((dir_ + L"\\missing").c_str()));
    EXPECT_TRUE(DirectoryExists(L"C:"));
    EXPECT_TRUE(DirectoryExists(L"C:\\"));
    EXPECT_FALSE(DirectoryExists(L""));
    EXPECT_FALSE(DirectoryExists(nullptr));
    const std::wstring tooLong(2000, L'x');
    EXPECT_FALSE(DirectoryExists(tooLong.c_str()));
}

TEST_F(FileTests, ResolvedDeckNamesFindTheirFiles) {
    const testing_win::SavedGlobals globals;
    wcscpy(g_appDir, dir_.c_str());
    EXPECT_TRUE(FileExists(ResolvePath(L"a.asc")));
    EXPECT_TRUE(FileExists(ResolvePath(L".\\a.asc")));
    EXPECT_TRUE(DirectoryExists(ResolvePath(L"")));
    EXPECT_FALSE(FileExists(ResolvePath(L"!a.asc")));  // the mark is not part of the name
}

}  // namespace
