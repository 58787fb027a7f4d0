// The view's state between messages: construction and the global pointer to it, the hit tests
// on the geometry the paint used, the removal of a hover highlight and the hover timer, picture
// mode, and the view's share of printing (the sheet count and one sheet at a time).
#include "view/view.h"

#include "deck/page_cursor.h"
#include "launch/file_tests.h"
#include "launch/target_names.h"
#include "framework/app.h"
#include "framework/frame.h"
#include "framework/window_dpi.h"
#include "render/geometry.h"
#include "render/picture_rules.h"
#include "pictures/screen_pictures_win.h"
#include "render/slide_renderer_win.h"

CPemboroView* g_pView = nullptr;

CPemboroView::CPemboroView() { g_pView = this; }

// The frame reaches the view through g_pView: a view that goes takes the pointer with it. The
// picture cache's worker and a sheet decoding ahead stop as the members go.
CPemboroView::~CPemboroView() {
    if (g_pView == this) g_pView = nullptr;
}

ShowFrame* CPemboroView::Frame() const { return dynamic_cast<ShowFrame*>(GetParentFrame()); }

Talk& CPemboroView::TheTalk() const {
    if (m_pWatched) return *m_pWatched;
    ShowFrame* frame = Frame();
    return frame ? frame->TheTalk() : m_ownTalk;
}

int CPemboroView::OnCreate(CREATESTRUCTW* cs) {
    if (CView::OnCreate(cs) == -1) return -1;
    m_pWatched = &TheTalk();
    m_pWatched->Watch(this);
    return 0;
}

// The frame and its talk outlive the view's window: the view leaves it before it goes.
void CPemboroView::OnDestroy() {
    if (m_pWatched) m_pWatched->Unwatch(this);
    m_pWatched = nullptr;
    CView::OnDestroy();
}

void CPemboroView::TellTalk() {
    const Blank blank = m_overlay.shown != Overlay::Blank ? Blank::None : m_overlay.white ? Blank::White : Blank::Black;
    // What the view changed it has asked to repaint itself, as it always did: the talk's word on
    // it would only repaint it once more.
    m_bTelling = true;
    // A photo path counts only with the hotspot it came from.
    static const std::wstring none;
    const std::wstring& photo = m_pPictureSpot ? m_strPicture : none;
    TheTalk().SpeakerAt(CurrentSlideIndex(), photo, blank, TalkClockNow());
    m_bTelling = false;
}



int CPemboroView::TextDpi() const { return fw::WindowDpi(m_hWnd); }

const SlidePage& CPemboroView::CurrentSlide() const { return g_slideDeck[CurrentSlideIndex()]; }

const Hotspot* CPemboroView::HotspotAt(CPoint point) const {
    if (!m_strPicture.empty()) return nullptr;
    // Through the zoom: a hotspot opens where it is seen.
    return HotspotAtPoint(SlideUnderZoom(), CurrentSlide(), point.x, point.y);
}

bool CPemboroView::HitCornerButton(CPoint point) const {
    if (!m_strPicture.empty()) return false;
    return CornerSquare(SlideUnderZoom()).Contains(point.x, point.y);
}

void CPemboroView::ClearHover() {
    if (!m_bHover) return;
    m_bHover = false;
    m_pHoverSpot = nullptr;
    InvalidateRect(nullptr, TRUE);
    UpdateWindow();
}

UINT_PTR CPemboroView::StartHoverTimer() {
    if (!m_hWnd) return 0;
    for (UINT_PTR id = 1; id <= 9999; ++id) {
        if (const UINT_PTR timer = ::SetTimer(m_hWnd, id, 250, nullptr)) return timer;
    }
    return 0;
}

BOOL CPemboroView::OnEraseBkgnd(CDC*) { return TRUE; }

// ---- Picture mode: a photo of the current slide over the whole view, and its neighbours ----

void CPemboroView::EnterPictureMode(const Hotspot* h) {
    if (!h) return;
    const wchar_t* path = ResolvePath(h->pszTarget);
    // A missing photo leaves the view as it is: the slide, or the photo already shown.
    if (!FileExists(path)) return;
    m_strPicture = path;  // a copy: the resolver reuses its buffer
    m_pPictureSpot = h;
    if (m_hWnd) InvalidateRect(nullptr, TRUE);
}

void CPemboroView::LeavePictureMode() {
    // The spot stays: it is only read while a photo is shown, and every entry sets it.
    m_strPicture.clear();
    if (m_hWnd) InvalidateRect(nullptr, TRUE);
}

const Hotspot* CPemboroView::FindPreviousPhoto() const { return PreviousPhoto(CurrentSlide(), m_pPictureSpot); }

const Hotspot* CPemboroView::FindNextPhoto() const { return NextPhoto(CurrentSlide(), m_pPictureSpot); }

// ---- Printing: how many sheets the deck fills, and one sheet at a time through the paint ----

BOOL CPemboroView::OnPreparePrinting(CPrintInfo* pInfo) {
    // Two slides to a sheet; the first page stays the framework's 1.
    pInfo->SetMaxPage(static_cast<UINT>((g_enabledPageCount + 1) / 2));
    return DoPreparePrinting(pInfo);
}

void CPemboroView::OnPrint(CDC* pDC, CPrintInfo* pInfo) {
    m_nPrintPage = static_cast<int>(pInfo->m_nCurPage);
    CView::OnPrint(pDC, pInfo);  // the paint, with the printing DC
    // A sheet whose first slide does not exist has nothing on it, and nothing follows it.
    pInfo->m_bContinuePrinting = FindSlideByNumber(2 * m_nPrintPage - 1) < SLIDE_COUNT ? TRUE : FALSE;
}

// A later job or preview starts with nothing decoded ahead: its files may have changed meanwhile.
void CPemboroView::OnEndPrinting(CDC*, CPrintInfo*) { m_sheets.reset(); }
