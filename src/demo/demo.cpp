#include "demo/demo.h"

#include <cmath>

DemoActions Demo::Begin(const DemoStart& start, const DemoFacts& facts) {
    if (!start.fullScreen) return Running() ? End(0) : 0;
    // A demo that runs already (a hand-off from the console) starts over with the new file.
    phase_ = facts.windowShown ? Phase::Placed : Phase::Waiting;
    showLeft_ = false;
    settled_ = false;
    row_ = start.row;
    fileName_ = start.fileName;
    start_ = facts.now;
    placedAt_ = facts.now;
    return kTakeKeys | kWatch | kConsoleChanged | (facts.windowShown ? kPlaceSimulator : 0);
}

DemoActions Demo::Tick(const DemoFacts& facts) {
    switch (phase_) {
    case Phase::Waiting:
        if (facts.windowShown) {
            phase_ = Phase::Placed;
            placedAt_ = facts.now;
            return kPlaceSimulator;
        }
        if (!facts.simulatorGone && facts.now - start_ < kWindowWaitSeconds) return 0;
        // No window came. With the show still in front there is no demo to return from.
        if (!showLeft_) return End(0);
        phase_ = Phase::NoWindow;
        return kStopWatching;
    case Phase::Placed:
        // Closed or minimised: the audience would look at the desktop.
        if (facts.simulatorGone || facts.minimised) return End(kBringShowBack);
        // Seen in front where it was put: the system's own moves of the front are over.
        if ((facts.simulatorInFront && facts.windowPlaced) || facts.now - placedAt_ >= kPlacingSeconds) settled_ = true;
        return 0;
    case Phase::NoWindow:
    case Phase::None: return 0;
    }
    return 0;
}

DemoActions Demo::HotKey(const DemoFacts& facts) {
    // A key left registered, or pressed while the show is still in front: an ordinary key.
    if (!Running()) return kGiveKeysBack | kPassKeyOn;
    if (facts.showInFront) return End(kPassKeyOn);
    // The way back: this press only brings the show; the next one steps.
    return End(kBringShowBack);
}

DemoActions Demo::ShowActivated(const DemoFacts& facts) {
    // While the simulator is being placed, the system may hand the front around (a window hidden
    // and shown again on another monitor): only a show activated after that is the speaker's.
    const bool speakersDoing = phase_ == Phase::Placed ? settled_ : showLeft_;
    if (!Running() || !speakersDoing) return 0;
    // The system may have given the front to the console when the simulator went.
    return End(facts.simulatorGone || facts.minimised ? kBringShowBack : 0);
}

DemoActions Demo::ShowDeactivated() {
    if (Running() && phase_ != Phase::Placed) showLeft_ = true;
    return 0;
}

std::optional<DemoStatus> Demo::Status(double now) const {
    if (!Running()) return std::nullopt;
    const double seconds = now > start_ ? std::floor(now - start_) : 0.0;
    return DemoStatus{fileName_, static_cast<long long>(seconds), row_};
}

DemoActions Demo::End(DemoActions also) {
    phase_ = Phase::None;
    showLeft_ = false;
    settled_ = false;
    return also | kGiveKeysBack | kStopWatching | kConsoleChanged;
}
