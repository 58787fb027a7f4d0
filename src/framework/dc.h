// Device-context objects. CDC owns its handle and deletes it; the borrowed
// kinds (paint, client, wrapped) give theirs back to whoever lent it.
#pragma once
#include "framework/afx.h"

class CDC {
public:
    CDC() = default;
    virtual ~CDC();
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    HDC m_hDC = nullptr;        // output
    HDC m_hAttribDC = nullptr;  // attribute queries
    BOOL m_bPrinting = FALSE;   // printer or print-preview DC

    void Attach(HDC hdc) { m_hDC = m_hAttribDC = hdc; }
    HDC Detach();

    int GetClipBox(RECT* rc) const { return ::GetClipBox(m_hDC, rc); }
    void FillSolidRect(const RECT& rc, COLORREF color);
    COLORREF GetBkColor() const { return ::GetBkColor(m_hAttribDC); }
};

// A DC someone else owns, seen through the CDC interface for one call.
class CBorrowedDC : public CDC {
public:
    explicit CBorrowedDC(HDC hdc) { Attach(hdc); }
    ~CBorrowedDC() override { Detach(); }
};

// BeginPaint/EndPaint around one WM_PAINT.
class CPaintDC : public CDC {
public:
    explicit CPaintDC(HWND hwnd);
    ~CPaintDC() override;
    PAINTSTRUCT m_ps{};

private:
    HWND m_hWndPaint;
};
