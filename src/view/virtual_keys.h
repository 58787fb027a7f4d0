// The platform's virtual-key codes that the key table names, under the platform's own names, for
// the code and tests that are built without the platform's headers. Where those headers come
// first, their definitions stand. The codes are listed once, as a table, so that a test built
// with the platform's headers can hold every one of them against the platform's own.
#pragma once

// KEY(name, code) for every virtual key the program names.
#define PEMBORO_VIRTUAL_KEYS(KEY) \
    KEY(VK_BACK, 0x08)            \
    KEY(VK_TAB, 0x09)             \
    KEY(VK_RETURN, 0x0D)          \
    KEY(VK_SHIFT, 0x10)           \
    KEY(VK_CONTROL, 0x11)         \
    KEY(VK_ESCAPE, 0x1B)          \
    KEY(VK_PRIOR, 0x21)           \
    KEY(VK_NEXT, 0x22)            \
    KEY(VK_END, 0x23)             \
    KEY(VK_HOME, 0x24)            \
    KEY(VK_LEFT, 0x25)            \
    KEY(VK_UP, 0x26)              \
    KEY(VK_RIGHT, 0x27)           \
    KEY(VK_DOWN, 0x28)            \
    KEY(VK_NUMPAD0, 0x60)         \
    KEY(VK_NUMPAD9, 0x69)         \
    KEY(VK_ADD, 0x6B)             \
    KEY(VK_SUBTRACT, 0x6D)        \
    KEY(VK_DECIMAL, 0x6E)         \
    KEY(VK_F1, 0x70)              \
    KEY(VK_F2, 0x71)              \
    KEY(VK_F3, 0x72)              \
    KEY(VK_F4, 0x73)              \
    KEY(VK_F5, 0x74)              \
    KEY(VK_F6, 0x75)              \
    KEY(VK_OEM_PLUS, 0xBB)        \
    KEY(VK_OEM_COMMA, 0xBC)       \
    KEY(VK_OEM_MINUS, 0xBD)       \
    KEY(VK_OEM_PERIOD, 0xBE)

#ifndef VK_SHIFT
#define PEMBORO_DEFINE_VIRTUAL_KEY(name, code) inline constexpr unsigned name = (code);
PEMBORO_VIRTUAL_KEYS(PEMBORO_DEFINE_VIRTUAL_KEY)
#undef PEMBORO_DEFINE_VIRTUAL_KEY
#endif
