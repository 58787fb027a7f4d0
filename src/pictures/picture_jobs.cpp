// The plan made from what the clients want, and the jobs that carry it out: which job comes next,
// and when a job that could not be made is tried again.
#include <algorithm>
#include <limits>

#include "pictures/picture_cache_core.h"
#include "pictures/picture_log.h"

namespace {

// How often a job that found no room looks whether the ledger has room for it now: a
// look at two numbers, and nothing else while it has none.
constexpr std::chrono::milliseconds kLookForRoom(500);
// The decoded size of a file never seen: a slide of the deck.
constexpr std::size_t kUsualDecodedBytes = std::size_t{1920} * 1080 * 4;

std::size_t BytesOf(const std::shared_ptr<const fw::PixelBuffer>& p) { return p ? p->bytes() : 0; }

}  // namespace

PictureCache::Core::Core(Hooks h, std::shared_ptr<fw::PixelLedger> l, int w)
    : hooks(std::move(h)), ledger(std::move(l)), workers(w) {
    if (!hooks.now) hooks.now = [] { return Clock::now(); };
}

std::size_t PictureCache::Core::DecodedBytesOf(const std::wstring& path) const {
    if (const auto it = decodedSizes.find(path); it != decodedSizes.end()) return it->second;
    // A file not decoded yet is taken to be as large as the largest of its kind decoded so far.
    const std::wstring kind = MakeEstimates::KindOf(path);
    std::size_t largest = 0;
    for (const auto& [other, bytes] : decodedSizes)
        if (MakeEstimates::KindOf(other) == kind) largest = std::max(largest, bytes);
    return largest ? largest : kUsualDecodedBytes;
}

// Everything the plan holds is checked by a worker against the file on disk, and made where it
// is missing or out of date, in the plan's order; the pictures the clients draw right away are
// theirs to make. Nothing here changes until the new plan is made: a bad_alloc leaves the cache
// as it was.
void PictureCache::Core::Replan(LetGo& letGo) {
    std::vector<PlanItem> nextItems;
    std::vector<PictureClient> nextClients;
    for (std::size_t c = 0; c < kPictureClients; ++c) {
        const Wants& w = clients[c];
        for (std::size_t i = 0; i < w.wanted.size(); ++i) {
            nextItems.push_back(PlanItem{w.wanted[i].request, w.wanted[i].decodedWillDo, i < w.drawnNow});
            nextClients.push_back(static_cast<PictureClient>(c));
        }
    }
    std::vector<HeldPicture> heldPictures;
    for (const Entry& e : pictures) heldPictures.push_back(HeldPicture{e.request, BytesOf(e.picture->pixels), e.picture->pixels.get()});
    std::vector<HeldDecoded> heldDecoded;
    for (const DecodedEntry& d : decoded) heldDecoded.push_back(HeldDecoded{d.path, BytesOf(d.pixels), d.pixels.get()});
    // The logos and markers the windows keep beside the pictures take their room first.
    const fw::PixelLedger::Figures now = ledger->Now();
    const std::size_t budget = ledger->Budget() - std::min(ledger->Budget(), now.resident);
    PicturePlan nextPlan = MakePlan(nextItems, heldPictures, heldDecoded,
                                    [this](const std::wstring& p) { return DecodedBytesOf(p); }, budget);

    std::vector<Job> nextJobs;
    for (const PlanJob& pj : nextPlan.jobs) {
        if (nextItems[pj.item].drawnNow) continue;
        Job job;
        job.request = nextItems[pj.item].request;
        job.decodeOnly = pj.decodeOnly;
        job.client = nextClients[pj.item];
        // A job planned before goes on where it stands.
        for (const Job& old : jobs)
            if (old.request == job.request && old.decodeOnly == job.decodeOnly && old.client == job.client) job = old;
        nextJobs.push_back(std::move(job));
    }
    letGo.reserve(letGo.size() + pictures.size() + decoded.size());
    std::vector<Entry> keptPictures;
    keptPictures.reserve(pictures.size());
    std::vector<DecodedEntry> keptDecoded;
    keptDecoded.reserve(decoded.size());

    // From here on nothing allocates.
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        if (nextPlan.keepPicture[i]) {
            keptPictures.push_back(std::move(pictures[i]));
            continue;
        }
        if (pictures[i].byWorker && !pictures[i].asked) ++stats.madeUnused;
        letGo.push_back(std::move(pictures[i].picture));
    }
    for (std::size_t i = 0; i < decoded.size(); ++i) {
        if (nextPlan.keepDecoded[i]) keptDecoded.push_back(std::move(decoded[i]));
        else letGo.push_back(std::move(decoded[i].pixels));
    }
    pictures.swap(keptPictures);
    decoded.swap(keptDecoded);
    items.swap(nextItems);
    itemClients.swap(nextClients);
    plan = std::move(nextPlan);
    jobs.swap(nextJobs);
    // A job under way that the plan no longer wants is given up where it waits.
    for (Making& m : making)
        if (m.worker >= 0 && !JobOf(m.request, m.decodeOnly)) *m.dropped = true;
    ++stats.plans;
    if (PictureLogging()) LogPlan(*this, now);
}

PictureCache::Core::Job* PictureCache::Core::JobOf(const PictureRequest& request, bool decodeOnly) {
    for (Job& j : jobs)
        if (j.request == request && j.decodeOnly == decodeOnly) return &j;
    return nullptr;
}

std::size_t PictureCache::Core::KeepFreeForTheDrawn() const {
    std::size_t pictureBytes = 0, decode = 0;
    for (const std::size_t i : plan.ready) {
        const PlanItem& item = items[i];
        if (!item.drawnNow) continue;
        // Held (or known missing, or not decoding), or being made by its client: nothing to keep.
        if (std::any_of(pictures.begin(), pictures.end(), [&](const Entry& e) { return e.request == item.request; })) continue;
        if (const Making* m = MakingOf(item.request, false); m && m->worker < 0) continue;
        const bool decodedHeld = std::any_of(decoded.begin(), decoded.end(), [&](const DecodedEntry& d) {
            return d.path == item.request.path && d.pixels;
        });
        const std::size_t decodedBytes = DecodedBytesOf(item.request.path);
        // Its picture, once (a picture as decoded is its decoded pixels); and the one decode the
        // plan leaves room for, which its client takes before any worker.
        if (item.request.fit != FitMode::AsDecoded) pictureBytes += MostBytesOf(item.request, decodedBytes);
        if (!decodedHeld) decode = std::max(decode, decodedBytes);
    }
    return pictureBytes + decode;
}

bool PictureCache::Core::Working() const {
    return std::any_of(making.begin(), making.end(), [](const Making& m) { return m.worker >= 0; });
}

// The overview's thumbnails, equal in need, cheapest first: a file whose decoded pixels are held,
// or of which a larger thumbnail is, costs a scaling; the others a decode, and a smaller file
// decodes sooner.
int PictureCache::Core::Cheapness(const Job& job) const {
    for (const DecodedEntry& d : decoded)
        if (d.path == job.request.path && d.pixels) return 0;
    for (const Entry& e : pictures) {
        const auto& p = e.picture->pixels;
        if (e.request.path == job.request.path && e.request.stamps.empty() && p && p->width() >= job.request.width &&
            p->height() >= job.request.height)
            return 1;
    }
    const auto size = fileSizes.find(job.request.path);
    if (size == fileSizes.end()) return std::numeric_limits<int>::max();
    return 2 + static_cast<int>(std::min<std::uint64_t>(size->second >> 10, std::numeric_limits<int>::max() - 2));
}

// The show's, the console's and printing's jobs in the plan's order, one at a time, so that input
// keeps a core: while one is made (by a worker or a client) no other starts, until it has taken
// as many times its estimate as tell a stalled read, after which it stops only itself. The
// thumbnails while nothing else is made, on both cores. A job without room rests until the ledger
// has room for it; one that failed for want of something other than its file, until its pause
// has passed.
PictureCache::Core::Job* PictureCache::Core::NextJob(RealClock::time_point now, RealClock::time_point* wake) {
    const auto later = [&](RealClock::time_point t) {
        if (wake && t < *wake) *wake = t;
    };
    bool busy = false;
    for (const Making& m : making) {
        if (!m.lookAhead && m.worker >= 0) continue;
        const auto stalled = m.started + m.estimate * MakeEstimates::kStallFactor;
        if (now < stalled) {
            busy = true;
            later(stalled);
        }
    }
    const fw::PixelLedger::Figures figures = ledger->Now();
    std::optional<std::size_t> keepFree;  // asked once, when a job without room is looked at
    const auto room = [&](std::size_t need) {
        if (!keepFree) keepFree = KeepFreeForTheDrawn();
        const std::size_t used = figures.alive + figures.reserved + *keepFree;
        return used <= ledger->Budget() && need <= ledger->Budget() - used;
    };
    const auto due = [&](Job& j) {
        if (MakingOf(j.request, j.decodeOnly)) return false;
        switch (j.state) {
        case JobState::ToCheck: return true;
        case JobState::UnderWay:
        case JobState::Done: return false;
        case JobState::NoRoom:
            if (room(j.need)) return true;
            later(now + kLookForRoom);  // room comes as buffers are freed, by whoever holds them last
            return false;
        case JobState::Paused:
            if (now >= j.again) return true;
            later(j.again);
            return false;
        }
        return false;
    };
    if (busy) return nullptr;
    for (Job& j : jobs)
        if (j.client != PictureClient::Overview && due(j)) return &j;
    Job* best = nullptr;
    int bestCost = 0;
    for (Job& j : jobs) {
        if (j.client != PictureClient::Overview || !due(j)) continue;
        const int cost = Cheapness(j);
        if (!best || cost < bestCost) best = &j, bestCost = cost;
    }
    return best;
}
