// The print loop and print preview. (Printing arrives with the handout work;
// until then the commands do nothing.)
#include "framework/view.h"

BOOL CView::DoPreparePrinting(CPrintInfo*) { return FALSE; }
void CView::OnFilePrint(bool) {}
void CView::OnFilePrintPreview() {}
