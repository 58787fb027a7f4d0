// The saver the native tests use: the program folder, the slide on screen and the whole slide
// table come back when it goes, whichever of them a test changed.
#include "core/saved_core_globals.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <functional>
#include <iterator>
#include <string>
#include <tuple>
#include <type_traits>
#include <vector>

namespace {

using testing_core::SavedCoreGlobals;

static_assert(!std::is_copy_constructible_v<SavedCoreGlobals> && !std::is_copy_assignable_v<SavedCoreGlobals>);

struct CoreGlobals {
    std::wstring appDir;  // the whole buffer
    int currentPage;
    std::vector<std::tuple<int, const wchar_t*, int, const Hotspot*>> rows;
    int enabledPageCount;
    bool operator==(const CoreGlobals&) const = default;
};

CoreGlobals Now() {
    CoreGlobals g{std::wstring(std::begin(g_appDir), std::end(g_appDir)), g_currentPage, {}, g_enabledPageCount};
    for (const SlidePage& page : g_slideDeck) g.rows.emplace_back(page.nNumber, page.pszImage, page.nSpots, page.pSpots);
    return g;
}

const Hotspot kOtherSpot{0.5, 0.5, L"other.asc"};

TEST(SavedCoreGlobals, EachGlobalComesBackWhateverATestDidToIt) {
    struct Case {
        const char* what;
        std::function<void()> change;
    } const cases[] = {
        {"the program folder", [] { std::wcscpy(g_appDir, L"C:\\elsewhere"); }},
        {"the end of the program folder", [] { g_appDir[kAppDirChars - 1] = L'x'; }},
        {"the slide on screen", [] { g_currentPage = 41; }},
        {"the numbering", [] { NumberSlides(); g_slideDeck[5].nNumber = 99; }},
        {"the title's hotspots", [] { g_slideDeck[0].pSpots = &kOtherSpot; g_slideDeck[0].nSpots = 1; }},
        {"the closing row's image", [] { g_slideDeck[kLastSlide].pszImage = L"other.png"; }},
        {"the numbered count", [] { g_enabledPageCount = 3; }},
    };
    const CoreGlobals before = Now();
    for (const Case& c : cases) {
        {
            const SavedCoreGlobals saved;
            c.change();
            ASSERT_FALSE(Now() == before) << c.what << ": the change shows";
        }
        EXPECT_TRUE(Now() == before) << c.what;
    }
}

TEST(SavedCoreGlobals, KeepsTheRowsAsTheyWere) {
    const int number = g_slideDeck[3].nNumber;
    const SavedCoreGlobals saved;
    g_slideDeck[3].nNumber = number + 77;
    EXPECT_EQ(saved.SavedRow(3).nNumber, number);
}

}  // namespace
