// The talk's rules: what each input does in each state of the talk (plain, frozen, zoomed, the
// zoom's drag armed, the pointer on), what the audience then sees and what the change concerns.
#include "talk/talk.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

// Counts what the talk tells its watchers.
struct Heard : TalkWatcher {
    TalkChange all = 0;
    int times = 0;
    void TalkChanged(TalkChange change) override {
        all |= change;
        ++times;
    }
};

constexpr SlideArea kPart{0.25, 0.25, 0.75, 0.75};
constexpr double kNow = 100.0;

struct State {
    const char* name;
    std::function<void(Talk&)> make;  // from slide 5, nothing else on
};

const State kStates[] = {
    {"plain", [](Talk&) {}},
    {"frozen", [](Talk& t) { t.ToggleFreeze(true); }},
    {"zoomed", [](Talk& t) { t.ZoomTo(kPart); }},
    {"zoom armed", [](Talk& t) { t.ToggleZoom(); }},
    {"pointer on the slide", [](Talk& t) { t.TogglePointer(); t.PointAt(SlidePoint{0.5, 0.5}); }},
    {"frozen while zoomed", [](Talk& t) { t.ZoomTo(kPart); t.ToggleFreeze(true); }},
};

// What the talk is after an input: the audience's and the speaker's slides, the zooms, the dot.
struct After {
    int audienceRow;
    int speakerRow;
    bool frozen;
    bool speakerZoomed;
    bool audienceZoomed;
    bool armed;
    bool dot;
};

struct Step {
    const char* input;
    std::function<void(Talk&)> run;
    // One expectation for each of kStates, in order.
    std::vector<After> after;
};

TEST(TalkRules, EveryInputInEveryState) {
    const Step steps[] = {
        {"a page key (the speaker on slide 6)", [](Talk& t) { t.SpeakerAt(6, L"", Blank::None, kNow + 1); },
         {{6, 6, false, false, false, false, false},
          {5, 6, true, false, false, false, false},   // the audience keeps slide 5
          {6, 6, false, false, false, false, false},  // a new slide is shown whole
          {6, 6, false, false, false, false, false},  // the drag not begun is off
          {6, 6, false, false, false, false, false},  // the dot was on the slide that went
          {5, 6, true, false, true, false, false}}},  // the audience keeps the frozen zoom
        {"a blank screen on the same slide", [](Talk& t) { t.SpeakerAt(5, L"", Blank::Black, kNow + 1); },
         {{5, 5, false, false, false, false, false},
          {5, 5, true, false, false, false, false},
          {5, 5, false, true, true, false, false},  // the zoom comes back with the slide
          {5, 5, false, false, false, true, false},
          {5, 5, false, false, false, false, true},
          {5, 5, true, true, true, false, false}}},
        {"F with the console", [](Talk& t) { t.ToggleFreeze(true); },
         {{5, 5, true, false, false, false, false},
          {5, 5, false, false, false, false, false},  // F again: the speaker's slide
          {5, 5, true, true, true, false, false},
          {5, 5, true, false, false, true, false},
          {5, 5, true, false, false, false, true},
          {5, 5, false, true, true, false, false}}},
        {"F without the console", [](Talk& t) { t.ToggleFreeze(false); },
         {{5, 5, false, false, false, false, false},  // nowhere to look ahead: nothing
          {5, 5, false, false, false, false, false},  // a frozen show thaws all the same
          {5, 5, false, true, true, false, false},
          {5, 5, false, false, false, true, false},
          {5, 5, false, false, false, false, true},
          {5, 5, false, true, true, false, false}}},
        {"Z", [](Talk& t) { t.ToggleZoom(); },
         {{5, 5, false, false, false, true, false},
          {5, 5, true, false, false, true, false},
          {5, 5, false, false, false, false, false},  // Z again: the whole slide
          {5, 5, false, false, false, false, false},
          {5, 5, false, false, false, true, true},
          {5, 5, true, false, true, false, false}}},  // the speaker's zoom goes, the audience's stays
        {"a drag over a part", [](Talk& t) { t.ZoomTo(kPart); },
         {{5, 5, false, true, true, false, false},
          {5, 5, true, true, false, false, false},  // the speaker zooms; the audience sees nothing of it
          {5, 5, false, true, true, false, false},
          {5, 5, false, true, true, false, false},
          {5, 5, false, true, true, false, true},
          {5, 5, true, true, true, false, false}}},
        {"the mouse off the slide", [](Talk& t) { t.PointAt(SlidePoint{1.2, 0.5}); },
         {{5, 5, false, false, false, false, false},
          {5, 5, true, false, false, false, false},
          {5, 5, false, true, true, false, false},
          {5, 5, false, false, false, true, false},
          {5, 5, false, false, false, false, false},  // no dot off the slide
          {5, 5, true, true, true, false, false}}},
        {"a demo handed over", [](Talk& t) { t.DemoRuns(TalkDemo{L"UNICODE.asc", kNow, 5, true}); },
         {{5, 5, false, false, false, false, false},
          {5, 5, false, false, false, false, false},  // the speaker's slide is shown first
          {5, 5, false, true, true, false, false},
          {5, 5, false, false, false, true, false},
          {5, 5, false, false, false, false, true},
          {5, 5, false, true, true, false, false}}},
    };
    for (const Step& step : steps) {
        ASSERT_EQ(step.after.size(), std::size(kStates)) << step.input;
        for (size_t i = 0; i < std::size(kStates); ++i) {
            Talk talk;
            talk.SpeakerAt(5, L"", Blank::None, kNow);
            kStates[i].make(talk);
            step.run(talk);
            const After& want = step.after[i];
            const std::string where = std::string(step.input) + " when " + kStates[i].name;
            EXPECT_EQ(talk.Audience().row, want.audienceRow) << where;
            EXPECT_EQ(talk.Speaker().row, want.speakerRow) << where;
            EXPECT_EQ(talk.Frozen(), want.frozen) << where;
            EXPECT_EQ(talk.Speaker().zoom.has_value(), want.speakerZoomed) << where;
            EXPECT_EQ(talk.Audience().zoom.has_value(), want.audienceZoomed) << where;
            EXPECT_EQ(talk.ZoomArmed(), want.armed) << where;
            EXPECT_EQ(talk.Dot().has_value(), want.dot) << where;
        }
    }
}

// What each change concerns: the show repaints for the audience, the console for the speaker,
// and a moving dot is a change of its own, never of the whole slide.
TEST(TalkRules, ChangesSayWhatTheyConcern) {
    struct Case {
        const char* what;
        std::function<void(Talk&)> before;
        std::function<void(Talk&)> change;
        TalkChange told;     // all of these
        TalkChange notTold;  // none of these
    } const cases[] = {
        {"a page key", [](Talk&) {}, [](Talk& t) { t.SpeakerAt(6, L"", Blank::None, kNow); },
         kAudienceChanged | kSpeakerChanged, 0},
        {"a page key while frozen", [](Talk& t) { t.ToggleFreeze(true); },
         [](Talk& t) { t.SpeakerAt(6, L"", Blank::None, kNow); }, kSpeakerChanged, kAudienceChanged},
        {"the dot moving", [](Talk& t) { t.TogglePointer(); t.PointAt(SlidePoint{0.1, 0.1}); },
         [](Talk& t) { t.PointAt(SlidePoint{0.2, 0.1}); }, kPointerChanged, kAudienceChanged | kSpeakerChanged},
        {"the mouse moving with the pointer off", [](Talk&) {}, [](Talk& t) { t.PointAt(SlidePoint{0.2, 0.1}); }, 0,
         kPointerChanged | kAudienceChanged},
        {"a zoom while frozen", [](Talk& t) { t.ToggleFreeze(true); }, [](Talk& t) { t.ZoomTo(kPart); },
         kSpeakerChanged, kAudienceChanged},
        {"a zoom", [](Talk&) {}, [](Talk& t) { t.ZoomTo(kPart); }, kAudienceChanged | kSpeakerChanged, 0},
        {"the talk's length", [](Talk&) {}, [](Talk& t) { t.SetMinutes(45); }, kTimesChanged, kAudienceChanged},
        {"a demo", [](Talk&) {}, [](Talk& t) { t.DemoRuns(TalkDemo{L"a.asc", kNow, 5, true}); }, kDemoChanged,
         kAudienceChanged},
        {"the same slide again", [](Talk&) {}, [](Talk& t) { t.SpeakerAt(5, L"", Blank::None, kNow); }, 0, ~0u},
    };
    for (const Case& c : cases) {
        Talk talk;
        talk.SpeakerAt(5, L"", Blank::None, kNow);
        c.before(talk);
        Heard heard;
        talk.Watch(&heard);
        c.change(talk);
        EXPECT_EQ(heard.all & c.told, c.told) << c.what;
        EXPECT_EQ(heard.all & c.notTold, 0u) << c.what;
    }
}

// The talk's clock and length belong to the talk, not to a window: a console that closes and
// opens again (a watcher that leaves and another that comes) finds them as they were, and the
// clock starts at the speaker's first change of slide whether a console is open or not.
TEST(TalkRules, TheClockAndTheLengthOutliveTheConsole) {
    Talk talk;
    talk.SetMinutes(45);
    talk.SpeakerAt(0, L"", Blank::None, 10.0);
    EXPECT_FALSE(talk.Clock().Started());
    talk.SpeakerAt(1, L"", Blank::None, 20.0);  // no console open yet
    ASSERT_TRUE(talk.Clock().Started());
    {
        Heard first;
        talk.Watch(&first);
        talk.SpeakerAt(2, L"", Blank::None, 30.0);
        talk.Unwatch(&first);  // the console closes
    }
    Heard second;
    talk.Watch(&second);
    EXPECT_EQ(talk.Clock().Elapsed(80.0), 60);
    EXPECT_EQ(talk.Minutes(), 45);
    EXPECT_EQ(second.times, 0) << "reopening changes nothing";
}

// The console's first screen (the demos checked at start-up) stays until the speaker first shows
// another slide or a photo, and not again on the way back.
TEST(TalkRules, TheNoticeStaysUntilTheSpeakersFirstChange) {
    Talk talk;
    talk.SpeakerAt(4, L"", Blank::None, kNow);
    EXPECT_TRUE(talk.NoticeLines().empty());
    talk.Notice({L"Demos: 2 files ready, simulator found"}, true);
    EXPECT_TRUE(talk.NoticeGood());
    talk.SpeakerAt(4, L"", Blank::None, kNow + 1);
    talk.SpeakerAt(4, L"", Blank::Black, kNow + 2);  // a blank screen is no change of slide
    EXPECT_EQ(talk.NoticeLines().size(), 1u);
    talk.SpeakerAt(5, L"", Blank::None, kNow + 3);
    EXPECT_TRUE(talk.NoticeLines().empty());
    talk.SpeakerAt(4, L"", Blank::None, kNow + 4);
    EXPECT_TRUE(talk.NoticeLines().empty()) << "gone for good";

    talk.Notice({L"x"}, false);
    talk.SpeakerAt(4, L"C:\\photo.jpg", Blank::None, kNow + 5);  // a photo over the slide is a change too
    EXPECT_TRUE(talk.NoticeLines().empty());
}

TEST(TalkRules, AWatcherThatLeavesWhileToldIsToldNoMore) {
    Talk talk;
    struct Leaver : TalkWatcher {
        Talk* talk = nullptr;
        TalkWatcher* other = nullptr;
        void TalkChanged(TalkChange) override { talk->Unwatch(other); }
    };
    Heard later;
    Leaver leaver;
    leaver.talk = &talk;
    leaver.other = &later;
    talk.Watch(&leaver);
    talk.Watch(&later);
    talk.SetMinutes(30);
    EXPECT_EQ(later.times, 0);
}

// The zoom keeps the slide's proportions (it fills the screen without bars), stays inside the
// slide, goes no further than the narrowest part allowed, and Ctrl and the wheel keep the point
// under the mouse where it is.
TEST(TalkZoom, PartsKeepTheSlidesProportionsInsideTheSlide) {
    struct Case {
        SlideArea dragged;
        double narrowest;
        std::optional<SlideArea> part;
    } const cases[] = {
        {{0.2, 0.2, 0.4, 0.3}, 0.01, SlideArea{0.2, 0.15, 0.4, 0.35}},  // the wider side, centred
        {{0.9, 0.9, 1.0, 1.0}, 0.01, SlideArea{0.9, 0.9, 1.0, 1.0}},
        {{0.95, 0.0, 1.0, 0.3}, 0.01, SlideArea{0.7, 0.0, 1.0, 0.3}},   // pushed back inside
        {{0.5, 0.5, 0.5, 0.5}, 0.25, SlideArea{0.375, 0.375, 0.625, 0.625}},  // a click: the narrowest
        {{0.0, 0.0, 1.0, 0.9}, 0.01, std::nullopt},                     // the whole slide
        {{0.4, 0.4, 0.2, 0.2}, 0.01, SlideArea{0.2, 0.2, 0.4, 0.4}},    // dragged up and left
    };
    for (const Case& c : cases) {
        const std::optional<SlideArea> part = ZoomArea(c.dragged, c.narrowest);
        ASSERT_EQ(part.has_value(), c.part.has_value());
        if (!part) continue;
        EXPECT_NEAR(part->left, c.part->left, 1e-9);
        EXPECT_NEAR(part->top, c.part->top, 1e-9);
        EXPECT_NEAR(part->right, c.part->right, 1e-9);
        EXPECT_NEAR(part->bottom, c.part->bottom, 1e-9);
    }
}

TEST(TalkZoom, TheWheelZoomsAtTheMouseInStepsToTheNarrowestAndOutToTheWholeSlide) {
    Talk talk;
    talk.SpeakerAt(3, L"", Blank::None, kNow);
    const SlidePoint mouse{0.8, 0.3};
    talk.ZoomBy(1, mouse, 0.1);
    ASSERT_TRUE(talk.Speaker().zoom);
    EXPECT_NEAR(talk.Speaker().zoom->Width(), 1 / kZoomStep, 1e-9);
    // The slide's point under the mouse stays under it.
    const SlidePoint under = SlideAt(talk.Speaker().zoom, mouse);
    EXPECT_NEAR(under.x, 0.8, 1e-9);
    EXPECT_NEAR(under.y, 0.3, 1e-9);
    for (int i = 0; i < 30; ++i) talk.ZoomBy(1, mouse, 0.1);
    EXPECT_NEAR(talk.Speaker().zoom->Width(), 0.1, 1e-9) << "no further than the narrowest part";
    Heard heard;
    talk.Watch(&heard);
    talk.ZoomBy(1, mouse, 0.1);
    EXPECT_EQ(heard.times, 0) << "a notch past the narrowest changes nothing";
    for (int i = 0; i < 30; ++i) talk.ZoomBy(-1, mouse, 0.1);
    EXPECT_FALSE(talk.Speaker().zoom) << "out past the whole slide: the whole slide";
    talk.ZoomBy(-1, mouse, 0.1);
    EXPECT_FALSE(talk.Speaker().zoom);
}

TEST(TalkZoom, ScreenAndSlidePointsMapBothWays) {
    const std::optional<SlideArea> zoom = SlideArea{0.5, 0.25, 0.75, 0.5};
    const SlidePoint slide = SlideAt(zoom, {0.5, 0.5});
    EXPECT_NEAR(slide.x, 0.625, 1e-12);
    EXPECT_NEAR(slide.y, 0.375, 1e-12);
    const SlidePoint back = ScreenAt(zoom, slide);
    EXPECT_NEAR(back.x, 0.5, 1e-12);
    EXPECT_NEAR(back.y, 0.5, 1e-12);
    const SlidePoint outside = ScreenAt(zoom, {0.1, 0.1});
    EXPECT_LT(outside.x, 0.0) << "a point of the slide beside the part is off the screen";
}

}  // namespace
