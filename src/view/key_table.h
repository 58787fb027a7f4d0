// The speaker's inputs and what each does, in one table: key-downs, the Escape character and the
// wheel, each row with the Ctrl state and the view mode it applies in. The handlers look a row up
// and run its command; the first row that matches wins. Pure: no platform headers (the VK_ names
// come from virtual_keys.h when the platform's are absent).
#pragma once
#include "view/virtual_keys.h"

enum class Input { Key, Char, Wheel };
enum class CtrlState { Any, Held, Up };
enum class ViewMode { Any, Slide, Picture };

enum class Command {
    None,
    ToggleFullScreen,
    LeaveFullScreenOrQuit,  // outside Pro mode: full-screen mode ends, else the program does
    PreviousSlide,          // the page commands leave a photo first
    FirstSlide,
    NextSlide,
    LastSlide,
    WheelBack,              // one notch: clamped at the ends, and the view repaints all the same
    WheelForward,
    PreviousPhoto,
    NextPhoto,
    SendToBack,             // the frame to the bottom of the z-order, not activated
    ToggleSentBack,         // to the bottom, or back to the top
    BackToSlide,            // leaves a photo and stops a sound
};

// A wheel turn's code: which way it went. A delta of 0 counts as toward the user.
inline constexpr unsigned kWheelAway = 1;
inline constexpr unsigned kWheelToward = 0;
inline constexpr unsigned WheelCode(int delta) { return delta > 0 ? kWheelAway : kWheelToward; }

struct KeyRow {
    Input input;
    unsigned code;  // virtual-key code, character code or wheel direction
    CtrlState ctrl;
    ViewMode mode;
    Command command;
};

inline constexpr KeyRow kKeyTable[] = {
    {Input::Key, VK_SHIFT, CtrlState::Any, ViewMode::Any, Command::ToggleFullScreen},
    {Input::Key, VK_F1, CtrlState::Any, ViewMode::Any, Command::ToggleFullScreen},
    {Input::Key, VK_F5, CtrlState::Any, ViewMode::Any, Command::ToggleFullScreen},
    // In picture mode the Escape character takes the view back to the slide instead.
    {Input::Key, VK_ESCAPE, CtrlState::Any, ViewMode::Slide, Command::LeaveFullScreenOrQuit},
    {Input::Key, VK_PRIOR, CtrlState::Held, ViewMode::Any, Command::FirstSlide},
    {Input::Key, VK_PRIOR, CtrlState::Up, ViewMode::Any, Command::PreviousSlide},
    {Input::Key, VK_UP, CtrlState::Held, ViewMode::Any, Command::FirstSlide},
    {Input::Key, VK_UP, CtrlState::Up, ViewMode::Any, Command::PreviousSlide},
    {Input::Key, VK_NEXT, CtrlState::Held, ViewMode::Any, Command::LastSlide},
    {Input::Key, VK_NEXT, CtrlState::Up, ViewMode::Any, Command::NextSlide},
    {Input::Key, VK_DOWN, CtrlState::Held, ViewMode::Any, Command::LastSlide},
    {Input::Key, VK_DOWN, CtrlState::Up, ViewMode::Any, Command::NextSlide},
    {Input::Key, VK_LEFT, CtrlState::Any, ViewMode::Picture, Command::PreviousPhoto},
    {Input::Key, VK_RIGHT, CtrlState::Any, ViewMode::Picture, Command::NextPhoto},
    {Input::Key, 'B', CtrlState::Held, ViewMode::Any, Command::SendToBack},
    {Input::Key, VK_OEM_PERIOD, CtrlState::Any, ViewMode::Any, Command::ToggleSentBack},
    {Input::Char, VK_ESCAPE, CtrlState::Any, ViewMode::Any, Command::BackToSlide},
    {Input::Wheel, kWheelAway, CtrlState::Any, ViewMode::Picture, Command::PreviousPhoto},
    {Input::Wheel, kWheelToward, CtrlState::Any, ViewMode::Picture, Command::NextPhoto},
    {Input::Wheel, kWheelAway, CtrlState::Any, ViewMode::Slide, Command::WheelBack},
    {Input::Wheel, kWheelToward, CtrlState::Any, ViewMode::Slide, Command::WheelForward},
};

// The command of the first row for this input in this state; None when no row matches.
Command CommandFor(Input input, unsigned code, bool ctrlHeld, bool pictureMode);
