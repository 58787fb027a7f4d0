#include "view/number_box.h"

#include <algorithm>

#include "framework/dpi.h"

void TypedNumber::Append(int digit) {
    if (digit < 0 || digit > 9 || digits_.size() >= kMaxDigits) return;
    digits_.push_back(static_cast<wchar_t>(L'0' + digit));
}

int TypedNumber::Row(int count) const {
    int n = 0;
    for (const wchar_t c : digits_) n = n * 10 + (c - L'0');
    return std::clamp(n, 1, std::max(1, count)) - 1;
}

SlideRect NumberBoxRect(const SlideRect& window, int textW, int textH) {
    const int pad = std::max(2, textH / 2);
    const int w = textW + 2 * pad;
    const int h = textH + pad;
    const int right = window.right - pad;
    const int top = window.top + pad;
    return {right - w, top, right, top + h};
}

int NumberBoxFontHeight(int windowH, int dpi) { return std::max(8, std::min(AtDpi(kNumberBoxTextPx, dpi), windowH / 8)); }
