// The view: a child window filling the frame, painted through OnDraw, and the entry to
// printing and print preview, with the record the two share about each job.
#pragma once
#include "framework/wnd.h"

class CDocument;
class CFrameWnd;

// What the print loop and the view tell each other about one print job or preview.
struct CPrintInfo {
    UINT m_nMinPage = 1;
    UINT m_nMaxPage = 0xFFFF;     // 0xFFFF: the view did not say how many pages there are
    UINT m_nCurPage = 1;          // the page the loop asks the view to print now
    UINT m_nFromPage = 1;         // the range the user chose in the print dialog
    UINT m_nToPage = 0xFFFF;
    BOOL m_bContinuePrinting = TRUE;  // the view clears it when a page had nothing to print
    BOOL m_bPreview = FALSE;      // pages go to the preview window, not to a printer
    BOOL m_bDirect = FALSE;       // no dialog: the printer chosen last, else the default one
    HDC m_hPrinterDC = nullptr;   // made by DoPreparePrinting, taken over by the print loop or preview
    CString m_strDeviceName;      // the printer's name, for the progress window

    void SetMinPage(UINT n) { m_nMinPage = n; m_nFromPage = n; }
    void SetMaxPage(UINT n) { m_nMaxPage = n; m_nToPage = n; }
    UINT GetMinPage() const { return m_nMinPage; }
    UINT GetMaxPage() const { return m_nMaxPage; }
    UINT GetFromPage() const { return m_nFromPage; }
    UINT GetToPage() const { return m_nToPage; }
};

class CView : public CWnd {
public:
    CView() = default;

    bool Create(CFrameWnd* parent, CDocument* doc, UINT id);
    CDocument* GetDocument() const { return m_pDocument; }
    CFrameWnd* GetParentFrame() const { return m_pFrame; }

    virtual void OnDraw(CDC* pDC) = 0;
    bool OnCmdMsg(UINT id) override;

    // Printing: the view gives the page count and prints one page at a time.
    virtual BOOL OnPreparePrinting(CPrintInfo* pInfo);
    virtual void OnPrint(CDC* pDC, CPrintInfo* pInfo);
    // The job has ended (printed, cancelled or failed) or the preview has closed: what the view
    // kept for its pages can go. pDC is the printer's DC, or null for a preview.
    virtual void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo);
    // Shows the print dialog (or takes the default printer) and makes the printer DC.
    BOOL DoPreparePrinting(CPrintInfo* pInfo);
    void OnFilePrint(bool direct = false);
    void OnFilePrintPreview();

protected:
    void OnPaint() override;
    void OnNcDestroy() override;

private:
    CDocument* m_pDocument = nullptr;
    CFrameWnd* m_pFrame = nullptr;
    bool m_bAutoDelete = false;
};
