// A slide number typed for a jump: its digits, the slide it stands for, and where the small box
// that shows it goes. Slides are numbered 1 to the deck's count in deck order; a number out of
// range stands for the nearest end. Pure: no platform headers.
#pragma once
#include <string>

#include "render/geometry.h"

// Without a key for this long, the typed number is dropped with its box.
inline constexpr unsigned kNumberBoxTimeoutMs = 3000;

class TypedNumber {
public:
    // Three digits reach past any slide; more are not taken.
    static constexpr std::size_t kMaxDigits = 3;

    void Append(int digit);
    void DropLast() {
        if (!digits_.empty()) digits_.pop_back();
    }
    void Clear() { digits_.clear(); }
    bool empty() const { return digits_.empty(); }
    const std::wstring& text() const { return digits_; }
    // The row of the slide the number stands for, among `count` slides.
    int Row(int count) const;

private:
    std::wstring digits_;
};

// The box in the window's top-right corner, around text of textW x textH pixels, with a margin
// of half the text's height inside and out.
SlideRect NumberBoxRect(const SlideRect& window, int textW, int textH);
// The height of the box's digits at 96 dpi; the monitor's DPI scales it (framework/dpi.h).
inline constexpr int kNumberBoxTextPx = 40;
// The height of the box's digits in a window of this height on a monitor of `dpi`: the DPI's size,
// smaller in a window too low for it.
int NumberBoxFontHeight(int windowH, int dpi);
