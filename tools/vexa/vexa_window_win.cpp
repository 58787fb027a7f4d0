#include "vexa_window_win.h"

#include "vexa_circuit_file_win.h"
#include "vexa_circuit_hints.h"
#include "vexa_file_view_win.h"
#include "vexa_gdi_win.h"
#include "vexa_log_win.h"
#include "vexa_paint_win.h"
#include "vexa_transient.h"

#include <algorithm>

namespace vexa {
namespace {

constexpr wchar_t kClassName[] = L"CirceloVexaMainWindow";
constexpr int kWidth = 900;
constexpr int kHeight = 650;
constexpr int kWheelLines = 3;
// A global atom name holds at most 255 characters; the buffer leaves room to spare.
constexpr int kAtomNameCapacity = 1024;

std::wstring FileNamePart(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

}  // namespace

bool SimulatorWindow::Create(HINSTANCE instance) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = &SimulatorWindow::WndProc;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hIcon = ::LoadIconW(nullptr, IDI_APPLICATION);
    wc.lpszClassName = kClassName;
    if (!::RegisterClassExW(&wc)) return false;
    hwnd_ = ::CreateWindowExW(0, kClassName, kTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, kWidth, kHeight,
                              nullptr, nullptr, instance, this);
    return hwnd_ != nullptr;
}

void SimulatorWindow::Open(const std::wstring& path) {
    CircuitText text = LoadCircuitText(path);
    state_.path = path;
    state_.fileName = FileNamePart(path);
    state_.readable = text.readable;
    state_.lines = std::move(text.lines);
    state_.utf8Text = std::move(text.utf8);
    state_.firstShownLine = 0;
    state_.waveform.reset();
    state_.status = (state_.readable ? L"Opened: " : L"Cannot read: ") + state_.fileName;
    const std::wstring title = std::wstring(kTitle) + L" - " + state_.fileName;
    ::SetWindowTextW(hwnd_, title.c_str());
    Refresh();
}

void SimulatorWindow::Run() {
    if (state_.path.empty()) return;
    if (!state_.readable) {
        state_.status = L"Cannot run: " + state_.fileName;
    } else {
        state_.waveform = SimulateTransient(ChooseTransientSetup(ExtractCircuitHints(state_.utf8Text)));
        state_.status = L"Run complete: " + state_.fileName;
    }
    Refresh();
}

void SimulatorWindow::Refresh() {
    if (hwnd_) ::InvalidateRect(hwnd_, nullptr, FALSE);
}

// A slow simulator keeps its window answering while it works: messages are handled as they come.
static void StayResponsiveFor(unsigned ms) {
    const ULONGLONG end = ::GetTickCount64() + ms;
    while (::GetTickCount64() < end) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                ::PostQuitMessage(static_cast<int>(msg.wParam));
                return;
            }
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

// The sender deletes the atom once this message is answered, so its name is read before that;
// a slow or blocking simulator reads it at the end of its work.
LRESULT SimulatorWindow::OnFileRequest(UINT msg, WPARAM wParam) {
    if (slowReplyMs_) StayResponsiveFor(slowReplyMs_);
    if (blockReplyMs_) ::Sleep(blockReplyMs_);
    const bool run = msg == kRunMessage;
    const std::wstring verb = run ? L"run" : L"open";
    wchar_t name[kAtomNameCapacity]{};
    const UINT length = wParam <= 0xFFFF ? ::GlobalGetAtomNameW(static_cast<ATOM>(wParam), name, kAtomNameCapacity) : 0;
    const std::wstring path(name, length);
    const std::wstring pathSuffix = path.empty() ? std::wstring() : L" " + path;

    if (refuseMessages_) {
        AppendRequestLog(L"message refused " + verb + pathSuffix);
        return 0;
    }
    // Without a readable name there is no file to open; the refusal makes the sender start
    // a new simulator with the file on its command line instead.
    if (path.empty()) {
        AppendRequestLog(L"message unreadable " + verb);
        return 0;
    }
    AppendRequestLog(L"message " + verb + pathSuffix);
    Open(path);
    if (run) Run();
    return static_cast<LRESULT>(msg);
}

void SimulatorWindow::OnWheel(int delta) {
    RECT client{};
    ::GetClientRect(hwnd_, &client);
    const SimulatorLayout layout = LayoutFor(client);
    int visible = 1;
    {
        fw::WindowDc dc(hwnd_);
        if (dc) visible = VisibleFileLines(dc.get(), layout.fileView);
    }
    const int count = static_cast<int>(state_.lines.size());
    const int next = std::clamp(state_.firstShownLine - delta / WHEEL_DELTA * kWheelLines, 0,
                                std::max(0, count - visible));
    if (next != state_.firstShownLine) {
        state_.firstShownLine = next;
        Refresh();
    }
}

LRESULT SimulatorWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case kOpenMessage:
        case kRunMessage:
            return OnFileRequest(msg, wParam);
        case WM_PAINT:
            PaintSimulator(hwnd_, state_);
            return 0;
        case WM_ERASEBKGND:
            return 1;  // the paint covers every pixel
        case WM_MOUSEWHEEL:
            OnWheel(GET_WHEEL_DELTA_WPARAM(wParam));
            return 0;
        case WM_KEYDOWN:
            // F5 runs the open file again, as the speaker may do by hand.
            if (wParam == VK_F5) {
                Run();
                return 0;
            }
            // The clicker's keys are logged: they reach the simulator only when nothing took them.
            if (wParam == VK_NEXT || wParam == VK_PRIOR) AppendRequestLog(wParam == VK_NEXT ? L"key Page Down" : L"key Page Up");
            break;
        case WM_DESTROY:
            ::PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return ::DefWindowProcW(hwnd_, msg, wParam, lParam);
}

LRESULT CALLBACK SimulatorWindow::WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* self = static_cast<SimulatorWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<SimulatorWindow*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    const LRESULT result = self->HandleMessage(msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
    }
    return result;
}

}  // namespace vexa
