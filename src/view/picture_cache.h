// The screen's pictures, decoded and scaled ahead of need. A slide change then costs a blit, not a
// decode: the paint asks for the picture of the slide it shows, and a worker thread prepares the
// pictures that the next input may ask for (the neighbouring slides, the first and the last, the
// neighbouring photos).
//
// Entries are keyed by the file's identity as well as its path, so a file changed, replaced or
// removed on disk is never shown from an old entry: the caller reads the identity with one
// metadata call per paint and the cache answers for exactly that version. Memory is bounded by a
// byte budget; what the next inputs are least likely to need goes first.
//
// The worker turns files into pixels and nothing else: it touches no window, no device context
// and no global of the program. Paths come resolved from the caller's thread. Pure: no platform
// headers; the platform's metadata call, decoder and per-thread set-up come in as hooks.
#pragma once
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
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
        std::size_t bytes = 0;  // pixels held now
        std::size_t peakBytes = 0;
    };

    PictureCache(Hooks hooks, std::size_t budgetBytes);
    // Stops the worker: a job under way is finished or abandoned, nothing new starts.
    ~PictureCache();
    PictureCache(const PictureCache&) = delete;
    PictureCache& operator=(const PictureCache&) = delete;

    // The picture of `request` as the file with `identity` holds it: ready, or waited for while
    // the worker is preparing exactly this one, or made now on the calling thread. Never null.
    // A picture made here is kept until the next Prepare judges it, so a paint asks for what it
    // shows first and then says what it wants next: the worker never takes on the shown one.
    std::shared_ptr<const ScaledPicture> Get(const PictureRequest& request, const fw::FileIdentity& identity);

    // What the next inputs may ask for, most likely first. Entries for anything else are let go;
    // the worker prepares the missing ones, as far as the budget allows.
    void Prepare(std::vector<PictureRequest> wanted);

    // ---- Idle work: a job the worker runs while nothing else is wanted ----
    // The job makes one small piece of work per call, on the worker, without the cache's lock,
    // and answers whether more is left; it is called again after every Prepare. Requests always
    // come first. A new job (or none) waits for a call under way to end.
    void SetIdleJob(std::function<bool()> job);
    bool HasIdleJob() const;
    // The newest decoded pixels held for the file at `path`, whatever its version; null for none.
    std::shared_ptr<const fw::PixelBuffer> DecodedPixels(const std::wstring& path) const;
    // ---- end of idle work ----

    Stats GetStats() const;
    // Blocks until the worker has nothing left to do (for tests and benchmarks).
    void WaitUntilIdle();

private:
    struct Decoded;
    struct Scaled;

    std::shared_ptr<const ScaledPicture> Find(const PictureRequest& request, const fw::FileIdentity& identity);
    Decoded* FindDecoded(const std::wstring& path, const fw::FileIdentity& identity);
    // Decodes (unless a decoded entry is given) and scales, without the lock; stores the results.
    std::shared_ptr<const ScaledPicture> Make(const PictureRequest& request, std::shared_ptr<const fw::PixelBuffer> decoded,
                                              std::optional<fw::FileIdentity> identity, bool onWorker);
    void Trim();
    std::vector<PictureRequest> Admitted() const;
    void WorkerLoop();
    void PrepareOne(const PictureRequest& request);
    void RunIdleJob(std::unique_lock<std::mutex>& lock);  // idle work

    const Hooks hooks_;
    const std::size_t budget_;

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Decoded> decoded_;
    std::vector<Scaled> scaled_;
    std::vector<PictureRequest> wanted_;
    std::vector<PictureRequest> pending_;
    std::optional<PictureRequest> inProgress_;
    unsigned long long clock_ = 0;  // use order, for telling a current entry from a stale one
    Stats stats_;
    bool stop_ = false;
    std::function<bool()> idleJob_;  // idle work, see SetIdleJob
    bool idleMore_ = false;
    bool idleRunning_ = false;
    std::thread worker_;
};
