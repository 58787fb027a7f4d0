// The view's keyboard map: which command each virtual-key code gives.
#pragma once

enum class KeyCommand {
    None,
    ToggleFullScreen,  // Shift, F1, F5
    Escape,            // leave full-screen mode or close, by mode
    PageBack,          // Page Up, cursor up; with Ctrl the first slide
    PageForward,       // Page Down, cursor down; with Ctrl the last slide
    PhotoBack,         // cursor left, picture mode only
    PhotoForward,      // cursor right, picture mode only
    SendBackWithCtrl,  // B: with Ctrl, the frame to the bottom of the z-order
    ToggleSentBack,    // period: the frame to the bottom, or back to the top
};

KeyCommand KeyCommandFor(unsigned virtualKey);
