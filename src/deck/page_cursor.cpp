#include "deck/page_cursor.h"

#include <algorithm>
#include <climits>

#include "deck/deck.h"

int g_currentPage = 0;

namespace {
int Clamped(int index) { return index < 0 ? 0 : (index > kLastSlide ? kLastSlide : index); }
}  // namespace

bool GoPrevPage() {
    // INT_MIN can only come from an edited profile; it stays put until the paint clamps it.
    if (g_currentPage == 0 || g_currentPage == INT_MIN) return false;
    --g_currentPage;
    return true;
}

bool GoFirstPage() {
    if (g_currentPage == 0) return false;
    g_currentPage = 0;
    return true;
}

bool GoNextPage() {
    if (g_currentPage >= kLastSlide) return false;
    ++g_currentPage;
    return true;
}

bool GoLastPage() {
    if (g_currentPage >= kLastSlide) return false;
    g_currentPage = kLastSlide;
    return true;
}

void WheelPage(int delta) {
    // Widen first: a restored value at the int limits must not overflow the step.
    const long long p = static_cast<long long>(g_currentPage) + (delta > 0 ? -1 : 1);
    g_currentPage = p < 0 ? 0 : static_cast<int>(p < kLastSlide ? p : kLastSlide);
}

int ClampPage() {
    g_currentPage = Clamped(g_currentPage);
    return g_currentPage;
}

int CurrentSlideIndex() { return Clamped(g_currentPage); }

int PageFromProfileText(const wchar_t* text) {
    if (!text) return 0;
    const wchar_t* p = text;
    while (*p == L' ' || (*p >= L'\t' && *p <= L'\r')) ++p;
    bool negative = false;
    if (*p == L'+' || *p == L'-') negative = (*p++ == L'-');
    long long value = 0;
    for (; *p >= L'0' && *p <= L'9'; ++p) {
        value = value * 10 + (*p - L'0');
        if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative) value = -value;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

std::vector<int> RowsOneKeyAway(int row) {
    std::vector<int> rows;
    for (const int r : {Clamped(row), Clamped(row) + 1, Clamped(row) - 1, kLastSlide, 0}) {
        if (r < 0 || r > kLastSlide) continue;
        if (std::find(rows.begin(), rows.end(), r) == rows.end()) rows.push_back(r);
    }
    return rows;
}
