// The talk-length keys on the keyboard layouts speakers have: the key labelled with "+" pressed
// alone (US and French: the "=/+" key; German: the "+" key) makes the talk 5 minutes longer, the
// "-" key (where the layout has one outside the digits) 5 minutes shorter, and the keypad's + and
// - do the same; none of them needs Shift, so the show stays full-screen. The keys come from the
// X server as the speaker's keyboard sends them; room_servers.sh sets the server's layout before
// Wine starts (Wine reads it then) and names it in ROOM_LAYOUT.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "view/view.h"
#include "room_fixture.h"
#include "support/unix_side.h"
#include "support/win_test_support.h"

namespace room {
namespace {

// What the speaker has on each layout, as X key names: the "+" key alone, the "-" key alone (none
// where "-" lies on a digit key), and the digit key that carries "-" there (none elsewhere).
struct LayoutCase {
    const char* layout;
    const char* plusKey;
    const char* minusKey;
    const char* minusOnADigit;
    bool plusNeedsShift;  // what the system says of "+" on this layout: the layout reached Wine
};
constexpr LayoutCase kLayouts[] = {
    {"us", "equal", "minus", nullptr, true},
    {"de", "plus", "minus", nullptr, false},
    {"fr", "equal", nullptr, "minus", true},
};

constexpr wchar_t kShowTitle[] = L"PemboroKeyboardLayoutShow";

const LayoutCase* LayoutOfThisRun() {
    const char* name = std::getenv("ROOM_LAYOUT");
    if (!name) return nullptr;
    for (const LayoutCase& c : kLayouts)
        if (std::string(c.layout) == name) return &c;
    return nullptr;
}

bool GiveXFocus(const std::wstring& title) {
    const testing_win::UnixWorkDir work("xfocus");
    return testing_win::RunUnixScript(work, testing_win::SourceDirOf(__FILE__) + "/x_focus.sh",
                                      {testing_win::Narrow(title)}, 10000) == 0;
}

// Presses one key of the X server's keyboard, alone.
bool PressXKey(const char* name) {
    const testing_win::UnixWorkDir work("xkey");
    return testing_win::RunUnixScript(work, testing_win::SourceDirOf(__FILE__) + "/x_key.sh", {name}, 10000) == 0;
}

class Keyboard : public Room {};

TEST_F(Keyboard, TheLayoutsPlusAndMinusKeysAloneChangeTheTalksLengthAndTheShowStaysFullScreen) {
    const LayoutCase* layout = LayoutOfThisRun();
    if (!layout) GTEST_SKIP() << "room_servers.sh names the keyboard layout in ROOM_LAYOUT";
    SCOPED_TRACE(layout->layout);
    const SHORT plus = ::VkKeyScanW(L'+');
    ASSERT_NE(plus, -1);
    ASSERT_EQ((plus >> 8 & 0xFF) != 0, layout->plusNeedsShift) << "Wine did not take the server's layout";

    Presenter p(800, 500);
    ::SetWindowTextW(p.frame()->m_hWnd, kShowTitle);
    p.frame()->OnFullScreen();
    const CRect monitor = MonitorNumbered(1);
    ASSERT_TRUE(p.frame()->m_bFullScreen);
    ASSERT_EQ(ClientOnScreen(p.viewHwnd()), monitor);
    p.Paint();
    ASSERT_TRUE(GiveXFocus(kShowTitle));
    ::SetForegroundWindow(p.frame()->m_hWnd);
    ::SetFocus(p.viewHwnd());
    PumpMessages(50);
    Talk& talk = p.frame()->m_talk;
    talk.SetMinutes(45);

    struct Press {
        const char* key;
        int change;  // minutes more or fewer
    };
    std::vector<Press> presses = {{layout->plusKey, +5}};
    if (layout->minusKey) presses.push_back({layout->minusKey, -5});
    presses.push_back({"KP_Add", +5});
    presses.push_back({"KP_Subtract", -5});
    for (const Press& press : presses) {
        SCOPED_TRACE(press.key);
        const int before = talk.Minutes();
        ASSERT_TRUE(PressXKey(press.key));
        EXPECT_TRUE(PumpUntil([&] { return talk.Minutes() != before; }, 3000)) << "the key changed nothing";
        EXPECT_EQ(talk.Minutes(), before + press.change);
        EXPECT_TRUE(p.frame()->m_bFullScreen) << "the key left full-screen mode";
        EXPECT_EQ(ClientOnScreen(p.viewHwnd()), monitor);
    }

    // Where "-" lies on a digit key, that key types the digit of a slide number, as on every
    // layout, and leaves the talk as long as it was.
    if (layout->minusOnADigit) {
        const int before = talk.Minutes();
        ASSERT_TRUE(PressXKey(layout->minusOnADigit));
        EXPECT_TRUE(PumpUntil([&] { return p.view()->m_overlay.shown == Overlay::Number; }, 3000));
        EXPECT_EQ(p.view()->m_overlay.typed.text(), L"6");
        EXPECT_EQ(talk.Minutes(), before);
        EXPECT_TRUE(p.frame()->m_bFullScreen);
    }
}

}  // namespace
}  // namespace room
