// The platform's virtual-key codes that the key table names, under the platform's own names, for
// the code and tests that are built without the platform's headers. Where those headers come
// first, their definitions stand.
#pragma once

#ifndef VK_SHIFT
inline constexpr unsigned VK_SHIFT = 0x10;
inline constexpr unsigned VK_CONTROL = 0x11;
inline constexpr unsigned VK_ESCAPE = 0x1B;
inline constexpr unsigned VK_PRIOR = 0x21;
inline constexpr unsigned VK_NEXT = 0x22;
inline constexpr unsigned VK_END = 0x23;
inline constexpr unsigned VK_HOME = 0x24;
inline constexpr unsigned VK_LEFT = 0x25;
inline constexpr unsigned VK_UP = 0x26;
inline constexpr unsigned VK_RIGHT = 0x27;
inline constexpr unsigned VK_DOWN = 0x28;
inline constexpr unsigned VK_F1 = 0x70;
inline constexpr unsigned VK_F2 = 0x71;
inline constexpr unsigned VK_F5 = 0x74;
inline constexpr unsigned VK_F6 = 0x75;
inline constexpr unsigned VK_DECIMAL = 0x6E;
inline constexpr unsigned VK_OEM_COMMA = 0xBC;
inline constexpr unsigned VK_OEM_PERIOD = 0xBE;
#endif
