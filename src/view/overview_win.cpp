// The overview: every slide as a thumbnail in the grid of the overview layout, its number under
// it (off the slide's title), the chosen one framed with its number. A thumbnail of the current
// size is copied as it is; one of an older size is stretched (quickly: it is about to be made
// again); one not made yet is a plain tile.
#include <cwchar>

#include "framework/gdi.h"
#include "pictures/halftone_blit.h"
#include "view/overlay_drawing_win.h"
#include "view/overview_layout.h"

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

void DrawOverview(HDC dc, const SlideRect& window, int count, int framed, const ThumbnailOf& thumbnail, int dpi) {
    const OverviewLayout layout = LayOutOverview(window.Width(), window.Height(), count, dpi);
    const fw::Brush ground(::CreateSolidBrush(kOverviewGround));
    Fill(dc, window, ground.get());
    if (layout.count == 0) return;

    const fw::Brush pending(::CreateSolidBrush(kThumbnailPending));
    const fw::Brush frame(::CreateSolidBrush(kOverviewFrame));
    const fw::Font font(::CreateFontW(layout.labelText, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET,
                                      OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                                      DEFAULT_PITCH | FF_SWISS, L"Tahoma"));
    const fw::ScopedTextState text(dc, font.get(), kOverlayText, TA_LEFT | TA_TOP, TRANSPARENT);

    const auto onWindow = [&](SlideRect r) {
        r.left += window.left, r.right += window.left, r.top += window.top, r.bottom += window.top;
        return r;
    };
    for (int i = 0; i < layout.count; ++i) {
        const SlideRect tile = onWindow(layout.Tile(i));
        if (i == framed) {
            const SlideRect cell = onWindow(layout.Cell(i));
            const int f = layout.frame;
            Fill(dc, {cell.left - f, cell.top - f, cell.right + f, cell.bottom + f}, frame.get());
        }
        const auto pixels = thumbnail ? thumbnail(i) : nullptr;
        if (pixels && pixels->width() == tile.Width() && pixels->height() == tile.Height()) {
            fw::BlitPixels(dc, tile.left, tile.top, pixels->view());
        } else if (pixels) {
            Stretch(dc, tile, *pixels);
        } else {
            Fill(dc, tile, pending.get());
        }
        // The slide's number, as the speaker types it for a jump, under its thumbnail; dark on the
        // frame's colour for the chosen one.
        const SlideRect label = onWindow(layout.Label(i));
        wchar_t number[8];
        const int len = std::swprintf(number, 8, L"%d", i + 1);
        RECT textRc{label.left, label.top, label.right, label.bottom};
        ::SetTextColor(dc, i == framed ? kOverviewGround : kOverlayText);
        ::DrawTextW(dc, number, len, &textRc, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP);
    }
}
