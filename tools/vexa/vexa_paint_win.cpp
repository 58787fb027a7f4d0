#include "vexa_paint_win.h"

#include "vexa_file_view_win.h"
#include "vexa_gdi_win.h"
#include "vexa_simulator_state.h"
#include "vexa_waveform_win.h"

#include <algorithm>

namespace vexa {
namespace {

constexpr int kStatusHeight = 24;
constexpr COLORREF kStatusFace = RGB(226, 230, 236);
constexpr COLORREF kStatusText = RGB(30, 34, 42);
constexpr COLORREF kDivider = RGB(150, 156, 166);

void DrawStatusLine(HDC dc, const RECT& area, const SimulatorState& state) {
    FillSolid(dc, area, kStatusFace);
    FillSolid(dc, RECT{area.left, area.top, area.right, area.top + 1}, kDivider);
    fw::Font font = MakeFont(13, false);
    fw::ScopedSelect useFont(dc, font.get());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, kStatusText);
    DrawTextAt(dc, area.left + 8, area.top + (kStatusHeight - 14) / 2, state.status);
}

}  // namespace

SimulatorLayout LayoutFor(const RECT& client) {
    SimulatorLayout layout{};
    const int statusTop = std::max<int>(client.top, client.bottom - kStatusHeight);
    const int split = client.top + (statusTop - client.top) * 45 / 100;
    layout.fileView = RECT{client.left, client.top, client.right, split};
    layout.waveform = RECT{client.left, split, client.right, statusTop};
    layout.statusLine = RECT{client.left, statusTop, client.right, client.bottom};
    return layout;
}

void PaintSimulator(HWND hwnd, const SimulatorState& state) {
    PaintDc paint(hwnd);
    RECT client{};
    ::GetClientRect(hwnd, &client);
    const int width = client.right - client.left, height = client.bottom - client.top;
    if (width <= 0 || height <= 0 || !paint.get()) return;

    fw::MemoryDc memory(::CreateCompatibleDC(paint.get()));
    fw::Bitmap surface(::CreateCompatibleBitmap(paint.get(), width, height));
    if (!memory || !surface) return;
    fw::ScopedSelect useSurface(memory.get(), surface.get());

    const SimulatorLayout layout = LayoutFor(client);
    DrawFileView(memory.get(), layout.fileView, state);
    DrawWaveform(memory.get(), layout.waveform, state.waveform ? &*state.waveform : nullptr);
    DrawStatusLine(memory.get(), layout.statusLine, state);

    ::BitBlt(paint.get(), 0, 0, width, height, memory.get(), 0, 0, SRCCOPY);
}

}  // namespace vexa
