#include "view/layout_keys.h"

#include "view/key_table.h"

namespace {

// The key of a layout's answer when it gives the character alone and is no digit; else 0.
unsigned KeyAlone(KeyScan scan) {
    if (scan == kNoKey) return 0;
    const unsigned vk = static_cast<unsigned>(scan) & 0xFFu;
    const unsigned shiftState = (static_cast<unsigned>(scan) >> 8) & 0xFFu;
    if (shiftState != 0) return 0;  // Shift toggles full-screen; Ctrl and AltGr are no key alone
    if (DigitOfKey(vk) >= 0) return 0;
    if (vk == VK_ADD || vk == VK_SUBTRACT) return 0;  // the keypad's keys have rows of their own
    return vk;
}

}  // namespace

TalkLengthKeys TalkLengthKeysOf(KeyScan plus, KeyScan equals, KeyScan minus) {
    TalkLengthKeys keys;
    keys.longer = KeyAlone(plus);
    if (keys.longer == 0) keys.longer = KeyAlone(equals);
    if (plus == kNoKey && equals == kNoKey) keys.longer = VK_OEM_PLUS;
    keys.shorter = minus == kNoKey ? VK_OEM_MINUS : KeyAlone(minus);
    return keys;
}

unsigned TableKeyCode(unsigned vk, const TalkLengthKeys& keys) {
    if (vk != 0 && vk == keys.longer) return kPlusKey;
    if (vk != 0 && vk == keys.shorter) return kMinusKey;
    return vk;
}
