// The speaker's inputs and what each does, in one table: key-downs, the Escape character, the wheel
// and the left click, each row with the Ctrl state, the view mode and the overlays it applies in.
// The handlers look a row up and run its command; the first row that matches wins. A row may hand
// the input on: after its command, the same input does what it does with no overlay shown. Pure:
// no platform headers (the VK_ names come from virtual_keys.h when the platform's are absent).
#pragma once
#include "view/virtual_keys.h"

enum class Input { Key, Char, Wheel, Click };
enum class CtrlState { Any, Held, Up };
enum class ViewMode { Any, Slide, Picture };

// What the view shows over, or instead of, the slide or photo. Only one at a time.
enum class Overlay {
    None,
    Number,    // digits typed for a jump, in a box in a corner
    Blank,     // a black or white screen
    Overview,  // every slide as a thumbnail
    Help,      // the keys and mouse actions, as a table over the slide
    // Not drawn over the slide but a way of showing it: the speaker's zoom (in the talk).
    ZoomDrag,  // Z was pressed: the next drag picks the part of the slide to enlarge
    Zoomed,    // a part of the slide fills the screen
};

// The overlays a row applies in, as a set.
using OverlaySet = unsigned;
inline constexpr OverlaySet In(Overlay o) { return 1u << static_cast<unsigned>(o); }
inline constexpr OverlaySet kPlain = In(Overlay::None);
inline constexpr OverlaySet kZoom = In(Overlay::ZoomDrag) | In(Overlay::Zoomed);
inline constexpr OverlaySet kEveryOverlay = In(Overlay::None) | In(Overlay::Number) | In(Overlay::Blank) |
                                            In(Overlay::Overview) | In(Overlay::Help) | kZoom;
inline constexpr OverlaySet kAnyOverlayShown = kEveryOverlay & ~kPlain;
// The key help closes on every key: the window's own keys act over every other overlay.
inline constexpr OverlaySet kEveryOverlayButHelp = kEveryOverlay & ~In(Overlay::Help);

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
    Activate,               // a click: leaves a photo, or opens what is under the pointer
    TypeDigit,              // one more digit of a slide number
    DropDigit,
    GoToTypedSlide,
    DropNumber,
    BlankBlack,
    BlankWhite,
    EndBlank,
    OpenOverview,
    FrameLeft,              // the overview's frame, one thumbnail or one row on
    FrameRight,
    FrameUp,
    FrameDown,
    FrameFirst,
    FrameLast,
    ShowFramed,             // the framed slide, overview closed
    ShowClicked,            // the slide of the thumbnail clicked; a click between them does nothing
    CloseOverview,          // back to what was shown before
    ShowHelp,
    CloseHelp,
    SwapScreens,            // the show and the presenter console change monitors
    LongerTalk,             // the talk's length, 5 minutes more or less
    ShorterTalk,
    RestartClock,           // the talk's time from zero
    TogglePointer,          // a red dot on the show follows the mouse
    ToggleZoom,             // the next drag enlarges a part of the slide; again: the whole slide
    Unzoom,                 // the whole slide
    BeginZoomDrag,          // the drag that picks the part starts here
    ZoomIn,                 // one notch at the mouse
    ZoomOut,
    ToggleFreeze,           // the show keeps what it shows while the speaker moves on
};

// Commands that a held key's auto-repeat must not run again: each press toggles, opens or closes
// something once, and a repeat would flicker it back (or quit where Escape left full-screen).
// The page and frame moves, the digits and the photos keep repeating.
constexpr bool IgnoresRepeat(Command c) {
    switch (c) {
    case Command::ToggleFullScreen:
    case Command::LeaveFullScreenOrQuit:
    case Command::SendToBack:
    case Command::ToggleSentBack:
    case Command::BlankBlack:
    case Command::BlankWhite:
    case Command::EndBlank:
    case Command::OpenOverview:
    case Command::CloseOverview:
    case Command::ShowHelp:
    case Command::CloseHelp:
    case Command::SwapScreens:
    case Command::LongerTalk:
    case Command::ShorterTalk:
    case Command::RestartClock:
    case Command::TogglePointer:
    case Command::ToggleZoom:
    case Command::Unzoom:
    case Command::ToggleFreeze: return true;
    default: return false;
    }
}

// After a row's command: stop, or do what the same input does with no overlay.
enum class Then { Stop, AsPlain };

// A wheel turn's code: which way it went. A delta of 0 counts as toward the user.
inline constexpr unsigned kWheelAway = 1;
inline constexpr unsigned kWheelToward = 0;
inline constexpr unsigned WheelCode(int delta) { return delta > 0 ? kWheelAway : kWheelToward; }

// The left button, the only one the view answers.
inline constexpr unsigned kLeftButton = 0;

// Codes that stand for several: every code of the input, and the digit keys of the main block
// and of the numeric pad.
inline constexpr unsigned kAnyCode = 0xFFFFFFFFu;
inline constexpr unsigned kDigitKeys = 0xFFFFFFFEu;
// The main block's "=/+" key (the key that gives "+" alone, else "=") and its "-" key on the
// speaker's layout, whatever their codes there: the platform's side names them (layout_keys.h).
inline constexpr unsigned kPlusKey = 0xFFFFFFFDu;
inline constexpr unsigned kMinusKey = 0xFFFFFFFCu;
// The digit of a digit key, or -1 for any other key.
constexpr int DigitOfKey(unsigned vk) {
    if (vk >= '0' && vk <= '9') return static_cast<int>(vk - '0');
    if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9) return static_cast<int>(vk - VK_NUMPAD0);
    return -1;
}

struct KeyRow {
    Input input;
    unsigned code;  // virtual-key code, character code, wheel direction or button; or a code class
    CtrlState ctrl;
    ViewMode mode;
    Command command;
    OverlaySet overlays = kPlain;
    Then then = Then::Stop;
};

// clang-format off
inline constexpr KeyRow kKeyTable[] = {
    // Whatever is shown (but the key help, which any key closes first): full-screen mode, the
    // screens swapped, the window's place in the stack, and Ctrl alone, which ends no overlay (it
    // is half of Ctrl+B).
    {Input::Key, VK_SHIFT, CtrlState::Any, ViewMode::Any, Command::ToggleFullScreen, kEveryOverlayButHelp},
    {Input::Key, VK_F1, CtrlState::Any, ViewMode::Any, Command::ToggleFullScreen, kEveryOverlayButHelp},
    {Input::Key, VK_F5, CtrlState::Any, ViewMode::Any, Command::ToggleFullScreen, kEveryOverlayButHelp},
    {Input::Key, 'S', CtrlState::Up, ViewMode::Any, Command::SwapScreens, kEveryOverlayButHelp},
    {Input::Key, 'B', CtrlState::Held, ViewMode::Any, Command::SendToBack, kEveryOverlayButHelp},
    {Input::Key, VK_OEM_PERIOD, CtrlState::Any, ViewMode::Any, Command::ToggleSentBack, kEveryOverlayButHelp},
    {Input::Key, VK_CONTROL, CtrlState::Any, ViewMode::Any, Command::None, kEveryOverlayButHelp},
    // An overlay's Escape key-down does nothing: its character closes the overlay, and nothing else.
    {Input::Key, VK_ESCAPE, CtrlState::Any, ViewMode::Any, Command::None, kAnyOverlayShown},

    // The slide or the photo, nothing over it.
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
    {Input::Key, VK_HOME, CtrlState::Any, ViewMode::Any, Command::FirstSlide},
    {Input::Key, VK_END, CtrlState::Any, ViewMode::Any, Command::LastSlide},
    {Input::Key, VK_LEFT, CtrlState::Any, ViewMode::Picture, Command::PreviousPhoto},
    {Input::Key, VK_RIGHT, CtrlState::Any, ViewMode::Picture, Command::NextPhoto},
    {Input::Key, kDigitKeys, CtrlState::Up, ViewMode::Any, Command::TypeDigit},
    {Input::Key, 'B', CtrlState::Up, ViewMode::Any, Command::BlankBlack},
    {Input::Key, 'W', CtrlState::Up, ViewMode::Any, Command::BlankWhite},
    {Input::Key, VK_TAB, CtrlState::Up, ViewMode::Any, Command::OpenOverview},
    {Input::Key, 'H', CtrlState::Up, ViewMode::Any, Command::ShowHelp},
    // The speaker's tools: the pointer, the zoom, the freeze of the show, the talk's time anew.
    {Input::Key, 'L', CtrlState::Up, ViewMode::Any, Command::TogglePointer, kPlain | kZoom},
    {Input::Key, 'Z', CtrlState::Up, ViewMode::Slide, Command::ToggleZoom, kPlain | kZoom},
    {Input::Key, 'F', CtrlState::Up, ViewMode::Any, Command::ToggleFreeze, kPlain | kZoom},
    {Input::Key, 'R', CtrlState::Up, ViewMode::Any, Command::RestartClock, kPlain | kZoom},
    // The talk's length, for the presenter console's time left: the "=/+" and "-" keys of the main
    // block, alone (Shift is a full-screen key), and the numeric pad's + and -.
    {Input::Key, kPlusKey, CtrlState::Up, ViewMode::Any, Command::LongerTalk},
    {Input::Key, VK_ADD, CtrlState::Up, ViewMode::Any, Command::LongerTalk},
    {Input::Key, kMinusKey, CtrlState::Up, ViewMode::Any, Command::ShorterTalk},
    {Input::Key, VK_SUBTRACT, CtrlState::Up, ViewMode::Any, Command::ShorterTalk},
    {Input::Char, VK_ESCAPE, CtrlState::Any, ViewMode::Any, Command::BackToSlide},
    {Input::Wheel, kWheelAway, CtrlState::Any, ViewMode::Picture, Command::PreviousPhoto},
    {Input::Wheel, kWheelToward, CtrlState::Any, ViewMode::Picture, Command::NextPhoto},
    {Input::Wheel, kWheelAway, CtrlState::Any, ViewMode::Slide, Command::WheelBack},
    {Input::Wheel, kWheelToward, CtrlState::Any, ViewMode::Slide, Command::WheelForward},
    {Input::Click, kLeftButton, CtrlState::Any, ViewMode::Any, Command::Activate},

    // A slide number being typed: more digits, Backspace, Enter, Escape; anything else drops the
    // number and then does what it always does.
    {Input::Key, kDigitKeys, CtrlState::Up, ViewMode::Any, Command::TypeDigit, In(Overlay::Number)},
    {Input::Key, VK_BACK, CtrlState::Any, ViewMode::Any, Command::DropDigit, In(Overlay::Number)},
    {Input::Key, VK_RETURN, CtrlState::Any, ViewMode::Any, Command::GoToTypedSlide, In(Overlay::Number)},
    {Input::Char, VK_ESCAPE, CtrlState::Any, ViewMode::Any, Command::DropNumber, In(Overlay::Number)},
    {Input::Key, kAnyCode, CtrlState::Any, ViewMode::Any, Command::DropNumber, In(Overlay::Number), Then::AsPlain},
    {Input::Wheel, kAnyCode, CtrlState::Any, ViewMode::Any, Command::DropNumber, In(Overlay::Number), Then::AsPlain},
    {Input::Click, kAnyCode, CtrlState::Any, ViewMode::Any, Command::DropNumber, In(Overlay::Number), Then::AsPlain},

    // A blank screen: a page key brings the slide back and steps; any other key and the wheel
    // only bring it back; a click does nothing at all.
    {Input::Key, VK_PRIOR, CtrlState::Any, ViewMode::Any, Command::EndBlank, In(Overlay::Blank), Then::AsPlain},
    {Input::Key, VK_NEXT, CtrlState::Any, ViewMode::Any, Command::EndBlank, In(Overlay::Blank), Then::AsPlain},
    {Input::Key, VK_UP, CtrlState::Any, ViewMode::Any, Command::EndBlank, In(Overlay::Blank), Then::AsPlain},
    {Input::Key, VK_DOWN, CtrlState::Any, ViewMode::Any, Command::EndBlank, In(Overlay::Blank), Then::AsPlain},
    {Input::Key, VK_HOME, CtrlState::Any, ViewMode::Any, Command::EndBlank, In(Overlay::Blank), Then::AsPlain},
    {Input::Key, VK_END, CtrlState::Any, ViewMode::Any, Command::EndBlank, In(Overlay::Blank), Then::AsPlain},
    {Input::Char, VK_ESCAPE, CtrlState::Any, ViewMode::Any, Command::EndBlank, In(Overlay::Blank)},
    {Input::Key, kAnyCode, CtrlState::Any, ViewMode::Any, Command::EndBlank, In(Overlay::Blank)},
    {Input::Wheel, kAnyCode, CtrlState::Any, ViewMode::Any, Command::EndBlank, In(Overlay::Blank)},
    {Input::Click, kAnyCode, CtrlState::Any, ViewMode::Any, Command::None, In(Overlay::Blank)},

    // The overview: the frame moves, Enter or a click shows a slide, Tab or Escape goes back.
    {Input::Key, VK_LEFT, CtrlState::Any, ViewMode::Any, Command::FrameLeft, In(Overlay::Overview)},
    {Input::Key, VK_RIGHT, CtrlState::Any, ViewMode::Any, Command::FrameRight, In(Overlay::Overview)},
    {Input::Key, VK_UP, CtrlState::Any, ViewMode::Any, Command::FrameUp, In(Overlay::Overview)},
    {Input::Key, VK_DOWN, CtrlState::Any, ViewMode::Any, Command::FrameDown, In(Overlay::Overview)},
    {Input::Key, VK_PRIOR, CtrlState::Any, ViewMode::Any, Command::FrameLeft, In(Overlay::Overview)},
    {Input::Key, VK_NEXT, CtrlState::Any, ViewMode::Any, Command::FrameRight, In(Overlay::Overview)},
    {Input::Key, VK_HOME, CtrlState::Any, ViewMode::Any, Command::FrameFirst, In(Overlay::Overview)},
    {Input::Key, VK_END, CtrlState::Any, ViewMode::Any, Command::FrameLast, In(Overlay::Overview)},
    {Input::Key, VK_RETURN, CtrlState::Any, ViewMode::Any, Command::ShowFramed, In(Overlay::Overview)},
    {Input::Key, VK_TAB, CtrlState::Any, ViewMode::Any, Command::CloseOverview, In(Overlay::Overview)},
    {Input::Char, VK_ESCAPE, CtrlState::Any, ViewMode::Any, Command::CloseOverview, In(Overlay::Overview)},
    {Input::Wheel, kWheelAway, CtrlState::Any, ViewMode::Any, Command::FrameLeft, In(Overlay::Overview)},
    {Input::Wheel, kWheelToward, CtrlState::Any, ViewMode::Any, Command::FrameRight, In(Overlay::Overview)},
    {Input::Click, kAnyCode, CtrlState::Any, ViewMode::Any, Command::ShowClicked, In(Overlay::Overview)},

    // The zoom: Escape or Z shows the whole slide; a page key shows it and steps; Ctrl and the
    // wheel zoom at the mouse; a click opens what is seen under it, or, after Z, starts the drag.
    {Input::Key, VK_ESCAPE, CtrlState::Any, ViewMode::Any, Command::None, kZoom},
    {Input::Char, VK_ESCAPE, CtrlState::Any, ViewMode::Any, Command::Unzoom, kZoom},
    {Input::Key, VK_PRIOR, CtrlState::Any, ViewMode::Any, Command::Unzoom, kZoom, Then::AsPlain},
    {Input::Key, VK_NEXT, CtrlState::Any, ViewMode::Any, Command::Unzoom, kZoom, Then::AsPlain},
    {Input::Key, VK_UP, CtrlState::Any, ViewMode::Any, Command::Unzoom, kZoom, Then::AsPlain},
    {Input::Key, VK_DOWN, CtrlState::Any, ViewMode::Any, Command::Unzoom, kZoom, Then::AsPlain},
    {Input::Key, VK_HOME, CtrlState::Any, ViewMode::Any, Command::Unzoom, kZoom, Then::AsPlain},
    {Input::Key, VK_END, CtrlState::Any, ViewMode::Any, Command::Unzoom, kZoom, Then::AsPlain},
    {Input::Wheel, kWheelAway, CtrlState::Held, ViewMode::Slide, Command::ZoomIn, kZoom},
    {Input::Wheel, kWheelToward, CtrlState::Held, ViewMode::Slide, Command::ZoomOut, kZoom},
    {Input::Wheel, kAnyCode, CtrlState::Up, ViewMode::Any, Command::Unzoom, kZoom, Then::AsPlain},
    {Input::Click, kLeftButton, CtrlState::Any, ViewMode::Any, Command::BeginZoomDrag, In(Overlay::ZoomDrag)},
    {Input::Click, kLeftButton, CtrlState::Any, ViewMode::Any, Command::Activate, In(Overlay::Zoomed)},
    // Every other key does what it does on the whole slide; the zoom stays.
    {Input::Key, kAnyCode, CtrlState::Any, ViewMode::Any, Command::None, kZoom, Then::AsPlain},
    {Input::Char, kAnyCode, CtrlState::Any, ViewMode::Any, Command::None, kZoom, Then::AsPlain},

    // The key help: any key, the Escape character, the wheel or a click closes it. The window's
    // own keys then do what they always do; every other input only closes it.
    {Input::Key, VK_SHIFT, CtrlState::Any, ViewMode::Any, Command::CloseHelp, In(Overlay::Help), Then::AsPlain},
    {Input::Key, VK_F1, CtrlState::Any, ViewMode::Any, Command::CloseHelp, In(Overlay::Help), Then::AsPlain},
    {Input::Key, VK_F5, CtrlState::Any, ViewMode::Any, Command::CloseHelp, In(Overlay::Help), Then::AsPlain},
    {Input::Key, 'S', CtrlState::Up, ViewMode::Any, Command::CloseHelp, In(Overlay::Help), Then::AsPlain},
    {Input::Key, 'B', CtrlState::Held, ViewMode::Any, Command::CloseHelp, In(Overlay::Help), Then::AsPlain},
    {Input::Key, VK_OEM_PERIOD, CtrlState::Any, ViewMode::Any, Command::CloseHelp, In(Overlay::Help), Then::AsPlain},
    {Input::Char, VK_ESCAPE, CtrlState::Any, ViewMode::Any, Command::CloseHelp, In(Overlay::Help)},
    {Input::Key, kAnyCode, CtrlState::Any, ViewMode::Any, Command::CloseHelp, In(Overlay::Help)},
    {Input::Wheel, kAnyCode, CtrlState::Any, ViewMode::Any, Command::CloseHelp, In(Overlay::Help)},
    {Input::Click, kAnyCode, CtrlState::Any, ViewMode::Any, Command::CloseHelp, In(Overlay::Help)},
};
// clang-format on

// What one input does: the first row's command, and the command that follows when the row hands
// the input on (None otherwise). A key's auto-repeat (`repeat`) does nothing where the first
// row's command ignores repeats.
struct Commands {
    Command first = Command::None;
    Command then = Command::None;
};
Commands CommandsFor(Input input, unsigned code, bool ctrlHeld, bool pictureMode, Overlay overlay,
                     bool repeat = false);

// The command of the first row for this input with no overlay shown; None when no row matches.
Command CommandFor(Input input, unsigned code, bool ctrlHeld, bool pictureMode);
