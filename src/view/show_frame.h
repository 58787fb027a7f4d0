// What the show's view asks of the window around it: the talk it shows, the frame's full-screen
// mode and place among the monitors, and the demo a hand-off starts. The application's main frame
// gives it; a view without one (alone in a window of its own) shows a talk of its own and leaves
// the frame's modes alone.
#pragma once

class Talk;
struct HandOff;

class ShowFrame {
public:
    virtual Talk& TheTalk() = 0;
    virtual bool FullScreen() const = 0;
    virtual void ToggleFullScreen() = 0;
    // S: the show and the presenter console change monitors.
    virtual void SwapScreens() = 0;
    // A hand-off of `path` (null from the corner button) reached the simulator.
    virtual void HandedOver(const HandOff& handOff, const wchar_t* path) = 0;
    // Whether the presenter console is open: somewhere for the speaker to look ahead.
    virtual bool ConsoleOpen() const = 0;

protected:
    ~ShowFrame() = default;
};
