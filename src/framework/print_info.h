// What the print loop and the view tell each other about one print job.
#pragma once
#include "framework/afx.h"

struct CPrintInfo {
    UINT m_nMinPage = 1;
    UINT m_nMaxPage = 0xFFFF;
    UINT m_nCurPage = 1;
    UINT m_nFromPage = 1;
    UINT m_nToPage = 0xFFFF;
    BOOL m_bContinuePrinting = TRUE;
    BOOL m_bPreview = FALSE;
    BOOL m_bDirect = FALSE;   // no dialog: the default printer
    HDC m_hPrinterDC = nullptr;  // owned by the print loop
    CString m_strDeviceName;

    void SetMaxPage(UINT n) { m_nMaxPage = n; m_nToPage = n; }
    UINT GetMaxPage() const { return m_nMaxPage; }
};
