// The talk-length keys found on the layouts speakers have, from what the system says of each
// layout (VkKeyScan's answers as Windows and Wine give them), and read through the key table.
#include "view/layout_keys.h"

#include <gtest/gtest.h>

#include "view/key_table.h"

namespace {

// VkKeyScan's answer: the key's code, with Shift (1 in the high byte) or alone.
constexpr KeyScan Alone(unsigned vk) { return static_cast<KeyScan>(vk); }
constexpr KeyScan Shifted(unsigned vk) { return static_cast<KeyScan>(0x100u | vk); }

constexpr unsigned kOem2 = 0xBF;  // US "/", the German "-" key under Wine
constexpr unsigned kOem4 = 0xDB;  // US "[", the French ")" key
constexpr unsigned kOem6 = 0xDD;  // US "]", the German "+" key under Wine

struct Layout {
    const char* what;
    KeyScan plus, equals, minus;
    unsigned longer, shorter;  // the keys found
    unsigned notLonger;        // a key near them that must stay what it is (0: none)
};

TEST(LayoutKeys, TheKeysEachLayoutPrintsThemOn) {
    const Layout layouts[] = {
        // "+" is Shift with "=": the "=" key alone.
        {"US", Shifted(VK_OEM_PLUS), Alone(VK_OEM_PLUS), Alone(VK_OEM_MINUS), VK_OEM_PLUS, VK_OEM_MINUS, 0},
        // "+" alone on its own key; "=" is Shift+0.
        {"German on Windows", Alone(VK_OEM_PLUS), Shifted('0'), Alone(VK_OEM_MINUS), VK_OEM_PLUS, VK_OEM_MINUS,
         '0'},
        {"German under Wine", Alone(kOem6), Shifted('0'), Alone(kOem2), kOem6, kOem2, VK_OEM_PLUS},
        // "-" alone on the 6 key, which stays the digit: the keypad's - shortens the talk.
        {"French AZERTY", Shifted(VK_OEM_PLUS), Alone(VK_OEM_PLUS), Alone('6'), VK_OEM_PLUS, 0, kOem4},
        // A layout that gives none of them keeps the US codes.
        {"no such characters", kNoKey, kNoKey, kNoKey, VK_OEM_PLUS, VK_OEM_MINUS, 0},
    };
    for (const Layout& l : layouts) {
        const TalkLengthKeys keys = TalkLengthKeysOf(l.plus, l.equals, l.minus);
        EXPECT_EQ(keys.longer, l.longer) << l.what;
        EXPECT_EQ(keys.shorter, l.shorter) << l.what;
        EXPECT_EQ(CommandFor(Input::Key, TableKeyCode(l.longer, keys), false, false), Command::LongerTalk) << l.what;
        if (l.shorter != 0) {
            EXPECT_EQ(CommandFor(Input::Key, TableKeyCode(l.shorter, keys), false, false), Command::ShorterTalk)
                << l.what;
        }
        if (l.notLonger != 0) {
            EXPECT_EQ(TableKeyCode(l.notLonger, keys), l.notLonger) << l.what;
        }
    }
}

// The digits type slide numbers on every layout, also where "-" or "+" is printed on them alone
// (French "-" on 6; Swiss "+" is Shift+1), and the keypad keeps its own + and -.
TEST(LayoutKeys, DigitsAndTheKeypadStayWhatTheyAre) {
    const TalkLengthKeys french = TalkLengthKeysOf(Shifted(VK_OEM_PLUS), Alone(VK_OEM_PLUS), Alone('6'));
    EXPECT_EQ(CommandFor(Input::Key, TableKeyCode('6', french), false, false), Command::TypeDigit);
    const TalkLengthKeys plusOnADigit = TalkLengthKeysOf(Alone('1'), Shifted('0'), Alone(VK_OEM_MINUS));
    EXPECT_EQ(plusOnADigit.longer, 0u);
    EXPECT_EQ(CommandFor(Input::Key, TableKeyCode('1', plusOnADigit), false, false), Command::TypeDigit);
    const TalkLengthKeys keypadOnly = TalkLengthKeysOf(Alone(VK_ADD), kNoKey, Alone(VK_SUBTRACT));
    EXPECT_EQ(keypadOnly.longer, 0u);
    EXPECT_EQ(keypadOnly.shorter, 0u);
    EXPECT_EQ(CommandFor(Input::Key, TableKeyCode(VK_ADD, keypadOnly), false, false), Command::LongerTalk);
    EXPECT_EQ(CommandFor(Input::Key, TableKeyCode(VK_SUBTRACT, keypadOnly), false, false), Command::ShorterTalk);
}

// "+" that needs AltGr (Ctrl and Alt in the high byte) is no key alone either.
TEST(LayoutKeys, AKeyThatNeedsAltGrIsNotTheKey) {
    const TalkLengthKeys keys = TalkLengthKeysOf(static_cast<KeyScan>(0x600 | kOem6), Alone(VK_OEM_PLUS), kNoKey);
    EXPECT_EQ(keys.longer, static_cast<unsigned>(VK_OEM_PLUS));
}

}  // namespace
