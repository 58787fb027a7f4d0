#include "view/key_commands.h"

#include <gtest/gtest.h>

namespace {

TEST(KeyMap, EveryBoundKey) {
    struct Case {
        unsigned vk;
        KeyCommand command;
    } const cases[] = {
        {16, KeyCommand::ToggleFullScreen}, {112, KeyCommand::ToggleFullScreen}, {116, KeyCommand::ToggleFullScreen},
        {27, KeyCommand::Escape},           {33, KeyCommand::PageBack},          {38, KeyCommand::PageBack},
        {34, KeyCommand::PageForward},      {40, KeyCommand::PageForward},       {37, KeyCommand::PhotoBack},
        {39, KeyCommand::PhotoForward},     {66, KeyCommand::SendBackWithCtrl},  {190, KeyCommand::ToggleSentBack},
    };
    for (const Case& c : cases) EXPECT_EQ(KeyCommandFor(c.vk), c.command) << c.vk;
}

TEST(KeyMap, NeighbouringAndLookalikeKeysDoNothing) {
    // Ctrl itself, F2..F4, F6, b as a character code, the numeric-pad period, comma, Home, End, Space.
    for (unsigned vk : {0u, 17u, 113u, 114u, 115u, 117u, 98u, 110u, 188u, 36u, 35u, 32u, 65u, 67u, 255u, 0x10000u + 16u})
        EXPECT_EQ(KeyCommandFor(vk), KeyCommand::None) << vk;
}

}  // namespace
