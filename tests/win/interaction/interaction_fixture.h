// What the interaction tests share: the real frame and view, keys and moves sent as the
// system sends them, the Ctrl state of the thread, repaint requests and immediate repaints.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <string>

#include "app/app.h"
#include "app/mainframe.h"
#include "deck/deck.h"
#include "deck/page_cursor.h"
#include "launch/target_names.h"
#include "support/win_test_support.h"
#include "view/view.h"
#include "view/hover_rules.h"

namespace interaction {

// The Ctrl key as GetKeyState sees it on this thread, for the lifetime of the object.
class CtrlHeld {
public:
    explicit CtrlHeld(bool down = true) {
        ::GetKeyboardState(saved_);
        BYTE state[256];
        std::copy(std::begin(saved_), std::end(saved_), state);
        state[VK_CONTROL] = down ? 0x80 : 0;
        state[VK_LCONTROL] = down ? 0x80 : 0;
        ::SetKeyboardState(state);
    }
    ~CtrlHeld() { ::SetKeyboardState(saved_); }
    CtrlHeld(const CtrlHeld&) = delete;
    CtrlHeld& operator=(const CtrlHeld&) = delete;

private:
    BYTE saved_[256];
};

// Counts the WM_PAINT messages that reach a window, by subclassing it for the object's lifetime.
class PaintCounter {
public:
    explicit PaintCounter(HWND hwnd) : hwnd_(hwnd) {
        s_count = 0;
        s_original = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Counting)));
    }
    ~PaintCounter() {
        if (::IsWindow(hwnd_)) ::SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(s_original));
    }
    PaintCounter(const PaintCounter&) = delete;
    PaintCounter& operator=(const PaintCounter&) = delete;
    int count() const { return s_count; }
    void reset() { s_count = 0; }

private:
    static LRESULT CALLBACK Counting(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        if (msg == WM_PAINT) ++s_count;
        return ::CallWindowProcW(s_original, hwnd, msg, wParam, lParam);
    }
    HWND hwnd_;
    static inline int s_count = 0;
    static inline WNDPROC s_original = nullptr;
};

// A clock that tests set by hand.
class FakeClock {
public:
    explicit FakeClock(double now) {
        s_now = now;
        SetWallClock(&Now);
    }
    ~FakeClock() { SetWallClock(nullptr); }
    FakeClock(const FakeClock&) = delete;
    FakeClock& operator=(const FakeClock&) = delete;
    void set(double now) { s_now = now; }

private:
    static double Now() { return s_now; }
    static inline double s_now = 0.0;
};

inline LPARAM KeyLParam(UINT vk, UINT repeat, bool autoRepeat) {
    const UINT scan = ::MapVirtualKeyW(vk, MAPVK_VK_TO_VSC);
    return static_cast<LPARAM>((repeat & 0xFFFF) | ((scan & 0xFF) << 16) | (autoRepeat ? (1u << 30) : 0u));
}

inline void KeyDown(HWND view, UINT vk, UINT repeat = 1, bool autoRepeat = false) {
    ::SendMessageW(view, WM_KEYDOWN, vk, KeyLParam(vk, repeat, autoRepeat));
}

inline void Char(HWND view, wchar_t ch) { ::SendMessageW(view, WM_CHAR, ch, KeyLParam(0, 1, false)); }

// The wheel message carries screen coordinates; the view does not look at them.
inline void Wheel(HWND view, short zDelta) {
    ::SendMessageW(view, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(zDelta)), MAKELPARAM(10, 10));
}

inline void MouseMove(HWND view, int x, int y, UINT flags = 0) {
    ::SendMessageW(view, WM_MOUSEMOVE, flags, MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)));
}

// Whether anything asked for a paint since the view was last painted.
inline bool RepaintRequested(HWND view) { return ::GetUpdateRect(view, nullptr, FALSE) != FALSE; }

// The screen point of a client point of the view.
inline POINT ScreenPoint(HWND view, int x, int y) {
    POINT pt{x, y};
    ::ClientToScreen(view, &pt);
    return pt;
}

// The real frame and view at a given client size, on a chosen slide; every global of the
// program comes back as it was, after the frame has gone.
class InteractionTest : public ::testing::Test {
    testing_win::SavedGlobals globals_;

protected:
    void SetUp() override {
        g_currentPage = 0;
        g_proMode = false;
    }
    void TearDown() override {
        presenter_.reset();
        // A closed frame posts the quit request; it is no business of the next test.
        MSG msg;
        ::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    }

    void Open(int clientW, int clientH, int page = 0) {
        g_currentPage = page;
        presenter_ = std::make_unique<testing_win::Presenter>(clientW, clientH);
        ASSERT_NE(presenter_->view(), nullptr);
        Settle();
    }
    // Paints what is pending, so that the next request can be seen on its own.
    void Settle() { ::UpdateWindow(viewHwnd()); }

    CPemboroView& view() const { return *presenter_->view(); }
    CMainFrame& frame() const { return *presenter_->frame(); }
    HWND viewHwnd() const { return presenter_->viewHwnd(); }
    HWND frameHwnd() const { return presenter_->frame()->m_hWnd; }

    // Points the program folder at a folder holding just the named files.
    std::wstring UseProgramFolder(const wchar_t* name, std::initializer_list<const wchar_t*> files) {
        const std::wstring dir = testing_win::TempDir() + L"\\" + name;
        ::CreateDirectoryW(dir.c_str(), nullptr);
        for (const wchar_t* f : files) {
            const std::wstring path = dir + L"\\" + f;
            if (HANDLE h = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
                h != INVALID_HANDLE_VALUE)
                ::CloseHandle(h);
        }
        wcsncpy_s(g_appDir, dir.c_str(), _TRUNCATE);
        return dir;
    }

    std::unique_ptr<testing_win::Presenter> presenter_;
};

}  // namespace interaction
