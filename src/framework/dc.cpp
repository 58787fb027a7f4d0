#include "framework/dc.h"

CDC::~CDC() {
    if (m_hDC) ::DeleteDC(m_hDC);
}

HDC CDC::Detach() {
    HDC hdc = m_hDC;
    m_hDC = m_hAttribDC = nullptr;
    return hdc;
}

void CDC::FillSolidRect(const RECT& rc, COLORREF color) {
    // ExtTextOut with an opaque rectangle fills without a brush object.
    const COLORREF old = ::SetBkColor(m_hDC, color);
    ::ExtTextOutW(m_hDC, 0, 0, ETO_OPAQUE, &rc, nullptr, 0, nullptr);
    ::SetBkColor(m_hDC, old);
}

CPaintDC::CPaintDC(HWND hwnd) : m_hWndPaint(hwnd) { Attach(::BeginPaint(hwnd, &m_ps)); }

CPaintDC::~CPaintDC() {
    Detach();
    ::EndPaint(m_hWndPaint, &m_ps);
}
