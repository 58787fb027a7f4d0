// RAII for GDI objects, device contexts, selections and other handles.
// Owned kinds free what they hold; borrowed handles stay plain HDC/HWND.
#pragma once
#include <windows.h>
#include <utility>

namespace fw {

// A move-only owner of one handle, freed by Traits::Free.
template <class H, class Traits>
class Unique {
public:
    Unique() = default;
    explicit Unique(H h) : h_(h) {}
    Unique(Unique&& o) noexcept : h_(std::exchange(o.h_, H{})) {}
    Unique& operator=(Unique&& o) noexcept {
        if (this != &o) reset(std::exchange(o.h_, H{}));
        return *this;
    }
    Unique(const Unique&) = delete;
    Unique& operator=(const Unique&) = delete;
    ~Unique() { reset(); }

    H get() const { return h_; }
    explicit operator bool() const { return h_ != H{}; }
    H release() { return std::exchange(h_, H{}); }
    void reset(H h = H{}) {
        if (h_ != H{}) Traits::Free(h_);
        h_ = h;
    }

private:
    H h_{};
};

struct GdiObjectTraits { static void Free(HGDIOBJ h) { ::DeleteObject(h); } };
struct DcTraits { static void Free(HDC h) { ::DeleteDC(h); } };
struct RegKeyTraits { static void Free(HKEY h) { ::RegCloseKey(h); } };
struct KernelHandleTraits { static void Free(HANDLE h) { ::CloseHandle(h); } };
struct AtomTraits { static void Free(ATOM a) { ::GlobalDeleteAtom(a); } };

using Bitmap = Unique<HBITMAP, GdiObjectTraits>;
using Font = Unique<HFONT, GdiObjectTraits>;
using Pen = Unique<HPEN, GdiObjectTraits>;
using Brush = Unique<HBRUSH, GdiObjectTraits>;
using Region = Unique<HRGN, GdiObjectTraits>;
// Both go with DeleteDC; the names say where the DC came from.
using MemoryDc = Unique<HDC, DcTraits>;   // from CreateCompatibleDC
using PrinterDc = Unique<HDC, DcTraits>;  // from CreateDC for a printer, or the print dialog
using RegKey = Unique<HKEY, RegKeyTraits>;
using KernelHandle = Unique<HANDLE, KernelHandleTraits>;
using GlobalAtom = Unique<ATOM, AtomTraits>;

// The header of a 32-bit top-down DIB of w x h pixels, as every pixel copy here uses.
inline BITMAPINFO TopDown32Info(int w, int h) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    return bi;
}

// A window's DC, taken with GetDC and given back with ReleaseDC.
class WindowDc {
public:
    explicit WindowDc(HWND hwnd) : hwnd_(hwnd), hdc_(::GetDC(hwnd)) {}
    ~WindowDc() { if (hdc_) ::ReleaseDC(hwnd_, hdc_); }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return hdc_; }
    explicit operator bool() const { return hdc_ != nullptr; }

private:
    HWND hwnd_;
    HDC hdc_;
};

// Selects an object into a DC for the lifetime of the scope.
class ScopedSelect {
public:
    ScopedSelect(HDC hdc, HGDIOBJ obj) : hdc_(hdc), old_(obj ? ::SelectObject(hdc, obj) : nullptr) {}
    ~ScopedSelect() { if (old_) ::SelectObject(hdc_, old_); }
    ScopedSelect(const ScopedSelect&) = delete;
    ScopedSelect& operator=(const ScopedSelect&) = delete;

private:
    HDC hdc_;
    HGDIOBJ old_;
};

// A DC's text state for one piece of text: font, colour, alignment and, unless 0 is given, the
// background mode; all of it comes back at scope end, the font deselected before it is deleted.
class ScopedTextState {
public:
    ScopedTextState(HDC hdc, HFONT font, COLORREF colour, UINT align, int bkMode = 0)
        : hdc_(hdc),
          oldFont_(font ? ::SelectObject(hdc, font) : nullptr),
          oldColour_(::SetTextColor(hdc, colour)),
          oldAlign_(::SetTextAlign(hdc, align)),
          oldBkMode_(bkMode ? ::SetBkMode(hdc, bkMode) : 0) {}
    ~ScopedTextState() {
        if (oldBkMode_) ::SetBkMode(hdc_, oldBkMode_);
        ::SetTextAlign(hdc_, oldAlign_);
        ::SetTextColor(hdc_, oldColour_);
        if (oldFont_) ::SelectObject(hdc_, oldFont_);
    }
    ScopedTextState(const ScopedTextState&) = delete;
    ScopedTextState& operator=(const ScopedTextState&) = delete;

private:
    HDC hdc_;
    HGDIOBJ oldFont_;
    COLORREF oldColour_;
    UINT oldAlign_;
    int oldBkMode_;
};

// HALFTONE stretching needs the brush origin reset; both come back at scope end.
class ScopedStretchMode {
public:
    ScopedStretchMode(HDC hdc, int mode) : hdc_(hdc), oldMode_(::SetStretchBltMode(hdc, mode)) {
        ::SetBrushOrgEx(hdc, 0, 0, &oldOrg_);
    }
    ~ScopedStretchMode() {
        if (oldMode_) ::SetStretchBltMode(hdc_, oldMode_);
        ::SetBrushOrgEx(hdc_, oldOrg_.x, oldOrg_.y, nullptr);
    }
    ScopedStretchMode(const ScopedStretchMode&) = delete;
    ScopedStretchMode& operator=(const ScopedStretchMode&) = delete;

private:
    HDC hdc_;
    int oldMode_;
    POINT oldOrg_{};
};

}  // namespace fw
