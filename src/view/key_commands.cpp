#include "view/key_commands.h"

namespace {

struct KeyBinding {
    unsigned virtualKey;
    KeyCommand command;
};

// Virtual-key codes as the platform numbers them.
constexpr KeyBinding kKeyMap[] = {
    {16, KeyCommand::ToggleFullScreen},   // Shift
    {112, KeyCommand::ToggleFullScreen},  // F1
    {116, KeyCommand::ToggleFullScreen},  // F5
    {27, KeyCommand::Escape},
    {33, KeyCommand::PageBack},           // Page Up
    {38, KeyCommand::PageBack},           // cursor up
    {34, KeyCommand::PageForward},        // Page Down
    {40, KeyCommand::PageForward},        // cursor down
    {37, KeyCommand::PhotoBack},          // cursor left
    {39, KeyCommand::PhotoForward},       // cursor right
    {66, KeyCommand::SendBackWithCtrl},   // B
    {190, KeyCommand::ToggleSentBack},    // period
};

}  // namespace

KeyCommand KeyCommandFor(unsigned virtualKey) {
    for (const KeyBinding& binding : kKeyMap) {
        if (binding.virtualKey == virtualKey) return binding.command;
    }
    return KeyCommand::None;
}
