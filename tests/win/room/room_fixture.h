// What the tests of the speaker's room share: the monitors by the speaker's numbers, the slide
// read back from the screen at a monitor's edges, keys given to a window, the monitors rearranged
// on the hot-plug server, and the program's globals kept.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "screens/frame_layout.h"
#include "app/mainframe.h"
#include "screens/monitors_win.h"
#include "framework/afx.h"
#include "framework/gdi.h"
#include "framework/view.h"
#include "launch/target_names.h"
#include "support/unix_side.h"
#include "support/win_test_support.h"

namespace room {

using testing_win::ClientOnScreen;
using testing_win::Pixels;
using testing_win::Presenter;
using testing_win::PumpMessages;
using testing_win::PumpUntil;
using testing_win::WindowRect;

inline CRect ToCRect(const SlideRect& r) { return CRect(r.left, r.top, r.right, r.bottom); }

// The monitor the speaker calls `number` (1 the primary one).
inline CRect MonitorNumbered(int number) {
    const Monitors now = Monitors::Now();
    return ToCRect(now.entries[static_cast<size_t>(MonitorForNumber(now.entries, number))].rc);
}

// The monitor of this name now, or an empty rectangle when there is none.
inline CRect MonitorNamed(const std::wstring& device) {
    for (const MonitorEntry& m : Monitors::Now().entries) {
        if (m.device == device) return ToCRect(m.rc);
    }
    return CRect();
}

inline void KeyDown(HWND hwnd, UINT vk) {
    ::SendMessageW(hwnd, WM_KEYDOWN, vk, 1);
    PumpMessages(20);
}

// Where the screen, at the monitor's four edges, differs from what the view drew at its own;
// empty when the slide is neither cut nor framed.
inline std::string EdgeDifference(HWND view, const CRect& monitor) {
    const Pixels drawn = testing_win::ReadWindow(view);
    if (drawn.width != monitor.Width() || drawn.height != monitor.Height()) return "the view is not the monitor's size";
    const fw::WindowDc screenDc(nullptr);
    const Pixels screen = testing_win::ReadDc(screenDc.get(), monitor);
    const int w = monitor.Width(), h = monitor.Height();
    for (int x = 0; x < w; x += 5) {
        if (screen.At(x, 0) != drawn.At(x, 0)) return "top edge at " + std::to_string(x);
        if (screen.At(x, h - 1) != drawn.At(x, h - 1)) return "bottom edge at " + std::to_string(x);
    }
    for (int y = 0; y < h; y += 5) {
        if (screen.At(0, y) != drawn.At(0, y)) return "left edge at " + std::to_string(y);
        if (screen.At(w - 1, y) != drawn.At(w - 1, y)) return "right edge at " + std::to_string(y);
    }
    return {};
}

// What the screen shows at the monitor's four edges is what the view drew at its own, once the
// window's pixels have reached the screen (a moment after the paint).
inline void ExpectEdgesShowTheSlide(HWND view, const CRect& monitor) {
    std::string difference;
    PumpUntil([&] { return (difference = EdgeDifference(view, monitor)).empty(); }, 3000);
    EXPECT_EQ(difference, "");
}

// The full-screen show covers `monitor` to the pixel, and shows the slide at its edges.
inline void ExpectShowCovers(CMainFrame* frame, const CRect& monitor) {
    ASSERT_TRUE(frame->m_bFullScreen);
    const HWND view = frame->GetActiveView()->m_hWnd;
    EXPECT_EQ(ClientOnScreen(view), monitor);
    EXPECT_EQ(frame->m_rcMonitor, monitor);
    ::RedrawWindow(view, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    ExpectEdgesShowTheSlide(view, monitor);
}

class Room : public ::testing::Test {
protected:
    void SetUp() override { wcsncpy_s(g_appDir, testing_win::DistDir().c_str(), _TRUNCATE); }
    testing_win::SavedGlobals globals_;
};

// The arrangements of the hot-plug server (monitors.sh), as the system numbers them: the laptop
// primary at the origin, the projector left of, right of or above it, or unplugged.
inline const CRect kLaptop{0, 0, 1920, 1080};
inline const CRect kProjectorRight{1920, 0, 3200, 720};
inline const CRect kProjectorLeft{-1280, 0, 0, 720};
inline const CRect kProjectorAbove{0, -720, 1280, 0};

// The monitors in one of those arrangements, once the system has taken the change in: `monitors`
// are their rectangles, the primary one first.
inline bool Arrange(const char* layout, const std::vector<CRect>& monitors) {
    const testing_win::UnixWorkDir work("monitors");
    const std::string script = testing_win::SourceDirOf(__FILE__) + "/monitors.sh";
    const int status = testing_win::RunUnixScript(work, script, {layout}, 10000);
    const auto arranged = [&] {
        const Monitors now = Monitors::Now();
        if (now.entries.size() != monitors.size()) return false;
        for (size_t i = 0; i < monitors.size(); ++i) {
            if (!(ToCRect(now.entries[i].rc) == monitors[i])) return false;
        }
        return true;
    };
    if (status == 0 && PumpUntil(arranged, 10000)) return true;
    // What went wrong, for the log: the script's own words and the monitors the system has.
    std::printf("arranging '%s': status %d, %s\n", layout, status, work.Read("xrandr.log").c_str());
    for (const MonitorEntry& m : Monitors::Now().entries)
        std::printf("  %ls %d,%d-%d,%d\n", m.device.c_str(), m.rc.left, m.rc.top, m.rc.right, m.rc.bottom);
    return false;
}

// The system tells the windows of a display change; Wine does that only for a virtual desktop
// (the monitors themselves change at once), so the test tells the frame, as Windows would.

inline void TellDisplayChange(HWND frame) {
    const fw::WindowDc screen(nullptr);
    ::SendMessageW(frame, WM_DISPLAYCHANGE, static_cast<WPARAM>(::GetDeviceCaps(screen.get(), BITSPIXEL)),
                   MAKELPARAM(::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)));
    PumpMessages(50);
}

}  // namespace room
