// The key table read as a speaker uses it: each key, character and wheel turn, with and without
// Ctrl, in slide and in picture mode.
#include "view/key_table.h"

#include <gtest/gtest.h>

namespace {

struct Row {
    const char* what;
    Input input;
    unsigned code;
    bool ctrl;
    bool picture;
    Command expected;
};

TEST(KeyTable, EveryInputInEveryState) {
    const Row rows[] = {
        {"Shift", Input::Key, VK_SHIFT, false, false, Command::ToggleFullScreen},
        {"F1", Input::Key, VK_F1, false, false, Command::ToggleFullScreen},
        {"F5 on a photo", Input::Key, VK_F5, false, true, Command::ToggleFullScreen},
        {"Ctrl+F5", Input::Key, VK_F5, true, false, Command::ToggleFullScreen},
        {"Escape", Input::Key, VK_ESCAPE, false, false, Command::LeaveFullScreenOrQuit},
        {"Escape key-down on a photo", Input::Key, VK_ESCAPE, false, true, Command::None},
        {"Escape character", Input::Char, VK_ESCAPE, false, false, Command::BackToSlide},
        {"Escape character on a photo", Input::Char, VK_ESCAPE, false, true, Command::BackToSlide},
        {"Page Up", Input::Key, VK_PRIOR, false, false, Command::PreviousSlide},
        {"Ctrl+Page Up", Input::Key, VK_PRIOR, true, false, Command::FirstSlide},
        {"cursor up on a photo", Input::Key, VK_UP, false, true, Command::PreviousSlide},
        {"Ctrl+cursor up", Input::Key, VK_UP, true, false, Command::FirstSlide},
        {"Page Down", Input::Key, VK_NEXT, false, false, Command::NextSlide},
        {"Ctrl+Page Down on a photo", Input::Key, VK_NEXT, true, true, Command::LastSlide},
        {"cursor down", Input::Key, VK_DOWN, false, false, Command::NextSlide},
        {"Ctrl+cursor down", Input::Key, VK_DOWN, true, false, Command::LastSlide},
        {"cursor left on a photo", Input::Key, VK_LEFT, false, true, Command::PreviousPhoto},
        {"cursor right on a photo", Input::Key, VK_RIGHT, true, true, Command::NextPhoto},
        {"cursor left on a slide", Input::Key, VK_LEFT, false, false, Command::None},
        {"cursor right on a slide", Input::Key, VK_RIGHT, false, false, Command::None},
        {"Ctrl+B", Input::Key, 'B', true, false, Command::SendToBack},
        {"B alone", Input::Key, 'B', false, false, Command::BlankBlack},
        {"period", Input::Key, VK_OEM_PERIOD, false, false, Command::ToggleSentBack},
        {"Ctrl+period on a photo", Input::Key, VK_OEM_PERIOD, true, true, Command::ToggleSentBack},
        {"wheel away", Input::Wheel, WheelCode(120), false, false, Command::WheelBack},
        {"wheel toward", Input::Wheel, WheelCode(-120), false, false, Command::WheelForward},
        {"wheel with no delta", Input::Wheel, WheelCode(0), false, false, Command::WheelForward},
        {"wheel away on a photo", Input::Wheel, WheelCode(1), false, true, Command::PreviousPhoto},
        {"wheel toward on a photo", Input::Wheel, WheelCode(-1), true, true, Command::NextPhoto},
    };
    for (const Row& r : rows) EXPECT_EQ(CommandFor(r.input, r.code, r.ctrl, r.picture), r.expected) << r.what;
}

TEST(KeyTable, NeighbouringAndLookalikeInputsDoNothing) {
    // Ctrl itself, the function keys beside F1 and F5, C beside B, the numeric-pad period, comma,
    // Space, a code beyond the byte, and characters other than Escape. (Home, End and the
    // numeric pad's digits have meanings of their own.)
    for (const unsigned vk : {0u, VK_CONTROL, VK_F2, VK_F3, VK_F4, VK_F6, unsigned{'C'}, VK_DECIMAL, VK_OEM_COMMA, 32u,
                              65u, 255u, 0x10000u + VK_SHIFT}) {
        for (const bool ctrl : {false, true})
            for (const bool picture : {false, true})
                EXPECT_EQ(CommandFor(Input::Key, vk, ctrl, picture), Command::None) << vk;
    }
    for (const unsigned ch : {13u, 32u, unsigned{'b'}, unsigned{'B'}, 0x1Bu + 0x100u})
        EXPECT_EQ(CommandFor(Input::Char, ch, false, true), Command::None) << ch;
}

TEST(KeyTable, TheKeyValuesAreThePlatforms) {
    // The names stand for the platform's own codes, which the window's messages carry.
    EXPECT_EQ(VK_SHIFT, 16u);
    EXPECT_EQ(VK_ESCAPE, 27u);
    EXPECT_EQ(VK_PRIOR, 33u);
    EXPECT_EQ(VK_NEXT, 34u);
    EXPECT_EQ(VK_LEFT, 37u);
    EXPECT_EQ(VK_UP, 38u);
    EXPECT_EQ(VK_RIGHT, 39u);
    EXPECT_EQ(VK_DOWN, 40u);
    EXPECT_EQ(VK_F1, 112u);
    EXPECT_EQ(VK_F5, 116u);
    EXPECT_EQ(VK_OEM_PERIOD, 190u);
}

// ---- The overlays: a typed number, a blank screen, the overview, the key help ----

constexpr Overlay kOverlays[] = {Overlay::None, Overlay::Number, Overlay::Blank, Overlay::Overview, Overlay::Help};

struct OverlayRow {
    const char* what;
    Input input;
    unsigned code;
    bool ctrl;
    bool picture;
    Overlay overlay;
    Command first;
    Command then;
};

TEST(KeyTable, TheOverlaysInputs) {
    const OverlayRow rows[] = {
        {"Home", Input::Key, VK_HOME, false, false, Overlay::None, Command::FirstSlide, Command::None},
        {"End on a photo", Input::Key, VK_END, false, true, Overlay::None, Command::LastSlide, Command::None},
        {"a digit", Input::Key, '4', false, false, Overlay::None, Command::TypeDigit, Command::None},
        {"a digit of the numeric pad on a photo", Input::Key, VK_NUMPAD0 + 9, false, true, Overlay::None,
         Command::TypeDigit, Command::None},
        {"Ctrl+digit", Input::Key, '4', true, false, Overlay::None, Command::None, Command::None},
        {"Enter alone", Input::Key, VK_RETURN, false, false, Overlay::None, Command::None, Command::None},
        {"Backspace alone", Input::Key, VK_BACK, false, false, Overlay::None, Command::None, Command::None},
        {"B", Input::Key, 'B', false, true, Overlay::None, Command::BlankBlack, Command::None},
        {"W", Input::Key, 'W', false, false, Overlay::None, Command::BlankWhite, Command::None},
        {"Ctrl+W", Input::Key, 'W', true, false, Overlay::None, Command::None, Command::None},
        {"Tab", Input::Key, VK_TAB, false, false, Overlay::None, Command::OpenOverview, Command::None},
        {"H", Input::Key, 'H', false, false, Overlay::None, Command::ShowHelp, Command::None},
        {"a click", Input::Click, kLeftButton, false, false, Overlay::None, Command::Activate, Command::None},

        {"the next digit", Input::Key, '2', false, false, Overlay::Number, Command::TypeDigit, Command::None},
        {"Backspace", Input::Key, VK_BACK, false, false, Overlay::Number, Command::DropDigit, Command::None},
        {"Enter", Input::Key, VK_RETURN, true, true, Overlay::Number, Command::GoToTypedSlide, Command::None},
        {"Escape key-down while typing", Input::Key, VK_ESCAPE, false, false, Overlay::Number, Command::None,
         Command::None},
        {"Escape character while typing", Input::Char, VK_ESCAPE, false, true, Overlay::Number, Command::DropNumber,
         Command::None},
        {"Page Down while typing", Input::Key, VK_NEXT, false, false, Overlay::Number, Command::DropNumber,
         Command::NextSlide},
        {"Tab while typing", Input::Key, VK_TAB, false, false, Overlay::Number, Command::DropNumber,
         Command::OpenOverview},
        {"the wheel while typing", Input::Wheel, kWheelAway, false, false, Overlay::Number, Command::DropNumber,
         Command::WheelBack},
        {"a click while typing", Input::Click, kLeftButton, false, false, Overlay::Number, Command::DropNumber,
         Command::Activate},

        {"B on black", Input::Key, 'B', false, false, Overlay::Blank, Command::EndBlank, Command::None},
        {"W on black", Input::Key, 'W', false, false, Overlay::Blank, Command::EndBlank, Command::None},
        {"Page Down on black", Input::Key, VK_NEXT, false, false, Overlay::Blank, Command::EndBlank,
         Command::NextSlide},
        {"Ctrl+Page Up on black", Input::Key, VK_PRIOR, true, false, Overlay::Blank, Command::EndBlank,
         Command::FirstSlide},
        {"cursor up on black over a photo", Input::Key, VK_UP, false, true, Overlay::Blank, Command::EndBlank,
         Command::PreviousSlide},
        {"End on black", Input::Key, VK_END, false, false, Overlay::Blank, Command::EndBlank, Command::LastSlide},
        {"cursor right on black over a photo", Input::Key, VK_RIGHT, false, true, Overlay::Blank, Command::EndBlank,
         Command::None},
        {"a letter on black", Input::Key, 'A', false, false, Overlay::Blank, Command::EndBlank, Command::None},
        {"the wheel on black", Input::Wheel, kWheelToward, false, false, Overlay::Blank, Command::EndBlank,
         Command::None},
        {"a click on black", Input::Click, kLeftButton, false, false, Overlay::Blank, Command::None, Command::None},
        {"Escape character on black", Input::Char, VK_ESCAPE, false, true, Overlay::Blank, Command::EndBlank,
         Command::None},

        {"cursor left in the overview", Input::Key, VK_LEFT, false, false, Overlay::Overview, Command::FrameLeft,
         Command::None},
        {"cursor right", Input::Key, VK_RIGHT, false, true, Overlay::Overview, Command::FrameRight, Command::None},
        {"cursor up", Input::Key, VK_UP, false, false, Overlay::Overview, Command::FrameUp, Command::None},
        {"Ctrl+cursor down", Input::Key, VK_DOWN, true, false, Overlay::Overview, Command::FrameDown, Command::None},
        {"Home in the overview", Input::Key, VK_HOME, false, false, Overlay::Overview, Command::FrameFirst,
         Command::None},
        {"wheel away in the overview", Input::Wheel, kWheelAway, false, true, Overlay::Overview, Command::FrameLeft,
         Command::None},
        {"wheel toward in the overview", Input::Wheel, kWheelToward, false, false, Overlay::Overview,
         Command::FrameRight, Command::None},
        {"Enter in the overview", Input::Key, VK_RETURN, false, false, Overlay::Overview, Command::ShowFramed,
         Command::None},
        {"a click in the overview", Input::Click, kLeftButton, false, false, Overlay::Overview, Command::ShowClicked,
         Command::None},
        {"Tab in the overview", Input::Key, VK_TAB, false, false, Overlay::Overview, Command::CloseOverview,
         Command::None},
        {"Escape character in the overview", Input::Char, VK_ESCAPE, false, true, Overlay::Overview,
         Command::CloseOverview, Command::None},
        {"a digit in the overview", Input::Key, '3', false, false, Overlay::Overview, Command::None, Command::None},
        {"B in the overview", Input::Key, 'B', false, false, Overlay::Overview, Command::None, Command::None},

        {"H in the help", Input::Key, 'H', false, false, Overlay::Help, Command::CloseHelp, Command::None},
        {"Page Down in the help", Input::Key, VK_NEXT, false, false, Overlay::Help, Command::CloseHelp, Command::None},
        {"Escape character in the help", Input::Char, VK_ESCAPE, false, true, Overlay::Help, Command::CloseHelp,
         Command::None},
        {"the wheel in the help", Input::Wheel, kWheelAway, false, false, Overlay::Help, Command::CloseHelp,
         Command::None},
        {"a click in the help", Input::Click, kLeftButton, false, false, Overlay::Help, Command::CloseHelp,
         Command::None},
    };
    for (const OverlayRow& r : rows) {
        const Commands c = CommandsFor(r.input, r.code, r.ctrl, r.picture, r.overlay);
        EXPECT_EQ(c.first, r.first) << r.what;
        EXPECT_EQ(c.then, r.then) << r.what;
    }
}

// The window's own keys: the same over every overlay, and over the key help too, which they close
// first (any key closes it).
TEST(KeyTable, TheWindowKeysKeepTheirMeaningOverEveryOverlay) {
    struct Fixed {
        const char* what;
        unsigned vk;
        bool ctrl;
        Command command;
    } const keys[] = {
        {"Shift", VK_SHIFT, false, Command::ToggleFullScreen},
        {"F1", VK_F1, false, Command::ToggleFullScreen},
        {"F5", VK_F5, true, Command::ToggleFullScreen},
        {"S", 'S', false, Command::SwapScreens},
        {"period", VK_OEM_PERIOD, false, Command::ToggleSentBack},
        {"Ctrl+B", 'B', true, Command::SendToBack},
        {"Ctrl alone", VK_CONTROL, true, Command::None},
    };
    for (const Overlay overlay : kOverlays)
        for (const bool picture : {false, true})
            for (const Fixed& k : keys) {
                const Commands c = CommandsFor(Input::Key, k.vk, k.ctrl, picture, overlay);
                if (overlay == Overlay::Help) {
                    EXPECT_EQ(c.first, Command::CloseHelp) << k.what << " over the help";
                    EXPECT_EQ(c.then, k.command) << k.what << " over the help";
                } else {
                    EXPECT_EQ(c.first, k.command) << k.what << " over overlay " << static_cast<int>(overlay);
                    EXPECT_EQ(c.then, Command::None) << k.what;
                }
            }
}

// "Any key closes it", as the help says: every key the keyboard has, with Ctrl or without.
TEST(KeyTable, EveryKeyClosesTheHelp) {
    for (unsigned vk = 1; vk < 256; ++vk)
        for (const bool ctrl : {false, true}) {
            if (vk == VK_ESCAPE) continue;  // its character closes it, as over every overlay
            EXPECT_EQ(CommandsFor(Input::Key, vk, ctrl, false, Overlay::Help).first, Command::CloseHelp) << vk;
        }
}

TEST(KeyTable, SwapAndTalkLengthKeys) {
    const Row rows[] = {
        {"S", Input::Key, 'S', false, false, Command::SwapScreens},
        {"S on a photo", Input::Key, 'S', false, true, Command::SwapScreens},
        {"Ctrl+S", Input::Key, 'S', true, false, Command::None},
        {"=/+ of the main block", Input::Key, kPlusKey, false, false, Command::LongerTalk},
        {"+ of the numeric pad", Input::Key, VK_ADD, false, true, Command::LongerTalk},
        {"- of the main block", Input::Key, kMinusKey, false, false, Command::ShorterTalk},
        {"- of the numeric pad", Input::Key, VK_SUBTRACT, false, false, Command::ShorterTalk},
        {"Ctrl+-", Input::Key, kMinusKey, true, false, Command::None},
    };
    for (const Row& r : rows) EXPECT_EQ(CommandFor(r.input, r.code, r.ctrl, r.picture), r.expected) << r.what;
}

// A held key repeats: the page keys step on, the toggles do not flicker back.
TEST(KeyTable, AutoRepeatRunsOnlyWhatMayRepeat) {
    struct Case {
        const char* what;
        Input input;
        unsigned code;
        bool ctrl;
        Overlay overlay;
        Command onRepeat;
    } const cases[] = {
        {"Page Down", Input::Key, VK_NEXT, false, Overlay::None, Command::NextSlide},
        {"cursor up", Input::Key, VK_UP, false, Overlay::None, Command::PreviousSlide},
        {"a digit", Input::Key, '7', false, Overlay::Number, Command::TypeDigit},
        {"Backspace", Input::Key, VK_BACK, false, Overlay::Number, Command::DropDigit},
        {"cursor right in the overview", Input::Key, VK_RIGHT, false, Overlay::Overview, Command::FrameRight},
        {"B", Input::Key, 'B', false, Overlay::None, Command::None},
        {"B on black", Input::Key, 'B', false, Overlay::Blank, Command::None},
        {"W", Input::Key, 'W', false, Overlay::None, Command::None},
        {"Tab", Input::Key, VK_TAB, false, Overlay::None, Command::None},
        {"Tab in the overview", Input::Key, VK_TAB, false, Overlay::Overview, Command::None},
        {"H", Input::Key, 'H', false, Overlay::None, Command::None},
        {"H in the help", Input::Key, 'H', false, Overlay::Help, Command::None},
        {"Shift", Input::Key, VK_SHIFT, false, Overlay::None, Command::None},
        {"F5", Input::Key, VK_F5, false, Overlay::Blank, Command::None},
        {"period", Input::Key, VK_OEM_PERIOD, false, Overlay::None, Command::None},
        {"S", Input::Key, 'S', false, Overlay::None, Command::None},
        {"+", Input::Key, VK_ADD, false, Overlay::None, Command::None},
        {"Escape", Input::Key, VK_ESCAPE, false, Overlay::None, Command::None},
        {"the Escape character in the overview", Input::Char, VK_ESCAPE, false, Overlay::Overview, Command::None},
    };
    for (const Case& c : cases) {
        const Commands once = CommandsFor(c.input, c.code, c.ctrl, false, c.overlay, false);
        const Commands again = CommandsFor(c.input, c.code, c.ctrl, false, c.overlay, true);
        EXPECT_NE(once.first, Command::None) << c.what << " does something when pressed";
        EXPECT_EQ(again.first, c.onRepeat) << c.what;
        if (c.onRepeat == Command::None) {
            EXPECT_EQ(again.then, Command::None) << c.what;
        }
    }
}

TEST(KeyTable, EscapeNeverQuitsOrLeavesFullScreenWhileAnOverlayIsShown) {
    for (const Overlay overlay : kOverlays) {
        if (overlay == Overlay::None) continue;
        for (const bool picture : {false, true})
            for (const bool ctrl : {false, true}) {
                const Commands key = CommandsFor(Input::Key, VK_ESCAPE, ctrl, picture, overlay);
                EXPECT_EQ(key.first, Command::None) << static_cast<int>(overlay);
                EXPECT_EQ(key.then, Command::None) << static_cast<int>(overlay);
                // Its character closes the overlay and does nothing else: a photo stays.
                const Commands ch = CommandsFor(Input::Char, VK_ESCAPE, ctrl, picture, overlay);
                EXPECT_NE(ch.first, Command::BackToSlide) << static_cast<int>(overlay);
                EXPECT_EQ(ch.then, Command::None) << static_cast<int>(overlay);
            }
    }
}

TEST(KeyTable, DigitKeys) {
    EXPECT_EQ(DigitOfKey('0'), 0);
    EXPECT_EQ(DigitOfKey('9'), 9);
    EXPECT_EQ(DigitOfKey(VK_NUMPAD0), 0);
    EXPECT_EQ(DigitOfKey(VK_NUMPAD0 + 7), 7);
    for (const unsigned vk : {'0' - 1u, '9' + 1u, VK_NUMPAD0 - 1, VK_NUMPAD0 + 10, unsigned{'A'}, 0x10030u})
        EXPECT_EQ(DigitOfKey(vk), -1) << vk;
}

}  // namespace
