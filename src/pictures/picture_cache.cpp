// The clients' calls: what they want, the pictures they ask for, and what is ready. The plan and
// its jobs are in picture_jobs.cpp, a make in picture_make.cpp, the workers in picture_workers.cpp.
#include "pictures/picture_cache.h"

#include <algorithm>
#include <set>
#include <system_error>
#include <utility>

#include "pictures/picture_cache_core.h"
#include "pictures/picture_log.h"

namespace {

// A client that says the same again within this time has its files checked against the disk
// only then: the overview restates its thumbnails at every paint of the overview.
constexpr std::chrono::milliseconds kRecheckAfter(1000);

std::shared_ptr<const ScaledPicture> Nothing() { return std::make_shared<const ScaledPicture>(); }

}  // namespace

PictureCache::PictureCache(Hooks hooks, std::size_t budgetBytes, int workers)
    : ledger_(std::make_shared<fw::PixelLedger>(budgetBytes)),
      core_(std::make_shared<Core>(std::move(hooks), ledger_, std::max(1, workers))) {}

PictureCache::~PictureCache() {
    Core& core = *core_;
    std::set<int> stalled;
    {
        std::unique_lock lock(core.mutex);
        core.stop = true;
        core.stopping = true;
        core.jobs.clear();
    }
    // A worker waiting for room sees at once that the cache closes.
    ledger_->Poke();
    core.changed.notify_all();
    {
        std::unique_lock lock(core.mutex);
        // A job under way gets as long as its estimate; one that has stalled in its decode is
        // left to end on its own, so that closing never hangs on a file.
        Core::Duration longest{0};
        for (const Core::Making& m : core.making) longest = std::max(longest, m.estimate);
        core.changed.wait_for(lock, longest, [&] { return !core.Working(); });
        for (const Core::Making& m : core.making)
            if (m.worker >= 0) stalled.insert(m.worker);
    }
    const std::lock_guard started(workersMutex_);
    for (std::size_t i = 0; i < workers_.size(); ++i) {
        if (!workers_[i].joinable()) continue;
        if (stalled.count(static_cast<int>(i))) workers_[i].detach();
        else workers_[i].join();
    }
}

namespace {

// Adds the time until it goes out of scope to `total`, under the cache's lock.
class CallTimer {
public:
    CallTimer(std::mutex& mutex, std::chrono::nanoseconds& total, int& calls)
        : mutex_(mutex), total_(total), calls_(calls), start_(std::chrono::steady_clock::now()) {}
    ~CallTimer() {
        const auto took = std::chrono::steady_clock::now() - start_;
        const std::lock_guard lock(mutex_);
        total_ += took;
        ++calls_;
    }
    CallTimer(const CallTimer&) = delete;
    CallTimer& operator=(const CallTimer&) = delete;

private:
    std::mutex& mutex_;
    std::chrono::nanoseconds& total_;
    int& calls_;
    const std::chrono::steady_clock::time_point start_;
};

}  // namespace

void PictureCache::Want(PictureClient client, std::vector<Wanted> wanted, std::size_t drawnNow) {
    Core& core = *core_;
    const CallTimer timer(core.mutex, core.stats.wantTime, core.stats.wants);
    Core::LetGo letGo;
    bool work = false;
    {
        const std::lock_guard lock(core.mutex);
        if (core.stop) return;
        Core::Wants& w = core.clients[static_cast<std::size_t>(client)];
        drawnNow = std::min(drawnNow, wanted.size());
        const auto now = core.hooks.now();
        const bool same = w.wanted == wanted && w.drawnNow == drawnNow;
        const bool recheck = !w.checked || now - *w.checked >= kRecheckAfter;
        // Said again, and checked against the disk a moment ago: nothing to plan anew.
        if (!same || recheck) {
            // This client's files are checked anew: they may have changed since.
            for (Core::Job& job : core.jobs)
                if (job.client == client && job.state == Core::JobState::Done) job.state = Core::JobState::ToCheck;
            w.checked = now;
            w.wanted = std::move(wanted);
            w.drawnNow = drawnNow;
            core.Replan(letGo);
        }
        work = core.NextJob(Core::RealClock::now(), nullptr) != nullptr;
    }
    core.changed.notify_all();
    if (work) StartWorkers();
    letGo.clear();  // freed here, after the lock, whatever any decode is doing
}

// The workers start with the first work, as many as the cache has. Without a thread to be had,
// the clients make what they ask for themselves.
void PictureCache::StartWorkers() {
    const std::lock_guard started(workersMutex_);
    for (int i = static_cast<int>(workers_.size()); i < core_->workers; ++i) {
        {
            const std::lock_guard lock(core_->mutex);
            if (core_->stop) return;
        }
        try {
            workers_.emplace_back([core = core_, i] { core->WorkerLoop(i); });
        } catch (const std::system_error&) {
            break;
        }
        const std::lock_guard lock(core_->mutex);
        ++core_->workersStarted;
    }
}

std::shared_ptr<const ScaledPicture> PictureCache::Get(const PictureRequest& request,
                                                       const std::optional<fw::FileIdentity>& identity) {
    Core& core = *core_;
    if (!HasArea(request)) return Nothing();  // nothing to draw, and nothing to spend on it
    const CallTimer timer(core.mutex, core.stats.getTime, core.stats.gets);
    Core::LetGo letGo;
    std::shared_ptr<const ScaledPicture> picture;
    {
        std::unique_lock lock(core.mutex);
        const auto held = [&]() -> std::shared_ptr<const ScaledPicture> {
            Core::Entry* e = core.FindEntry(request);
            if (!e || e->identity != identity) return nullptr;
            e->asked = true;
            return e->picture;
        };
        if (auto hit = held()) return hit;
        if (!identity) {
            // Missing: known as such, so that nobody keeps room for it.
            core.Store(request, std::nullopt, Nothing(), false, letGo);
            lock.unlock();
            letGo.clear();
            return Nothing();
        }
        PictureLog("get %s: not held\n", ShortName(request).c_str());
        // A worker on this very picture, or on its file's decode: its result is nearer than a
        // second decode, unless it takes longer than its estimate.
        const Core::Making* m = core.MakingOf(request, false);
        if (!m || m->worker < 0) m = core.DecodingOf(request.path);
        if (m && m->worker >= 0) {
            ++core.stats.waits;
            const Core::Duration limit = m->estimate;
            const bool decodeOnly = m->decodeOnly;
            const PictureRequest awaited = m->request;
            core.stats.lastWaitLimit = limit;
            core.changed.wait_for(lock, limit, [&] { return core.stop || !core.MakingOf(awaited, decodeOnly); });
            if (auto hit = held()) return hit;
            if (core.MakingOf(awaited, decodeOnly)) ++core.stats.waitsCut;
        }
        if (const Core::Entry* e = core.FindEntry(request); e && e->identity == identity && !e->picture->placed)
            return e->picture;  // this version is known not to decode
        Core::Source source = core.SourceFor(request, *identity);
        if (source.decoded && !source.pixels) return Nothing();  // known not to decode
        core.making.push_back(Core::Making{request, false, -1, true, core.EstimateFor(request, source), Core::RealClock::now()});
        const Core::Making mine = core.making.back();
        Core::Made made;
        try {
            made = core.Make(request, *identity, std::move(source), false, mine, lock, letGo);
        } catch (const std::exception&) {
            if (!lock.owns_lock()) lock.lock();  // out of memory for this picture: it is not drawn
            made = Core::Made::Of(Core::Outcome::Transient);
        }
        std::erase_if(core.making, [&](const Core::Making& x) { return x.worker < 0 && x.request == request; });
        ++core.stats.callerMakes;
        picture = made.picture ? made.picture : Nothing();
        // Not kept when it failed for want of memory or a read: the next paint tries again.
        if (made.outcome == Core::Outcome::Made && made.picture) core.Store(request, made.identity, picture, false, letGo);
        if (made.outcome == Core::Outcome::Gone) core.Store(request, std::nullopt, picture, false, letGo);
    }
    core.changed.notify_all();
    StartWorkers();  // what was made may have told sizes that let the plan hold more
    letGo.clear();
    return picture;
}

std::shared_ptr<const ScaledPicture> PictureCache::Peek(const PictureRequest& request) const {
    const std::lock_guard lock(core_->mutex);
    std::shared_ptr<const ScaledPicture> other;
    for (Core::Entry& e : core_->pictures) {
        if (e.request == request) {
            e.asked = true;
            return e.picture;
        }
        const auto& p = e.picture->pixels;
        if (e.request.path == request.path && e.request.fit == request.fit && p &&
            (!other || !other->pixels || p->bytes() > other->pixels->bytes()))
            other = e.picture;
    }
    return other;
}

int PictureCache::Ready(PictureClient client) const {
    const std::lock_guard lock(core_->mutex);
    int ready = 0;
    for (const Wanted& w : core_->clients[static_cast<std::size_t>(client)].wanted) {
        if (!HasArea(w.request)) continue;
        if (std::any_of(core_->pictures.begin(), core_->pictures.end(), [&](const Core::Entry& e) { return e.request == w.request; }))
            ++ready;
    }
    return ready;
}

bool PictureCache::Settled(PictureClient client) const {
    const std::lock_guard lock(core_->mutex);
    const Core& core = *core_;
    return std::none_of(core.jobs.begin(), core.jobs.end(), [&](const Core::Job& j) {
        return j.client == client && (j.state == Core::JobState::ToCheck || j.state == Core::JobState::UnderWay);
    });
}

unsigned PictureCache::Generation(PictureClient client) const {
    const std::lock_guard lock(core_->mutex);
    return core_->clients[static_cast<std::size_t>(client)].generation;
}

std::chrono::nanoseconds PictureCache::Estimate(const PictureRequest& request) const {
    const std::lock_guard lock(core_->mutex);
    for (const Core::DecodedEntry& d : core_->decoded)
        if (d.path == request.path && d.pixels) return core_->EstimateFor(request, Core::Source{d.pixels, true});
    return core_->EstimateFor(request, Core::Source{});
}

PictureCache::Stats PictureCache::GetStats() const {
    const std::lock_guard lock(core_->mutex);
    Stats s = core_->stats;
    std::set<const void*> counted;
    const auto add = [&](const std::shared_ptr<const fw::PixelBuffer>& p, std::size_t& to) {
        if (!p || !counted.insert(p.get()).second) return;
        to += p->bytes();
    };
    for (const Core::Entry& e : core_->pictures) {
        std::size_t bytes = 0;
        add(e.picture->pixels, bytes);
        s.kept += bytes;
        if (e.client == PictureClient::Overview) s.thumbnails += bytes;
    }
    for (const Core::DecodedEntry& d : core_->decoded) add(d.pixels, s.kept);
    s.ledger = ledger_->Now();
    s.budget = ledger_->Budget();
    return s;
}

// Idle: no worker busy and no job due, nor one failed once whose first pause is still running.
void PictureCache::WaitUntilIdle() {
    Core& core = *core_;
    std::unique_lock lock(core.mutex);
    for (;;) {
        if (core.stop) return;
        auto wake = Core::RealClock::time_point::max();
        const bool due = core.workersStarted > 0 && core.NextJob(Core::RealClock::now(), &wake) != nullptr;
        const bool firstPause = std::any_of(core.jobs.begin(), core.jobs.end(), [](const Core::Job& j) {
            return j.state == Core::JobState::Paused && j.failures <= 1;
        });
        if (!core.Working() && !due && !firstPause) return;
        if (wake == Core::RealClock::time_point::max()) core.changed.wait(lock);
        else core.changed.wait_until(lock, wake);
    }
}
