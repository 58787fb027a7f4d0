// The picture cache's state, shared by its parts: the entries it holds, the plan and the jobs that
// carry it out, and what is being made. The plan (picture_plan.h) is the one rule of what is
// made, kept and let go, and in which order; the parts here only carry it out:
//   picture_cache.cpp    the clients' calls: Want, Get, Peek, what is ready;
//   picture_jobs.cpp     the plan made from what the clients want, and its jobs;
//   picture_make.cpp     one picture made from its file, within the room the ledger has;
//   picture_workers.cpp  the workers' loop.
// Internal to the cache. Pure: no platform headers.
#pragma once
#include <atomic>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "pictures/make_estimates.h"
#include "pictures/picture_cache.h"
#include "pictures/picture_plan.h"

struct PictureCache::Core {
    using Duration = std::chrono::nanoseconds;
    // Waits are in real time; durations of the work are timed on the hooks' clock.
    using RealClock = std::chrono::steady_clock;
    // What is let go under the lock, freed once it is released.
    using LetGo = std::vector<std::shared_ptr<const void>>;

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

    // Where a job of the plan stands: one value.
    enum class JobState {
        ToCheck,   // its file is to be checked against the disk, and made where it is out of date
        UnderWay,  // a worker is on it
        Done,      // held as on disk, or known missing or not decoding
        NoRoom,    // the budget had no room for it: it rests until the ledger has
        Paused,    // failed for want of something other than the file (a read, memory): tried again later
    };
    struct Job {
        PictureRequest request;
        bool decodeOnly = false;
        PictureClient client = PictureClient::Show;
        JobState state = JobState::ToCheck;
        std::size_t need = 0;          // NoRoom: the bytes it waited for
        RealClock::time_point again;   // Paused: when it is tried again
        int failures = 0;              // Paused: in a row
    };
    struct Making {
        PictureRequest request;
        bool decodeOnly = false;
        int worker = -1;  // -1: a caller's thread
        bool lookAhead = false;
        Duration estimate{0};
        RealClock::time_point started;
        // Set when the plan no longer wants it: a worker waiting for room gives up.
        std::shared_ptr<std::atomic<bool>> dropped = std::make_shared<std::atomic<bool>>(false);
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
    // What a make came to.
    enum class Outcome {
        Made,       // the picture (or, for a decode-only job, the decoded pixels stored)
        NoRoom,     // a worker found no room in the budget
        GaveUp,     // the plan no longer wants it, or the cache closes
        Transient,  // the read, the memory or the codec failed, not the file: try again later
        Gone,       // the file went between its check and its read
    };
    struct Made {
        Outcome outcome = Outcome::Made;
        std::shared_ptr<const ScaledPicture> picture;  // Made: the picture (not placed: does not decode)
        fw::FileIdentity identity;                     // of the bytes read
        std::size_t need = 0;                          // NoRoom: the bytes asked for
        static Made Of(Outcome outcome) {
            Made made;
            made.outcome = outcome;
            return made;
        }
    };

    Core(Hooks h, std::shared_ptr<fw::PixelLedger> l, int w);

    // ---- the plan and its jobs (picture_jobs.cpp) ----
    void Replan(LetGo& letGo);
    std::size_t DecodedBytesOf(const std::wstring& path) const;
    // The room a worker leaves for the pictures the clients draw right away, not held yet and
    // not being made by their client: their pictures once each, and one decode.
    std::size_t KeepFreeForTheDrawn() const;
    // The next job to carry out, in the plan's order, and when to look again if none is due now.
    Job* NextJob(RealClock::time_point now, RealClock::time_point* wake);
    bool Working() const;
    Job* JobOf(const PictureRequest& request, bool decodeOnly);
    // ---- lookups (picture_make.cpp) ----
    Entry* FindEntry(const PictureRequest& request);
    const DecodedEntry* FindDecoded(const std::wstring& path, const fw::FileIdentity& identity) const;
    Source SourceFor(const PictureRequest& request, const fw::FileIdentity& identity) const;
    const Making* MakingOf(const PictureRequest& request, bool decodeOnly) const;
    const Making* DecodingOf(const std::wstring& path) const;
    Duration EstimateFor(const PictureRequest& request, const Source& source) const;
    // ---- making (picture_make.cpp) ----
    // Makes the picture (or decodes the file) without the lock, which it takes back before it
    // returns; what it let go is in `letGo`.
    Made Make(const PictureRequest& request, const fw::FileIdentity& identity, Source source, bool decodeOnly,
              const Making& making, std::unique_lock<std::mutex>& lock, LetGo& letGo);
    void Store(const PictureRequest& request, const std::optional<fw::FileIdentity>& identity,
               std::shared_ptr<const ScaledPicture> picture, bool byWorker, LetGo& letGo);
    void StoreDecoded(const std::wstring& path, const fw::FileIdentity& identity,
                      std::shared_ptr<const fw::PixelBuffer> pixels, LetGo& letGo);
    // ---- the workers (picture_workers.cpp) ----
    void WorkerLoop(int index);
    void RunJob(const Job& job, Making& making, std::unique_lock<std::mutex>& lock, LetGo& letGo);
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
    std::vector<Job> jobs;  // in the order the plan makes them
    std::vector<Making> making;
    MakeEstimates estimates;
    std::map<std::wstring, std::size_t> decodedSizes;  // bytes of a file's decoded pixels, as last seen
    std::map<std::wstring, std::uint64_t> fileSizes;   // the files' sizes, as last identified
    Stats stats;
    bool stop = false;
    int workersStarted = 0;
    std::atomic<bool> stopping{false};
};
