#include "framework/print_preview.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "framework/dpi.h"
#include "framework/frame.h"
#include "framework/gdi.h"
#include "framework/print_progress.h"
#include "framework/view.h"
#include "framework/window_dpi.h"

namespace {

constexpr UINT kPageAreaId = 0xE900;
constexpr UINT kStatusId = 0xE30F;

struct BarButton {
    UINT id;
    const wchar_t* text;
};
// Left to right, as the bar shows them; the page switch carries "&Two Page" or "&One Page".
constexpr BarButton kBarButtons[] = {
    {AFX_ID_PREVIEW_PRINT, L"&Print..."},   {AFX_ID_PREVIEW_NEXT, L"&Next Page"},
    {AFX_ID_PREVIEW_PREV, L"Pre&v Page"},   {AFX_ID_PREVIEW_NUMPAGE, L"&Two Page"},
    {AFX_ID_PREVIEW_ZOOMIN, L"Zoom &In"},   {AFX_ID_PREVIEW_ZOOMOUT, L"Zoom &Out"},
    {AFX_ID_PREVIEW_CLOSE, L"&Close"},
};
constexpr wchar_t kOnePage[] = L"&One Page";
constexpr wchar_t kTwoPage[] = L"&Two Page";

// The message font's height at 96 dpi, where the system cannot say it for a DPI.
constexpr int kBarTextPx = 12;

// The bar's font: the system's message font for the preview's DPI, so that its texts are as
// large to the eye on every monitor.
fw::Font BarFontFor(int dpi) {
    using ParametersForDpi = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
    static const auto forDpi = reinterpret_cast<ParametersForDpi>(reinterpret_cast<void (*)()>(
        ::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "SystemParametersInfoForDpi")));
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (forDpi && forDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, static_cast<UINT>(dpi)))
        return fw::Font(::CreateFontIndirectW(&metrics.lfMessageFont));
    LOGFONTW font{};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(font), &font);
    font.lfHeight = -AtDpi(kBarTextPx, dpi);
    font.lfWidth = 0;
    return fw::Font(::CreateFontIndirectW(&font));
}

// A preview is closed from its own button and key handlers, and the window kernel still uses
// the object when such a handler returns: window and object go a moment later, from the
// message loop (a thread timer), when none of their handlers is running.
class PendingDestruction {
public:
    ~PendingDestruction() {
        for (CPrintPreviewWnd* preview : doomed_) delete preview;  // the program ended first
    }
    void Add(CPrintPreviewWnd* preview) {
        if (std::find(doomed_.begin(), doomed_.end(), preview) != doomed_.end()) return;
        doomed_.push_back(preview);
        if (!timer_) timer_ = ::SetTimer(nullptr, 0, 0, &Sweep);
    }

private:
    static void CALLBACK Sweep(HWND, UINT, UINT_PTR id, DWORD);
    std::vector<CPrintPreviewWnd*> doomed_;
    UINT_PTR timer_ = 0;
};

PendingDestruction& Pending() {
    static PendingDestruction pending;
    return pending;
}

void CALLBACK PendingDestruction::Sweep(HWND, UINT, UINT_PTR id, DWORD) {
    ::KillTimer(nullptr, id);
    PendingDestruction& self = Pending();
    self.timer_ = 0;
    std::vector<CPrintPreviewWnd*> doomed;
    doomed.swap(self.doomed_);
    for (CPrintPreviewWnd* preview : doomed) {
        if (preview->m_hWnd) ::DestroyWindow(preview->m_hWnd);
        delete preview;
    }
}

int TextWidth(HDC dc, const wchar_t* text) {
    std::wstring shown;
    for (const wchar_t* p = text; *p; ++p) {
        if (*p != L'&') shown += *p;
    }
    SIZE size{};
    ::GetTextExtentPoint32W(dc, shown.c_str(), static_cast<int>(shown.size()), &size);
    return size.cx;
}

}  // namespace

CPrintPreviewWnd::CPrintPreviewWnd(CFrameWnd* frame, CView* view, std::unique_ptr<CPrintInfo> info,
                                   const PaperMetrics& paper)
    : m_pFrame(frame), m_pView(view), m_pInfo(std::move(info)), m_paper(paper), m_area(*this) {
    m_nCurrentPage = m_pInfo->GetMinPage();
}

CPrintPreviewWnd* CPrintPreviewWnd::Open(CFrameWnd* frame, CView* view, std::unique_ptr<CPrintInfo> info) {
    if (!info) return nullptr;
    // The printer lends the preview its page size, and nothing more; its DC is released on
    // every way out.
    const fw::PrinterDc printer(std::exchange(info->m_hPrinterDC, nullptr));
    if (!frame || !frame->m_hWnd || !view || !view->m_hWnd) return nullptr;
    const PaperMetrics paper = PaperOf(printer.get());
    info->m_bPreview = TRUE;
    auto* preview = new CPrintPreviewWnd(frame, view, std::move(info), paper);
    RECT client{};
    frame->GetClientRect(&client);
    const wchar_t* cls = AfxRegisterWndClass(0, ::LoadCursorW(nullptr, IDC_ARROW),
                                             reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)));
    if (!preview->CreateEx(WS_EX_CONTROLPARENT, cls, L"Print Preview",
                           WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0, client.right, client.bottom,
                           frame->m_hWnd, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(0xE901)))) {
        delete preview;  // the window never lived, so nothing else refers to the object
        return nullptr;
    }
    preview->m_bCreated = true;
    frame->SetPreviewWindow(preview);
    view->ShowWindow(SW_HIDE);
    ::SetWindowPos(preview->m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    frame->RecalcLayout();
    ::SetFocus(preview->m_area.m_hWnd);
    return preview;
}

int CPrintPreviewWnd::OnCreate(CREATESTRUCTW*) {
    const HINSTANCE module = ::GetModuleHandleW(nullptr);
    for (const BarButton& b : kBarButtons) {
        HWND button = ::CreateWindowExW(0, L"BUTTON", b.text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0,
                                        0, 0, 0, m_hWnd, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(b.id)), module,
                                        nullptr);
        if (!button) return -1;
    }
    ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, 0, 0, 0, m_hWnd,
                      reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kStatusId)), module, nullptr);
    FollowDpi();
    if (!m_area.Create(m_hWnd, kPageAreaId)) return -1;
    UpdateBar();
    return 0;
}

void CPrintPreviewWnd::FollowDpi() {
    const int dpi = fw::WindowDpi(m_hWnd);
    if (m_barFont && dpi == m_nBarDpi) return;
    fw::Font font = BarFontFor(dpi);
    if (!font) return;
    for (const BarButton& b : kBarButtons)
        ::SendMessageW(Button(b.id), WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
    ::SendMessageW(::GetDlgItem(m_hWnd, kStatusId), WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
    // The controls hold the old font until now: it goes only after they took the new one.
    m_barFont = std::move(font);
    m_nBarDpi = dpi;
}

void CPrintPreviewWnd::LayOutBar(int width) {
    FollowDpi();
    const fw::WindowDc window(m_hWnd);
    const HDC dc = window.get();
    const fw::ScopedSelect font(dc, m_barFont.get());
    TEXTMETRICW tm{};
    ::GetTextMetricsW(dc, &tm);
    const int buttonHeight = tm.tmHeight + 10;
    m_nBarHeight = buttonHeight + 8;
    int x = 6;
    for (const BarButton& b : kBarButtons) {
        int textWidth = TextWidth(dc, b.text);
        if (b.id == AFX_ID_PREVIEW_NUMPAGE) textWidth = std::max(TextWidth(dc, kOnePage), TextWidth(dc, kTwoPage));
        const int w = std::max(textWidth + 20, 64);
        ::MoveWindow(Button(b.id), x, 4, w, buttonHeight, TRUE);
        x += w + 4;
    }
    ::MoveWindow(::GetDlgItem(m_hWnd, kStatusId), x + 12, 4 + (buttonHeight - tm.tmHeight) / 2,
                 std::max(width - x - 18, 0), tm.tmHeight, TRUE);
}

void CPrintPreviewWnd::OnSize(UINT, int cx, int cy) {
    LayOutBar(cx);
    if (m_area.m_hWnd) ::MoveWindow(m_area.m_hWnd, 0, m_nBarHeight, cx, std::max(cy - m_nBarHeight, 0), TRUE);
}

void CPrintPreviewWnd::OnSetFocus(HWND) {
    if (m_area.m_hWnd) ::SetFocus(m_area.m_hWnd);
}

UINT CPrintPreviewWnd::LastPage() const {
    // Without a page count the preview shows the first page only.
    const UINT last = m_pInfo->GetMaxPage() == 0xFFFF ? m_pInfo->GetMinPage() : m_pInfo->GetMaxPage();
    return std::max(last, m_pInfo->GetMinPage());
}

int CPrintPreviewWnd::PagesShown() const {
    if (m_nZoom != 0 || LastPage() == m_pInfo->GetMinPage()) return 1;
    return m_nPages;
}

void CPrintPreviewWnd::SetPage(UINT page) {
    const UINT first = m_pInfo->GetMinPage();
    UINT last = LastPage();
    if (PagesShown() == 2) last = std::max(first, last - 1);  // the last two pages side by side
    m_nCurrentPage = std::clamp(page, first, last);
    m_area.Refresh(true);
    UpdateBar();
}

void CPrintPreviewWnd::SetZoom(int zoom) {
    m_nZoom = std::clamp(zoom, 0, kPreviewZoomSteps - 1);
    SetPage(m_nCurrentPage);
}

void CPrintPreviewWnd::NextPage() {
    if (m_nCurrentPage + PagesShown() - 1 < LastPage()) SetPage(m_nCurrentPage + 1);
}

void CPrintPreviewWnd::PrevPage() {
    if (m_nCurrentPage > m_pInfo->GetMinPage()) SetPage(m_nCurrentPage - 1);
}

void CPrintPreviewWnd::TogglePageCount() {
    m_nPages = m_nPages == 1 ? 2 : 1;
    SetPage(m_nCurrentPage);
}

void CPrintPreviewWnd::ZoomIn() {
    if (m_nZoom < kPreviewZoomSteps - 1) SetZoom(m_nZoom + 1);
}

void CPrintPreviewWnd::ZoomOut() {
    if (m_nZoom > 0) SetZoom(m_nZoom - 1);
}

void CPrintPreviewWnd::UpdateBar() {
    if (!m_hWnd) return;
    const UINT last = LastPage();
    const bool several = last > m_pInfo->GetMinPage();
    const struct {
        UINT id;
        bool enabled;
    } states[] = {
        {AFX_ID_PREVIEW_NEXT, m_nCurrentPage + PagesShown() - 1 < last},
        {AFX_ID_PREVIEW_PREV, m_nCurrentPage > m_pInfo->GetMinPage()},
        {AFX_ID_PREVIEW_NUMPAGE, several && m_nZoom == 0},
        {AFX_ID_PREVIEW_ZOOMIN, m_nZoom < kPreviewZoomSteps - 1},
        {AFX_ID_PREVIEW_ZOOMOUT, m_nZoom > 0},
    };
    const HWND focus = ::GetFocus();
    for (const auto& s : states) {
        HWND button = Button(s.id);
        if (!s.enabled && focus == button) ::SetFocus(m_area.m_hWnd);  // a disabled button keeps no focus
        ::EnableWindow(button, s.enabled ? TRUE : FALSE);
    }
    ::SetWindowTextW(Button(AFX_ID_PREVIEW_NUMPAGE), m_nPages == 1 ? kTwoPage : kOnePage);

    std::wstring status = L"Page " + std::to_wstring(m_nCurrentPage);
    if (PagesShown() == 2) status = L"Pages " + std::to_wstring(m_nCurrentPage) + L"-" +
                                    std::to_wstring(m_nCurrentPage + 1);
    status += L" of " + std::to_wstring(last);
    ::SetWindowTextW(::GetDlgItem(m_hWnd, kStatusId), status.c_str());
}

void CPrintPreviewWnd::Close() {
    if (m_bClosing) return;
    m_bClosing = true;
    if (m_pFrame->GetPreviewWindow() == this) m_pFrame->SetPreviewWindow(nullptr);
    ShowWindow(SW_HIDE);
    if (m_pView && m_pView->m_hWnd) {
        m_pView->ShowWindow(SW_SHOW);
        m_pFrame->RecalcLayout();
        ::SetFocus(m_pView->m_hWnd);
        m_pView->InvalidateRect(nullptr, FALSE);
    }
    if (m_pView) m_pView->OnEndPrinting(nullptr, m_pInfo.get());
    Pending().Add(this);
}

void CPrintPreviewWnd::Print() {
    CFrameWnd* frame = m_pFrame;
    Close();
    // Posted, so that the print dialog comes up over the view rather than from inside a
    // handler of the closing preview.
    if (frame && frame->m_hWnd) ::PostMessageW(frame->m_hWnd, WM_COMMAND, MAKEWPARAM(ID_FILE_PRINT, 0), 0);
}

bool CPrintPreviewWnd::OnCmdMsg(UINT id) {
    if (m_bClosing) return false;
    switch (id) {
    case ID_FILE_PRINT: Print(); return true;
    case ID_FILE_PRINT_PREVIEW: return true;  // it is showing already
    default: return false;
    }
}

void CPrintPreviewWnd::OnCommand(UINT id) {
    if (m_bClosing) return;
    switch (id) {
    case AFX_ID_PREVIEW_PRINT: Print(); return;
    case AFX_ID_PREVIEW_CLOSE:
    case IDCANCEL: Close(); return;
    case AFX_ID_PREVIEW_NEXT: NextPage(); break;
    case AFX_ID_PREVIEW_PREV: PrevPage(); break;
    case AFX_ID_PREVIEW_NUMPAGE: TogglePageCount(); break;
    case AFX_ID_PREVIEW_ZOOMIN: ZoomIn(); break;
    case AFX_ID_PREVIEW_ZOOMOUT: ZoomOut(); break;
    default: return;
    }
    // Page keys keep working after a click on the bar.
    ::SetFocus(m_area.m_hWnd);
}

bool CPrintPreviewWnd::HandleKey(UINT key) {
    switch (key) {
    case VK_NEXT: NextPage(); return true;
    case VK_PRIOR: PrevPage(); return true;
    case VK_HOME: SetPage(m_pInfo->GetMinPage()); return true;
    case VK_END: SetPage(LastPage()); return true;
    case VK_ESCAPE: Close(); return true;
    default: return false;
    }
}

BOOL CPrintPreviewWnd::PreTranslateMessage(MSG* pMsg) {
    if (m_bClosing || !m_hWnd || !::IsWindowVisible(m_hWnd)) return FALSE;
    if (pMsg->message < WM_KEYFIRST || pMsg->message > WM_KEYLAST) return FALSE;
    if (pMsg->hwnd != m_hWnd && !::IsChild(m_hWnd, pMsg->hwnd)) return FALSE;
    if (pMsg->message == WM_KEYDOWN && HandleKey(static_cast<UINT>(pMsg->wParam))) return TRUE;
    // Tab between the buttons and their mnemonics, as in a dialog.
    return ::IsDialogMessageW(m_hWnd, pMsg);
}

void CPrintPreviewWnd::OnNcDestroy() {
    // Closed previews are in the pending list already; one that goes with the frame joins it.
    if (!m_bCreated || m_bClosing) return;
    m_bClosing = true;
    if (m_pFrame && m_pFrame->GetPreviewWindow() == this) m_pFrame->SetPreviewWindow(nullptr);
    Pending().Add(this);
}

void CView::OnFilePrintPreview() {
    CFrameWnd* frame = GetParentFrame();
    if (!frame || frame->GetPreviewWindow() || CPrintProgress::Running()) return;
    auto info = std::make_unique<CPrintInfo>();
    info->m_bPreview = TRUE;
    if (!OnPreparePrinting(info.get())) {
        const fw::PrinterDc unused(std::exchange(info->m_hPrinterDC, nullptr));
        return;
    }
    CPrintPreviewWnd::Open(frame, this, std::move(info));
}
