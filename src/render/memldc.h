// The off-screen surface of one paint: on screen a memory DC with its own bitmap over the
// target's clip box, composed in full and copied to the window in one block at the end, so
// nobody sees a half-drawn slide; on a printer or preview page, the page itself.
#pragma once
#include "framework/dc.h"
#include "framework/gdi.h"

class CMemLDC : public CDC {
public:
    // With `kept`, a surface over a window takes its bitmap from there when it has the size
    // needed, and leaves its bitmap there at the end: under Wine a fresh 3840 x 2160 bitmap
    // costs some 33 MB of page faults per paint. It is filled all the same.
    explicit CMemLDC(CDC* pTargetDC, fw::Bitmap* kept = nullptr);
    ~CMemLDC() override;
    CMemLDC(const CMemLDC&) = delete;
    CMemLDC& operator=(const CMemLDC&) = delete;

    // False when the memory DC or its bitmap could not be made: the paint is dropped, the
    // window keeps what it showed, and nothing is copied back.
    bool IsReady() const { return m_hDC != nullptr; }

private:
    fw::Bitmap m_bmpSurface;          // the off-screen bitmap; empty when drawing on a page
    fw::Bitmap* m_pKept = nullptr;    // where the bitmap goes at the end, if it is kept
    HGDIOBJ m_pOldBitmap = nullptr;   // what the memory DC held before m_bmpSurface
    CDC* m_pTargetDC;
    RECT m_rcSurface{0, 0, 0, 0};     // the target's clip box, in its logical units
    BOOL m_bOffscreen;
};
