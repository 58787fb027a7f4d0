// The talk-length keys of the main block on the speaker's keyboard layout: the key that gives "+"
// alone, or else the one that gives "=" alone (the "=/+" key of US and French keyboards, whose "+"
// needs Shift, and Shift is a full-screen key), and the key that gives "-" alone. Each layout puts
// them on other keys, and the system gives them other key codes (German: the "+" key is
// VK_OEM_PLUS on Windows but the code of US "]" under Wine), so the key pressed is named by what
// the layout prints on it before the key table is looked up. Never a digit key: the digits type
// slide numbers on every layout, and French AZERTY's "-" lies on its 6 key, which stays 6 (its
// speakers use the keypad's -). Pure: no platform headers.
#pragma once

// Where the layout puts a character, as the system's VkKeyScan answers: the key's virtual-key code
// in the low byte, the shift state it needs in the high byte (0: the key alone), -1 for no key.
using KeyScan = short;
inline constexpr KeyScan kNoKey = -1;

// The virtual-key codes of the two keys; 0 where the layout has no such key outside the digits.
struct TalkLengthKeys {
    unsigned longer = 0;
    unsigned shorter = 0;
};

// The keys from the layout's answers for "+", "=" and "-". A layout that gives none of "+" and "="
// (or no "-") keeps the codes the US layout gives them.
TalkLengthKeys TalkLengthKeysOf(KeyScan plus, KeyScan equals, KeyScan minus);

// The key table's code for a key-down: kPlusKey or kMinusKey for the layout's talk-length keys,
// the virtual-key code for every other key.
unsigned TableKeyCode(unsigned vk, const TalkLengthKeys& keys);

// The same on the layout the keyboard has now, asked at each key (the speaker may switch layouts
// during the talk). The platform's side: layout_keys_win.cpp.
unsigned TableKeyCode(unsigned vk);
