#include "view/picture_cache.h"

#include <algorithm>
#include <exception>
#include <set>
#include <utility>

#include "view/picture_rules.h"

struct PictureCache::Decoded {
    std::wstring path;
    fw::FileIdentity identity;
    std::shared_ptr<const fw::PixelBuffer> pixels;  // null: the file does not decode
    unsigned long long used = 0;
};

struct PictureCache::Scaled {
    PictureRequest request;
    fw::FileIdentity identity;
    std::shared_ptr<const ScaledPicture> picture;
    unsigned long long used = 0;
};

namespace {

// The most a request's picture can hold, before anything is decoded.
std::size_t ExpectedBytes(const PictureRequest& r) {
    return r.width > 0 && r.height > 0 ? static_cast<std::size_t>(r.width) * static_cast<std::size_t>(r.height) * 4 : 0;
}

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

PictureCache::PictureCache(Hooks hooks, std::size_t budgetBytes) : hooks_(std::move(hooks)), budget_(budgetBytes) {}

PictureCache::~PictureCache() {
    {
        const std::lock_guard lock(mutex_);
        stop_ = true;
        pending_.clear();
    }
    changed_.notify_all();
    if (worker_.joinable()) worker_.join();
}

std::shared_ptr<const ScaledPicture> PictureCache::Find(const PictureRequest& request, const fw::FileIdentity& identity) {
    for (Scaled& s : scaled_) {
        if (s.request == request && s.identity == identity) {
            s.used = ++clock_;
            return s.picture;
        }
    }
    return nullptr;
}

PictureCache::Decoded* PictureCache::FindDecoded(const std::wstring& path, const fw::FileIdentity& identity) {
    for (Decoded& d : decoded_) {
        if (d.path == path && d.identity == identity) {
            d.used = ++clock_;
            return &d;
        }
    }
    return nullptr;
}

std::shared_ptr<const ScaledPicture> PictureCache::Get(const PictureRequest& request, const fw::FileIdentity& identity) {
    std::unique_lock lock(mutex_);
    for (;;) {
        if (auto hit = Find(request, identity)) return hit;
        if (!inProgress_ || !(*inProgress_ == request)) break;
        // The worker is on this very picture: its result is nearer than a second decode.
        ++stats_.waits;
        changed_.wait(lock, [&] { return !inProgress_ || !(*inProgress_ == request); });
    }
    std::erase(pending_, request);
    std::shared_ptr<const fw::PixelBuffer> decoded;
    if (const Decoded* known = FindDecoded(request.path, identity)) {
        if (!known->pixels) return Nothing();  // this version of the file is known not to decode
        decoded = known->pixels;
    }
    lock.unlock();
    try {
        return Make(request, std::move(decoded), identity, false);
    } catch (const std::exception&) {
        return Nothing();  // out of memory for this picture: it is not drawn, the program goes on
    }
}

std::shared_ptr<const ScaledPicture> PictureCache::Make(const PictureRequest& request,
                                                        std::shared_ptr<const fw::PixelBuffer> decoded,
                                                        std::optional<fw::FileIdentity> identity, bool onWorker) {
    if (!decoded) {
        fw::DecodedFile file = hooks_.decode(request.path);
        if (!file.found) return Nothing();  // gone since it was looked at: drawn as missing
        // Keyed by what was read, which is the newest version if the file changed meanwhile.
        identity = file.identity;
        if (file.pixels) decoded = std::make_shared<const fw::PixelBuffer>(std::move(file.pixels));
        const std::lock_guard lock(mutex_);
        ++stats_.decodes;
        if (onWorker) ++stats_.workerDecodes;
        decoded_.push_back(Decoded{request.path, *identity, decoded, ++clock_});
    }
    // The caller waits for a picture made on its thread: it gets a second thread for the scaling.
    // The worker takes one core only, so input stays quick while it prepares.
    std::shared_ptr<const ScaledPicture> picture = ScaleFor(request, decoded, onWorker ? 1 : 2);
    const std::lock_guard lock(mutex_);
    ++stats_.scales;
    std::erase_if(scaled_, [&](const Scaled& s) { return s.request == request && s.identity == *identity; });
    scaled_.push_back(Scaled{request, *identity, picture, ++clock_});
    // The caller's picture may not be wanted yet: its paint says what it wants right after.
    if (onWorker) Trim();
    return picture;
}

// The requests whose pictures the budget admits, most likely first, by their largest size.
std::vector<PictureRequest> PictureCache::Admitted() const {
    std::vector<PictureRequest> admitted;
    std::size_t total = 0;
    for (const PictureRequest& r : wanted_) {
        if (std::find(admitted.begin(), admitted.end(), r) != admitted.end()) continue;
        if (total + ExpectedBytes(r) > budget_) continue;
        total += ExpectedBytes(r);
        admitted.push_back(r);
    }
    return admitted;
}

// Keeps, within the budget: the newest picture of each wanted request, the first one's decoded
// pixels next, then the other wanted requests' decoded pixels; lets go of everything else. A
// picture the caller still draws stays alive through its own reference.
void PictureCache::Trim() {
    std::set<const void*> counted;
    std::size_t total = 0;
    const auto admit = [&](const std::shared_ptr<const fw::PixelBuffer>& p) {
        if (!p || counted.count(p.get())) return true;
        if (total + p->bytes() > budget_) return false;
        counted.insert(p.get());
        total += p->bytes();
        return true;
    };
    std::vector<Scaled> keptScaled;
    std::vector<Decoded> keptDecoded;
    const auto keepScaled = [&](const PictureRequest& r) {
        auto newest = scaled_.end();
        for (auto it = scaled_.begin(); it != scaled_.end(); ++it)
            if (it->request == r && (newest == scaled_.end() || it->used > newest->used)) newest = it;
        if (newest != scaled_.end() && admit(newest->picture->pixels)) {
            keptScaled.push_back(std::move(*newest));
            scaled_.erase(newest);
        }
    };
    const auto keepDecoded = [&](const std::wstring& path) {
        auto newest = decoded_.end();
        for (auto it = decoded_.begin(); it != decoded_.end(); ++it)
            if (it->path == path && (newest == decoded_.end() || it->used > newest->used)) newest = it;
        if (newest != decoded_.end() && admit(newest->pixels)) {
            keptDecoded.push_back(std::move(*newest));
            decoded_.erase(newest);
        }
    };
    for (std::size_t i = 0; i < wanted_.size(); ++i) {
        keepScaled(wanted_[i]);
        if (i == 0) keepDecoded(wanted_[0].path);
    }
    for (const PictureRequest& r : wanted_) keepDecoded(r.path);
    scaled_ = std::move(keptScaled);
    decoded_ = std::move(keptDecoded);
    stats_.bytes = total;
    stats_.peakBytes = std::max(stats_.peakBytes, total);
}

void PictureCache::Prepare(std::vector<PictureRequest> wanted) {
    {
        const std::lock_guard lock(mutex_);
        if (stop_) return;
        wanted_ = std::move(wanted);
        Trim();
        pending_ = Admitted();
        idleMore_ = idleJob_ != nullptr;
        if (!pending_.empty() && !worker_.joinable()) worker_ = std::thread([this] { WorkerLoop(); });
    }
    changed_.notify_all();
}

void PictureCache::WorkerLoop() {
    std::shared_ptr<void> threadScope;
    if (hooks_.enterWorkerThread) threadScope = hooks_.enterWorkerThread();
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [&] { return stop_ || !pending_.empty() || (idleJob_ && idleMore_); });
        if (stop_) break;
        if (pending_.empty()) {
            RunIdleJob(lock);
            continue;
        }
        inProgress_ = pending_.front();
        pending_.erase(pending_.begin());
        const PictureRequest request = *inProgress_;
        lock.unlock();
        try {
            PrepareOne(request);
        } catch (...) {
            // A decoder that fails or throws costs that picture only; the paint tries it again.
        }
        lock.lock();
        inProgress_.reset();
        changed_.notify_all();
    }
}

void PictureCache::PrepareOne(const PictureRequest& request) {
    const std::optional<fw::FileIdentity> identity = hooks_.identify(request.path);
    if (!identity) return;  // missing: the paint shows that without help
    std::shared_ptr<const fw::PixelBuffer> decoded;
    {
        const std::lock_guard lock(mutex_);
        if (stop_ || Find(request, *identity)) return;
        if (const Decoded* known = FindDecoded(request.path, *identity)) {
            if (!known->pixels) return;  // known not to decode
            decoded = known->pixels;
        }
    }
    Make(request, std::move(decoded), identity, true);
}

// ---- Idle work ----

void PictureCache::SetIdleJob(std::function<bool()> job) {
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return !idleRunning_; });
        if (stop_) return;
        idleJob_ = std::move(job);
        idleMore_ = idleJob_ != nullptr;
        if (idleJob_ && !worker_.joinable()) worker_ = std::thread([this] { WorkerLoop(); });
    }
    changed_.notify_all();
}

bool PictureCache::HasIdleJob() const {
    const std::lock_guard lock(mutex_);
    return idleJob_ != nullptr;
}

void PictureCache::RunIdleJob(std::unique_lock<std::mutex>& lock) {
    const std::function<bool()> job = idleJob_;
    idleRunning_ = true;
    lock.unlock();
    bool more = false;
    try {
        more = job();
    } catch (...) {
        more = false;  // a failing job waits for the next Prepare
    }
    lock.lock();
    idleRunning_ = false;
    idleMore_ = more && idleJob_ != nullptr;
    changed_.notify_all();
}

std::shared_ptr<const fw::PixelBuffer> PictureCache::DecodedPixels(const std::wstring& path) const {
    const std::lock_guard lock(mutex_);
    const Decoded* newest = nullptr;
    for (const Decoded& d : decoded_)
        if (d.path == path && d.pixels && (!newest || d.used > newest->used)) newest = &d;
    return newest ? newest->pixels : nullptr;
}

// ---- end of idle work ----

PictureCache::Stats PictureCache::GetStats() const {
    const std::lock_guard lock(mutex_);
    return stats_;
}

void PictureCache::WaitUntilIdle() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return stop_ || (pending_.empty() && !inProgress_); });
}
