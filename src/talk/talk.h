// The talk: what the audience sees and which slide the speaker is on, the pointer, the part of
// the slide enlarged, the talk's clock and length, the demo under way and what the console says
// on its first screen. The show's view and the presenter console are two views of it: input to
// either window becomes a change here, and each window repaints what the change concerns. The
// frame owns it; neither window calls the other. Pure: no platform headers.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "talk/talk_time.h"

// A place on the slide, in fractions of its width and height from its top-left corner.
struct SlidePoint {
    double x = 0.0;
    double y = 0.0;
    friend bool operator==(const SlidePoint&, const SlidePoint&) = default;
};

// A part of the slide, in the same fractions.
struct SlideArea {
    double left = 0.0;
    double top = 0.0;
    double right = 1.0;
    double bottom = 1.0;
    double Width() const { return right - left; }
    double Height() const { return bottom - top; }
    friend bool operator==(const SlideArea&, const SlideArea&) = default;
};

enum class Blank { None, Black, White };

// One screenful of the show: the slide, a photo over it, or a blank screen; and the part of the
// slide enlarged over the whole screen, if any.
struct Screenful {
    int row = 0;
    std::wstring photo;  // the photo's path; empty for the slide
    Blank blank = Blank::None;
    std::optional<SlideArea> zoom;
    friend bool operator==(const Screenful&, const Screenful&) = default;
};

// The demo under way, as the console tells it.
struct TalkDemo {
    std::wstring fileName;
    double since = 0.0;      // when it began, on the talk's clock
    int row = 0;             // the slide the way back returns to
    bool keysTaken = false;  // the clicker's keys bring the show back
    friend bool operator==(const TalkDemo&, const TalkDemo&) = default;
};

// The demo's own time at `now`, in whole seconds.
long long DemoSeconds(const TalkDemo& demo, double now);

// What a change concerns, as a set of flags.
using TalkChange = unsigned;
inline constexpr TalkChange kAudienceChanged = 1u << 0;  // what the show shows
inline constexpr TalkChange kSpeakerChanged = 1u << 1;   // the slide the speaker is on
inline constexpr TalkChange kPointerChanged = 1u << 2;   // the dot moved, came or went
inline constexpr TalkChange kTimesChanged = 1u << 3;     // the clock or the length
inline constexpr TalkChange kDemoChanged = 1u << 4;
inline constexpr TalkChange kToolChanged = 1u << 5;      // the pointer or the zoom's drag turned on or off
inline constexpr TalkChange kNoticeChanged = 1u << 6;    // the console's first screen

// A window that shows the talk.
class TalkWatcher {
public:
    virtual void TalkChanged(TalkChange change) = 0;

protected:
    ~TalkWatcher() = default;
};

// How far the zoom goes: a zoomed part is never narrower than this share of the slide.
inline constexpr double kNarrowestZoom = 1.0 / 64.0;
// One notch of Ctrl and the wheel: the part shown grows or shrinks by this factor.
inline constexpr double kZoomStep = 1.25;

class Talk {
public:
    // ---- Where the speaker is: what the show's view has after each input ----

    // A change of slide or photo shows the whole slide again and starts the talk's clock at the
    // first change; `now` is in seconds on a clock that only goes forward.
    void SpeakerAt(int row, const std::wstring& photo, Blank blank, double now);
    const Screenful& Speaker() const { return speaker_; }
    // What the show shows: the speaker's screenful, or the one frozen.
    const Screenful& Audience() const { return frozen_ ? *frozen_ : speaker_; }

    // ---- Freeze: the audience keeps what it sees while the speaker looks ahead ----

    // F: with somewhere to look ahead (the console open) the show keeps what it shows; F again
    // shows the speaker's slide. Nothing without the console.
    void ToggleFreeze(bool consoleOpen);
    bool Frozen() const { return frozen_.has_value(); }
    // The show shows the speaker's slide again.
    void Thaw();

    // ---- The pointer: a dot on the audience's slide that follows the mouse ----

    void TogglePointer();
    bool PointerOn() const { return pointerOn_; }
    // The mouse over the audience's slide (in its fractions), or off it.
    void PointAt(std::optional<SlidePoint> at);
    // Where the dot is: nothing while the pointer is off or the mouse is off the slide.
    std::optional<SlidePoint> Dot() const { return pointerOn_ ? dot_ : std::nullopt; }

    // ---- The zoom: a part of the speaker's slide over the whole show ----

    // Z: the next drag picks the part; Z again (or Escape) shows the whole slide.
    void ToggleZoom();
    bool ZoomArmed() const { return zoomArmed_; }
    // The part dragged over: the show fills the screen with it, its proportions those of the
    // slide (the drag's centre kept), no narrower than `narrowest`, inside the slide.
    void ZoomTo(const SlideArea& dragged, double narrowest = kNarrowestZoom);
    // Ctrl and the wheel: `notches` in (positive) or out, the slide's point under `at` (fractions
    // of the screen) kept where it is; out past the whole slide shows the whole slide.
    void ZoomBy(int notches, SlidePoint at, double narrowest = kNarrowestZoom);
    void Unzoom();

    // ---- The talk's time ----

    void RestartClock(double now);
    const TalkClock& Clock() const { return clock_; }
    // The talk's length in minutes, 0 for none.
    void SetMinutes(int minutes);
    int Minutes() const { return minutes_; }

    // ---- The demo under way, and the console's first screen ----

    void DemoRuns(std::optional<TalkDemo> demo);
    const std::optional<TalkDemo>& Demo() const { return demo_; }
    // Lines the console shows on its first screen (the demos checked at start-up), until the
    // speaker's first change of slide or photo; `good`: nothing in them calls for action.
    void Notice(std::vector<std::wstring> lines, bool good);
    const std::vector<std::wstring>& NoticeLines() const { return notice_; }
    bool NoticeGood() const { return noticeGood_; }

    // ---- The show's slide on its monitor, for the console's proportions ----

    void ShowSize(int width, int height);
    int ShowWidth() const { return showWidth_; }
    int ShowHeight() const { return showHeight_; }

    // Watchers are told of every change after it is made; a watcher leaves before it goes.
    void Watch(TalkWatcher* watcher);
    void Unwatch(TalkWatcher* watcher);

private:
    void Tell(TalkChange change);
    // The speaker's zoom changed: the audience sees it unless frozen.
    TalkChange ZoomChange() const { return kSpeakerChanged | (frozen_ ? 0u : kAudienceChanged); }

    Screenful speaker_;
    std::optional<Screenful> frozen_;
    bool seen_ = false;  // the speaker's first place is known
    bool pointerOn_ = false;
    std::optional<SlidePoint> dot_;
    bool zoomArmed_ = false;
    TalkClock clock_;
    int minutes_ = 0;
    std::optional<TalkDemo> demo_;
    std::vector<std::wstring> notice_;
    bool noticeGood_ = false;
    int showWidth_ = 0;
    int showHeight_ = 0;
    std::vector<TalkWatcher*> watchers_;
};

// The part of the slide a zoom shows, made to the slide's proportions around the centre of
// `dragged`, no narrower than `narrowest`, inside the slide; nothing when it is the whole slide.
std::optional<SlideArea> ZoomArea(const SlideArea& dragged, double narrowest);

// A point of the screen (fractions) as a point of the slide, through the zoom.
SlidePoint SlideAt(const std::optional<SlideArea>& zoom, SlidePoint screen);
// A point of the slide as a point of the screen (fractions), through the zoom.
SlidePoint ScreenAt(const std::optional<SlideArea>& zoom, SlidePoint slide);
