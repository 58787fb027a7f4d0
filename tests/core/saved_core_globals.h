// The OS-free globals of the program, as a test found them, put back when the test is done.
// Pure: the native tests use it as it is, and the Wine tests' own saver builds on it.
#pragma once
#include <algorithm>
#include <array>
#include <cstddef>
#include <iterator>

#include "deck/deck.h"
#include "deck/page_cursor.h"
#include "launch/target_names.h"

namespace testing_core {

// The program folder, the slide on screen and the whole slide table with its print numbering
// and hotspots, copied when the object is made and copied back when it goes, whatever the test
// did to them in between (and however it left: an ASSERT returns early).
class SavedCoreGlobals {
public:
    SavedCoreGlobals() : currentPage_(g_currentPage), enabledPageCount_(g_enabledPageCount) {
        std::copy(std::begin(g_appDir), std::end(g_appDir), appDir_.begin());
        std::copy(std::begin(g_slideDeck), std::end(g_slideDeck), slideDeck_.begin());
    }
    ~SavedCoreGlobals() {
        std::copy(appDir_.begin(), appDir_.end(), std::begin(g_appDir));
        g_currentPage = currentPage_;
        std::copy(slideDeck_.begin(), slideDeck_.end(), std::begin(g_slideDeck));
        g_enabledPageCount = enabledPageCount_;
    }
    SavedCoreGlobals(const SavedCoreGlobals&) = delete;
    SavedCoreGlobals& operator=(const SavedCoreGlobals&) = delete;

    // A row of the slide table as it was when the object was made.
    const SlidePage& SavedRow(int row) const { return slideDeck_.at(static_cast<std::size_t>(row)); }

private:
    std::array<wchar_t, kAppDirChars> appDir_{};
    int currentPage_;
    std::array<SlidePage, SLIDE_COUNT> slideDeck_{};
    int enabledPageCount_;
};

}  // namespace testing_core
