// What the tests of the speaker's overlays share: the real deck beside the program, keys sent
// with the character the system makes of them, and pixels of the view read back.
#pragma once
#include "interaction_fixture.h"

#include "view/overlay_drawing_win.h"
#include "view/overview_layout.h"
#include "pictures/thumbnails.h"

namespace interaction {

// A key as a keyboard gives it: the key-down, then its character when it has one.
inline void Press(HWND view, UINT vk, wchar_t ch = 0) {
    KeyDown(view, vk);
    if (ch) Char(view, ch);
}
inline void PressEscape(HWND view) { Press(view, VK_ESCAPE, 27); }
inline void TypeDigits(HWND view, const wchar_t* digits) {
    for (const wchar_t* d = digits; *d; ++d) Press(view, static_cast<UINT>(*d), *d);
}

inline void Click(HWND view, int x, int y) {
    const LPARAM at = MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y));
    ::SendMessageW(view, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::SendMessageW(view, WM_LBUTTONUP, 0, at);
}

// How many pixels of the picture have exactly this colour.
inline int CountOf(const testing_win::Pixels& px, COLORREF colour) {
    int n = 0;
    for (int y = 0; y < px.height; ++y)
        for (int x = 0; x < px.width; ++x) n += px.At(x, y) == colour ? 1 : 0;
    return n;
}

inline bool Same(const testing_win::Pixels& a, const testing_win::Pixels& b) {
    return a.width == b.width && a.height == b.height && a.bgra == b.bgra;
}

class SpeakerKeys : public InteractionTest {
protected:
    void SetUp() override {
        InteractionTest::SetUp();
        wcsncpy_s(g_appDir, testing_win::DistDir().c_str(), _TRUNCATE);
    }
    Overlay Shown() const { return view().m_overlay.shown; }
    testing_win::Pixels Screen() {
        Settle();
        return testing_win::ReadWindow(viewHwnd());
    }
    // The centre of hotspot i of the slide on screen, in the view's client coordinates.
    POINT SpotCentre(int row, int i) const {
        const Hotspot& h = g_slideDeck[row].pSpots[i];
        const Square s = HotspotSquare(ToSlideRect(view().m_rcSlide), h.x, h.y);
        return {s.x + s.side / 2, s.y + s.side / 2};
    }
    // A photo of the title slide on screen, by a click on its hotspot.
    void ShowTitlePhoto() {
        g_currentPage = 0;
        Settle();
        ::InvalidateRect(viewHwnd(), nullptr, FALSE);
        Settle();
        const POINT p = SpotCentre(0, 0);
        Click(viewHwnd(), p.x, p.y);
        ASSERT_FALSE(view().m_strPicture.empty());
        Settle();
    }
};

}  // namespace interaction
