#include "demo/demo.h"

#include <cmath>

SlideRect SimulatorPlacementRect(const SlideRect& work) {
    // An eighth in from every edge: three quarters of the monitor, so that a window scaled by
    // up to a third either way still lies mostly on it.
    const int dx = work.Width() / 8, dy = work.Height() / 8;
    return {work.left + dx, work.top + dy, work.right - dx, work.bottom - dy};
}

DemoActions Demo::Begin(const DemoStart& start, const DemoFacts& facts) {
    if (!start.fullScreen) return phase_ != Phase::None ? End(0) : 0;
    // A demo that runs already (a hand-off from the console) starts over with the new file.
    phase_ = facts.windowShown ? Phase::Placed : Phase::Waiting;
    showLeft_ = false;
    settled_ = false;
    seenShown_ = facts.windowShown && !facts.minimised;
    row_ = start.row;
    fileName_ = start.fileName;
    start_ = facts.now;
    placedAt_ = placedLast_ = facts.now;
    return kTakeKeys | kWatch | kConsoleChanged | (facts.windowShown ? kPlaceSimulator : 0);
}

DemoActions Demo::Tick(const DemoFacts& facts) {
    switch (phase_) {
    case Phase::Waiting:
        if (facts.windowShown) return Place(facts.now);
        if (facts.simulatorGone) return End(0);
        if (facts.now - start_ < kWindowWaitSeconds) return 0;
        // No window came. With the show still in front there is no demo to return from.
        if (!showLeft_) return GiveUp();
        phase_ = Phase::NoWindow;
        return 0;
    case Phase::NoWindow:
        if (facts.windowShown) return Place(facts.now);
        if (facts.simulatorGone) return End(0);
        return facts.now - start_ >= kNoWindowSeconds ? GiveUp() : 0;
    case Phase::Late:
        // A window that comes at last is what the speaker asked for: before the audience, with
        // the way back, as a demo of its own from now on.
        if (facts.windowShown) {
            start_ = facts.now;
            return Place(facts.now) | kTakeKeys | kConsoleChanged;
        }
        if (facts.simulatorGone) return End(0);
        return 0;
    case Phase::Placed:
        if (facts.windowShown && !facts.minimised) seenShown_ = true;
        // Closed, or minimised after it was seen shown: the audience would look at the desktop.
        // A window minimised from before the demo is still being restored.
        if (facts.simulatorGone || (facts.minimised && seenShown_)) return Return(0);
        // Seen in front where it was put: the system's own moves of the front are over.
        if ((facts.simulatorInFront && facts.windowPlaced) || facts.now - placedAt_ >= kPlacingSeconds) settled_ = true;
        if (settled_ || !facts.windowShown) return 0;
        // Where it was put but not in front: only the front is asked again, at once.
        if (facts.windowPlaced) return kPlaceSimulator;
        if (facts.now - placedLast_ < kPlaceAgainSeconds) return 0;
        placedLast_ = facts.now;
        return kPlaceSimulator;
    case Phase::Returning:
        // The system may refuse the front to a program in the background: the keys stay until
        // the show has it, and their next press brings it.
        return facts.showInFront ? End(0) : 0;
    case Phase::None: return 0;
    }
    return 0;
}

DemoActions Demo::HotKey(const DemoFacts& facts) {
    // A key left registered, or pressed while the show is still in front: an ordinary key.
    if (!Running()) return kGiveKeysBack | kPassKeyOn;
    if (facts.showInFront) return End(kPassKeyOn);
    // The way back: this press only brings the show; the next one steps.
    return Return(0);
}

DemoActions Demo::ShowActivated(const DemoFacts& facts) {
    if (phase_ == Phase::Returning) return facts.showInFront ? End(0) : kBringShowBack;
    // While the simulator is being placed, the system may hand the front around (a window hidden
    // and shown again on another monitor): only a show activated after that is the speaker's.
    const bool speakersDoing = phase_ == Phase::Placed ? settled_ : showLeft_;
    if (!Running() || !speakersDoing) return 0;
    // The speaker clicked the show, or switched to it: it is before the audience already.
    if (facts.showInFront && !facts.simulatorGone && !facts.minimised) return End(0);
    // The console (the speaker's mouse is on the laptop), or the front the system handed over
    // when the simulator went: the show comes back over the simulator, as with the clicker.
    return Return(0);
}

DemoActions Demo::ShowDeactivated() {
    if (Running() && phase_ != Phase::Placed) showLeft_ = true;
    return 0;
}

std::optional<DemoStatus> Demo::Status(double now) const {
    if (!Running()) return std::nullopt;
    const double seconds = now > start_ ? std::floor(now - start_) : 0.0;
    return DemoStatus{fileName_, static_cast<long long>(seconds), row_, false};
}

DemoActions Demo::End(DemoActions also) {
    phase_ = Phase::None;
    showLeft_ = false;
    settled_ = false;
    return also | kGiveKeysBack | kStopWatching | kConsoleChanged;
}

DemoActions Demo::Return(DemoActions also) {
    phase_ = Phase::Returning;
    return also | kBringShowBack;
}

DemoActions Demo::GiveUp() {
    phase_ = Phase::Late;
    showLeft_ = false;
    return kGiveKeysBack | kConsoleChanged;
}

DemoActions Demo::Place(double now) {
    phase_ = Phase::Placed;
    settled_ = false;
    placedAt_ = placedLast_ = now;
    return kPlaceSimulator;
}
