// The overview: every slide as a thumbnail in the grid of the overview layout, numbered, the
// chosen one framed. A thumbnail of the current size is copied as it is; one of an older size is
// stretched (quickly: it is about to be made again); one not made yet is a numbered frame.
#include <algorithm>
#include <cwchar>

#include "framework/gdi.h"
#include "framework/halftone_blit.h"
#include "view/overlay_drawing_win.h"
#include "view/overview_layout.h"
#include "view/thumbnails.h"

namespace {

void Fill(HDC dc, const SlideRect& r, HBRUSH brush) {
    const RECT rc{r.left, r.top, r.right, r.bottom};
    ::FillRect(dc, &rc, brush);
}

void Stretch(HDC dc, const SlideRect& tile, const fw::PixelBuffer& pixels) {
    const BITMAPINFO bi = fw::TopDown32Info(pixels.width(), pixels.height());
    const int old = ::SetStretchBltMode(dc, COLORONCOLOR);
    ::StretchDIBits(dc, tile.left, tile.top, tile.Width(), tile.Height(), 0, 0, pixels.width(), pixels.height(),
                    pixels.data(), &bi, DIB_RGB_COLORS, SRCCOPY);
    ::SetStretchBltMode(dc, old);
}

}  // namespace

void DrawOverview(HDC dc, const SlideRect& window, int count, int framed, const Thumbnails* thumbnails) {
    const OverviewLayout layout = LayOutOverview(window.Width(), window.Height(), count);
    const fw::Brush ground(::CreateSolidBrush(kOverviewGround));
    Fill(dc, window, ground.get());
    if (layout.count == 0) return;

    const fw::Brush pending(::CreateSolidBrush(kThumbnailPending));
    const fw::Brush frame(::CreateSolidBrush(kOverviewFrame));
    const fw::Brush label(::CreateSolidBrush(kOverlayGround));
    const int labelH = std::max(8, layout.tileH / 5);
    const fw::Font font(::CreateFontW(labelH * 4 / 5, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET,
                                      OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                                      DEFAULT_PITCH | FF_SWISS, L"Tahoma"));
    const fw::ScopedTextState text(dc, font.get(), kOverlayText, TA_LEFT | TA_TOP, TRANSPARENT);

    for (int i = 0; i < layout.count; ++i) {
        SlideRect tile = layout.Tile(i);
        tile.left += window.left, tile.right += window.left, tile.top += window.top, tile.bottom += window.top;
        if (i == framed) {
            const int f = layout.frame;
            Fill(dc, {tile.left - f, tile.top - f, tile.right + f, tile.bottom + f}, frame.get());
        }
        const auto pixels = thumbnails ? thumbnails->Get(i) : nullptr;
        if (pixels && pixels->width() == tile.Width() && pixels->height() == tile.Height()) {
            fw::BlitPixels(dc, tile.left, tile.top, pixels->view());
        } else if (pixels) {
            Stretch(dc, tile, *pixels);
        } else {
            Fill(dc, tile, pending.get());
        }
        // The slide's number, as the speaker types it for a jump.
        wchar_t number[8];
        const int len = std::swprintf(number, 8, L"%d", i + 1);
        SIZE size{};
        ::GetTextExtentPoint32W(dc, number, len, &size);
        const int pad = std::max(2, labelH / 6);
        const SlideRect box{tile.left, tile.top, std::min(tile.right, tile.left + static_cast<int>(size.cx) + 2 * pad),
                            std::min(tile.bottom, tile.top + labelH)};
        Fill(dc, box, label.get());
        RECT textRc{box.left, box.top, box.right, box.bottom};
        ::DrawTextW(dc, number, len, &textRc, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP);
    }
}
