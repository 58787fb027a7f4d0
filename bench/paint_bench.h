// What the parts of paint_bench share: timing on the real view driven by real messages, the
// floor of a slide change (one blit of the client area), the process's working set, and the
// view placed at a client size. Each part is a file bench/paint_bench_<part>_win.cpp with one
// entry point, called from paint_bench's main.
#pragma once
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "app/mainframe.h"
#include "framework/gdi.h"
#include "support/win_test_support.h"
#include "view/view.h"

namespace paintbench {

using Clock = std::chrono::steady_clock;

inline double MsSince(Clock::time_point a) {
    return std::chrono::duration<double, std::milli>(Clock::now() - a).count();
}

inline double Percentile(std::vector<double> t, double p) {
    if (t.empty()) return 0.0;
    std::sort(t.begin(), t.end());
    return t[std::min(t.size() - 1, static_cast<std::size_t>(p * static_cast<double>(t.size())))];
}
inline double Median(const std::vector<double>& t) { return Percentile(t, 0.5); }

// Runs the message loop until `message` for `hwnd` has been handled and the view has nothing
// left to paint: the moment the speaker's input has been answered on the window.
inline double Answer(HWND view, const std::function<void()>& send, UINT message) {
    const auto start = Clock::now();
    send();
    bool handled = false;
    for (;;) {
        MSG msg;
        if (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
            if (msg.hwnd == view && msg.message == message) handled = true;
        } else if (!handled) {
            ::Sleep(0);
        }
        if (handled && !::GetUpdateRect(view, nullptr, FALSE)) break;
    }
    ::GdiFlush();
    return MsSince(start);
}

inline double KeyToPaint(HWND view, UINT vk) {
    return Answer(view, [&] { ::PostMessageW(view, WM_KEYDOWN, vk, 1); }, WM_KEYDOWN);
}

// The same with Ctrl held, as the thread's keyboard state tells the view.
inline double CtrlKeyToPaint(HWND view, UINT vk) {
    BYTE saved[256]{}, held[256]{};
    ::GetKeyboardState(saved);
    std::copy(std::begin(saved), std::end(saved), held);
    held[VK_CONTROL] = 0x80;
    ::SetKeyboardState(held);
    const double ms = KeyToPaint(view, vk);
    ::SetKeyboardState(saved);
    return ms;
}

// One blit of a prepared client-sized picture onto the window: the floor of any slide change.
inline double BlitFloor(HWND view, int w, int h, int runs) {
    const BITMAPINFO bi = fw::TopDown32Info(w, h);
    void* bits = nullptr;
    const fw::Bitmap dib(::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    const fw::MemoryDc memory(::CreateCompatibleDC(nullptr));
    if (!dib || !memory) return 0.0;
    std::fill_n(static_cast<std::uint32_t*>(bits), static_cast<std::size_t>(w) * h, 0x00336699u);
    const fw::ScopedSelect select(memory.get(), dib.get());
    const fw::WindowDc window(view);
    std::vector<double> t;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        ::BitBlt(window.get(), 0, 0, w, h, memory.get(), 0, 0, SRCCOPY);
        ::GdiFlush();
        t.push_back(MsSince(start));
    }
    return Median(t);
}

struct WorkingSet {
    std::size_t nowMb, peakMb;
};
inline WorkingSet WorkingSetMb() {
    PROCESS_MEMORY_COUNTERS pmc{};
    pmc.cb = sizeof(pmc);
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &pmc, sizeof(pmc));
    return {pmc.WorkingSetSize >> 20, pmc.PeakWorkingSetSize >> 20};
}

struct Size {
    int w, h;
};

// Holds the view at the size asked for, on the screen, so that every paint reaches the screen
// whole; a size the desktop cannot hold in a window is the desktop's own, in full-screen mode
// (the frame's margins make it a little larger). Returns the client size reached.
inline Size PlaceView(testing_win::Presenter& presenter, Size size) {
    const int screenW = ::GetSystemMetrics(SM_CXSCREEN), screenH = ::GetSystemMetrics(SM_CYSCREEN);
    CMainFrame* frame = presenter.frame();
    if (frame->m_bFullScreen) frame->OnFullScreen();
    if (size.w + 64 <= screenW && size.h + 96 <= screenH) presenter.Resize(size.w, size.h);
    else frame->OnFullScreen();
    testing_win::PumpMessages(100);
    RECT client{};
    ::GetClientRect(presenter.viewHwnd(), &client);
    return {client.right, client.bottom};
}

// Page Down through the deck at a speaker's pace from the first slide and from the middle, each
// 3 s after start-up (paint_bench_pace_win.cpp).
void MeasurePace(testing_win::Presenter& presenter, Size size, int paceMs);
// Every one-key move at laptop and 4K sizes (paint_bench_jumps_win.cpp).
void MeasureJumps(testing_win::Presenter& presenter, int paceMs);
// The process and the pictures' ledger through the deck and jumps, alone and with the console;
// and 68 keys given to the console while the show is minimised (paint_bench_memory_win.cpp).
void MeasureMemory(testing_win::Presenter& presenter, Size size, int paceMs);
void MeasureConsoleWhileMinimised(testing_win::Presenter& presenter, int paceMs);
// Page Down through the deck at the show's present size, without the presenter console, with it,
// and without it again; the medians, their ratio, and the memory with the console's pictures
// (paint_bench_console_win.cpp).
void MeasureWithConsole(testing_win::Presenter& presenter, int paceMs);
// The overview at a client size: Tab to pixels, a move of its frame, the thumbnails' time and
// memory (paint_bench_overview_win.cpp).
void PrintOverviewFigures(testing_win::Presenter& presenter, int w, int h);
// The return from a demo: the clicker's key over the simulator to the show painted in front, full-screen
// at the desktop's size (paint_bench_demo_win.cpp).
void MeasureDemoReturn(testing_win::Presenter& presenter, int rounds);
// The pointer's dot following the mouse and a zoom step, at each size (paint_bench_tools_win.cpp).
void MeasureTools(testing_win::Presenter& presenter, const std::vector<Size>& sizes);

}  // namespace paintbench
