#include "talk/talk.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

double Clamp01(double v) { return std::clamp(v, 0.0, 1.0); }

// A part `side` wide and high (in the slide's fractions) around (cx, cy), pushed inside the slide.
SlideArea Around(double cx, double cy, double side) {
    const double left = std::clamp(cx - side / 2, 0.0, 1.0 - side);
    const double top = std::clamp(cy - side / 2, 0.0, 1.0 - side);
    return {left, top, left + side, top + side};
}

}  // namespace

long long DemoSeconds(const TalkDemo& demo, double now) {
    return now > demo.since ? static_cast<long long>(std::floor(now - demo.since)) : 0;
}

std::optional<SlideArea> ZoomArea(const SlideArea& dragged, double narrowest) {
    // The screen shows the slide stretched over it: a part with equal shares of the slide's width
    // and height has the screen's proportions, and fills it without bars.
    const double side = std::clamp(std::max(std::fabs(dragged.Width()), std::fabs(dragged.Height())),
                                   std::clamp(narrowest, 1e-6, 1.0), 1.0);
    if (side >= 1.0) return std::nullopt;
    const double cx = (dragged.left + dragged.right) / 2, cy = (dragged.top + dragged.bottom) / 2;
    return Around(Clamp01(cx), Clamp01(cy), side);
}

SlidePoint SlideAt(const std::optional<SlideArea>& zoom, SlidePoint screen) {
    if (!zoom) return screen;
    return {zoom->left + screen.x * zoom->Width(), zoom->top + screen.y * zoom->Height()};
}

SlidePoint ScreenAt(const std::optional<SlideArea>& zoom, SlidePoint slide) {
    if (!zoom || zoom->Width() <= 0 || zoom->Height() <= 0) return slide;
    return {(slide.x - zoom->left) / zoom->Width(), (slide.y - zoom->top) / zoom->Height()};
}

void Talk::SpeakerAt(int row, const std::wstring& photo, Blank blank, double now) {
    const bool moved = seen_ && (row != speaker_.row || photo != speaker_.photo);
    const bool changed = !seen_ || moved || blank != speaker_.blank;
    clock_.Observe(row, !photo.empty(), now);
    if (!changed) return;
    TalkChange change = kSpeakerChanged | (frozen_ ? 0u : kAudienceChanged);
    // A new slide or photo is shown whole, and the drag of a zoom not begun is off.
    if (moved && (speaker_.zoom || zoomArmed_)) {
        speaker_.zoom.reset();
        zoomArmed_ = false;
        change |= kToolChanged;
    }
    if (moved && !notice_.empty()) {
        notice_.clear();
        change |= kNoticeChanged;
    }
    // The dot was on the slide that went; it comes back with the next move of the mouse.
    if (moved && !frozen_ && dot_) {
        dot_.reset();
        change |= kPointerChanged;
    }
    if (moved && clock_.Started()) change |= kTimesChanged;
    seen_ = true;
    speaker_.row = row;
    speaker_.photo = photo;
    speaker_.blank = blank;
    Tell(change);
}

void Talk::ToggleFreeze(bool consoleOpen) {
    if (frozen_) return Thaw();
    if (!consoleOpen) return;
    frozen_ = speaker_;
    Tell(kAudienceChanged | kSpeakerChanged);
}

void Talk::Thaw() {
    if (!frozen_) return;
    const bool same = *frozen_ == speaker_;
    frozen_.reset();
    // The dot stood on the frozen slide: it comes back with the next move of the mouse.
    TalkChange change = kSpeakerChanged | (same ? 0u : kAudienceChanged);
    if (dot_ && !same) {
        dot_.reset();
        change |= kPointerChanged;
    }
    Tell(change);
}

void Talk::TogglePointer() {
    pointerOn_ = !pointerOn_;
    Tell(kToolChanged | (dot_ ? kPointerChanged : 0u));
}

void Talk::PointAt(std::optional<SlidePoint> at) {
    if (at && (at->x < 0.0 || at->x > 1.0 || at->y < 0.0 || at->y > 1.0)) at.reset();
    if (at == dot_) return;
    dot_ = at;
    if (pointerOn_) Tell(kPointerChanged);
}

void Talk::ToggleZoom() {
    if (speaker_.zoom || zoomArmed_) return Unzoom();
    zoomArmed_ = true;
    Tell(kToolChanged);
}

void Talk::ZoomTo(const SlideArea& dragged, double narrowest) {
    zoomArmed_ = false;
    speaker_.zoom = ZoomArea(dragged, narrowest);
    Tell(ZoomChange() | kToolChanged);
}

void Talk::ZoomBy(int notches, SlidePoint at, double narrowest) {
    if (notches == 0) return;
    const SlideArea now = speaker_.zoom.value_or(SlideArea{});
    const double side = now.Width() * std::pow(kZoomStep, -notches);
    const double floor = std::clamp(narrowest, 1e-6, 1.0);
    if (side >= 1.0 - 1e-9) {
        if (!speaker_.zoom) return;
        return Unzoom();
    }
    const double clamped = std::max(side, floor);
    if (speaker_.zoom && std::fabs(clamped - now.Width()) < 1e-12) return;  // at the narrowest already
    // The point of the slide under the mouse stays under it.
    const SlidePoint fixed = SlideAt(speaker_.zoom, at);
    const double left = std::clamp(fixed.x - at.x * clamped, 0.0, 1.0 - clamped);
    const double top = std::clamp(fixed.y - at.y * clamped, 0.0, 1.0 - clamped);
    speaker_.zoom = SlideArea{left, top, left + clamped, top + clamped};
    zoomArmed_ = false;
    Tell(ZoomChange());
}

void Talk::Unzoom() {
    if (!speaker_.zoom && !zoomArmed_) return;
    const bool zoomed = speaker_.zoom.has_value();
    speaker_.zoom.reset();
    zoomArmed_ = false;
    Tell(kToolChanged | (zoomed ? ZoomChange() : 0u));
}

void Talk::RestartClock(double now) {
    clock_.Restart(now);
    Tell(kTimesChanged);
}

void Talk::SetMinutes(int minutes) {
    if (minutes == minutes_) return;
    minutes_ = minutes;
    Tell(kTimesChanged);
}

void Talk::DemoRuns(std::optional<TalkDemo> demo) {
    // A hand-off shows the speaker's slide first: the demo is of what the speaker is on.
    const bool handedOff = demo && (!demo_ || demo_->fileName != demo->fileName || demo_->row != demo->row);
    if (handedOff && frozen_) Thaw();
    if (demo == demo_) return;
    demo_ = std::move(demo);
    Tell(kDemoChanged);
}

void Talk::Notice(std::vector<std::wstring> lines, bool good) {
    notice_ = std::move(lines);
    noticeGood_ = good;
    Tell(kNoticeChanged);
}

void Talk::ShowSize(int width, int height) {
    if (width == showWidth_ && height == showHeight_) return;
    showWidth_ = width;
    showHeight_ = height;
    Tell(kAudienceChanged);
}

void Talk::Watch(TalkWatcher* watcher) {
    if (watcher && std::find(watchers_.begin(), watchers_.end(), watcher) == watchers_.end())
        watchers_.push_back(watcher);
}

void Talk::Unwatch(TalkWatcher* watcher) { std::erase(watchers_, watcher); }

void Talk::Tell(TalkChange change) {
    // A watcher may leave while it is told (a window closing): tell a copy of the list.
    const std::vector<TalkWatcher*> now = watchers_;
    for (TalkWatcher* w : now) {
        if (std::find(watchers_.begin(), watchers_.end(), w) != watchers_.end()) w->TalkChanged(change);
    }
}
