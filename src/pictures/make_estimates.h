// How long making a picture should take, from how long the recent ones took: what a wait on the
// worker is bounded by. Decodes are timed per kind of file (a slide's PNG, a photo's JPEG) and per
// pixel, scalings per kind too (a shrink reads every source pixel, a growth writes every pixel
// made: each is timed per pixel of the larger side of the two), each the median of the recent
// ones, so one large photo does not set the limit for slides. Only the work is timed: the caller
// leaves out any wait for room. A decode that took far longer than its estimate (a read that hung on
// a share) is left out, unless such decodes have become the rule. Pure: no platform headers.
#pragma once
#include <chrono>
#include <cstddef>
#include <deque>
#include <map>
#include <string>

class MakeEstimates {
public:
    using Duration = std::chrono::nanoseconds;
    // No estimate is shorter (below it the clock and the scheduler decide, not the work) or longer.
    static constexpr Duration kShortest = std::chrono::milliseconds(30);
    static constexpr Duration kLongest = std::chrono::milliseconds(1500);
    // A decode this many times longer than its estimate has stalled.
    static constexpr int kStallFactor = 4;

    // The kind of a file: its extension from the last '.', ASCII letters folded.
    static std::wstring KindOf(const std::wstring& path);

    // Decoding `decodedPixels` of a file of `kind` (none when its decoded pixels are at hand) and
    // scaling `sourcePixels` to `scaledPixels` (none when nothing is scaled), within
    // kShortest..kLongest.
    Duration Estimate(const std::wstring& kind, std::size_t decodedPixels, std::size_t sourcePixels,
                      std::size_t scaledPixels) const;

    // A decode of `pixels` took `took`: remembered, unless it stalled.
    void RecordDecode(const std::wstring& kind, std::size_t pixels, Duration took);
    // A scaling of `sourcePixels` to `scaledPixels` took `took`.
    void RecordScale(std::size_t sourcePixels, std::size_t scaledPixels, Duration took);

private:
    struct Rates {
        std::deque<double> nsPerPixel;  // newest last
        int stallsInARow = 0;
        double Median(double guess) const;
        void Add(double rate);
    };
    double DecodeRate(const std::wstring& kind) const;

    std::map<std::wstring, Rates> decodes_;
    Rates shrinks_;  // per source pixel
    Rates growths_;  // per pixel made
};
