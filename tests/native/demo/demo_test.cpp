// The demo's decisions, event by event: the way to the simulator, the way back with the clicker,
// the simulator closed or minimised, a window that never comes, and a show in a window.
#include "demo/demo.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

enum class Event { Begin, Tick, HotKey, Activated, Deactivated };

// One event of a talk and what the show must do then.
struct Step {
    Event event;
    DemoFacts facts;
    DemoActions expected;
    bool runningAfter;
};

constexpr DemoActions kEnd = kGiveKeysBack | kStopWatching | kConsoleChanged;
constexpr DemoActions kStart = kTakeKeys | kWatch | kConsoleChanged;

DemoFacts At(double now) { return DemoFacts{.now = now}; }
DemoFacts Shown(double now) { return DemoFacts{.now = now, .windowShown = true}; }
// In front before the placement has moved it (a new simulator shows itself activated).
DemoFacts InFrontUnplaced(double now) { return DemoFacts{.now = now, .windowShown = true, .simulatorInFront = true}; }
DemoFacts SimulatorInFront(double now) {
    return DemoFacts{.now = now, .windowShown = true, .simulatorInFront = true, .windowPlaced = true};
}
DemoFacts ShowInFront(double now) { return DemoFacts{.now = now, .windowShown = true, .showInFront = true}; }
DemoFacts ConsoleInFront(double now) { return DemoFacts{.now = now, .windowShown = true, .consoleInFront = true}; }
DemoFacts Gone(double now) { return DemoFacts{.now = now, .simulatorGone = true}; }
DemoFacts GoneShowInFront(double now) { return DemoFacts{.now = now, .simulatorGone = true, .showInFront = true}; }
DemoFacts Minimised(double now) { return DemoFacts{.now = now, .windowShown = true, .minimised = true}; }

DemoActions Apply(Demo& demo, const Step& step) {
    switch (step.event) {
    case Event::Begin: return demo.Begin(DemoStart{true, 3, L"UNICODE.asc"}, step.facts);
    case Event::Tick: return demo.Tick(step.facts);
    case Event::HotKey: return demo.HotKey(step.facts);
    case Event::Activated: return demo.ShowActivated(step.facts);
    case Event::Deactivated: return demo.ShowDeactivated();
    }
    return 0;
}

struct Talk {
    const char* name;
    std::vector<Step> steps;
};

TEST(Demo, EventsOfATalk) {
    const Talk talks[] = {
        {"a running simulator: placed at once, the clicker brings the show back",
         {{Event::Begin, Shown(0), kStart | kPlaceSimulator, true},
          {Event::Deactivated, At(0.1), 0, true},
          {Event::Tick, SimulatorInFront(0.25), 0, true},
          {Event::Tick, SimulatorInFront(5), 0, true},
          {Event::HotKey, SimulatorInFront(42), kBringShowBack, true},
          {Event::Tick, ShowInFront(42), kEnd, false},
          {Event::Activated, ShowInFront(42.1), 0, false}}},
        {"a new simulator: placed when its window shows",
         {{Event::Begin, At(0), kStart, true},
          {Event::Tick, At(0.25), 0, true},
          {Event::Deactivated, At(0.3), 0, true},
          {Event::Tick, Shown(3), kPlaceSimulator, true},
          {Event::Tick, SimulatorInFront(3.25), 0, true},
          {Event::HotKey, SimulatorInFront(9), kBringShowBack, true},
          {Event::Tick, ShowInFront(9), kEnd, false}}},
        {"the system hands the front to the show while the simulator is placed: the demo runs on",
         {{Event::Begin, Shown(0), kStart | kPlaceSimulator, true},
          {Event::Deactivated, At(0.05), 0, true},
          {Event::Tick, InFrontUnplaced(0.06), 0, true},
          {Event::Activated, ShowInFront(0.1), 0, true},
          {Event::Tick, Shown(0.25), 0, true},
          {Event::Tick, SimulatorInFront(2.1), 0, true},
          {Event::HotKey, SimulatorInFront(9), kBringShowBack, true},
          {Event::Tick, ShowInFront(9), kEnd, false}}},
        {"a placement never seen done counts as done after a while",
         {{Event::Begin, Shown(0), kStart | kPlaceSimulator, true},
          {Event::Tick, InFrontUnplaced(4.9), kPlaceSimulator, true},
          {Event::Activated, ShowInFront(4.95), 0, true},
          {Event::Tick, InFrontUnplaced(5), 0, true},
          {Event::Activated, ShowInFront(6), kEnd, false}}},
        {"a placement not seen done is asked again now and then until the window is in front where it was put",
         {{Event::Begin, Shown(0), kStart | kPlaceSimulator, true},
          {Event::Tick, Shown(1), 0, true},
          {Event::Tick, Shown(1.5), kPlaceSimulator, true},
          {Event::Tick, At(2), 0, true},  // hidden while it moves
          {Event::Tick, At(3), 0, true},
          {Event::Tick, InFrontUnplaced(3.25), kPlaceSimulator, true},
          {Event::Tick, InFrontUnplaced(3.5), 0, true},
          // There, but the front went elsewhere: asked again at every look.
          {Event::Tick, DemoFacts{.now = 3.75, .windowShown = true, .windowPlaced = true}, kPlaceSimulator, true},
          {Event::Tick, DemoFacts{.now = 4, .windowShown = true, .windowPlaced = true}, kPlaceSimulator, true},
          {Event::Tick, SimulatorInFront(4.25), 0, true},
          {Event::Tick, DemoFacts{.now = 4.5, .windowShown = true, .windowPlaced = true}, 0, true},
          {Event::Tick, Shown(6.5), 0, true}}},
        {"the simulator closed during the demo: the show comes, the keys go once it is in front",
         {{Event::Begin, Shown(0), kStart | kPlaceSimulator, true},
          {Event::Tick, SimulatorInFront(0.25), 0, true},
          {Event::Tick, Gone(20), kBringShowBack, true},
          {Event::Tick, GoneShowInFront(20), kEnd, false}}},
        {"the simulator closed and the system refuses the show the front: the next key brings it",
         {{Event::Begin, Shown(0), kStart | kPlaceSimulator, true},
          {Event::Tick, SimulatorInFront(0.25), 0, true},
          {Event::Tick, Gone(20), kBringShowBack, true},
          {Event::Tick, Gone(20), 0, true},
          {Event::Tick, Gone(25), 0, true},
          {Event::HotKey, Gone(31), kBringShowBack, true},
          {Event::Tick, GoneShowInFront(31), kEnd, false}}},
        {"the simulator closed and the show came by the system's own doing: the key steps",
         {{Event::Begin, Shown(0), kStart | kPlaceSimulator, true},
          {Event::Tick, Gone(20), kBringShowBack, true},
          {Event::Tick, Gone(20), 0, true},
          {Event::HotKey, GoneShowInFront(22), kEnd | kPassKeyOn, false}}},
        {"the simulator minimised during the demo",
         {{Event::Begin, Shown(0), kStart | kPlaceSimulator, true},
          {Event::Tick, SimulatorInFront(0.25), 0, true},
          {Event::Tick, Minimised(20), kBringShowBack, true},
          {Event::Tick, ShowInFront(20), kEnd, false}}},
        {"a simulator minimised before the hand-off is restored, and its minimising later is the way back",
         {{Event::Begin, Minimised(0), kStart | kPlaceSimulator, true},
          {Event::Tick, Minimised(0.25), 0, true},
          {Event::Tick, Minimised(0.5), 0, true},
          {Event::Activated, ShowInFront(0.6), 0, true},
          {Event::Tick, SimulatorInFront(0.75), 0, true},
          {Event::Tick, Minimised(20), kBringShowBack, true},
          {Event::Tick, ShowInFront(20), kEnd, false}}},
        {"a new simulator that shows minimised is restored too",
         {{Event::Begin, At(0), kStart, true},
          {Event::Tick, Minimised(2), kPlaceSimulator, true},
          {Event::Tick, Minimised(2.25), 0, true},
          {Event::Tick, SimulatorInFront(2.5), 0, true},
          {Event::Tick, Minimised(9), kBringShowBack, true}}},
        {"the speaker clicks the show (or switches to it): the keys go back",
         {{Event::Begin, Shown(0), kStart | kPlaceSimulator, true},
          {Event::Activated, ShowInFront(0.05), 0, true},  // the placement's, not the speaker's
          {Event::Tick, SimulatorInFront(0.25), 0, true},
          {Event::Deactivated, At(0.3), 0, true},
          {Event::Activated, ShowInFront(30), kEnd, false}}},
        {"the speaker clicks the console (or switches to it): the show comes back in front",
         {{Event::Begin, Shown(0), kStart | kPlaceSimulator, true},
          {Event::Tick, SimulatorInFront(0.25), 0, true},
          {Event::Activated, ConsoleInFront(30), kBringShowBack, true},
          {Event::Tick, ShowInFront(30), kEnd, false}}},
        {"the console in front before the placement is done: the placement's doing",
         {{Event::Begin, Shown(0), kStart | kPlaceSimulator, true},
          {Event::Activated, ConsoleInFront(0.05), 0, true},
          {Event::Tick, SimulatorInFront(0.25), 0, true}}},
        {"the system gives the front to the console when the simulator closes",
         {{Event::Begin, Shown(0), kStart | kPlaceSimulator, true},
          {Event::Tick, SimulatorInFront(0.25), 0, true},
          {Event::Activated, DemoFacts{.now = 30, .simulatorGone = true, .consoleInFront = true}, kBringShowBack, true},
          {Event::Tick, GoneShowInFront(30), kEnd, false}}},
        {"a clicker key with the console in front brings the show, it does not step the hidden one",
         {{Event::Begin, Shown(0), kStart | kPlaceSimulator, true},
          {Event::Tick, SimulatorInFront(0.25), 0, true},
          {Event::HotKey, ConsoleInFront(12), kBringShowBack, true},
          {Event::Tick, ShowInFront(12), kEnd, false}}},
        {"Page Down while the show is still in front steps as usual",
         {{Event::Begin, At(0), kStart, true},
          {Event::HotKey, DemoFacts{.now = 1, .showInFront = true}, kEnd | kPassKeyOn, false}}},
        {"no window within the wait, the show still in front: no demo, but a late window is placed",
         {{Event::Begin, At(0), kStart, true},
          {Event::Tick, At(9.9), 0, true},
          {Event::Tick, At(10), kGiveKeysBack | kConsoleChanged, false},
          {Event::Tick, At(100), 0, false},
          {Event::HotKey, ShowInFront(120), kGiveKeysBack | kPassKeyOn, false},
          {Event::Tick, Shown(140), kPlaceSimulator | kTakeKeys | kConsoleChanged, true},
          {Event::Tick, SimulatorInFront(140.25), 0, true},
          {Event::HotKey, SimulatorInFront(150), kBringShowBack, true},
          {Event::Tick, ShowInFront(150), kEnd, false}}},
        {"no window ever: the watch ends with the simulator's process",
         {{Event::Begin, At(0), kStart, true},
          {Event::Tick, At(10), kGiveKeysBack | kConsoleChanged, false},
          {Event::Tick, Gone(60), kEnd, false},
          {Event::Tick, Shown(61), 0, false}}},
        {"no window within the wait, the speaker elsewhere: the clicker still brings the show",
         {{Event::Begin, At(0), kStart, true},
          {Event::Deactivated, At(1), 0, true},
          {Event::Tick, At(10.2), 0, true},
          {Event::Tick, At(11), 0, true},
          {Event::HotKey, At(15), kBringShowBack, true},
          {Event::Tick, ShowInFront(15), kEnd, false}}},
        {"no window within the wait, the speaker elsewhere for long: the demo stops counting",
         {{Event::Begin, At(0), kStart, true},
          {Event::Deactivated, At(1), 0, true},
          {Event::Tick, At(10.2), 0, true},
          {Event::Tick, At(29.9), 0, true},
          {Event::Tick, At(30), kGiveKeysBack | kConsoleChanged, false},
          {Event::Activated, ShowInFront(40), 0, false},
          {Event::Tick, Shown(50), kPlaceSimulator | kTakeKeys | kConsoleChanged, true}}},
        {"no window within the wait, the speaker comes back to the show",
         {{Event::Begin, At(0), kStart, true},
          {Event::Deactivated, At(1), 0, true},
          {Event::Tick, At(10.2), 0, true},
          {Event::Activated, ShowInFront(12), kEnd, false}}},
        {"a window that comes within the wait with the speaker elsewhere is placed",
         {{Event::Begin, At(0), kStart, true},
          {Event::Deactivated, At(1), 0, true},
          {Event::Tick, At(10.2), 0, true},
          {Event::Tick, Shown(12), kPlaceSimulator, true}}},
        {"a started simulator that ends before showing a window",
         {{Event::Begin, At(0), kStart, true},
          {Event::Tick, Gone(2), kEnd, false}}},
        {"a key left over after the demo gives the keys back and acts as usual",
         {{Event::HotKey, At(0), kGiveKeysBack | kPassKeyOn, false}}},
        {"a second hand-off during a demo starts it over",
         {{Event::Begin, Shown(0), kStart | kPlaceSimulator, true},
          {Event::Tick, SimulatorInFront(0.25), 0, true},
          {Event::Begin, At(20), kStart, true},
          {Event::Tick, At(21), 0, true},
          {Event::Activated, ShowInFront(21.5), 0, true}}},
        {"a second hand-off while the show is being brought back starts over",
         {{Event::Begin, Shown(0), kStart | kPlaceSimulator, true},
          {Event::Tick, Gone(20), kBringShowBack, true},
          {Event::Begin, Shown(21), kStart | kPlaceSimulator, true},
          {Event::Tick, Minimised(21.25), kBringShowBack, true}}},
    };
    for (const Talk& talk : talks) {
        SCOPED_TRACE(talk.name);
        Demo demo;
        for (size_t i = 0; i < talk.steps.size(); ++i) {
            SCOPED_TRACE(testing::Message() << "step " << i);
            EXPECT_EQ(Apply(demo, talk.steps[i]), talk.steps[i].expected);
            EXPECT_EQ(demo.Running(), talk.steps[i].runningAfter);
        }
    }
}

TEST(Demo, AShowInAWindowRunsNoDemo) {
    Demo demo;
    EXPECT_EQ(demo.Begin(DemoStart{false, 3, L"a.asc"}, Shown(0)), 0u);
    EXPECT_FALSE(demo.Running());
    EXPECT_EQ(demo.Status(1), std::nullopt);
    // One that ran ends: the show left full-screen for the rehearsal.
    demo.Begin(DemoStart{true, 3, L"a.asc"}, Shown(0));
    EXPECT_EQ(demo.Begin(DemoStart{false, 3, L"b.asc"}, Shown(1)), kEnd);
}

TEST(Demo, StatusNamesTheFileItsOwnTimeAndTheSlide) {
    Demo demo;
    demo.Begin(DemoStart{true, 3, L"UNICODE.asc"}, At(100));
    const auto status = demo.Status(142.9);
    ASSERT_TRUE(status.has_value());
    EXPECT_EQ(status->fileName, L"UNICODE.asc");
    EXPECT_EQ(status->seconds, 42);
    EXPECT_EQ(status->row, 3);
    EXPECT_EQ(demo.Status(99)->seconds, 0) << "a clock read before the start counts as the start";
    demo.HotKey(Shown(150));
    EXPECT_TRUE(demo.Status(150).has_value()) << "until the show is seen in front";
    demo.Tick(ShowInFront(150));
    EXPECT_EQ(demo.Status(151), std::nullopt);
    EXPECT_EQ(demo.Row(), 3) << "the slide to come back to outlives the demo";
}

// Well inside the monitor's work area, on every side, wherever the monitor lies.
TEST(Demo, TheSimulatorIsPlacedWellInsideTheWorkArea) {
    const SlideRect works[] = {{0, 0, 1920, 1040}, {1920, 0, 3200, 720}, {-1280, 0, 0, 720}, {0, -2160, 3840, 0}};
    for (const SlideRect& work : works) {
        const SlideRect r = SimulatorPlacementRect(work);
        EXPECT_GE(r.left - work.left, work.Width() / 10);
        EXPECT_GE(work.right - r.right, work.Width() / 10);
        EXPECT_GE(r.top - work.top, work.Height() / 10);
        EXPECT_GE(work.bottom - r.bottom, work.Height() / 10);
        // Scaled by 1.5 about the work area's corner, as a window of another DPI awareness may be,
        // it still has most of itself on the monitor.
        EXPECT_GT(r.Width(), work.Width() / 2);
        EXPECT_LE(work.left + (r.right - work.left) * 3 / 2, work.right + r.Width() / 2);
    }
}

}  // namespace
