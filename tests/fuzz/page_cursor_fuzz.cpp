// The page cursor starts from whatever the profile holds and is then stepped by keys and the
// wheel. Any profile text reads as _wtoi reads it (saturating, never overflowing), and any
// sequence of steps from any start stays free of overflow, reports each change truly, and
// never leaves the deck once inside it.
#include "deck/deck.h"
#include "deck/page_cursor.h"

#include "fuzz_check.h"
#include "fuzz_text.h"

#include <climits>
#include <string>

namespace {

using fuzz::Check;

// _wtoi: white space, a sign, then digits up to the first other character; out of range
// values stop at the int limits.
int ExpectedNumber(const std::wstring& text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == L' ' || (text[i] >= L'\t' && text[i] <= L'\r'))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) negative = text[i++] == L'-';
    long long value = 0;
    for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
        value = value * 10 + (text[i] - L'0');
        if (value > 1LL << 40) break;  // far beyond both limits; more digits cannot bring it back
    }
    if (negative) value = -value;
    return value > INT_MAX ? INT_MAX : value < INT_MIN ? INT_MIN : static_cast<int>(value);
}

bool InDeck(int page) { return page >= 0 && page <= kLastSlide; }

void Step(std::uint8_t op) {
    const int before = g_currentPage;
    const bool wasInDeck = InDeck(before);
    switch (op % 7) {
    case 0: Check(GoPrevPage() == (g_currentPage != before), "previous reports its change"); break;
    case 1: Check(GoNextPage() == (g_currentPage != before), "next reports its change"); break;
    case 2: Check(GoFirstPage() == (g_currentPage != before), "first reports its change"); break;
    case 3: Check(GoLastPage() == (g_currentPage != before), "last reports its change"); break;
    case 4: WheelPage(op & 0x80 ? 120 : -120); Check(InDeck(g_currentPage), "the wheel lands in the deck"); break;
    case 5: Check(ClampPage() == g_currentPage && InDeck(g_currentPage), "clamping stores a page of the deck"); break;
    case 6: Check(CurrentSlideIndex() == (before < 0 ? 0 : before > kLastSlide ? kLastSlide : before) &&
                  g_currentPage == before, "the slide index is clamped and stores nothing");
            break;
    }
    Check(!wasInDeck || InDeck(g_currentPage), "a page of the deck stays in the deck");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto pieces = fuzz::SplitAtNul(fuzz::Utf16Units(data, size));
    const std::wstring& text = pieces[0];
    const int page = PageFromProfileText(text.c_str());
    Check(page == ExpectedNumber(text), "the profile text reads as _wtoi reads it");
    Check(PageFromProfileText(nullptr) == 0, "no text reads as 0");

    // The steps: the bytes after the text's terminator, one operation each.
    g_currentPage = page;
    const std::size_t textBytes = 2 * (text.size() + 1);
    for (std::size_t i = textBytes; i < size; ++i) Step(data[i]);
    return 0;
}
