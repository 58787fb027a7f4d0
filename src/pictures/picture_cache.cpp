#include "pictures/picture_cache.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <exception>
#include <limits>
#include <map>
#include <mutex>
#include <set>
#include <system_error>
#include <utility>

#include "pictures/make_estimates.h"
#include "pictures/picture_compose.h"
#include "pictures/picture_plan.h"

namespace {

using Duration = std::chrono::nanoseconds;

// The decoded size of a file never seen: a slide of the deck.
constexpr std::size_t kUsualDecodedBytes = std::size_t{1920} * 1080 * 4;
// How long a worker waits for room in the budget before it leaves the job until the next plan.
constexpr std::chrono::milliseconds kRoomWait(2000);
// A client that says the same again within this time has its files checked against the disk
// only then: the overview restates its 69 thumbnails at every paint of the show.
constexpr std::chrono::milliseconds kRecheckAfter(1000);

std::shared_ptr<const ScaledPicture> Nothing() { return std::make_shared<const ScaledPicture>(); }

std::size_t BytesOf(const std::shared_ptr<const fw::PixelBuffer>& p) { return p ? p->bytes() : 0; }

std::size_t Pixels(std::size_t bytes) { return bytes / 4; }

// Room reserved in the ledger for a picture in progress: what its buffers have not taken over is
// given back when the make ends, however it ends.
class Reservation {
public:
    explicit Reservation(fw::PixelLedger& ledger) : ledger_(ledger) {}
    ~Reservation() { ledger_.Unreserve(bytes_); }
    Reservation(const Reservation&) = delete;
    Reservation& operator=(const Reservation&) = delete;
    void Add(std::size_t bytes) { bytes_ += bytes; }
    // `bytes` of it taken over by a buffer charged with them.
    std::size_t Take(std::size_t bytes) {
        const std::size_t taken = std::min(bytes, bytes_);
        bytes_ -= taken;
        return taken;
    }

private:
    fw::PixelLedger& ledger_;
    std::size_t bytes_ = 0;
};

}  // namespace

struct PictureCache::Core {
    struct Entry {
        PictureRequest request;
        std::optional<fw::FileIdentity> identity;  // nothing: the file was missing
        std::shared_ptr<const ScaledPicture> picture;
        PictureClient client = PictureClient::Show;
        bool byWorker = false;
        bool asked = false;
    };
    struct DecodedEntry {
        std::wstring path;
        fw::FileIdentity identity;
        std::shared_ptr<const fw::PixelBuffer> pixels;  // null: this version does not decode
    };
    struct Job {
        PictureRequest request;
        bool decodeOnly = false;
        PictureClient client = PictureClient::Show;
        bool taken = false;
        bool leftForRoom = false;  // a worker found no room for it: tried again when what is held changes
    };
    struct Making {
        PictureRequest request;
        bool decodeOnly = false;
        int worker = -1;  // -1: a caller's thread
        bool lookAhead = false;
        Duration estimate{0};
    };
    struct Wants {
        std::vector<Wanted> wanted;
        std::size_t drawnNow = 0;
        unsigned generation = 0;
        std::optional<Clock::time_point> checked;  // when its files were last checked against the disk
    };
    // What a make starts from: decoded pixels of the very version asked for, or a larger
    // picture of it without stamps, or nothing (a decode).
    struct Source {
        std::shared_ptr<const fw::PixelBuffer> pixels;
        bool decoded = false;
    };

    Core(Hooks h, std::shared_ptr<fw::PixelLedger> l, int w) : hooks(std::move(h)), ledger(std::move(l)), workers(w) {
        if (!hooks.now) hooks.now = [] { return Clock::now(); };
    }

    // ---- the plan ----
    void Replan(std::vector<std::shared_ptr<const void>>& letGo);
    void BuildJobs();
    std::size_t DecodedBytesOf(const std::wstring& path) const;
    bool Planned(const PictureRequest& request) const;
    // The jobs left for want of room are tried again: a client's new wants or a picture stored
    // may have made room. Not after a job that itself found none, or two such jobs would wake
    // each other for ever.
    void RetryLeftForRoom();
    // The bytes still to be made of the pictures the clients draw right away: neither held nor
    // being made by a caller.
    std::size_t DrawnNowStillToMake() const;
    // ---- lookups, under the lock ----
    Entry* FindEntry(const PictureRequest& request);
    const DecodedEntry* FindDecoded(const std::wstring& path, const fw::FileIdentity& identity) const;
    Source SourceFor(const PictureRequest& request, const fw::FileIdentity& identity) const;
    const Making* MakingOf(const PictureRequest& request, bool decodeOnly) const;
    Duration EstimateFor(const PictureRequest& request, const Source& source) const;
    // ---- making ----
    // The picture to store, or nothing to store (only decoded, deferred for want of room, or the
    // file gone since it was looked at).
    // `noRoom` is set when a worker left it for want of room, `retry` when the plan changed meanwhile.
    std::optional<std::shared_ptr<const ScaledPicture>> Make(const PictureRequest& request, fw::FileIdentity identity,
                                                             const Source& source, bool decodeOnly, int worker,
                                                             std::unique_lock<std::mutex>& lock, bool* retry = nullptr,
                                                             bool* noRoom = nullptr);
    void Store(const PictureRequest& request, const std::optional<fw::FileIdentity>& identity,
               std::shared_ptr<const ScaledPicture> picture, bool byWorker, std::vector<std::shared_ptr<const void>>& letGo);
    void StoreDecoded(const std::wstring& path, const fw::FileIdentity& identity, std::shared_ptr<const fw::PixelBuffer> pixels);
    // ---- the workers ----
    void WorkerLoop(int index);
    Job* NextJob();
    void RunJob(const Job& job, int index, std::unique_lock<std::mutex>& lock);
    int Cheapness(const Job& job) const;

    Hooks hooks;
    const std::shared_ptr<fw::PixelLedger> ledger;
    const int workers;

    mutable std::mutex mutex;
    std::condition_variable changed;
    std::array<Wants, kPictureClients> clients;
    std::vector<Entry> pictures;
    std::vector<DecodedEntry> decoded;
    std::vector<PlanItem> items;
    std::vector<PictureClient> itemClients;
    PicturePlan plan;
    std::vector<Job> jobs;
    std::vector<Making> making;
    MakeEstimates estimates;
    std::map<std::wstring, std::size_t> decodedSizes;  // bytes of a file's decoded pixels, as last seen
    std::map<std::wstring, std::uint64_t> fileSizes;   // the files' sizes, as last identified
    Stats stats;
    bool stop = false;
    int workersStarted = 0;
    std::atomic<bool> stopping{false};
    std::atomic<unsigned> planStamp{0};  // grows with every plan: a worker waiting for room gives up
};

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
        // A job under way gets as long as its estimate; one that has stalled in its decode is
        // left to end on its own, so that closing never hangs on a file.
        Duration longest{0};
        for (const Core::Making& m : core.making) longest = std::max(longest, m.estimate);
        core.changed.wait_for(lock, longest, [&] {
            return std::none_of(core.making.begin(), core.making.end(), [](const Core::Making& m) { return m.worker >= 0; });
        });
        for (const Core::Making& m : core.making)
            if (m.worker >= 0) stalled.insert(m.worker);
    }
    ledger_->Poke();
    core.changed.notify_all();
    for (std::size_t i = 0; i < workers_.size(); ++i) {
        if (!workers_[i].joinable()) continue;
        if (stalled.count(static_cast<int>(i))) workers_[i].detach();
        else workers_[i].join();
    }
}

// ---- The plan ----

std::size_t PictureCache::Core::DecodedBytesOf(const std::wstring& path) const {
    if (const auto it = decodedSizes.find(path); it != decodedSizes.end()) return it->second;
    // A file not decoded yet is taken to be as large as the largest of its kind decoded so far.
    const std::wstring kind = MakeEstimates::KindOf(path);
    std::size_t largest = 0;
    for (const auto& [other, bytes] : decodedSizes)
        if (MakeEstimates::KindOf(other) == kind) largest = std::max(largest, bytes);
    return largest ? largest : kUsualDecodedBytes;
}

void PictureCache::Core::Replan(std::vector<std::shared_ptr<const void>>& letGo) {
    items.clear();
    itemClients.clear();
    for (std::size_t c = 0; c < kPictureClients; ++c) {
        const Wants& w = clients[c];
        for (std::size_t i = 0; i < w.wanted.size(); ++i) {
            items.push_back(PlanItem{w.wanted[i].request, w.wanted[i].decodedWillDo, i < w.drawnNow});
            itemClients.push_back(static_cast<PictureClient>(c));
        }
    }
    std::vector<HeldPicture> heldPictures;
    for (const Entry& e : pictures) {
        const auto& pixels = e.picture->pixels;
        heldPictures.push_back(HeldPicture{e.request, BytesOf(pixels), pixels.get()});
    }
    std::vector<HeldDecoded> heldDecoded;
    for (const DecodedEntry& d : decoded) heldDecoded.push_back(HeldDecoded{d.path, BytesOf(d.pixels), d.pixels.get()});
    plan = MakePlan(items, heldPictures, heldDecoded, [this](const std::wstring& p) { return DecodedBytesOf(p); },
                    ledger->Budget());
    ++planStamp;

    std::vector<Entry> keptPictures;
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        if (plan.keepPicture[i]) {
            keptPictures.push_back(std::move(pictures[i]));
            continue;
        }
        if (pictures[i].byWorker && !pictures[i].asked) ++stats.madeUnused;
        letGo.push_back(std::move(pictures[i].picture));
    }
    pictures = std::move(keptPictures);
    std::vector<DecodedEntry> keptDecoded;
    for (std::size_t i = 0; i < decoded.size(); ++i) {
        if (plan.keepDecoded[i]) keptDecoded.push_back(std::move(decoded[i]));
        else letGo.push_back(std::move(decoded[i].pixels));
    }
    decoded = std::move(keptDecoded);
    BuildJobs();
}

// Everything the plan holds is checked by a worker against the file on disk, and made where it
// is missing or out of date; the pictures the clients draw right away are theirs to make.
void PictureCache::Core::BuildJobs() {
    std::vector<Job> fresh;
    const auto add = [&](std::size_t i, bool decodeOnly) {
        if (items[i].drawnNow) return;
        Job job{items[i].request, decodeOnly, itemClients[i], false};
        // A client that said nothing new keeps its jobs as they were (checked, or not yet).
        for (const Job& old : jobs)
            if (old.request == job.request && old.decodeOnly == decodeOnly && old.client == job.client) {
                job.taken = old.taken;
                job.leftForRoom = old.leftForRoom;
            }
        fresh.push_back(std::move(job));
    };
    for (const std::size_t i : plan.ready) add(i, false);
    for (const std::size_t i : plan.decoded)
        if (items[i].decodedWillDo) add(i, true);
    jobs = std::move(fresh);
}

bool PictureCache::Core::Planned(const PictureRequest& request) const {
    return std::any_of(plan.ready.begin(), plan.ready.end(), [&](std::size_t i) { return items[i].request == request; });
}

void PictureCache::Core::RetryLeftForRoom() {
    for (Job& job : jobs) {
        if (!job.leftForRoom) continue;
        job.leftForRoom = false;
        job.taken = false;
    }
}

std::size_t PictureCache::Core::DrawnNowStillToMake() const {
    std::size_t bytes = 0;
    for (const PlanItem& item : items) {
        if (!item.drawnNow || !HasArea(item.request)) continue;
        if (std::any_of(pictures.begin(), pictures.end(), [&](const Entry& e) { return e.request == item.request; })) continue;
        if (const Making* m = MakingOf(item.request, false); m && m->worker < 0) continue;
        const bool decodedHeld = std::any_of(decoded.begin(), decoded.end(), [&](const DecodedEntry& d) {
            return d.path == item.request.path && d.pixels;
        });
        const std::size_t decodedBytes = DecodedBytesOf(item.request.path);
        bytes += (decodedHeld ? 0 : decodedBytes) + MostBytesOf(item.request, decodedBytes);
    }
    return bytes;
}

void PictureCache::Want(PictureClient client, std::vector<Wanted> wanted, std::size_t drawnNow) {
    Core& core = *core_;
    std::vector<std::shared_ptr<const void>> letGo;
    bool work = false;
    {
        const std::lock_guard lock(core.mutex);
        if (core.stop) return;
        Core::Wants& w = core.clients[static_cast<std::size_t>(client)];
        drawnNow = std::min(drawnNow, wanted.size());
        const auto now = core.hooks.now();
        const bool same = w.wanted == wanted && w.drawnNow == drawnNow;
        if (!same || !w.checked || now - *w.checked >= kRecheckAfter) {
            // This client's jobs are checked anew: its files may have changed since.
            for (Core::Job& job : core.jobs)
                if (job.client == client) job.taken = false;
            w.checked = now;
        }
        w.wanted = std::move(wanted);
        w.drawnNow = drawnNow;
        core.Replan(letGo);
        core.RetryLeftForRoom();
        work = std::any_of(core.jobs.begin(), core.jobs.end(), [](const Core::Job& j) { return !j.taken; });
    }
    core.changed.notify_all();
    ledger_->Poke();
    if (work) StartWorkers();
    letGo.clear();  // freed here, after the lock, whatever any decode is doing
}

// The workers start with the first work, as many as the cache has. Without a thread to be had,
// the clients make what they ask for themselves.
void PictureCache::StartWorkers() {
    for (int i = static_cast<int>(workers_.size()); i < core_->workers; ++i) {
        try {
            workers_.emplace_back([core = core_, i] { core->WorkerLoop(i); });
        } catch (const std::system_error&) {
            break;
        }
        const std::lock_guard lock(core_->mutex);
        ++core_->workersStarted;
    }
}

// ---- Lookups ----

PictureCache::Core::Entry* PictureCache::Core::FindEntry(const PictureRequest& request) {
    for (Entry& e : pictures)
        if (e.request == request) return &e;
    return nullptr;
}

const PictureCache::Core::DecodedEntry* PictureCache::Core::FindDecoded(const std::wstring& path,
                                                                         const fw::FileIdentity& identity) const {
    for (const DecodedEntry& d : decoded)
        if (d.path == path && d.identity == identity) return &d;
    return nullptr;
}

PictureCache::Core::Source PictureCache::Core::SourceFor(const PictureRequest& request, const fw::FileIdentity& identity) const {
    if (const DecodedEntry* d = FindDecoded(request.path, identity)) return {d->pixels, true};
    // A thumbnail made again at a smaller size comes from a larger one, without a decode.
    if (request.fit == FitMode::Stretch && request.stamps.empty()) {
        for (const Entry& e : pictures) {
            const auto& p = e.picture->pixels;
            if (e.request.path == request.path && e.request.fit == FitMode::Stretch && e.request.stamps.empty() &&
                e.identity == identity && p && p->width() >= request.width && p->height() >= request.height)
                return {p, false};
        }
    }
    return {};
}

const PictureCache::Core::Making* PictureCache::Core::MakingOf(const PictureRequest& request, bool decodeOnly) const {
    for (const Making& m : making)
        if (m.request == request && m.decodeOnly == decodeOnly) return &m;
    return nullptr;
}

Duration PictureCache::Core::EstimateFor(const PictureRequest& request, const Source& source) const {
    const std::size_t decodeBytes = source.pixels ? 0 : DecodedBytesOf(request.path);
    const std::size_t scaledBytes = MostBytesOf(request, DecodedBytesOf(request.path));
    return estimates.Estimate(MakeEstimates::KindOf(request.path), Pixels(decodeBytes), Pixels(scaledBytes));
}

std::chrono::nanoseconds PictureCache::Estimate(const PictureRequest& request) const {
    const std::lock_guard lock(core_->mutex);
    for (const Core::DecodedEntry& d : core_->decoded)
        if (d.path == request.path && d.pixels) return core_->EstimateFor(request, Core::Source{d.pixels, true});
    return core_->EstimateFor(request, Core::Source{});
}

// ---- Making ----

// Makes the picture (or only decodes the file) without the lock, which it takes back before it
// returns. Room for what it allocates is set aside in the ledger first: a worker waits for it (and
// gives up when the plan changes meanwhile), a caller waits for it no longer than the workers'
// jobs under way should take, then goes on regardless.
std::optional<std::shared_ptr<const ScaledPicture>> PictureCache::Core::Make(const PictureRequest& request,
                                                                             fw::FileIdentity identity, const Source& source,
                                                                             bool decodeOnly, int worker,
                                                                             std::unique_lock<std::mutex>& lock, bool* retry,
                                                                             bool* noRoom) {
    const bool onWorker = worker >= 0;
    const unsigned stamp = planStamp;
    const auto giveUp = [this, stamp] { return stopping.load() || planStamp.load() != stamp; };
    // The caller waits for room while the workers' jobs under way should end (what they make
    // for the plan is let go or kept by it), then draws what it asked for, room or not. A worker
    // waits for room in the budget.
    Duration underWay{0};
    for (const Making& m : making)
        if (m.worker >= 0) underWay = std::max(underWay, m.estimate);
    const auto room = [&](std::size_t bytes) {
        if (!onWorker) {
            const auto limit = std::chrono::ceil<std::chrono::milliseconds>(underWay);
            if (limit.count() <= 0 || !ledger->ReserveWhenRoom(bytes, {}, limit)) ledger->Reserve(bytes);
            return true;
        }
        // A worker leaves room for what the clients draw right away and is not made yet: the
        // caller making it goes on regardless, and must not take the ledger past the budget.
        std::size_t keepFree = 0;
        {
            const std::lock_guard relock(mutex);
            keepFree = DrawnNowStillToMake();
        }
        if (ledger->ReserveWhenRoom(bytes, giveUp, kRoomWait, keepFree)) return true;
        if (retry && planStamp.load() != stamp) *retry = true;
        if (noRoom) *noRoom = true;
        return false;
    };
    lock.unlock();

    const auto start = hooks.now();
    std::shared_ptr<const fw::PixelBuffer> pixels = source.pixels;
    Reservation reserved(*ledger);
    bool decodedHere = false;
    std::optional<fw::DecodedFile> file;
    if (!pixels) {
        // Room for the decoded pixels and for the picture made from them, asked once the header
        // has told their size.
        file = hooks.decode(request.path, [&](int w, int h) {
            const std::size_t bytes = static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * 4;
            {
                // Known from the header on: the plans and the room kept for files of its kind.
                const std::lock_guard relock(mutex);
                decodedSizes[request.path] = bytes;
            }
            const std::size_t picture = decodeOnly ? 0 : ComposedBytes(request, w, h);
            if (!room(bytes + picture)) return false;
            reserved.Add(bytes + picture);
            return true;
        });
        decodedHere = true;
        if (file->pixels) {
            file->pixels.ChargeTo(ledger, reserved.Take(file->pixels.bytes()));
            pixels = std::make_shared<const fw::PixelBuffer>(std::move(file->pixels));
        }
    }
    const auto decodedAt = hooks.now();
    std::shared_ptr<const ScaledPicture> picture;
    if (!decodeOnly && (!file || (!file->deferred && file->found))) {
        const std::size_t need = pixels ? ComposedBytes(request, pixels->width(), pixels->height()) : 0;
        const bool roomMade = decodedHere || need == 0 || room(need);
        if (!decodedHere && need > 0 && roomMade) reserved.Add(need);
        if (roomMade) {
            // The caller waits for a picture made on its thread: it gets a second core for the
            // scaling. A worker takes one, so input stays quick while it prepares.
            const std::size_t taken = reserved.Take(need);
            picture = ComposePicture(request, pixels, onWorker ? 1 : 2, ledger, taken);
            if (!picture->pixels || picture->pixels == pixels) ledger->Unreserve(taken);  // nothing new was made
        }
    }
    const auto end = hooks.now();

    lock.lock();
    if (file && file->deferred) return std::nullopt;
    if (decodedHere) {
        ++stats.decodes;
        if (onWorker) ++stats.workerDecodes;
        if (file->found) {
            identity = file->identity;  // keyed by what was read: the newest version if it changed meanwhile
            if (pixels) {
                decodedSizes[request.path] = pixels->bytes();
                estimates.RecordDecode(MakeEstimates::KindOf(request.path), Pixels(pixels->bytes()), decodedAt - start);
            }
            StoreDecoded(request.path, identity, pixels);
        }
    }
    if (decodeOnly || (decodedHere && !file->found)) return std::nullopt;  // gone since it was looked at
    if (!picture) return std::nullopt;  // no room for it: left until the plan changes
    ++stats.scales;
    if (picture->pixels && picture->pixels != pixels) estimates.RecordScale(Pixels(picture->pixels->bytes()), end - decodedAt);
    return picture;
}

void PictureCache::Core::StoreDecoded(const std::wstring& path, const fw::FileIdentity& identity,
                                      std::shared_ptr<const fw::PixelBuffer> pixels) {
    for (DecodedEntry& d : decoded) {
        if (d.path != path) continue;
        d.identity = identity;
        d.pixels = std::move(pixels);  // an older version goes: the plan holds one per file
        return;
    }
    decoded.push_back(DecodedEntry{path, identity, std::move(pixels)});
}

void PictureCache::Core::Store(const PictureRequest& request, const std::optional<fw::FileIdentity>& identity,
                               std::shared_ptr<const ScaledPicture> picture, bool byWorker,
                               std::vector<std::shared_ptr<const void>>& letGo) {
    std::optional<PictureClient> client;
    for (std::size_t i = 0; i < items.size() && !client; ++i)
        if (items[i].request == request) client = itemClients[i];
    if (Entry* e = FindEntry(request)) {
        letGo.push_back(std::move(e->picture));  // an older version or size goes: one per request
        e->identity = identity;
        e->picture = std::move(picture);
        e->client = client.value_or(e->client);
        e->byWorker = byWorker;
        e->asked = !byWorker;
    } else {
        pictures.push_back(Entry{request, identity, std::move(picture), client.value_or(PictureClient::Show), byWorker, !byWorker});
    }
    if (client) ++clients[static_cast<std::size_t>(*client)].generation;
    Replan(letGo);
    RetryLeftForRoom();
}

std::shared_ptr<const ScaledPicture> PictureCache::Get(const PictureRequest& request, const fw::FileIdentity& identity) {
    Core& core = *core_;
    if (!HasArea(request)) return Nothing();  // nothing to draw, and nothing to spend on it
    std::vector<std::shared_ptr<const void>> letGo;
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
        if (const Core::Making* m = core.MakingOf(request, false); m && m->worker >= 0) {
            // A worker is on this very picture: its result is nearer than a second decode,
            // unless it takes longer than its estimate.
            ++core.stats.waits;
            const Duration limit = m->estimate;
            core.stats.lastWaitLimit = limit;
            core.changed.wait_for(lock, limit, [&] { return core.stop || !core.MakingOf(request, false); });
            if (auto hit = held()) return hit;
            ++core.stats.waitsCut;
        }
        if (const Core::Entry* e = core.FindEntry(request); e && e->identity == identity && !e->picture->placed)
            return e->picture;  // this version is known not to decode
        const Core::Source source = core.SourceFor(request, identity);
        if (source.decoded && !source.pixels) return Nothing();  // known not to decode
        core.making.push_back(Core::Making{request, false, -1, true, core.EstimateFor(request, source)});
        std::optional<std::shared_ptr<const ScaledPicture>> made;
        try {
            made = core.Make(request, identity, source, false, -1, lock);
        } catch (const std::exception&) {
            if (!lock.owns_lock()) lock.lock();  // out of memory for this picture: it is not drawn
        }
        std::erase_if(core.making, [&](const Core::Making& m) { return m.worker < 0 && m.request == request; });
        picture = made && *made ? *made : Nothing();
        if (made && *made) core.Store(request, identity, picture, false, letGo);
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
        for (const Core::Entry& e : core_->pictures) {
            if (e.request == w.request) {
                ++ready;
                break;
            }
        }
    }
    return ready;
}

unsigned PictureCache::Generation(PictureClient client) const {
    const std::lock_guard lock(core_->mutex);
    return core_->clients[static_cast<std::size_t>(client)].generation;
}

// ---- The workers ----

// The overview's thumbnails cheapest first: a file whose decoded pixels are held, or of which a
// larger thumbnail is, costs a scaling; the others a decode, and a smaller file decodes sooner.
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

PictureCache::Core::Job* PictureCache::Core::NextJob() {
    const auto free = [&](const Job& j) { return !j.taken && !MakingOf(j.request, j.decodeOnly); };
    // What the show, the console and printing want, in order, one at a time: input keeps a core.
    const bool lookAheadBusy = std::any_of(making.begin(), making.end(), [](const Making& m) { return m.lookAhead || m.worker < 0; });
    if (lookAheadBusy) return nullptr;
    for (Job& j : jobs)
        if (j.client != PictureClient::Overview && free(j)) return &j;
    // The thumbnails while nothing else is made, on both cores.
    Job* best = nullptr;
    int bestCost = 0;
    for (Job& j : jobs) {
        if (j.client != PictureClient::Overview || !free(j)) continue;
        const int cost = Cheapness(j);
        if (!best || cost < bestCost) best = &j, bestCost = cost;
    }
    return best;
}

void PictureCache::Core::WorkerLoop(int index) {
    std::shared_ptr<void> threadScope;
    if (hooks.enterWorkerThread) threadScope = hooks.enterWorkerThread();
    std::unique_lock lock(mutex);
    for (;;) {
        Job* next = nullptr;
        changed.wait(lock, [&] { return stop || (next = NextJob()) != nullptr; });
        if (stop) break;
        next->taken = true;
        const Job job = *next;
        making.push_back(Making{job.request, job.decodeOnly, index, job.client != PictureClient::Overview,
                                EstimateFor(job.request, Source{})});
        lock.unlock();
        if (hooks.setLowPriority) hooks.setLowPriority(job.client == PictureClient::Overview);
        lock.lock();
        try {
            RunJob(job, index, lock);
        } catch (...) {
            // A decoder that fails or throws costs that picture only; its client tries it again.
            if (!lock.owns_lock()) lock.lock();
        }
        std::erase_if(making, [&](const Making& m) { return m.worker == index; });
        changed.notify_all();
    }
}

void PictureCache::Core::RunJob(const Job& job, int index, std::unique_lock<std::mutex>& lock) {
    lock.unlock();
    const std::optional<fw::FileIdentity> identity = hooks.identify(job.request.path);
    lock.lock();
    if (stop) return;
    std::vector<std::shared_ptr<const void>> letGo;
    if (identity) fileSizes[job.request.path] = identity->size;
    if (job.decodeOnly) {
        if (!identity) return;
        for (const DecodedEntry& d : decoded)
            if (d.path == job.request.path && d.identity == *identity) return;  // held, or known not to decode
    } else {
        Entry* held = FindEntry(job.request);
        if (!identity) {
            // Missing: known as such, so that it counts as settled; a later check finds it back.
            if (!held || held->identity) Store(job.request, std::nullopt, Nothing(), true, letGo);
        } else if (held && held->identity == identity) {
            return;  // as on disk
        }
        if (!identity) {
            lock.unlock();
            letGo.clear();
            lock.lock();
            return;
        }
    }
    Source source = SourceFor(job.request, *identity);
    if (source.decoded && !source.pixels) {
        if (!job.decodeOnly) Store(job.request, identity, Nothing(), true, letGo);
    } else {
        for (Making& m : making)
            if (m.worker == index) m.estimate = EstimateFor(job.request, source);
        bool retry = false, noRoom = false;
        std::optional<std::shared_ptr<const ScaledPicture>> picture =
            Make(job.request, *identity, source, job.decodeOnly, index, lock, &retry, &noRoom);
        if (picture && *picture) {
            Store(job.request, identity, std::move(*picture), true, letGo);
        } else {
            Replan(letGo);  // what is held has changed, and a file's size may be known now
            // Left for want of room: tried again at once when the plan changed meanwhile, else
            // when a picture is stored or a client says what it wants, when room may be had.
            for (Job& j : jobs) {
                if (j.request != job.request || j.decodeOnly != job.decodeOnly) continue;
                if (retry) j.taken = false;
                else if (noRoom) j.leftForRoom = true;
            }
        }
    }
    lock.unlock();
    letGo.clear();
    lock.lock();
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
    s.planned = core_->plan.bytes + core_->plan.headroom;
    return s;
}

void PictureCache::WaitUntilIdle() {
    Core& core = *core_;
    std::unique_lock lock(core.mutex);
    core.changed.wait(lock, [&] {
        const bool working = std::any_of(core.making.begin(), core.making.end(), [](const Core::Making& m) { return m.worker >= 0; });
        return core.stop || (!working && (core.workersStarted == 0 || core.NextJob() == nullptr));
    });
}
