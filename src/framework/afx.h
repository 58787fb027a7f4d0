// The small value types and command ids the application layer shares.
#pragma once
#include <windows.h>
#include <string>

using CString = std::wstring;

struct CPoint : POINT {
    CPoint() : POINT{0, 0} {}
    CPoint(int px, int py) : POINT{px, py} {}
};

struct CRect : RECT {
    CRect() : RECT{0, 0, 0, 0} {}
    CRect(int l, int t, int r, int b) : RECT{l, t, r, b} {}
    CRect(const RECT& r) : RECT(r) {}  // NOLINT: implicit by design, as RECT and CRect mix freely
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const CRect& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
};

// Framework command ids.
inline constexpr UINT ID_FILE_PRINT = 57607;
inline constexpr UINT ID_FILE_PRINT_DIRECT = 57608;
inline constexpr UINT ID_FILE_PRINT_PREVIEW = 57609;
inline constexpr UINT ID_APP_EXIT = 57665;
inline constexpr UINT AFX_IDS_APP_TITLE = 57344;

// Frame style bit: the framework puts the document title into the caption.
inline constexpr DWORD FWS_ADDTOTITLE = 0x00008000L;
