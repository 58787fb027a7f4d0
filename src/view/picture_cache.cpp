#include "view/picture_cache.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <set>
#include <utility>

#include "view/picture_rules.h"

namespace {

using Clock = std::chrono::steady_clock;

// How long making a picture is taken to last before any has been timed: a slide's decode and
// scaling with the codecs' start-up, as slow machines do it.
constexpr Clock::duration kFirstMakeGuess = std::chrono::milliseconds(250);
// No wait is cut shorter than this: below it the clock and the scheduler decide, not the work.
constexpr Clock::duration kShortestMake = std::chrono::milliseconds(30);
// Makes remembered for that judgement: enough to ride over one quick file, few enough to follow
// a share that has become slow.
constexpr std::size_t kTimedMakes = 8;
// Pictures asked for since the last Prepare, kept whatever the budget says: a paint asks for
// one, or two when a photo does not decode and its slide is drawn instead.
constexpr std::size_t kAskedKept = 4;

std::shared_ptr<const ScaledPicture> Nothing() { return std::make_shared<const ScaledPicture>(); }

// The decoded pixels as the request wants them. A stretch to the decoded size shares them.
std::shared_ptr<const ScaledPicture> ScaleFor(const PictureRequest& r, const std::shared_ptr<const fw::PixelBuffer>& decoded,
                                              int threads) {
    if (!decoded || !*decoded) return Nothing();
    int x = 0, y = 0, w = r.width, h = r.height;
    if (r.fit == FitMode::Letterbox) {
        const PictureFit fit = FitPicture(SlideRect{0, 0, r.width, r.height}, decoded->width(), decoded->height());
        if (!fit.fits) return Nothing();
        x = fit.x, y = fit.y, w = fit.w, h = fit.h;
    } else if (w <= 0 || h <= 0) {
        return Nothing();
    }
    auto picture = std::make_shared<ScaledPicture>();
    picture->placed = true;
    picture->x = x;
    picture->y = y;
    if (w <= 0 || h <= 0) return picture;  // a place without area: nothing to scale
    if (w == decoded->width() && h == decoded->height()) {
        picture->pixels = decoded;
    } else {
        fw::PixelBuffer scaled = fw::ScaledCopy(decoded->view(), w, h, threads);
        if (scaled) picture->pixels = std::make_shared<const fw::PixelBuffer>(std::move(scaled));
    }
    return picture;
}

}  // namespace

std::size_t MostBytesOf(const PictureRequest& r) {
    return r.width > 0 && r.height > 0 ? static_cast<std::size_t>(r.width) * static_cast<std::size_t>(r.height) * 4 : 0;
}

std::vector<PictureRequest> AdmittedPictures(const std::vector<PictureRequest>& wanted, std::size_t budgetBytes) {
    std::vector<PictureRequest> admitted;
    std::size_t total = 0;
    for (const PictureRequest& r : wanted) {
        if (std::find(admitted.begin(), admitted.end(), r) != admitted.end()) continue;
        if (MostBytesOf(r) > budgetBytes - total) continue;
        total += MostBytesOf(r);
        admitted.push_back(r);
    }
    return admitted;
}

struct PictureCache::Core {
    struct Decoded {
        std::wstring path;
        fw::FileIdentity identity;
        std::shared_ptr<const fw::PixelBuffer> pixels;  // null: the file does not decode
        unsigned long long used = 0;
    };
    struct Scaled {
        PictureRequest request;
        fw::FileIdentity identity;
        std::shared_ptr<const ScaledPicture> picture;
        unsigned long long used = 0;
    };

    Core(Hooks h, std::size_t b) : hooks(std::move(h)), budget(b) {}

    std::shared_ptr<const ScaledPicture> Find(const PictureRequest& request, const fw::FileIdentity& identity);
    Decoded* FindDecoded(const std::wstring& path, const fw::FileIdentity& identity);
    std::shared_ptr<const ScaledPicture> Get(const PictureRequest& request, const fw::FileIdentity& identity);
    // Decodes (unless a decoded entry is given) and scales, without the lock; stores the results.
    std::shared_ptr<const ScaledPicture> Make(const PictureRequest& request, std::shared_ptr<const fw::PixelBuffer> decoded,
                                              std::optional<fw::FileIdentity> identity, bool onWorker);
    void Trim();
    Clock::duration MakeTime() const;
    void WorkerLoop(const std::shared_ptr<Core>& self);
    void PrepareOne(const PictureRequest& request);
    void RunIdleJob(std::unique_lock<std::mutex>& lock, const std::shared_ptr<Core>& self);  // idle work
    std::shared_ptr<const fw::PixelBuffer> NewestDecoded(const std::wstring& path) const;  // under the lock

    const Hooks hooks;
    const std::size_t budget;

    mutable std::mutex mutex;
    std::condition_variable changed;
    std::vector<Decoded> decoded;
    std::vector<Scaled> scaled;
    std::vector<PictureRequest> wanted;
    std::vector<PictureRequest> asked;  // since the last Prepare, oldest first
    std::vector<PictureRequest> pending;
    std::optional<PictureRequest> inProgress;
    std::vector<Clock::duration> makeTimes;  // of pictures decoded and scaled, newest last
    unsigned long long clock = 0;            // use order, for telling a current entry from a stale one
    Stats stats;
    std::vector<std::shared_ptr<const void>> letGo;  // for the worker to free
    bool stop = false;
    std::function<bool(const DecodedLookup&)> idleJob;  // idle work, see SetIdleJob
    bool idleMore = false;
    bool idleRunning = false;
};

PictureCache::PictureCache(Hooks hooks, std::size_t budgetBytes)
    : core_(std::make_shared<Core>(std::move(hooks), budgetBytes)) {}

PictureCache::~PictureCache() {
    bool stalled = false;
    {
        std::unique_lock lock(core_->mutex);
        core_->stop = true;
        core_->pending.clear();
        // A job under way gets as long as making a picture takes; one that has stalled in its
        // decode is left to end on its own, so that closing never hangs on a file.
        stalled = !core_->changed.wait_for(lock, core_->MakeTime(), [&] { return !core_->inProgress && !core_->idleRunning; });
    }
    core_->changed.notify_all();
    if (!worker_.joinable()) return;
    if (stalled) worker_.detach();
    else worker_.join();
}

std::shared_ptr<const ScaledPicture> PictureCache::Core::Find(const PictureRequest& request,
                                                             const fw::FileIdentity& identity) {
    for (Scaled& s : scaled) {
        if (s.request == request && s.identity == identity) {
            s.used = ++clock;
            return s.picture;
        }
    }
    return nullptr;
}

PictureCache::Core::Decoded* PictureCache::Core::FindDecoded(const std::wstring& path, const fw::FileIdentity& identity) {
    for (Decoded& d : decoded) {
        if (d.path == path && d.identity == identity) {
            d.used = ++clock;
            return &d;
        }
    }
    return nullptr;
}

// The longest of the recent makes: what the caller's own would take, give or take.
Clock::duration PictureCache::Core::MakeTime() const {
    if (makeTimes.empty()) return kFirstMakeGuess;
    return std::max(kShortestMake, *std::max_element(makeTimes.begin(), makeTimes.end()));
}

std::shared_ptr<const ScaledPicture> PictureCache::Get(const PictureRequest& request, const fw::FileIdentity& identity) {
    return core_->Get(request, identity);
}

std::shared_ptr<const ScaledPicture> PictureCache::Core::Get(const PictureRequest& request, const fw::FileIdentity& identity) {
    std::unique_lock lock(mutex);
    if (std::find(asked.begin(), asked.end(), request) == asked.end()) {
        if (asked.size() >= kAskedKept) asked.erase(asked.begin());
        asked.push_back(request);
    }
    if (auto hit = Find(request, identity)) return hit;
    if (inProgress && *inProgress == request) {
        // The worker is on this very picture: its result is nearer than a second decode, unless
        // it takes longer than making the picture here would.
        ++stats.waits;
        const bool done = changed.wait_for(lock, MakeTime(), [&] { return !inProgress || !(*inProgress == request); });
        if (auto hit = Find(request, identity)) return hit;
        if (!done) ++stats.waitsCut;
    }
    std::erase(pending, request);
    std::shared_ptr<const fw::PixelBuffer> known;
    if (const Decoded* d = FindDecoded(request.path, identity)) {
        if (!d->pixels) return Nothing();  // this version of the file is known not to decode
        known = d->pixels;
    }
    lock.unlock();
    try {
        return Make(request, std::move(known), identity, false);
    } catch (const std::exception&) {
        return Nothing();  // out of memory for this picture: it is not drawn, the program goes on
    }
}

std::shared_ptr<const ScaledPicture> PictureCache::Core::Make(const PictureRequest& request,
                                                             std::shared_ptr<const fw::PixelBuffer> pixels,
                                                             std::optional<fw::FileIdentity> identity, bool onWorker) {
    const auto start = Clock::now();
    const bool decodes = !pixels;
    if (decodes) {
        fw::DecodedFile file = hooks.decode(request.path);
        if (!file.found) return Nothing();  // gone since it was looked at: drawn as missing
        // Keyed by what was read, which is the newest version if the file changed meanwhile.
        identity = file.identity;
        if (file.pixels) pixels = std::make_shared<const fw::PixelBuffer>(std::move(file.pixels));
        const std::lock_guard lock(mutex);
        ++stats.decodes;
        if (onWorker) ++stats.workerDecodes;
        decoded.push_back(Decoded{request.path, *identity, pixels, ++clock});
    }
    // The caller waits for a picture made on its thread: it gets a second thread for the scaling.
    // The worker takes one core only, so input stays quick while it prepares.
    std::shared_ptr<const ScaledPicture> picture = ScaleFor(request, pixels, onWorker ? 1 : 2);
    const std::lock_guard lock(mutex);
    ++stats.scales;
    if (decodes) {
        if (makeTimes.size() >= kTimedMakes) makeTimes.erase(makeTimes.begin());
        makeTimes.push_back(Clock::now() - start);
    }
    std::erase_if(scaled, [&](const Scaled& s) { return s.request == request && s.identity == *identity; });
    scaled.push_back(Scaled{request, *identity, picture, ++clock});
    // A picture made on the caller's thread is judged by the Prepare that follows its paint.
    if (onWorker) {
        Trim();
        // Let go although still wanted and admitted: made only to be dropped.
        const auto admitted = AdmittedPictures(wanted, budget);
        const bool kept = std::any_of(scaled.begin(), scaled.end(), [&](const Scaled& s) { return s.picture == picture; });
        if (!kept && std::find(admitted.begin(), admitted.end(), request) != admitted.end()) ++stats.dropped;
    }
    return picture;
}

// Keeps the pictures asked for since the last Prepare and the newest picture of each admitted
// request; then decoded pixels in the room left: those of the pictures on screen (a change of
// window size scales them again), of the wanted ones the budget left unmade, then of the rest.
// Lets go of everything else. A picture the caller still draws stays alive through its own
// reference.
void PictureCache::Core::Trim() {
    std::set<const void*> counted;
    std::size_t total = 0;
    const auto cost = [&](const std::shared_ptr<const fw::PixelBuffer>& p) -> std::size_t {
        return !p || counted.count(p.get()) ? 0 : p->bytes();
    };
    const auto count = [&](const std::shared_ptr<const fw::PixelBuffer>& p) {
        total += cost(p);
        if (p) counted.insert(p.get());
    };
    std::vector<Scaled> keptScaled;
    std::vector<Decoded> keptDecoded;
    const auto keepScaled = [&](const PictureRequest& r) {
        auto newest = scaled.end();
        for (auto it = scaled.begin(); it != scaled.end(); ++it)
            if (it->request == r && (newest == scaled.end() || it->used > newest->used)) newest = it;
        if (newest == scaled.end()) return;
        count(newest->picture->pixels);
        keptScaled.push_back(std::move(*newest));
        scaled.erase(newest);
    };
    const auto keepDecoded = [&](const std::wstring& path) {
        auto newest = decoded.end();
        for (auto it = decoded.begin(); it != decoded.end(); ++it)
            if (it->path == path && (newest == decoded.end() || it->used > newest->used)) newest = it;
        if (newest == decoded.end()) return;
        const std::size_t extra = cost(newest->pixels);
        if (extra > budget - std::min(budget, total)) return;
        count(newest->pixels);
        keptDecoded.push_back(std::move(*newest));
        decoded.erase(newest);
    };
    const std::vector<PictureRequest> admitted = AdmittedPictures(wanted, budget);
    for (const PictureRequest& r : asked) keepScaled(r);
    for (const PictureRequest& r : admitted) keepScaled(r);
    for (const PictureRequest& r : asked) keepDecoded(r.path);
    if (!wanted.empty()) keepDecoded(wanted.front().path);
    // Then where a key would otherwise decode: pictures the budget left unmade scale only.
    for (const PictureRequest& r : wanted)
        if (std::find(admitted.begin(), admitted.end(), r) == admitted.end()) keepDecoded(r.path);
    for (const PictureRequest& r : wanted) keepDecoded(r.path);
    // What is let go is freed on the worker: giving back tens of megabytes at 4K is no work for
    // the paint that said what it wants next.
    for (Scaled& gone : scaled) letGo.push_back(std::move(gone.picture));
    for (Decoded& gone : decoded) letGo.push_back(std::move(gone.pixels));
    scaled = std::move(keptScaled);
    decoded = std::move(keptDecoded);
    stats.bytes = total;
    stats.peakBytes = std::max(stats.peakBytes, total);
}

void PictureCache::Prepare(std::vector<PictureRequest> wanted) {
    Core& core = *core_;
    {
        const std::lock_guard lock(core.mutex);
        if (core.stop) return;
        core.wanted = std::move(wanted);
        core.asked.clear();
        core.Trim();
        core.pending = AdmittedPictures(core.wanted, core.budget);
        core.idleMore = core.idleJob != nullptr;
        if ((!core.pending.empty() || !core.letGo.empty() || core.idleMore) && !worker_.joinable())
            worker_ = std::thread([core = core_] { core->WorkerLoop(core); });
    }
    core.changed.notify_all();
}

void PictureCache::Core::WorkerLoop(const std::shared_ptr<Core>& self) {
    std::shared_ptr<void> threadScope;
    if (hooks.enterWorkerThread) threadScope = hooks.enterWorkerThread();
    std::unique_lock lock(mutex);
    for (;;) {
        changed.wait(lock, [&] { return stop || !pending.empty() || !letGo.empty() || (idleJob && idleMore); });
        if (stop) break;
        if (!letGo.empty()) {
            std::vector<std::shared_ptr<const void>> freed = std::move(letGo);
            letGo.clear();
            lock.unlock();
            freed.clear();
            lock.lock();
            changed.notify_all();
            continue;
        }
        if (pending.empty()) {
            RunIdleJob(lock, self);
            continue;
        }
        inProgress = pending.front();
        pending.erase(pending.begin());
        const PictureRequest request = *inProgress;
        lock.unlock();
        try {
            PrepareOne(request);
        } catch (...) {
            // A decoder that fails or throws costs that picture only; the paint tries it again.
        }
        lock.lock();
        inProgress.reset();
        changed.notify_all();
    }
}

void PictureCache::Core::PrepareOne(const PictureRequest& request) {
    const std::optional<fw::FileIdentity> identity = hooks.identify(request.path);
    if (!identity) return;  // missing: the paint shows that without help
    std::shared_ptr<const fw::PixelBuffer> known;
    {
        const std::lock_guard lock(mutex);
        if (stop || Find(request, *identity)) return;
        if (const Decoded* d = FindDecoded(request.path, *identity)) {
            if (!d->pixels) return;  // known not to decode
            known = d->pixels;
        }
    }
    Make(request, std::move(known), identity, true);
}

PictureCache::Stats PictureCache::GetStats() const {
    const std::lock_guard lock(core_->mutex);
    return core_->stats;
}

void PictureCache::WaitUntilIdle() {
    std::unique_lock lock(core_->mutex);
    core_->changed.wait(lock, [&] {
        return core_->stop || (core_->pending.empty() && !core_->inProgress && core_->letGo.empty());
    });
}

// ---- Idle work ----

void PictureCache::SetIdleJob(std::function<bool(const DecodedLookup&)> job) {
    Core& core = *core_;
    {
        std::unique_lock lock(core.mutex);
        core.changed.wait(lock, [&] { return !core.idleRunning; });
        if (core.stop) return;
        core.idleJob = std::move(job);
        core.idleMore = core.idleJob != nullptr;
        if (core.idleJob && !worker_.joinable()) worker_ = std::thread([core = core_] { core->WorkerLoop(core); });
    }
    core.changed.notify_all();
}

bool PictureCache::HasIdleJob() const {
    const std::lock_guard lock(core_->mutex);
    return core_->idleJob != nullptr;
}

void PictureCache::Core::RunIdleJob(std::unique_lock<std::mutex>& lock, const std::shared_ptr<Core>& self) {
    const std::function<bool(const DecodedLookup&)> job = idleJob;
    idleRunning = true;
    lock.unlock();
    // The lookup holds the shared state, not the cache, so it stays valid past the cache.
    const DecodedLookup lookup = [core = self](const std::wstring& path) {
        const std::lock_guard guard(core->mutex);
        return core->NewestDecoded(path);
    };
    bool more = false;
    try {
        more = job(lookup);
    } catch (...) {
        more = false;  // a failing job waits for the next Prepare
    }
    lock.lock();
    idleRunning = false;
    idleMore = more && idleJob != nullptr;
    changed.notify_all();
}

std::shared_ptr<const fw::PixelBuffer> PictureCache::Core::NewestDecoded(const std::wstring& path) const {
    const Decoded* newest = nullptr;
    for (const Decoded& d : decoded)
        if (d.path == path && d.pixels && (!newest || d.used > newest->used)) newest = &d;
    return newest ? newest->pixels : nullptr;
}

std::shared_ptr<const fw::PixelBuffer> PictureCache::DecodedPixels(const std::wstring& path) const {
    const std::lock_guard lock(core_->mutex);
    return core_->NewestDecoded(path);
}

// ---- end of idle work ----
