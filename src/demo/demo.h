// A demo: from a hand-off that brings the simulator before the audience until the show is in front
// again. What each event does is decided here, from facts the show gathers; the show's side
// (demo_win) gathers them and carries the actions out. Pure.
#pragma once
#include <optional>
#include <string>

#include "render/geometry.h"

// What the show does after an event, as a set of flags.
using DemoActions = unsigned;
inline constexpr DemoActions kPlaceSimulator = 1u << 0;  // its window onto the show's monitor, maximised, in front
inline constexpr DemoActions kTakeKeys = 1u << 1;        // Page Down and Page Up, from every program
inline constexpr DemoActions kGiveKeysBack = 1u << 2;
// In front, full-screen, at the demo's slide, with the keyboard; then a look (Tick) whether the
// system let it come: the keys stay taken until it has.
inline constexpr DemoActions kBringShowBack = 1u << 3;
inline constexpr DemoActions kPassKeyOn = 1u << 4;       // the key does what it does on the show
inline constexpr DemoActions kWatch = 1u << 5;           // look at the simulator at intervals
inline constexpr DemoActions kStopWatching = 1u << 6;
inline constexpr DemoActions kConsoleChanged = 1u << 7;  // the console shows or drops the demo's lines

// What the show knows of the simulator and of itself when an event comes.
struct DemoFacts {
    double now = 0.0;            // seconds, on a clock that only goes forward
    bool windowShown = false;    // the simulator's window is known and visible (minimised or not)
    bool simulatorGone = false;  // its window was closed, or its process ended before showing one
    bool minimised = false;      // its window is minimised
    bool showInFront = false;    // the foreground window is the show's own
    bool simulatorInFront = false;  // the foreground window is the simulator's
    bool windowPlaced = false;      // its window is shown maximised on the show's monitor, on top there
    bool consoleInFront = false;    // the foreground window is another of the presenter's (the console)
};

struct DemoStart {
    bool fullScreen = false;  // the show was full-screen when the hand-off came
    int row = 0;              // the slide the demo starts from
    std::wstring fileName;    // what the simulator was given, or its own name
};

// What the console says while a demo runs.
struct DemoStatus {
    std::wstring fileName;
    long long seconds = 0;  // the demo's own time
    int row = 0;            // the slide the way back returns to
    // Page Down is the demo's, from every program: the clicker brings the show back. The show's
    // side knows; without it the speaker is told to click the show.
    bool pageDownTaken = false;
};

// The rectangle a simulator's window is moved to before it is maximised on a monitor with work
// area `work`: well inside it, so that a simulator the system scales for another DPI still has
// the most of its window there and is maximised there.
SlideRect SimulatorPlacementRect(const SlideRect& work);

class Demo {
public:
    // A simulator started for the demo may take this long to show its window; the demo counts
    // until then. A window that comes later is still placed, as a demo of its own.
    static constexpr double kWindowWaitSeconds = 10.0;
    // With the speaker in another program when the wait ran out, the clicker's keys stay the
    // demo's (and the console says so) until this long after the hand-off.
    static constexpr double kNoWindowSeconds = 30.0;
    // A placement not seen done by then (a window that will not be maximised) counts as done.
    static constexpr double kPlacingSeconds = 5.0;
    // Until then it is asked again at this interval while the window is not seen where it was
    // put (a window restored from minimised comes back maximised where it was), and at every
    // look while it is there but not in front (the system may hand the front around while it
    // moves).
    static constexpr double kPlaceAgainSeconds = 1.5;

    // A hand-off reached the simulator. Only a full-screen show runs a demo: in a window the
    // simulator comes to the front as it does by itself, and nothing else happens.
    DemoActions Begin(const DemoStart& start, const DemoFacts& facts);
    // The show's regular look at the simulator, and its look right after bringing itself back.
    DemoActions Tick(const DemoFacts& facts);
    // Page Down or Page Up, taken from whatever program had the keyboard.
    DemoActions HotKey(const DemoFacts& facts);
    // The presenter became the active program, or stopped being it.
    DemoActions ShowActivated(const DemoFacts& facts);
    DemoActions ShowDeactivated();

    // The demo counts: the keys are taken and the console shows its lines.
    bool Running() const { return phase_ != Phase::None && phase_ != Phase::Late; }
    // The simulator has been seen in front where it was put (or long enough after): from now
    // on the presenter's activation is the speaker's way back, not the placement's doing.
    bool Settled() const { return phase_ == Phase::Placed && settled_; }
    // The slide the demo started from (also after it ended).
    int Row() const { return row_; }
    std::optional<DemoStatus> Status(double now) const;

private:
    enum class Phase {
        None,
        Waiting,    // for the window of a simulator just started
        Placed,     // the window is on its way before the audience, or there
        NoWindow,   // none came in time; the demo runs for a while with the speaker elsewhere
        Late,       // none came in time and the demo is over; a window that comes still is placed
        Returning,  // the show was brought back, and has not been seen in front yet
    };
    DemoActions End(DemoActions also);
    // The way back: the show comes, the keys stay until it is seen in front.
    DemoActions Return(DemoActions also);
    // The wait ran out, or the speaker stayed away too long: the demo stops counting.
    DemoActions GiveUp();
    DemoActions Place(double now);

    Phase phase_ = Phase::None;
    bool showLeft_ = false;   // another program took the front while no simulator window was placed
    bool settled_ = false;    // the placed simulator has been seen in front: the show's activation
                              // from then on is the speaker's doing, not the placement's
    bool seenShown_ = false;  // its window was seen shown, not minimised, during this demo: only
                              // then is a minimised window the speaker's way back
    int row_ = 0;
    std::wstring fileName_;
    double start_ = 0.0;
    double placedAt_ = 0.0;     // when its window was first placed
    double placedLast_ = 0.0;   // when it was asked last
};
