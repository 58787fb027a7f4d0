#include "launch/target_names.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <string>

#include "core/saved_core_globals.h"

namespace {

class ResolvePathTest : public ::testing::Test {
protected:
    void SetDir(const wchar_t* dir) { std::wcscpy(g_appDir, dir); }

private:
    testing_core::SavedCoreGlobals globals_;
};

TEST_F(ResolvePathTest, JoinsNamesToTheProgramFolder) {
    SetDir(L"C:\\Demo");
    struct Case {
        const wchar_t* name;
        const wchar_t* path;
    } const cases[] = {
        {L"a.asc", L"C:\\Demo\\a.asc"},
        {L".\\a.asc", L"C:\\Demo\\a.asc"},
        {L".\\.\\a.asc", L"C:\\Demo\\.\\a.asc"},  // the prefix goes once only
        {L"D:\\x.asc", L"D:\\x.asc"},
        {L"\\x.asc", L"\\x.asc"},
        {L"", L"C:\\Demo\\"},
        {nullptr, L"C:\\Demo\\"},
        {L"..\\a.asc", L"C:\\Demo\\..\\a.asc"},
        {L"./a.asc", L"C:\\Demo\\./a.asc"},
        {L"/a.asc", L"C:\\Demo\\/a.asc"},
        {L"!run.asc", L"C:\\Demo\\!run.asc"},
    };
    for (const Case& c : cases) EXPECT_STREQ(ResolvePath(c.name), c.path);
}

TEST_F(ResolvePathTest, DriveRootFolderAndTrailingBackslash) {
    SetDir(L"C:");
    EXPECT_STREQ(ResolvePath(L"a.asc"), L"C:\\a.asc");
    SetDir(L"C:\\");
    EXPECT_STREQ(ResolvePath(L"a.asc"), L"C:\\a.asc");
}

TEST_F(ResolvePathTest, EmptyFolderLeavesNamesAlone) {
    EXPECT_STREQ(ResolvePath(L".\\a.asc"), L".\\a.asc");
    EXPECT_STREQ(ResolvePath(L"a.asc"), L"a.asc");
    EXPECT_STREQ(ResolvePath(L""), L"");
}

TEST_F(ResolvePathTest, ResultThatWouldNotFitIsRefusedNotCut) {
    std::wstring dir = L"C:\\" + std::wstring(kAppDirChars - 4, L'd');  // 259 characters, the most there is
    SetDir(dir.c_str());
    const std::wstring fits(kResolvedPathChars - 1 - 260, L'n');  // folder + '\' + name = 519
    EXPECT_EQ(std::wcslen(ResolvePath(fits.c_str())), static_cast<size_t>(kResolvedPathChars - 1));
    const std::wstring tooLong = fits + L"x";
    EXPECT_STREQ(ResolvePath(tooLong.c_str()), L"");
    const std::wstring absolute = L"D:\\" + std::wstring(600, L'x');
    EXPECT_STREQ(ResolvePath(absolute.c_str()), L"");
}

TEST(Extensions, CircuitAndNetlistSetsCompareTheWholeExtensionIgnoringCase) {
    struct Case {
        const wchar_t* name;
        bool netlist, circuit;
    } const cases[] = {
        {L"NE555.ASC", false, true}, {L"x.NET", true, true},      {L"a.sp", true, true},
        {L"a.mod", true, true},      {L"a.bjt", true, true},      {L"a.dio", true, true},
        {L"a.mos", true, true},      {L"a.jft", true, true},      {L"a.raw", false, true},
        {L"a.asy", false, true},     {L"a.cap", false, true},     {L"a.ind", false, true},
        {L"a.bead", false, true},    {L"a.res", false, true},     {L"a.asc.bak", false, false},
        {L"a.ascii", false, false},  {L"noext", false, false},    {L"a.pdf", false, false},
        {L"dir.d\\file", false, false}, {nullptr, false, false},  {L".asc", false, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsNetlistFile(c.name), c.netlist);
        EXPECT_EQ(IsCircuitFile(c.name), c.circuit);
    }
}

TEST(Extensions, HasExtensionFoldsAsciiCaseOnly) {
    EXPECT_TRUE(HasExtension(L"siren.WAV", L".wav"));
    EXPECT_TRUE(HasExtension(L"Ibis.Jpg", L".jpg"));
    EXPECT_FALSE(HasExtension(L"a.jpeg", L".jpg"));
    EXPECT_FALSE(HasExtension(L"a.jpg.bak", L".jpg"));
    EXPECT_FALSE(HasExtension(L"jpg", L".jpg"));
    EXPECT_FALSE(HasExtension(nullptr, L".jpg"));
}

}  // namespace
