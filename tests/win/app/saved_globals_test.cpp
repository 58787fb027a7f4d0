// The saver every fixture uses: each global of the program comes back when it goes, whichever
// one a test changed, and a simulator pointer into its own buffer points there again.
#include <gtest/gtest.h>

#include <cwchar>
#include <functional>
#include <iterator>
#include <string>
#include <type_traits>

#include "app/app.h"
#include "deck/deck.h"
#include "deck/page_cursor.h"
#include "launch/simulator.h"
#include "launch/target_names.h"
#include "support/win_test_support.h"

namespace {

using testing_win::SavedGlobals;

static_assert(!std::is_copy_constructible_v<SavedGlobals> && !std::is_copy_assignable_v<SavedGlobals>);

// The globals that only the Wine build has, whole buffers included, and some of the OS-free ones
// (the native tests go through those one by one), for comparing before and after.
struct Globals {
    bool proMode, bigMode;
    int brandLogoId, secondLogoId;
    const wchar_t* simulatorPath;
    const wchar_t* simulatorExe;
    std::wstring simulatorPathBuf, simulatorExeBuf;
    bool simulatorLookupDone;
    int currentPage;
    std::wstring appDir;
    int enabledPageCount;
    bool operator==(const Globals&) const = default;
};

Globals Now() {
    return {g_proMode,
            g_bigMode,
            g_brandLogoId,
            g_secondLogoId,
            g_simulatorPath,
            g_simulatorExe,
            std::wstring(std::begin(g_simulatorPathBuf), std::end(g_simulatorPathBuf)),
            std::wstring(std::begin(g_simulatorExeBuf), std::end(g_simulatorExeBuf)),
            g_simulatorLookupDone,
            g_currentPage,
            g_appDir,
            g_enabledPageCount};
}

TEST(SavedGlobals, EachGlobalComesBackWhateverATestDidToIt) {
    struct Case {
        const char* what;
        std::function<void()> change;
    } const cases[] = {
        {"the Pro switch", [] { g_proMode = !g_proMode; }},
        {"big mode", [] { g_bigMode = !g_bigMode; }},
        {"the brand logo", [] { g_brandLogoId = 304; }},
        {"the second logo", [] { g_secondLogoId = 305; }},
        {"the simulator's path", [] { g_simulatorPath = L"C:\\other\\sim.exe"; }},
        {"the simulator's file name", [] { g_simulatorExe = L"sim.exe"; }},
        {"the path buffer", [] { std::wcscpy(g_simulatorPathBuf, L"C:\\x\\y.exe"); }},
        {"the end of the path buffer", [] { g_simulatorPathBuf[kSimulatorNameChars - 1] = L'z'; }},
        {"the name buffer", [] { std::wcscpy(g_simulatorExeBuf, L"y.exe"); }},
        {"the lookup flag", [] { g_simulatorLookupDone = !g_simulatorLookupDone; }},
        {"the slide on screen, the program folder and the numbered count", [] {
             g_currentPage = 41;
             std::wcscpy(g_appDir, L"C:\\elsewhere");
             g_enabledPageCount = 3;
         }},
    };
    const Globals before = Now();
    for (const Case& c : cases) {
        {
            const SavedGlobals saved;
            c.change();
            ASSERT_FALSE(Now() == before) << c.what << ": the change shows";
        }
        EXPECT_TRUE(Now() == before) << c.what;
    }
    {
        const SavedGlobals saved;
        for (const Case& c : cases) c.change();
    }
    EXPECT_TRUE(Now() == before) << "all of them at once";
}

TEST(SavedGlobals, APointerIntoItsOwnBufferPointsThereAgainAtItsText) {
    const SavedGlobals outer;
    std::wcscpy(g_simulatorPathBuf, L"C:\\Sim\\Vexa64.exe");
    std::wcscpy(g_simulatorExeBuf, L"Vexa64.exe");
    g_simulatorPath = g_simulatorPathBuf;
    g_simulatorExe = g_simulatorExeBuf;
    {
        const SavedGlobals saved;
        g_simulatorPath = L"default path";
        g_simulatorExe = L"default exe";
        std::wcscpy(g_simulatorPathBuf, L"C:\\Other\\Other.exe");
        std::wcscpy(g_simulatorExeBuf, L"Other.exe");
    }
    EXPECT_EQ(g_simulatorPath, g_simulatorPathBuf);
    EXPECT_EQ(g_simulatorExe, g_simulatorExeBuf);
    EXPECT_STREQ(g_simulatorPath, L"C:\\Sim\\Vexa64.exe");
    EXPECT_STREQ(g_simulatorExe, L"Vexa64.exe");
}

}  // namespace
