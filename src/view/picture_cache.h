// The screen's pictures, decoded and scaled ahead of need. A slide change then costs a blit, not a
// decode: the paint asks for the picture of the slide it shows, and a worker thread prepares the
// pictures that the next input may ask for (the neighbouring slides, the first and the last, the
// neighbouring photos).
//
// Entries are keyed by the file's identity as well as its path, so a file changed, replaced or
// removed on disk is never shown from an old entry: the caller reads the identity with one
// metadata call per paint and the cache answers for exactly that version.
//
// Memory is bounded by a byte budget, and one rule decides both what the worker prepares and what
// is kept: the pictures wanted, most likely first, each counted at the most it can hold, as far
// as the budget goes. Decoded pixels come after all of those, in whatever room is left: first of
// the picture on screen (a change of window size scales it again), then of the wanted pictures
// the budget left unmade. So nothing is decoded and scaled only to be let go, and where room is
// short the pictures one key away are kept scaled but not decoded.
//
// The worker turns files into pixels and nothing else: it touches no window, no device context
// and no global of the program. Paths come resolved from the caller's thread. Pure: no platform
// headers; the platform's metadata call, decoder and per-thread set-up come in as hooks.
#pragma once
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "framework/picture_data.h"

// Slides are stretched over the whole target; photos keep their proportions, centred.
enum class FitMode { Stretch, Letterbox };

// A picture as the screen wants it: a resolved file path and the target rectangle's size.
struct PictureRequest {
    std::wstring path;
    int width = 0;
    int height = 0;
    FitMode fit = FitMode::Stretch;
    friend bool operator==(const PictureRequest&, const PictureRequest&) = default;
};

// A picture ready to draw: pixels at the size they are drawn, placed at (x, y) of the target.
// Not placed: the file does not decode (or has no size), and nothing is drawn. A photo so thin
// that its letterbox has no area is placed all the same, without pixels: its window shows black.
struct ScaledPicture {
    bool placed = false;
    std::shared_ptr<const fw::PixelBuffer> pixels;
    int x = 0;
    int y = 0;
};

// The screen's budget: every picture one key away from a slide (the slide on screen, the next,
// the previous, the last and the first) at 3200 x 1800, a laptop's panel, and the decoded pixels
// of the one on screen at the deck's 1920 x 1080. At 3840 x 2160 that holds the slide on screen,
// the next and the previous ready to show: the last and the first too would take 67 MB more and
// the process past 250 MB there, where the screen itself holds the window twice. The pictures one
// key away are not kept decoded as well, which at 3200 x 1800 would take 8 MB more for each.
inline constexpr std::size_t kScreenPictureBudget =
    5 * std::size_t{3200} * 1800 * 4 + std::size_t{1920} * 1080 * 4;

// The most the picture of `request` can hold, before anything is decoded: what the budget counts.
std::size_t MostBytesOf(const PictureRequest& request);
// The requests whose pictures a budget of `budgetBytes` admits, most likely first: `wanted`
// without repeats, each at MostBytesOf, skipping what would overrun the budget.
std::vector<PictureRequest> AdmittedPictures(const std::vector<PictureRequest>& wanted, std::size_t budgetBytes);

class PictureCache {
public:
    struct Hooks {
        // The file's identity by one metadata call; nothing when it is not a readable file.
        std::function<std::optional<fw::FileIdentity>(const std::wstring& path)> identify;
        // The file read and decoded, with the identity of the bytes read.
        std::function<fw::DecodedFile(const std::wstring& path)> decode;
        // Called on the worker thread before its first job; what it returns is let go when the
        // thread ends (a COM apartment, say). May be empty.
        std::function<std::shared_ptr<void>()> enterWorkerThread;
    };

    struct Stats {
        int decodes = 0;        // files decoded, by either thread
        int workerDecodes = 0;  // of which by the worker
        int scales = 0;         // pictures scaled, by either thread
        int waits = 0;          // requests that waited for the worker to finish them
        int waitsCut = 0;       // of which the worker did not finish in time: made by the caller
        int dropped = 0;        // pictures the worker made for what is still wanted, let go at once
        std::size_t bytes = 0;  // pixels held now
        std::size_t peakBytes = 0;
    };

    PictureCache(Hooks hooks, std::size_t budgetBytes);
    // Stops the worker without waiting for a decode that has stalled (a file on a share whose
    // reads hang): such a worker ends on its own when the decode returns, and its picture is let go.
    ~PictureCache();
    PictureCache(const PictureCache&) = delete;
    PictureCache& operator=(const PictureCache&) = delete;

    // The picture of `request` as the file with `identity` holds it: ready, or waited for while
    // the worker is preparing exactly this one (no longer than making it here would take), or
    // made now on the calling thread. Never null. A picture asked for here is kept until the next
    // Prepare judges it, so a paint asks for what it shows first and then says what it wants
    // next: the worker never takes on the shown one, and never lets it go in between.
    std::shared_ptr<const ScaledPicture> Get(const PictureRequest& request, const fw::FileIdentity& identity);

    // What the next inputs may ask for, most likely first (what is shown first of all). Entries
    // for anything else are let go; the worker prepares the missing ones the budget admits.
    void Prepare(std::vector<PictureRequest> wanted);

    // ---- Idle work: a job the worker runs while nothing else is wanted ----
    // The job makes one small piece of work per call, on the worker, without the cache's lock,
    // and answers whether more is left; it is called again after every Prepare. Requests always
    // come first. A new job (or none) waits for a call under way to end. The job is given the
    // lookup of decoded pixels below, which stays valid for as long as the worker runs, even past
    // the cache when a stalled decode leaves the worker to end on its own.
    using DecodedLookup = std::function<std::shared_ptr<const fw::PixelBuffer>(const std::wstring& path)>;
    void SetIdleJob(std::function<bool(const DecodedLookup&)> job);
    bool HasIdleJob() const;
    // The newest decoded pixels held for the file at `path`, whatever its version; null for none.
    std::shared_ptr<const fw::PixelBuffer> DecodedPixels(const std::wstring& path) const;
    // ---- end of idle work ----

    Stats GetStats() const;
    // Blocks until the worker has nothing left to do (for tests and benchmarks).
    void WaitUntilIdle();

private:
    struct Core;
    std::shared_ptr<Core> core_;  // shared with the worker, which may outlive this object
    std::thread worker_;
};
