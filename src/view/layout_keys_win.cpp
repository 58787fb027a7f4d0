// The talk-length keys on the layout of the keyboard now: the system says which key gives "+",
// "=" and "-" on it.
#include <windows.h>

#include "view/layout_keys.h"

unsigned TableKeyCode(unsigned vk) {
    const HKL layout = ::GetKeyboardLayout(0);
    const TalkLengthKeys keys = TalkLengthKeysOf(::VkKeyScanExW(L'+', layout), ::VkKeyScanExW(L'=', layout),
                                                 ::VkKeyScanExW(L'-', layout));
    return TableKeyCode(vk, keys);
}
