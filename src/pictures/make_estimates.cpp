#include "pictures/make_estimates.h"

#include <algorithm>
#include <vector>

namespace {

// Before anything is timed: a slide's decode on a slow machine (about 120 ms for 1920 x 1080),
// and a scaling.
constexpr double kFirstDecodeGuess = 60.0;
constexpr double kFirstScaleGuess = 6.0;
// Timings remembered per kind: enough to ride over one odd file, few enough to follow a share
// that has become slow.
constexpr std::size_t kRemembered = 8;
// Stalls in a row after which slowness is the rule, and is remembered again.
constexpr int kStallsMakeTheRule = 3;

}  // namespace

std::wstring MakeEstimates::KindOf(const std::wstring& path) {
    const std::size_t dot = path.find_last_of(L'.');
    const std::size_t sep = path.find_last_of(L"\\/");
    if (dot == std::wstring::npos || (sep != std::wstring::npos && dot < sep)) return L"";
    std::wstring kind = path.substr(dot);
    for (wchar_t& c : kind)
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
    return kind;
}

double MakeEstimates::Rates::Median(double guess) const {
    if (nsPerPixel.empty()) return guess;
    std::vector<double> sorted(nsPerPixel.begin(), nsPerPixel.end());
    std::sort(sorted.begin(), sorted.end());
    return sorted[sorted.size() / 2];
}

void MakeEstimates::Rates::Add(double rate) {
    if (nsPerPixel.size() >= kRemembered) nsPerPixel.pop_front();
    nsPerPixel.push_back(rate);
}

double MakeEstimates::DecodeRate(const std::wstring& kind) const {
    const auto it = decodes_.find(kind);
    return it == decodes_.end() ? kFirstDecodeGuess : it->second.Median(kFirstDecodeGuess);
}

MakeEstimates::Duration MakeEstimates::Estimate(const std::wstring& kind, std::size_t decodedPixels,
                                                std::size_t sourcePixels, std::size_t scaledPixels) const {
    const bool shrink = scaledPixels < sourcePixels;
    const double scaleNs = scaledPixels == 0 ? 0.0
                           : shrink ? shrinks_.Median(kFirstScaleGuess) * static_cast<double>(sourcePixels)
                                    : growths_.Median(kFirstScaleGuess) * static_cast<double>(scaledPixels);
    const double ns = DecodeRate(kind) * static_cast<double>(decodedPixels) + scaleNs;
    const double longest = static_cast<double>(Duration(kLongest).count());
    const Duration estimate(static_cast<Duration::rep>(std::min(ns, longest)));
    return std::clamp(estimate, Duration(kShortest), Duration(kLongest));
}

void MakeEstimates::RecordDecode(const std::wstring& kind, std::size_t pixels, Duration took) {
    if (pixels == 0) return;
    const double expected = DecodeRate(kind) * static_cast<double>(pixels);
    const double ns = static_cast<double>(took.count());
    Rates& rates = decodes_[kind];
    if (ns > kStallFactor * expected && took > kShortest) {
        if (++rates.stallsInARow < kStallsMakeTheRule) return;  // left out, unless they have become the rule
    } else {
        rates.stallsInARow = 0;
    }
    rates.Add(ns / static_cast<double>(pixels));
}

void MakeEstimates::RecordScale(std::size_t sourcePixels, std::size_t scaledPixels, Duration took) {
    if (sourcePixels == 0 || scaledPixels == 0) return;
    const bool shrink = scaledPixels < sourcePixels;
    (shrink ? shrinks_ : growths_).Add(static_cast<double>(took.count()) /
                                       static_cast<double>(shrink ? sourcePixels : scaledPixels));
}
