#include "console/console_demo.h"

#include <algorithm>
#include <cwchar>

DemoLines LayOutDemoLines(const ConsoleLayout& layout, int h) {
    const int m = std::max(8, h / 40);
    const int left = layout.counter.left, right = layout.counter.right;
    const int top = layout.clock.bottom + m / 2;
    const int room = std::max(0, h - m - top);
    // Two lines; "Page Down returns to slide 69" is 29 characters of about three fifths of the
    // height each in the console's face.
    const int height = std::max(10, std::min({layout.clockHeight * 2 / 3, room * 5 / 12, (right - left) * 5 / 96}));
    const int line = height * 6 / 5;
    return {{left, top, right, top + line}, {left, top + line, right, top + 2 * line}, height};
}

std::wstring DemoTimeText(long long seconds) {
    seconds = std::max(0LL, seconds);
    wchar_t text[32];
    if (seconds < 3600) std::swprintf(text, 32, L"%lld:%02lld", seconds / 60, seconds % 60);
    else std::swprintf(text, 32, L"%lld:%02lld:%02lld", seconds / 3600, seconds / 60 % 60, seconds % 60);
    return text;
}

std::wstring DemoRunningText(const std::wstring& fileName, long long seconds) {
    return L"Demo: " + fileName + L" " + DemoTimeText(seconds);
}

std::wstring DemoBackText(const TalkDemo& demo) {
    const std::wstring slide = std::to_wstring(demo.row + 1);
    if (demo.keysTaken) return L"Page Down returns to slide " + slide;
    return L"Page Down is in use: click the show to return to slide " + slide;
}
