// What the printing tests share: the real frame with the real view, watched as it prints;
// a message pump like the program's own; a watcher that meets the dialogs and windows printing
// brings up (and closes them, so that no modal loop can hang a test); the default printer; and
// the Unix side, where CUPS turns a job into a PDF that pdfinfo and pdftoppm describe.
#pragma once
#include <windows.h>
#include <commdlg.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cwchar>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/mainframe.h"
#include "deck/deck.h"
#include "deck/page_cursor.h"
#include "framework/dc.h"
#include "framework/doc.h"
#include "framework/gdi.h"
#include "pictures/image_loader.h"
#include "framework/print_preview.h"
#include "launch/target_names.h"
#include "res/resource.h"
#include "view/view.h"
#include "support/unix_side.h"
#include "support/win_test_support.h"

namespace printtest {

using testing_win::Pixels;
using testing_win::PumpMessages;

// ---- The real view, watched -------------------------------------------------------------

// Records every paint and every sheet the framework asks for, and passes them on unchanged.
class WatchedView : public CPemboroView {
public:
    struct Paint {
        bool printing;
        RECT clip;
        int printPage;         // m_nPrintPage while the paint ran
        int currentPageAfter;  // g_currentPage when it returned
    };
    struct Sheet {
        UINT page;             // m_nCurPage asked for
        int printPageDuring;   // m_nPrintPage that the paint saw
        int printPageAfter;    // m_nPrintPage when OnPrint returned
        BOOL continueAfter;    // m_bContinuePrinting when OnPrint returned
    };
    std::vector<Paint> paints;
    std::vector<Sheet> sheets;
    std::function<void(UINT page)> onSheet;  // runs after each sheet: a test may act mid-job

    void OnDraw(CDC* pDC) override {
        RECT clip{};
        pDC->GetClipBox(&clip);
        const int printPage = m_nPrintPage;
        CPemboroView::OnDraw(pDC);
        paints.push_back({pDC->m_bPrinting != FALSE, clip, printPage, g_currentPage});
    }
    void OnPrint(CDC* pDC, CPrintInfo* pInfo) override {
        const size_t before = paints.size();
        CPemboroView::OnPrint(pDC, pInfo);
        const int during = paints.size() > before ? paints.back().printPage : -1;
        sheets.push_back({pInfo->m_nCurPage, during, m_nPrintPage, pInfo->m_bContinuePrinting});
        if (onSheet) onSheet(pInfo->m_nCurPage);
    }
    std::vector<UINT> SheetNumbers() const {
        std::vector<UINT> out;
        for (const Sheet& s : sheets) out.push_back(s.page);
        return out;
    }
};

// The demo deck's folder as the program folder, with the slides numbered; every global of the
// program comes back as the test found it.
class DeckState {
public:
    DeckState() {
        const std::wstring dist = testing_win::DistDir();
        std::wcsncpy(g_appDir, dist.c_str(), kAppDirChars - 1);
        NumberSlides();
    }
    DeckState(const DeckState&) = delete;
    DeckState& operator=(const DeckState&) = delete;

    // Leaves `n` slides numbered (of the deck's own), disabling rows from the middle of the deck
    // outward; the title and closing slides go last.
    void KeepNumbered(int n) {
        for (int i = 0; i < SLIDE_COUNT; ++i) g_slideDeck[i].nNumber = globals_.SavedRow(i).nNumber;
        NumberSlides();
        std::vector<int> order;
        for (int row = SLIDE_COUNT / 2; row < kLastSlide; ++row) order.push_back(row);
        for (int row = 1; row < SLIDE_COUNT / 2; ++row) order.push_back(row);
        order.push_back(kLastSlide);
        for (int row : order) {
            if (g_enabledPageCount <= n) break;
            if (g_slideDeck[row].nNumber == 0) continue;
            g_slideDeck[row].nNumber = 0;
            NumberSlides();
        }
    }

private:
    testing_win::SavedGlobals globals_;
};

// The real frame and document made by the real template, with the watched view; the view's
// client area is clientW x clientH unless the frame is in full-screen mode.
class WatchedPresenter {
public:
    WatchedPresenter(int clientW, int clientH) {
        template_ = CSingleDocTemplate::Make<CPemboroDoc, CMainFrame, WatchedView>(IDR_MAINFRAME);
        frame_ = dynamic_cast<CMainFrame*>(template_->OpenDocumentFile(nullptr));
        if (!frame_) {
            ADD_FAILURE() << "the template made no main frame";
            return;
        }
        app_.m_pMainWnd = frame_;
        view_ = dynamic_cast<WatchedView*>(frame_->GetActiveView());
        frame_->ShowWindow(SW_SHOWNORMAL);
        RECT wr{0, 0, clientW, clientH};
        ::AdjustWindowRectEx(&wr, static_cast<DWORD>(::GetWindowLongW(frame_->m_hWnd, GWL_STYLE)), TRUE, 0);
        ::MoveWindow(frame_->m_hWnd, 0, 0, wr.right - wr.left, wr.bottom - wr.top, TRUE);
        for (int attempt = 0; attempt < 4; ++attempt) {  // the menu bar may wrap
            RECT cr;
            ::GetClientRect(view_->m_hWnd, &cr);
            if (cr.right == clientW && cr.bottom == clientH) break;
            ::GetWindowRect(frame_->m_hWnd, &wr);
            ::MoveWindow(frame_->m_hWnd, 0, 0, wr.right - wr.left + clientW - cr.right,
                         wr.bottom - wr.top + clientH - cr.bottom, TRUE);
            PumpMessages();
        }
        ::SetForegroundWindow(frame_->m_hWnd);
        PumpMessages(50);
    }
    ~WatchedPresenter() {
        if (frame_ && frame_->m_hWnd) ::DestroyWindow(frame_->m_hWnd);
        PumpMessages(20);
        MSG msg;
        ::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);  // the frame's quit request
        app_.m_pMainWnd = nullptr;
    }
    WatchedPresenter(const WatchedPresenter&) = delete;
    WatchedPresenter& operator=(const WatchedPresenter&) = delete;

    CMainFrame* frame() const { return frame_; }
    WatchedView* view() const { return view_; }
    HWND frameHwnd() const { return frame_ ? frame_->m_hWnd : nullptr; }
    CDocument* document() const { return template_->GetDocument(); }
    CPrintPreviewWnd* preview() const {
        return frame_ ? dynamic_cast<CPrintPreviewWnd*>(frame_->GetPreviewWindow()) : nullptr;
    }
    // A command as the menu, an accelerator or a toolbar sends it.
    void Command(UINT id) { ::SendMessageW(frame_->m_hWnd, WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    Pixels ViewPixels() const {
        ::InvalidateRect(view_->m_hWnd, nullptr, FALSE);
        ::UpdateWindow(view_->m_hWnd);
        return testing_win::ReadWindow(view_->m_hWnd);
    }

private:
    testing_win::TestApp app_;
    std::unique_ptr<CSingleDocTemplate> template_;
    CMainFrame* frame_ = nullptr;
    WatchedView* view_ = nullptr;
};

// ---- Messages as the program's loop handles them ------------------------------------------

// Dispatches what is queued the way CWinApp::Run does: the main frame's PreTranslateMessage
// (accelerators, the preview's keys) first.
inline void PumpLikeTheApp(CWnd* frame, DWORD ms = 0) {
    const DWORD start = ::GetTickCount();
    do {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (frame && frame->m_hWnd && frame->PreTranslateMessage(&msg)) continue;
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        if (ms) ::Sleep(1);
    } while (::GetTickCount() - start < ms);
}

inline bool PumpLikeTheAppUntil(CWnd* frame, const std::function<bool()>& done, DWORD timeoutMs) {
    const DWORD start = ::GetTickCount();
    while (!done()) {
        if (::GetTickCount() - start > timeoutMs) return done();
        PumpLikeTheApp(frame);
        ::Sleep(5);
    }
    return true;
}

// Real key strokes through the system's input queue, to whichever window has the focus.
inline void PressKey(WORD vk, bool control = false) {
    std::vector<INPUT> in;
    const auto key = [&in](WORD k, bool up) {
        INPUT i{};
        i.type = INPUT_KEYBOARD;
        i.ki.wVk = k;
        i.ki.wScan = static_cast<WORD>(::MapVirtualKeyW(k, MAPVK_VK_TO_VSC));
        i.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        if (k == VK_NEXT || k == VK_PRIOR || k == VK_HOME || k == VK_END) i.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
        in.push_back(i);
    };
    if (control) key(VK_CONTROL, false);
    key(vk, false);
    key(vk, true);
    if (control) key(VK_CONTROL, true);
    ::SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
}

// ---- Windows of this thread -----------------------------------------------------------------

inline std::wstring ClassOf(HWND hwnd) {
    wchar_t name[256] = {};
    ::GetClassNameW(hwnd, name, 256);
    return name;
}
inline std::wstring TextOf(HWND hwnd) {
    wchar_t text[512] = {};
    ::GetWindowTextW(hwnd, text, 512);
    return text;
}

// The visible top-level windows of this thread, but for `except`.
inline std::vector<HWND> ThreadWindows(HWND except = nullptr) {
    struct Search {
        HWND except;
        std::vector<HWND> found;
    } search{except, {}};
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND hwnd, LPARAM lp) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lp);
            if (hwnd != s->except && ::IsWindowVisible(hwnd)) s->found.push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

inline HWND FindThreadWindow(const wchar_t* cls, const wchar_t* title) {
    for (HWND hwnd : ThreadWindows()) {
        if ((!cls || ClassOf(hwnd) == cls) && (!title || TextOf(hwnd) == title)) return hwnd;
    }
    return nullptr;
}

// Meets windows of this thread that come up while a command runs, also inside the modal loops
// of dialogs (a thread timer reaches every loop that dispatches). `act` gets each new visible
// top-level window but `ignore`, and says whether it dealt with it; anything it leaves standing
// for two seconds is closed, so that no test can hang on a modal box.
class WindowWatcher {
public:
    using Action = std::function<bool(HWND)>;
    WindowWatcher(HWND ignore, Action act) : ignore_(ignore), act_(std::move(act)) {
        current_ = this;
        timer_ = ::SetTimer(nullptr, 0, 25, &Tick);
    }
    ~WindowWatcher() {
        ::KillTimer(nullptr, timer_);
        current_ = nullptr;
    }
    WindowWatcher(const WindowWatcher&) = delete;
    WindowWatcher& operator=(const WindowWatcher&) = delete;

    // Every window seen, as "class|title", in order.
    const std::vector<std::wstring>& Seen() const { return seen_; }
    int ForcedClosed() const { return forced_; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        WindowWatcher* self = current_;
        if (!self || self->busy_) return;
        self->busy_ = true;
        for (HWND hwnd : ThreadWindows(self->ignore_)) {
            auto known = std::find_if(self->known_.begin(), self->known_.end(),
                                      [hwnd](const Known& k) { return k.hwnd == hwnd; });
            if (known == self->known_.end()) {
                self->seen_.push_back(ClassOf(hwnd) + L"|" + TextOf(hwnd));
                self->known_.push_back({hwnd, ::GetTickCount(), false});
                known = self->known_.end() - 1;
            }
            if (known->handled) continue;
            if (self->act_ && self->act_(hwnd)) {
                known->handled = true;
            } else if (::GetTickCount() - known->since > 2000) {
                ++self->forced_;
                known->handled = true;
                ::PostMessageW(hwnd, WM_COMMAND, IDCANCEL, 0);
                ::PostMessageW(hwnd, WM_CLOSE, 0, 0);
            }
        }
        self->busy_ = false;
    }
    struct Known {
        HWND hwnd;
        DWORD since;
        bool handled;
    };
    static inline WindowWatcher* current_ = nullptr;
    HWND ignore_;
    Action act_;
    UINT_PTR timer_ = 0;
    bool busy_ = false;
    int forced_ = 0;
    std::vector<Known> known_;
    std::vector<std::wstring> seen_;
};

// The texts of the progress window's controls, top to bottom; empty when there is none.
inline std::vector<std::wstring> ProgressTexts() {
    std::vector<std::wstring> texts;
    const HWND progress = FindThreadWindow(nullptr, L"Printing");
    if (!progress) return texts;
    for (HWND child = ::GetWindow(progress, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        texts.push_back(TextOf(child));
    return texts;
}

// The common print dialog's controls.
inline constexpr int kAllPagesRadio = 0x420;
inline constexpr int kPageRangeRadio = 0x422;
inline constexpr int kFromPageEdit = 0x480;
inline constexpr int kToPageEdit = 0x481;

inline bool IsDialog(HWND hwnd) { return ClassOf(hwnd) == L"#32770"; }
inline std::wstring ControlText(HWND dialog, int id) { return TextOf(::GetDlgItem(dialog, id)); }
inline void Click(HWND dialog, int id) {
    ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

// ---- The printer -----------------------------------------------------------------------------

// The default printer as the print dialog finds it (the registry may still name one that is gone).
inline std::wstring DefaultPrinterName() {
    PRINTDLGW pd{};
    pd.lStructSize = sizeof(pd);
    pd.Flags = PD_RETURNDEFAULT;
    if (!::PrintDlgW(&pd)) return L"";
    std::wstring name;
    if (const auto* names = static_cast<const DEVNAMES*>(::GlobalLock(pd.hDevNames))) {
        name = reinterpret_cast<const wchar_t*>(names) + names->wDeviceOffset;
        ::GlobalUnlock(pd.hDevNames);
    }
    if (pd.hDevMode) ::GlobalFree(pd.hDevMode);
    if (pd.hDevNames) ::GlobalFree(pd.hDevNames);
    return name;
}

// What the default printer's DC reports: the clip box of a page, and its resolution.
struct PrinterPage {
    RECT clip{};
    int dpi = 0;
};
inline PrinterPage DefaultPrinterPage() {
    PrinterPage page;
    const std::wstring name = DefaultPrinterName();
    if (name.empty()) return page;
    fw::PrinterDc dc(::CreateDCW(L"WINSPOOL", name.c_str(), nullptr, nullptr));
    if (!dc) return page;
    ::GetClipBox(dc.get(), &page.clip);
    page.dpi = ::GetDeviceCaps(dc.get(), LOGPIXELSX);
    return page;
}

#define REQUIRE_PRINTER()                                                                          \
    do {                                                                                           \
        if (printtest::DefaultPrinterName().empty())                                               \
            GTEST_SKIP() << "no default printer: source scripts/printer_env.sh as root first";     \
    } while (0)

// ---- The Unix side: CUPS, pdfinfo, pdftoppm --------------------------------------------------

using testing_win::Narrow;
using testing_win::UnixWorkDir;
using testing_win::Widen;

// Runs a shell script of this folder on the Unix side (see testing_win::RunUnixScript).
inline int RunScript(const UnixWorkDir& work, const std::string& script, const std::vector<std::string>& args,
                     DWORD timeoutMs) {
    return testing_win::RunUnixScript(work, testing_win::SourceDirOf(__FILE__) + "/" + script, args, timeoutMs);
}

// What pdf_job.sh found for a job: the PDF's page count and the pages it rendered.
struct PdfJob {
    int status = -1;     // 0: as expected
    int pages = 0;
    std::string info;    // pdfinfo's report, or the script's complaint
};

// Waits until CUPS has finished the job whose document name starts with `title` and which
// ended after `work`'s start stamp; renders `pages` at 50 dpi into work/page-N.png.
inline PdfJob WaitForPdf(const UnixWorkDir& work, const std::string& title, const std::vector<int>& pages) {
    std::vector<std::string> args{title, "present"};
    for (int p : pages) args.push_back(std::to_string(p));
    PdfJob job;
    job.status = RunScript(work, "pdf_job.sh", args, 110000);
    job.info = work.Read("pdfinfo.txt");
    const size_t at = job.info.find("Pages:");
    if (at != std::string::npos) job.pages = std::atoi(job.info.c_str() + at + 6);
    return job;
}

// After the job queue has drained: whether no PDF of that title came out (status 0).
inline int ExpectNoPdf(const UnixWorkDir& work, const std::string& title) {
    return RunScript(work, "pdf_job.sh", {title, "absent"}, 110000);
}

// A rendered page, as pixels.
inline Pixels LoadPng(const std::wstring& path) {
    const fw::Bitmap bitmap = fw::LoadImageFile(path.c_str());
    if (!bitmap) return {};
    BITMAP bm{};
    ::GetObjectW(bitmap.get(), sizeof(bm), &bm);
    const fw::MemoryDc dc(::CreateCompatibleDC(nullptr));
    const fw::ScopedSelect select(dc.get(), bitmap.get());
    return testing_win::ReadDc(dc.get(), RECT{0, 0, bm.bmWidth, std::abs(bm.bmHeight)});
}

inline int Luma(COLORREF c) { return (GetRValue(c) * 30 + GetGValue(c) * 59 + GetBValue(c) * 11) / 100; }
inline bool Reddish(COLORREF c) {
    return GetRValue(c) > GetGValue(c) + 40 && GetRValue(c) > GetBValue(c) + 40;
}

// A coarse picture of a rectangle of `p`: the mean luma of cols x rows cells.
inline std::vector<double> Signature(const Pixels& p, RECT r, int cols, int rows) {
    std::vector<double> cells;
    for (int cy = 0; cy < rows; ++cy) {
        for (int cx = 0; cx < cols; ++cx) {
            const int x0 = r.left + (r.right - r.left) * cx / cols, x1 = r.left + (r.right - r.left) * (cx + 1) / cols;
            const int y0 = r.top + (r.bottom - r.top) * cy / rows, y1 = r.top + (r.bottom - r.top) * (cy + 1) / rows;
            double sum = 0;
            int n = 0;
            for (int y = y0; y < y1; ++y)
                for (int x = x0; x < x1; ++x, ++n) sum += Luma(p.At(x, y));
            cells.push_back(n ? sum / n : 0);
        }
    }
    return cells;
}

inline double Distance(const std::vector<double>& a, const std::vector<double>& b) {
    double d = 0;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i) d += (a[i] - b[i]) * (a[i] - b[i]);
    return d;
}

}  // namespace printtest
