// The pictures, decoded and scaled ahead of need, for every client that draws them: the show, the
// presenter console, the overview's thumbnails and the handout sheets. A slide change then costs a
// blit, not a decode.
//
// Each client says what it wants when that changes, most likely first, the pictures it draws
// right away among them (Want). One plan made from the merged lists, the show's needs first
// (picture_plan.h), decides what the workers make and in which order, what stays decoded and what
// is let go; what is let go is freed at once, by whoever holds it last, never after a decode.
// Asking for a picture (Get) only serves the plan or joins it: a picture held is served; one a
// worker is making (or whose file it is decoding) is waited for, no longer than an estimate for
// that very picture (make_estimates.h); any other is made on the caller's thread, on two cores.
// A job that stalls in its read stops only itself: past a few times its estimate, the other
// worker goes on with the plan. A make that fails for want of something other than the file (a
// read, memory, the codec) is tried again after a pause; only a file that does not decode is
// known as such.
//
// Entries are keyed by the file's identity as well as its path, so a file changed, replaced or
// removed on disk is never shown from an old entry: the caller reads the identity with one
// metadata call and the cache answers for exactly that version; the workers read it again for
// everything the plan holds, whenever its client says what it wants.
//
// Every pixel buffer is charged to the cache's ledger, and room for a picture in progress is set
// aside before its decode allocates: the ledger's total is what the pictures really take, and
// the workers start nothing that would take it past the budget. The residents charged there (the
// logos and markers the windows keep) take their room first. The budget covers pixels: decoded
// files, pictures, residents; not a file's bytes while it is read, nor a codec's own buffers. A
// caller making the picture it draws now goes on regardless once the workers' jobs under way
// should have ended: the overrun is that picture and its decode.
//
// The workers (two: the overview's thumbnails are made on both cores, at a lower priority, while
// nothing else is made; the others one at a time, so that input keeps a core) turn files into
// pixels and nothing else: they touch no window and no global of the program. Paths come
// resolved. Pure: no platform headers; the platform's metadata call, decoder and per-thread
// set-up come in as hooks.
#pragma once
#include <array>
#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "pictures/picture_data.h"
#include "pictures/picture_request.h"

// The budget of the screen's pictures: every picture one key away from a slide (the slide on
// screen, the next, the previous, the last and the first) at 3200 x 1800, a laptop's panel; the
// decoded pixels of two of the deck's 1920 x 1080 slides (the one on screen, and room for one
// being made); and 28 MiB for the presenter console's pictures and the overview's thumbnails,
// 20 MB of them at 3840 x 2160. There the slide on screen, the next and the previous are ready,
// and the first and the last are held decoded, to be scaled on the key.
inline constexpr std::size_t kScreenPictureBudget =
    5 * std::size_t{3200} * 1800 * 4 + 2 * std::size_t{1920} * 1080 * 4 + (std::size_t{28} << 20);

class PictureCache {
public:
    using Clock = std::chrono::steady_clock;

    struct Hooks {
        // The file's identity by one metadata call; nothing when it is not a readable file.
        std::function<std::optional<fw::FileIdentity>(const std::wstring& path)> identify;
        // The file read and decoded, with the identity of the bytes read; asks `room` before it
        // allocates the pixels.
        std::function<fw::DecodedFile(const std::wstring& path, const fw::DecodeRoom& room)> decode;
        // Called on each worker thread before its first job; what it returns is let go when the
        // thread ends (a COM apartment, say). May be empty.
        std::function<std::shared_ptr<void>()> enterWorkerThread;
        // Called on a worker before each job: true for the overview's thumbnails, which run below
        // the normal priority. May be empty.
        std::function<void(bool low)> setLowPriority;
        // The time, for timing decodes and scalings; the steady clock when empty.
        std::function<Clock::time_point()> now;
    };

    struct Core;  // the cache's state (picture_cache_core.h), shared with the workers

    struct Stats {
        int decodes = 0;        // files decoded, by any thread
        int workerDecodes = 0;  // of which by the workers
        int scales = 0;         // pictures scaled, by any thread
        int waits = 0;          // requests that waited for a worker to finish them
        int waitsCut = 0;       // of which the worker did not finish in time: made by the caller
        int callerMakes = 0;    // pictures made on a caller's thread (decoded or scaled there)
        int plans = 0;          // plans made
        // What the clients' calls cost their threads, made or not (where a paint's time goes).
        int wants = 0;
        int gets = 0;
        std::chrono::nanoseconds wantTime{0};
        std::chrono::nanoseconds getTime{0};
        int madeUnused = 0;     // pictures a worker made that were let go before anyone asked for them
        std::chrono::nanoseconds lastWaitLimit{0};  // how long the last wait on a worker could have lasted
        std::size_t kept = 0;        // bytes of the pictures and decoded files held
        std::size_t thumbnails = 0;  // of which the overview's
        fw::PixelLedger::Figures ledger;  // everything alive (kept, in use, waiting to be freed) and in progress
        std::size_t budget = 0;
    };

    PictureCache(Hooks hooks, std::size_t budgetBytes, int workers = 2);
    // Stops the workers, waiting for a job under way no longer than its estimate: a worker whose
    // decode has stalled (a file on a share whose reads hang) ends on its own when the decode
    // returns, and its picture is let go.
    ~PictureCache();
    PictureCache(const PictureCache&) = delete;
    PictureCache& operator=(const PictureCache&) = delete;

    // What `client` wants now, most likely first; the first `drawnNow` of them it draws right
    // away with Get on its own thread, so the workers leave those to it. Replaces what the client
    // wanted before; what the plan no longer holds is freed before this returns. The same said
    // again costs a comparison, and a check of its files against the disk once a second. Safe
    // from any thread.
    void Want(PictureClient client, std::vector<Wanted> wanted, std::size_t drawnNow = 0);

    // The picture of `request` as the file with `identity` holds it (nothing: the file is
    // missing, and nothing is drawn): held, or waited for while a worker makes exactly this one
    // or decodes its file (no longer than its estimate), or made now on the calling thread. Never
    // null. Kept afterwards only where the plan holds it; not kept when it failed for a reason
    // other than the file, so that the next call tries again.
    std::shared_ptr<const ScaledPicture> Get(const PictureRequest& request, const std::optional<fw::FileIdentity>& identity);

    // What is held for `request`, never made here: the picture itself, or else a picture of the
    // same file at another size (to be drawn stretched until the request's own is made); null
    // for neither.
    std::shared_ptr<const ScaledPicture> Peek(const PictureRequest& request) const;
    // How many of the client's wanted pictures are held as asked, or known not to be had (their
    // file missing or not decoding).
    int Ready(PictureClient client) const;
    // Whether nothing more will come of the client's wants until something changes: every
    // picture of the plan for it is held, known missing or not decoding, waits for room, or for
    // another try. A painter polling for new pictures stops there.
    bool Settled(PictureClient client) const;
    // Grows with every picture stored for the client: whether a painter has something new.
    unsigned Generation(PictureClient client) const;

    // How long making `request` is expected to take now (decoded pixels at hand or not).
    std::chrono::nanoseconds Estimate(const PictureRequest& request) const;

    Stats GetStats() const;
    const std::shared_ptr<fw::PixelLedger>& Ledger() const { return ledger_; }
    // Blocks until the workers have nothing left to do (for tests and benchmarks).
    void WaitUntilIdle();

private:
    void StartWorkers();

    std::shared_ptr<fw::PixelLedger> ledger_;
    std::shared_ptr<Core> core_;  // shared with the workers, which may outlive this object
    std::mutex workersMutex_;     // two clients' threads may start the workers at once
    std::vector<std::thread> workers_;
};
