#include "win_test_support.h"

#include <tlhelp32.h>

#include <algorithm>
#include <iterator>

#include <gtest/gtest.h>

#include "app/app.h"
#include "app/mainframe.h"
#include "console/console_win.h"
#include "framework/doc.h"
#include "framework/gdi.h"
#include "launch/simulator.h"
#include "res/resource.h"
#include "view/view.h"

namespace testing_win {

void PumpMessages(DWORD ms) {
    const DWORD start = ::GetTickCount();
    do {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        if (ms) ::Sleep(1);
    } while (::GetTickCount() - start < ms);
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    const DWORD start = ::GetTickCount();
    while (!done()) {
        if (::GetTickCount() - start > timeoutMs) return done();
        PumpMessages();
        ::Sleep(5);
    }
    return true;
}

COLORREF Pixels::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return CLR_INVALID;
    const uint32_t p = bgra[static_cast<size_t>(y) * width + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

Pixels ReadDc(HDC hdc, const RECT& rc) {
    Pixels out;
    out.width = rc.right - rc.left;
    out.height = rc.bottom - rc.top;
    if (out.width <= 0 || out.height <= 0) return out;
    const BITMAPINFO bmi = fw::TopDown32Info(out.width, out.height);
    void* bits = nullptr;
    fw::Bitmap dib(::CreateDIBSection(hdc, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0));
    fw::MemoryDc mem(::CreateCompatibleDC(hdc));
    if (!dib || !mem) return out;
    {
        fw::ScopedSelect select(mem.get(), dib.get());
        ::BitBlt(mem.get(), 0, 0, out.width, out.height, hdc, rc.left, rc.top, SRCCOPY);
        ::GdiFlush();
        const auto* p = static_cast<const uint32_t*>(bits);
        out.bgra.assign(p, p + static_cast<size_t>(out.width) * out.height);
    }
    return out;
}

Pixels ReadWindow(HWND hwnd, const RECT& rc) {
    fw::WindowDc dc(hwnd);
    return ReadDc(dc.get(), rc);
}

Pixels ReadWindow(HWND hwnd) {
    RECT rc;
    ::GetClientRect(hwnd, &rc);
    return ReadWindow(hwnd, rc);
}

CRect WindowRect(HWND hwnd) {
    RECT rc{};
    ::GetWindowRect(hwnd, &rc);
    return rc;
}

CRect ClientOnScreen(HWND hwnd) {
    RECT rc{};
    ::GetClientRect(hwnd, &rc);
    POINT origin{0, 0};
    ::ClientToScreen(hwnd, &origin);
    return CRect(origin.x, origin.y, origin.x + rc.right, origin.y + rc.bottom);
}

int CountGdiObjects() {
    int count = 0;
    for (UINT_PTR i = 1; i <= 0xFFFF; ++i) {
        if (::GetObjectType(reinterpret_cast<HGDIOBJ>(i)) != 0) ++count;
    }
    return count;
}

SavedGlobals::SavedGlobals()
    : proMode_(g_proMode),
      bigMode_(g_bigMode),
      brandLogoId_(g_brandLogoId),
      secondLogoId_(g_secondLogoId),
      simulatorPath_(g_simulatorPath),
      simulatorExe_(g_simulatorExe),
      simulatorLookupDone_(g_simulatorLookupDone) {
    std::copy(std::begin(g_simulatorPathBuf), std::end(g_simulatorPathBuf), simulatorPathBuf_.begin());
    std::copy(std::begin(g_simulatorExeBuf), std::end(g_simulatorExeBuf), simulatorExeBuf_.begin());
}

SavedGlobals::~SavedGlobals() {
    g_proMode = proMode_;
    g_bigMode = bigMode_;
    g_brandLogoId = brandLogoId_;
    g_secondLogoId = secondLogoId_;
    // The buffers are globals themselves, so a pointer into one is the same address again.
    std::copy(simulatorPathBuf_.begin(), simulatorPathBuf_.end(), std::begin(g_simulatorPathBuf));
    std::copy(simulatorExeBuf_.begin(), simulatorExeBuf_.end(), std::begin(g_simulatorExeBuf));
    g_simulatorPath = simulatorPath_;
    g_simulatorExe = simulatorExe_;
    g_simulatorLookupDone = simulatorLookupDone_;
}

namespace {
std::wstring Widen(const char* s) {
    std::wstring out;
    for (; *s; ++s) out += static_cast<wchar_t>(static_cast<unsigned char>(*s));
    return out;
}

// Unix paths of the build seen from Wine: the Z: drive maps the root file system.
std::wstring FromUnixPath(const char* unixPath) {
    std::wstring path = L"Z:" + Widen(unixPath);
    for (wchar_t& c : path) {
        if (c == L'/') c = L'\\';
    }
    return path;
}
}  // namespace

namespace {
template <class Take>
std::vector<DWORD> ProcessesWhere(Take take) {
    std::vector<DWORD> ids;
    const fw::KernelHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (snapshot.get() == INVALID_HANDLE_VALUE) return ids;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = ::Process32FirstW(snapshot.get(), &entry); more; more = ::Process32NextW(snapshot.get(), &entry)) {
        if (take(entry)) ids.push_back(entry.th32ProcessID);
    }
    return ids;
}
}  // namespace

namespace {
// Whether the process runs this very executable (the full path, as the test knows it).
bool RunsImage(DWORD pid, const std::wstring& exePath) {
    const fw::KernelHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
    if (!process) return false;
    wchar_t image[2048] = {};
    DWORD size = 2048;
    return ::QueryFullProcessImageNameW(process.get(), 0, image, &size) && _wcsicmp(image, exePath.c_str()) == 0;
}
}  // namespace

std::vector<DWORD> ChildProcessesRunning(const std::wstring& exePath) {
    const DWORD self = ::GetCurrentProcessId();
    return ProcessesWhere(
        [&](const PROCESSENTRY32W& e) { return e.th32ParentProcessID == self && RunsImage(e.th32ProcessID, exePath); });
}

std::vector<DWORD> ProcessesRunning(const std::wstring& exePath) {
    return ProcessesWhere([&](const PROCESSENTRY32W& e) { return RunsImage(e.th32ProcessID, exePath); });
}

void EndProcesses(const std::vector<DWORD>& ids) {
    for (DWORD id : ids) {
        const fw::KernelHandle process(::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id));
        if (!process) continue;
        ::TerminateProcess(process.get(), 1);
        ::WaitForSingleObject(process.get(), 5000);
    }
}

std::wstring DistDir() { return FromUnixPath(PEMBORO_DIST_DIR); }
std::wstring ImageCorpusDir() { return FromUnixPath(PEMBORO_IMAGE_CORPUS_DIR); }

std::wstring TempDir() {
    wchar_t base[MAX_PATH];
    ::GetTempPathW(MAX_PATH, base);
    std::wstring dir = std::wstring(base) + L"pemboro-test-" + std::to_wstring(::GetCurrentProcessId());
    ::CreateDirectoryW(dir.c_str(), nullptr);
    return dir;
}

Presenter::Presenter(int clientW, int clientH, bool show) : clientW_(clientW), clientH_(clientH) {
    template_ = CSingleDocTemplate::Make<CPemboroDoc, CMainFrame, CPemboroView>(IDR_MAINFRAME);
    CFrameWnd* frame = template_->OpenDocumentFile(nullptr);
    frame_ = dynamic_cast<CMainFrame*>(frame);
    if (!frame_) {
        ADD_FAILURE() << "the template made no main frame";
        return;
    }
    app_.m_pMainWnd = frame_;
    view_ = dynamic_cast<CPemboroView*>(frame_->GetActiveView());
    if (show) Show();
}

void Presenter::Show() {
    frame_->ShowWindow(SW_SHOWNORMAL);
    Resize(clientW_, clientH_);
    PumpMessages(50);
}

Presenter::~Presenter() {
    // The frame and view delete themselves. A frame the program closed itself (Escape) is gone
    // already and has cleared the main window: frame_ must not be touched then.
    if (app_.m_pMainWnd && frame_ && frame_->m_hWnd) ::DestroyWindow(frame_->m_hWnd);
    PumpMessages();
    app_.m_pMainWnd = nullptr;
}

HWND Presenter::viewHwnd() const { return view_ ? view_->m_hWnd : nullptr; }

void Presenter::Resize(int clientW, int clientH) {
    HWND hwnd = frame_->m_hWnd;
    if (::IsZoomed(hwnd)) ::ShowWindow(hwnd, SW_RESTORE);
    // Grow the window until the view's client area is exactly the size asked for:
    // the menu bar may wrap, so one AdjustWindowRect is not enough everywhere.
    RECT wr;
    ::GetWindowRect(hwnd, &wr);
    for (int attempt = 0; attempt < 4; ++attempt) {
        RECT cr;
        ::GetClientRect(viewHwnd(), &cr);
        const int dw = clientW - cr.right;
        const int dh = clientH - cr.bottom;
        if (dw == 0 && dh == 0) break;
        ::GetWindowRect(hwnd, &wr);
        ::MoveWindow(hwnd, 0, 0, (wr.right - wr.left) + dw, (wr.bottom - wr.top) + dh, TRUE);
        PumpMessages();
    }
}

Pixels Presenter::Paint() {
    ::InvalidateRect(viewHwnd(), nullptr, FALSE);
    ::UpdateWindow(viewHwnd());
    return ReadWindow(viewHwnd());
}

}  // namespace testing_win
