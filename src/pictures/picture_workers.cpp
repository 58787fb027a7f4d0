// The workers: each takes the plan's next job, checks its file against the disk, and makes what is
// missing or out of date. They turn files into pixels and nothing else.
#include <algorithm>

#include "pictures/picture_cache_core.h"
#include "pictures/picture_log.h"

namespace {

// A job that failed for want of something other than its file waits this long before it is tried
// again, twice as long after each failure in a row, up to kLongestPause: a share or a USB stick
// that hiccups once costs a moment, one that stays away costs nothing to speak of.
constexpr std::chrono::milliseconds kFirstPause(250);
constexpr std::chrono::milliseconds kLongestPause(30000);

std::chrono::milliseconds PauseAfter(int failures) {
    std::chrono::milliseconds pause = kFirstPause;
    for (int i = 1; i < failures && pause < kLongestPause; ++i) pause *= 2;
    return std::min(pause, kLongestPause);
}

}  // namespace

void PictureCache::Core::WorkerLoop(int index) {
    std::shared_ptr<void> threadScope;
    if (hooks.enterWorkerThread) threadScope = hooks.enterWorkerThread();
    std::unique_lock lock(mutex);
    for (;;) {
        Job* next = nullptr;
        for (;;) {
            if (stop) return;
            auto wake = RealClock::time_point::max();
            next = NextJob(RealClock::now(), &wake);
            if (next) break;
            if (wake == RealClock::time_point::max()) changed.wait(lock);
            else changed.wait_until(lock, wake);
        }
        next->state = JobState::UnderWay;
        const Job job = *next;
        making.push_back(Making{job.request, job.decodeOnly, index, job.client != PictureClient::Overview,
                                EstimateFor(job.request, Source{}), RealClock::now()});
        lock.unlock();
        if (hooks.setLowPriority) hooks.setLowPriority(job.client == PictureClient::Overview);
        lock.lock();
        LetGo letGo;
        try {
            const auto m = std::find_if(making.begin(), making.end(), [&](const Making& x) { return x.worker == index; });
            Making mine = *m;
            RunJob(job, mine, lock, letGo);
        } catch (...) {
            // A decoder that throws costs that picture only: it is tried again after a pause.
            if (!lock.owns_lock()) lock.lock();
            if (Job* j = JobOf(job.request, job.decodeOnly); j && j->state == JobState::UnderWay) {
                j->state = JobState::Paused;
                j->again = RealClock::now() + PauseAfter(++j->failures);
            }
        }
        std::erase_if(making, [&](const Making& m) { return m.worker == index; });
        lock.unlock();
        letGo.clear();  // freed here, after the lock, whatever any other decode is doing
        lock.lock();
        changed.notify_all();
    }
}

void PictureCache::Core::RunJob(const Job& job, Making& mine, std::unique_lock<std::mutex>& lock, LetGo& letGo) {
    // Where the job stands once this run ends, unless the plan dropped it meanwhile.
    const auto settle = [&](JobState state, std::size_t need = 0) {
        Job* j = JobOf(job.request, job.decodeOnly);
        if (!j || j->state != JobState::UnderWay) return;
        j->state = state;
        j->need = need;
        if (state == JobState::Paused) j->again = RealClock::now() + PauseAfter(++j->failures);
        else j->failures = 0;
    };
    lock.unlock();
    const std::optional<fw::FileIdentity> identity = hooks.identify(job.request.path);
    lock.lock();
    if (stop) return;
    if (identity) fileSizes[job.request.path] = identity->size;
    if (job.decodeOnly) {
        if (!identity) return settle(JobState::Done);
        if (FindDecoded(job.request.path, *identity)) return settle(JobState::Done);  // held, or known not to decode
    } else {
        const Entry* held = FindEntry(job.request);
        if (!identity) {
            // Missing: known as such, so that it counts as settled; a later check finds it back.
            settle(JobState::Done);
            if (!held || held->identity) Store(job.request, std::nullopt, std::make_shared<const ScaledPicture>(), true, letGo);
            return;
        }
        if (held && held->identity == identity) return settle(JobState::Done);  // as on disk
    }
    Source source = SourceFor(job.request, *identity);
    if (source.decoded && !source.pixels) {  // this version does not decode
        settle(JobState::Done);
        if (!job.decodeOnly) Store(job.request, identity, std::make_shared<const ScaledPicture>(), true, letGo);
        return;
    }
    mine.estimate = EstimateFor(job.request, source);
    for (Making& m : making)
        if (m.worker == mine.worker) m.estimate = mine.estimate;
    Made made = Make(job.request, *identity, std::move(source), job.decodeOnly, mine, lock, letGo);
    switch (made.outcome) {
    case Outcome::Made:
        settle(JobState::Done);
        if (!job.decodeOnly) Store(job.request, made.identity, std::move(made.picture), true, letGo);
        else Replan(letGo);  // the decoded pixels held may change what the plan keeps
        break;
    case Outcome::NoRoom: settle(JobState::NoRoom, made.need); break;
    case Outcome::GaveUp: settle(JobState::ToCheck); break;
    case Outcome::Transient: settle(JobState::Paused); break;
    case Outcome::Gone: settle(JobState::ToCheck); break;
    }
}
