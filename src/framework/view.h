// The view: a child window filling the frame, painted through OnDraw,
// and the entry to printing and print preview.
#pragma once
#include "framework/print_info.h"
#include "framework/wnd.h"

class CDocument;
class CFrameWnd;

class CView : public CWnd {
public:
    CView() = default;
    ~CView() override;

    bool Create(CFrameWnd* parent, CDocument* doc, UINT id);
    CDocument* GetDocument() const { return m_pDocument; }
    CFrameWnd* GetParentFrame() const { return m_pFrame; }

    virtual void OnDraw(CDC* pDC) = 0;
    bool OnCmdMsg(UINT id) override;

    // Printing: the view gives the page count and prints one page at a time.
    virtual BOOL OnPreparePrinting(CPrintInfo* pInfo);
    virtual void OnPrint(CDC* pDC, CPrintInfo* pInfo);
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
