// A scaling job out of fuzz bytes, for every pixel filter in pictures/box_filter.h: a source
// image of any small size and content, rows top-down or bottom-up with padding between them,
// and a destination of another size inside a larger buffer whose margins must stay untouched.
// A target for one more filter builds a ScalingJob, calls the filter on Source() and
// Destination(), and checks Untouched() and what the filter promises about the pixels.
#pragma once
#include "pictures/box_filter.h"

#include "fuzz_check.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace fuzz {

class ScalingJob {
public:
    static constexpr std::uint8_t kCanary = 0xA5;

    // Source sides up to maxSide and at most maxPixels in all. Destination sides from 0 up to
    // one more than the source's (shrinking) or up to maxSide (any filter); what a filter does
    // not do, it must refuse.
    enum class Sizes { UpToSource, Any };
    FUZZ_HARNESS ScalingJob(const std::uint8_t* data, std::size_t size, int maxSide, int maxPixels, Sizes sizes)
        : data_(data), size_(size) {
        srcW_ = 1 + static_cast<int>(Next() % unsigned(maxSide));
        srcH_ = 1 + static_cast<int>(Next() % unsigned(maxSide));
        if (srcW_ * srcH_ > maxPixels) srcW_ = std::max(1, maxPixels / srcH_);
        const int dstMaxW = sizes == Sizes::Any ? maxSide : srcW_ + 1;
        const int dstMaxH = sizes == Sizes::Any ? maxSide : srcH_ + 1;
        dstW_ = static_cast<int>(Next() % unsigned(dstMaxW + 1));
        dstH_ = static_cast<int>(Next() % unsigned(dstMaxH + 1));
        const std::uint8_t layout = static_cast<std::uint8_t>(Next());
        const std::size_t srcPad = 4u * (layout & 3), dstPad = 4u * ((layout >> 2) & 3);
        srcBottomUp_ = layout & 0x10;
        dstBottomUp_ = layout & 0x20;
        srcStride_ = static_cast<std::size_t>(srcW_) * 4 + srcPad;
        dstStride_ = static_cast<std::size_t>(std::max(dstW_, 0)) * 4 + dstPad;
        // The source pixels: the rest of the input, repeated; a uniform image when there is none.
        src_.resize(srcStride_ * static_cast<std::size_t>(srcH_));
        const std::size_t rest = pos_ < size_ ? size_ - pos_ : 0;
        for (std::size_t i = 0; i < src_.size(); ++i) src_[i] = rest ? data_[pos_ + i % rest] : 0x80;
        dst_.assign(kMargin + dstStride_ * static_cast<std::size_t>(std::max(dstH_, 0)) + kMargin, kCanary);
    }

    fw::ConstPixelView Source() const { return {RowZero(src_.data(), srcStride_, srcH_, srcBottomUp_), srcW_, srcH_, Stride(srcStride_, srcBottomUp_)}; }
    fw::PixelView Destination() { return {RowZero(dst_.data() + kMargin, dstStride_, dstH_, dstBottomUp_), dstW_, dstH_, Stride(dstStride_, dstBottomUp_)}; }

    int srcW() const { return srcW_; }
    int srcH() const { return srcH_; }
    int dstW() const { return dstW_; }
    int dstH() const { return dstH_; }

    // Nothing written in the margins around the destination or in the padding of its rows.
    FUZZ_HARNESS bool Untouched(bool anyPixelWritten) const {
        for (std::size_t i = 0; i < dst_.size(); ++i) {
            const bool inPixels = dstStride_ > 0 && i >= kMargin && i < dst_.size() - kMargin &&
                                  (i - kMargin) % dstStride_ < std::size_t(dstW_) * 4;
            if ((!inPixels || !anyPixelWritten) && dst_[i] != kCanary) return false;
        }
        return true;
    }

private:
    static constexpr std::size_t kMargin = 64;

    unsigned Next() {
        unsigned v = 0;
        for (int k = 0; k < 2; ++k) v = (v << 8) | (pos_ < size_ ? data_[pos_++] : 0);
        return v;
    }
    template <class P>
    static P* RowZero(P* buffer, std::size_t stride, int h, bool bottomUp) {
        return bottomUp && h > 0 ? buffer + stride * static_cast<std::size_t>(h - 1) : buffer;
    }
    static std::ptrdiff_t Stride(std::size_t stride, bool bottomUp) {
        return bottomUp ? -static_cast<std::ptrdiff_t>(stride) : static_cast<std::ptrdiff_t>(stride);
    }

    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
    int srcW_, srcH_, dstW_, dstH_;
    bool srcBottomUp_, dstBottomUp_;
    std::size_t srcStride_, dstStride_;
    std::vector<std::uint8_t> src_;
    std::vector<std::uint8_t> dst_;
};

}  // namespace fuzz
