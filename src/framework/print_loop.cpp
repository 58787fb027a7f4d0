// The print loop: one job from the printer DC to its last page, with a progress window
// that can cancel it, and the framework's own words when the printer fails.
#include <algorithm>
#include <utility>

#include "framework/app.h"
#include "framework/dc.h"
#include "framework/doc.h"
#include "framework/frame.h"
#include "framework/print_progress.h"
#include "framework/view.h"

namespace {

constexpr UINT kUnknownPageCount = 0xFFFF;

CString AppTitle() {
    CWinApp* app = AfxGetApp();
    return app ? app->m_strAppName : CString();
}

// The spooler and the progress window show the job under the document's title.
CString JobName(const CView& view) {
    const CDocument* doc = view.GetDocument();
    if (doc && !doc->GetTitle().empty()) return doc->GetTitle();
    const CString app = AppTitle();
    return app.empty() ? CString(L"Document") : app;
}

HWND JobOwner(const CView& view) {
    CWinApp* app = AfxGetApp();
    if (app && app->m_pMainWnd && app->m_pMainWnd->m_hWnd) return app->m_pMainWnd->m_hWnd;
    const CFrameWnd* frame = view.GetParentFrame();
    return frame ? frame->m_hWnd : nullptr;
}

void ReportPrintFailure(HWND owner, const wchar_t* text) { AfxMessageBox(owner, text, MB_OK | MB_ICONEXCLAMATION); }

enum class JobEnd { Printed, Cancelled, NotStarted, Failed };

JobEnd PrintPages(CView& view, CDC& printer, CPrintInfo& info, const CString& jobName, HWND owner) {
    CPrintProgress progress(owner, jobName, info.m_strDeviceName);
    ::SetAbortProc(printer.m_hDC, &CPrintProgress::AbortProc);

    DOCINFOW doc{};
    doc.cbSize = sizeof(doc);
    doc.lpszDocName = jobName.c_str();
    if (::StartDocW(printer.m_hDC, &doc) <= 0) return progress.Cancelled() ? JobEnd::Cancelled : JobEnd::NotStarted;

    const UINT first = std::max(info.GetFromPage(), info.GetMinPage());
    const UINT last = std::min(info.GetToPage(), info.GetMaxPage());
    const bool wholeDocument = first == info.GetMinPage() && last == info.GetMaxPage();
    bool failed = false;
    for (UINT page = first; page <= last; ++page) {
        progress.ShowPage(page, first, last, wholeDocument);
        if (!progress.Pump()) break;
        info.m_nCurPage = page;
        // A view that did not say how many pages it has prints one, unless it asks for more.
        info.m_bContinuePrinting = (info.GetMaxPage() != kUnknownPageCount || page == first) ? TRUE : FALSE;
        if (::StartPage(printer.m_hDC) <= 0) {
            failed = true;
            break;
        }
        view.OnPrint(&printer, &info);
        if (::EndPage(printer.m_hDC) <= 0) {
            failed = true;
            break;
        }
        if (!info.m_bContinuePrinting) break;
    }
    progress.Pump();
    if (progress.Cancelled()) {
        ::AbortDoc(printer.m_hDC);
        return JobEnd::Cancelled;
    }
    if (failed) {
        ::AbortDoc(printer.m_hDC);
        return JobEnd::Failed;
    }
    return ::EndDoc(printer.m_hDC) > 0 ? JobEnd::Printed : JobEnd::Failed;
}

}  // namespace

void CView::OnFilePrint(bool direct) {
    // One job at a time: a print command that arrives while a job runs is dropped.
    if (CPrintProgress::Running()) return;
    CPrintInfo info;
    info.m_bDirect = direct ? TRUE : FALSE;
    const BOOL prepared = OnPreparePrinting(&info);
    CDC printer;  // owns the printer DC from here on, whatever happens
    printer.Attach(std::exchange(info.m_hPrinterDC, nullptr));
    // A cancelled dialog or no printer at all: nothing is printed and nothing is said.
    if (!prepared || !printer.m_hDC) return;
    printer.m_bPrinting = TRUE;

    const CString jobName = JobName(*this);
    const HWND owner = JobOwner(*this);
    // The progress window is gone (and the owner enabled again) before any message box.
    const JobEnd end = PrintPages(*this, printer, info, jobName, owner);
    OnEndPrinting(&printer, &info);
    switch (end) {
    case JobEnd::NotStarted:
        ReportPrintFailure(owner, L"The print job could not be started. Check that the printer is connected "
                                  L"and set up correctly.");
        break;
    case JobEnd::Failed:
        ReportPrintFailure(owner, L"An error occurred while printing. The print job was stopped.");
        break;
    case JobEnd::Printed:
    case JobEnd::Cancelled:
        break;
    }
}
