// Files that exist only in memory, for the picture cache's tests: their identity, pixel size and
// grey level. A file may be gated (its decode waits, once it has its room, until the test opens
// the gate), stall on its first decode only, be broken (its decode throws), or fail to be read a
// number of times (a share or a stick that hiccups). Decodes take time
// on a clock of the test's own, so that estimates are taught without waiting for anything.
#pragma once
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <map>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "pictures/picture_cache.h"

namespace picturetest {

using namespace std::chrono_literals;

class FakeFiles {
public:
    struct File {
        fw::FileIdentity identity;
        int width = 0, height = 0;
        std::uint8_t grey = 0;
        bool decodes = true;
        bool gated = false;        // every decode waits for the gate
        bool stallsFirst = false;  // the first decode waits for the gate, later ones do not
        bool throws = false;
        int readFailures = 0;  // so many decodes from now on fail as a read that hiccups does
        std::chrono::nanoseconds takes{0};  // on the test's clock
    };

    void Put(const std::wstring& path, int w, int h, std::uint8_t grey) {
        const std::lock_guard lock(mutex_);
        File& f = files_[path];
        f.identity.written += 1;  // every write is a new version
        f.identity.size = static_cast<std::uint64_t>(w) * static_cast<std::uint64_t>(h) + f.identity.written;
        f.width = w, f.height = h, f.grey = grey;
    }
    void Remove(const std::wstring& path) {
        const std::lock_guard lock(mutex_);
        files_.erase(path);
    }
    template <class T>
    void Set(const std::wstring& path, T File::*field, T value) {
        const std::lock_guard lock(mutex_);
        files_[path].*field = value;
    }
    std::optional<fw::FileIdentity> Identify(const std::wstring& path) const {
        const std::lock_guard lock(mutex_);
        const auto it = files_.find(path);
        if (it == files_.end()) return std::nullopt;
        return it->second.identity;
    }

    // Lets gated decodes through; WaitForGate blocks until `n` of them wait there.
    void Open() {
        {
            const std::lock_guard lock(mutex_);
            open_ = true;
        }
        changed_.notify_all();
    }
    bool WaitForGate(int n = 1) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, 10s, [&] { return waiting_ >= n; });
    }
    // Time passes on the test's clock.
    void Pass(std::chrono::nanoseconds t) {
        const std::lock_guard lock(mutex_);
        now_ += t;
    }
    int Decodes(const std::wstring& path) const {
        const std::lock_guard lock(mutex_);
        const auto it = decodes_.find(path);
        return it == decodes_.end() ? 0 : it->second;
    }
    int AllDecodes() const {
        const std::lock_guard lock(mutex_);
        return static_cast<int>(order_.size());
    }
    // The files decoded, in the order their decodes began.
    std::vector<std::wstring> Order() const {
        const std::lock_guard lock(mutex_);
        return order_;
    }

    fw::DecodedFile Decode(const std::wstring& path, const fw::DecodeRoom& room) {
        ++reads;
        std::unique_lock lock(mutex_);
        const auto it = files_.find(path);
        if (it == files_.end()) return {};
        const File f = it->second;
        fw::DecodedFile out{true, f.identity, {}, false};
        if (f.readFailures > 0) {
            --it->second.readFailures;
            ++decodes_[path];
            order_.push_back(path);
            out.transient = true;
            return out;
        }
        if (!f.decodes) return out;
        lock.unlock();
        ++roomAsks;
        if (room && !room(f.width, f.height)) {
            out.deferred = true;
            return out;
        }
        lock.lock();
        const int nth = ++decodes_[path];
        order_.push_back(path);
        if (f.gated || (f.stallsFirst && nth == 1)) {
            ++waiting_;
            changed_.notify_all();
            changed_.wait(lock, [&] { return open_; });
            --waiting_;
        }
        now_ += f.takes;
        lock.unlock();
        if (f.throws) throw std::runtime_error("broken codec");
        out.pixels = fw::PixelBuffer::Allocate(f.width, f.height);
        std::memset(out.pixels.data(), f.grey, out.pixels.bytes());
        return out;
    }

    PictureCache::Hooks Hooks() {
        PictureCache::Hooks hooks;
        hooks.identify = [this](const std::wstring& p) { return Identify(p); };
        hooks.decode = [this](const std::wstring& p, const fw::DecodeRoom& room) { return Decode(p, room); };
        hooks.enterWorkerThread = [this] {
            ++workerThreads;
            return std::shared_ptr<void>(nullptr, [this](void*) { ++workerThreadsLeft; });
        };
        hooks.setLowPriority = [this](bool low) { (low ? lowJobs : normalJobs)++; };
        hooks.now = [this] {
            const std::lock_guard lock(mutex_);
            return PictureCache::Clock::time_point(now_);
        };
        return hooks;
    }

    std::atomic<int> reads{0};     // decodes begun, whatever came of them
    std::atomic<int> roomAsks{0};  // decodes that have asked for room (and may be waiting for it)
    std::atomic<int> workerThreads{0};
    std::atomic<int> workerThreadsLeft{0};
    std::atomic<int> lowJobs{0};
    std::atomic<int> normalJobs{0};

private:
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::map<std::wstring, File> files_;
    std::map<std::wstring, int> decodes_;
    std::vector<std::wstring> order_;
    std::chrono::nanoseconds now_{0};
    bool open_ = false;
    int waiting_ = 0;
};

inline PictureRequest Slide(const std::wstring& path, int w = 40, int h = 30) { return {path, w, h, FitMode::Stretch, {}}; }

inline std::vector<Wanted> Wants(const std::vector<PictureRequest>& requests) {
    std::vector<Wanted> wanted;
    for (const PictureRequest& r : requests) wanted.push_back({r, false});
    return wanted;
}

// A client's paint: it says what it wants, the first drawn now, and gets that one.
inline std::shared_ptr<const ScaledPicture> Show(PictureCache& cache, FakeFiles& files, const PictureRequest& r) {
    return cache.Get(r, files.Identify(r.path));
}
inline std::shared_ptr<const ScaledPicture> Paint(PictureCache& cache, FakeFiles& files, std::vector<Wanted> wanted,
                                                  PictureClient client = PictureClient::Show) {
    const PictureRequest shown = wanted.front().request;
    cache.Want(client, std::move(wanted), 1);
    return Show(cache, files, shown);
}

inline std::uint8_t GreyOf(const ScaledPicture& p) { return p.pixels ? p.pixels->data()[0] : 0; }

// Waits (up to a generous limit) for a state the test cannot be told of otherwise.
template <class Pred>
bool Eventually(Pred done) {
    for (int i = 0; i < 2000 && !done(); ++i) std::this_thread::sleep_for(5ms);
    return done();
}

// Teaches the cache that decodes of the kind of `path` are slow, so that a wait on a worker may
// last up to the cap: versions of the file decoded on the caller's thread, each taking `takes` on
// the test's clock, as many as make a slowness the rule.
inline void TeachSlowDecodes(PictureCache& cache, FakeFiles& files, const std::wstring& path, std::chrono::nanoseconds takes) {
    for (int i = 0; i < 3; ++i) {
        files.Put(path, 80, 60, 1);
        files.Set(path, &FakeFiles::File::takes, takes);
        Show(cache, files, Slide(path));
    }
}

}  // namespace picturetest
