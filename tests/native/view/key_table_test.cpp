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
        {"B alone", Input::Key, 'B', false, false, Command::None},
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
    // Ctrl itself, the function keys beside F1 and F5, b as a character code, C beside B, the
    // numeric-pad period, comma, Home, End, Space, a code beyond the byte, and characters other
    // than Escape.
    for (const unsigned vk : {0u, VK_CONTROL, VK_F2, VK_F3, VK_F4, VK_F6, 98u, unsigned{'C'}, VK_DECIMAL, VK_OEM_COMMA,
                              VK_HOME, VK_END, 32u, 65u, 255u, 0x10000u + VK_SHIFT}) {
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

}  // namespace
