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

DemoFacts At(double now) { return DemoFacts{now, false, false, false, false, false, false}; }
DemoFacts Shown(double now) { return DemoFacts{now, true, false, false, false, false, false}; }
// In front before the placement has moved it (a new simulator shows itself activated).
DemoFacts InFrontUnplaced(double now) { return DemoFacts{now, true, false, false, false, true, false}; }
DemoFacts SimulatorInFront(double now) { return DemoFacts{now, true, false, false, false, true, true}; }
DemoFacts ShowInFront(double now) { return DemoFacts{now, true, false, false, true, false, false}; }
DemoFacts Gone(double now) { return DemoFacts{now, false, true, false, false, false, false}; }
DemoFacts Minimised(double now) { return DemoFacts{now, true, false, true, false, false, false}; }

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
          {Event::HotKey, SimulatorInFront(42), kEnd | kBringShowBack, false},
          {Event::Activated, ShowInFront(42.1), 0, false}}},
        {"a new simulator: placed when its window shows",
         {{Event::Begin, At(0), kStart, true},
          {Event::Tick, At(0.25), 0, true},
          {Event::Deactivated, At(0.3), 0, true},
          {Event::Tick, Shown(3), kPlaceSimulator, true},
          {Event::Tick, SimulatorInFront(3.25), 0, true},
          {Event::HotKey, SimulatorInFront(9), kEnd | kBringShowBack, false}}},
        {"the system hands the front to the show while the simulator is placed: the demo runs on",
         {{Event::Begin, Shown(0), kStart | kPlaceSimulator, true},
          {Event::Deactivated, At(0.05), 0, true},
          {Event::Tick, InFrontUnplaced(0.06), 0, true},
          {Event::Activated, ShowInFront(0.1), 0, true},
          {Event::Tick, Shown(0.25), 0, true},
          {Event::Tick, SimulatorInFront(2.1), 0, true},
          {Event::HotKey, SimulatorInFront(9), kEnd | kBringShowBack, false}}},
        {"a placement never seen done counts as done after a while",
         {{Event::Begin, Shown(0), kStart | kPlaceSimulator, true},
          {Event::Tick, InFrontUnplaced(4.9), 0, true},
          {Event::Activated, ShowInFront(4.95), 0, true},
          {Event::Tick, InFrontUnplaced(5), 0, true},
          {Event::Activated, ShowInFront(6), kEnd, false}}},
        {"the simulator closed during the demo",
         {{Event::Begin, Shown(0), kStart | kPlaceSimulator, true},
          {Event::Tick, SimulatorInFront(0.25), 0, true},
          {Event::Tick, Gone(20), kEnd | kBringShowBack, false}}},
        {"the simulator minimised during the demo",
         {{Event::Begin, Shown(0), kStart | kPlaceSimulator, true},
          {Event::Tick, SimulatorInFront(0.25), 0, true},
          {Event::Tick, Minimised(20), kEnd | kBringShowBack, false}}},
        {"the speaker clicks the show (or Alt+Tab, or the console): the keys go back",
         {{Event::Begin, Shown(0), kStart | kPlaceSimulator, true},
          {Event::Activated, ShowInFront(0.05), 0, true},  // the placement's, not the speaker's
          {Event::Tick, SimulatorInFront(0.25), 0, true},
          {Event::Deactivated, At(0.3), 0, true},
          {Event::Activated, ShowInFront(30), kEnd, false}}},
        {"the system gives the front to the console when the simulator closes",
         {{Event::Begin, Shown(0), kStart | kPlaceSimulator, true},
          {Event::Tick, SimulatorInFront(0.25), 0, true},
          {Event::Activated, DemoFacts{30, false, true, false, true, false, false}, kEnd | kBringShowBack, false}}},
        {"Page Down while the show is still in front steps as usual",
         {{Event::Begin, At(0), kStart, true},
          {Event::HotKey, DemoFacts{1, false, false, false, true, false, false}, kEnd | kPassKeyOn, false}}},
        {"no window within the wait, the show still in front: no demo",
         {{Event::Begin, At(0), kStart, true},
          {Event::Tick, At(9.9), 0, true},
          {Event::Tick, At(10), kEnd, false}}},
        {"no window within the wait, the speaker elsewhere: the clicker still brings the show",
         {{Event::Begin, At(0), kStart, true},
          {Event::Deactivated, At(1), 0, true},
          {Event::Tick, At(10.2), kStopWatching, true},
          {Event::Tick, At(11), 0, true},
          {Event::HotKey, At(15), kEnd | kBringShowBack, false}}},
        {"no window within the wait, the speaker comes back to the show",
         {{Event::Begin, At(0), kStart, true},
          {Event::Deactivated, At(1), 0, true},
          {Event::Tick, At(10.2), kStopWatching, true},
          {Event::Activated, ShowInFront(12), kEnd, false}}},
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
    EXPECT_EQ(demo.Status(151), std::nullopt);
    EXPECT_EQ(demo.Row(), 3) << "the slide to come back to outlives the demo";
}

}  // namespace
