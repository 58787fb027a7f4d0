// Drawing helpers shared by the simulator's panels, on top of the framework's GDI owners.
#pragma once
#include "framework/gdi.h"

#include <string_view>

namespace vexa {

// BeginPaint/EndPaint for the scope of one WM_PAINT.
class PaintDc {
public:
    explicit PaintDc(HWND hwnd) : hwnd_(hwnd), hdc_(::BeginPaint(hwnd, &ps_)) {}
    ~PaintDc() { ::EndPaint(hwnd_, &ps_); }
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;
    HDC get() const { return hdc_; }

private:
    HWND hwnd_;
    PAINTSTRUCT ps_{};
    HDC hdc_;
};

// A font of the given pixel height; `monospace` asks for a fixed-pitch face.
inline fw::Font MakeFont(int pixelHeight, bool monospace, int weight = FW_NORMAL) {
    return fw::Font(::CreateFontW(-pixelHeight, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                  OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                                  monospace ? (FIXED_PITCH | FF_MODERN) : (VARIABLE_PITCH | FF_SWISS),
                                  monospace ? L"Courier New" : L"Tahoma"));
}

inline void FillSolid(HDC dc, const RECT& rc, COLORREF color) {
    fw::Brush brush(::CreateSolidBrush(color));
    ::FillRect(dc, &rc, brush.get());
}

inline void DrawTextAt(HDC dc, int x, int y, std::wstring_view text) {
    ::ExtTextOutW(dc, x, y, 0, nullptr, text.data(), static_cast<UINT>(text.size()), nullptr);
}

inline int TextWidth(HDC dc, std::wstring_view text) {
    SIZE size{};
    ::GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &size);
    return size.cx;
}

}  // namespace vexa
