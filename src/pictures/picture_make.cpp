// One picture made from its file (or the file only decoded), within the room the ledger has: the
// lookups it starts from, the make itself, and what is stored from it.
#include <algorithm>

#include "pictures/picture_cache_core.h"
#include "pictures/picture_compose.h"
#include "pictures/picture_log.h"

namespace {

// How long a worker waits for room in the budget before its job rests until the ledger has room.
constexpr std::chrono::milliseconds kRoomWait(2000);

std::size_t Pixels(std::size_t bytes) { return bytes / 4; }

// Room reserved in the ledger for a picture in progress: what its buffers have not taken over is
// given back when the make ends, however it ends.
class Reservation {
public:
    explicit Reservation(fw::PixelLedger& ledger) : ledger_(ledger) {}
    ~Reservation() { ledger_.Unreserve(bytes_); }
    Reservation(const Reservation&) = delete;
    Reservation& operator=(const Reservation&) = delete;
    void Add(std::size_t bytes) noexcept { bytes_ += bytes; }
    // `bytes` of it taken over by a buffer charged with them.
    std::size_t Take(std::size_t bytes) noexcept {
        const std::size_t taken = std::min(bytes, bytes_);
        bytes_ -= taken;
        return taken;
    }

private:
    fw::PixelLedger& ledger_;
    std::size_t bytes_ = 0;
};

}  // namespace

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

const PictureCache::Core::Making* PictureCache::Core::DecodingOf(const std::wstring& path) const {
    for (const Making& m : making)
        if (m.decodeOnly && m.worker >= 0 && m.request.path == path) return &m;
    return nullptr;
}

PictureCache::Core::Duration PictureCache::Core::EstimateFor(const PictureRequest& request, const Source& source) const {
    const std::size_t decodedBytes = source.pixels ? source.pixels->bytes() : DecodedBytesOf(request.path);
    const std::size_t scaledBytes = MostBytesOf(request, decodedBytes);
    return estimates.Estimate(MakeEstimates::KindOf(request.path), source.pixels ? 0 : Pixels(decodedBytes),
                              Pixels(decodedBytes), Pixels(scaledBytes));
}

// Room for what it allocates is set aside in the ledger first: a worker waits for it (and gives up
// when the plan no longer wants its job, or the cache closes), leaving room for what the clients
// draw right away; a caller waits for it no longer than the workers' jobs under way should take,
// then goes on regardless (the budget's overrun: one picture and its decode). Only the work is
// timed, never a wait for room.
PictureCache::Core::Made PictureCache::Core::Make(const PictureRequest& request, const fw::FileIdentity& identity,
                                                  Source source, bool decodeOnly, const Making& making,
                                                  std::unique_lock<std::mutex>& lock, LetGo& letGo) {
    const bool onWorker = making.worker >= 0;
    const std::shared_ptr<std::atomic<bool>> dropped = making.dropped;
    const auto giveUp = [this, dropped] { return stopping.load() || dropped->load(); };
    Made made;
    made.identity = identity;
    Duration waited{0};
    const auto room = [&](std::size_t bytes) {
        const auto asked = hooks.now();
        bool got = true;
        if (!onWorker) {
            Duration underWay{0};
            {
                const std::lock_guard relock(mutex);
                for (const Making& m : this->making)
                    if (m.worker >= 0) underWay = std::max(underWay, m.estimate);
            }
            const auto limit = std::chrono::ceil<std::chrono::milliseconds>(underWay);
            got = limit.count() > 0 && ledger->ReserveWhenRoom(bytes, {}, limit);
            if (!got) ledger->Reserve(bytes);  // drawn now, room or not
            LogRoom(-1, request, bytes, 0, ledger->Now(), got);
            got = true;
        } else {
            // Asked once the header has told this file's size, which may tell the size of the
            // picture drawn now too (a photo beside photos).
            std::size_t keepFree = 0;
            {
                const std::lock_guard relock(mutex);
                keepFree = KeepFreeForTheDrawn();
            }
            got = ledger->ReserveWhenRoom(bytes, giveUp, kRoomWait, keepFree);
            if (!got) {
                made.outcome = giveUp() ? Outcome::GaveUp : Outcome::NoRoom;
                made.need = bytes;  // what is kept free is asked again when it runs again
            }
            LogRoom(making.worker, request, bytes, keepFree, ledger->Now(), got);
        }
        waited += hooks.now() - asked;
        return got;
    };
    lock.unlock();

    const auto start = hooks.now();
    std::shared_ptr<const fw::PixelBuffer> pixels = std::move(source.pixels);
    Reservation reserved(*ledger);
    bool decodedHere = false;
    std::optional<fw::DecodedFile> file;
    std::size_t decodePixels = 0;
    if (!pixels) {
        // Room for the decoded pixels and for the picture made from them, asked once the header
        // has told their size.
        file = hooks.decode(request.path, [&](int w, int h) {
            const std::size_t bytes = static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * 4;
            {
                // Known from the header on: the plans, the room kept for files of its kind, and
                // how long this make should take (a photo may be eight times a slide).
                const std::lock_guard relock(mutex);
                decodedSizes[request.path] = bytes;
                for (Making& m : this->making)
                    if (m.worker == making.worker && m.worker >= 0) m.estimate = EstimateFor(request, Source{});
            }
            const std::size_t picture = decodeOnly ? 0 : ComposedBytes(request, w, h);
            if (!room(bytes + picture)) return false;
            reserved.Add(bytes + picture);
            return true;
        });
        decodedHere = true;
        made.identity = file->identity;  // filed under what was read: the newest version if it changed meanwhile
        if (file->pixels) {
            decodePixels = Pixels(file->pixels.bytes());
            file->pixels.ChargeTo(ledger, reserved.Take(file->pixels.bytes()));
            pixels = std::make_shared<const fw::PixelBuffer>(std::move(file->pixels));
        }
    }
    const auto decodedAt = hooks.now();
    const Duration decodeTook = decodedAt - start - waited;
    waited = Duration{0};
    std::shared_ptr<const ScaledPicture> picture;
    bool composed = false;
    if (!decodeOnly && (!file || (!file->deferred && file->found && !file->transient))) {
        const std::size_t need = pixels ? ComposedBytes(request, pixels->width(), pixels->height()) : 0;
        const bool roomMade = decodedHere || need == 0 || room(need);
        if (!decodedHere && need > 0 && roomMade) reserved.Add(need);
        if (roomMade) {
            // The caller waits for a picture made on its thread: it gets a second core for the
            // scaling. A worker takes one, so input stays quick while it prepares.
            picture = ComposePicture(request, pixels, onWorker ? 1 : 2, ledger, reserved.Take(need));
            composed = picture && picture->pixels && picture->pixels != pixels;
        }
    }
    const Duration scaleTook = hooks.now() - decodedAt - waited;

    lock.lock();
    letGo.push_back(pixels);  // this make's hold on the decoded pixels ends after the lock
    if (file && file->deferred) return made;  // NoRoom or GaveUp, as the room said
    if (decodedHere) {
        ++stats.decodes;
        if (onWorker) ++stats.workerDecodes;
        if (!file->found) return Made::Of(Outcome::Gone);
        if (file->transient) return Made::Of(Outcome::Transient);
        if (pixels) {
            decodedSizes[request.path] = pixels->bytes();
            estimates.RecordDecode(MakeEstimates::KindOf(request.path), decodePixels, decodeTook);
        }
        StoreDecoded(request.path, made.identity, pixels, letGo);
    }
    if (decodeOnly) return made;
    if (made.outcome != Outcome::Made) return made;  // no room for the picture
    if (pixels && !picture) return Made::Of(Outcome::Transient);  // out of memory for its pixels
    ++stats.scales;
    if (composed)
        estimates.RecordScale(Pixels(pixels->bytes()), Pixels(picture->pixels->bytes()), scaleTook);
    made.picture = picture ? std::move(picture) : std::make_shared<const ScaledPicture>();
    return made;
}

void PictureCache::Core::StoreDecoded(const std::wstring& path, const fw::FileIdentity& identity,
                                      std::shared_ptr<const fw::PixelBuffer> pixels, LetGo& letGo) {
    letGo.reserve(letGo.size() + 1);
    for (DecodedEntry& d : decoded) {
        if (d.path != path) continue;
        letGo.push_back(std::move(d.pixels));  // an older version goes: the plan holds one per file
        d.identity = identity;
        d.pixels = std::move(pixels);
        return;
    }
    decoded.push_back(DecodedEntry{path, identity, std::move(pixels)});
}

void PictureCache::Core::Store(const PictureRequest& request, const std::optional<fw::FileIdentity>& identity,
                               std::shared_ptr<const ScaledPicture> picture, bool byWorker, LetGo& letGo) {
    std::optional<PictureClient> client;
    for (std::size_t i = 0; i < items.size() && !client; ++i)
        if (items[i].request == request) client = itemClients[i];
    letGo.reserve(letGo.size() + 1);
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
}
