// The screen's pictures, kept between paints: slide images and photos through the picture cache
// (decoded and scaled ahead of need by its workers, with the logos, notice and markers composed
// into them), and the resource bitmaps (logos, notice, marker) scaled to the sizes this window
// draws them at. Everything is plain memory, drawn 1:1 onto a DC whose logical units are its
// pixels.
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "pictures/picture_cache.h"
#include "pictures/picture_data.h"

class ScreenPictures {
public:
    // Byte budget of the picture cache (see kScreenPictureBudget).
    static constexpr std::size_t kBudgetBytes = kScreenPictureBudget;

    // The platform's metadata call and decoder, the workers in the multi-threaded COM apartment,
    // the overview's thumbnails below the normal priority.
    static PictureCache::Hooks PlatformHooks();
    explicit ScreenPictures(PictureCache::Hooks hooks = PlatformHooks(), std::size_t budget = kBudgetBytes);

    // The picture of `request` as its file is on disk now (its identity read once, here): held,
    // or made now. Not placed when the file is missing or does not decode.
    std::shared_ptr<const ScaledPicture> Picture(const PictureRequest& request);
    // Resource bitmap `id` scaled to w x h, charged to the cache's ledger; null when it does not
    // load or has no area.
    std::shared_ptr<const fw::PixelBuffer> Resource(int id, int w, int h);
    // The same drawn at (x, y); false when the bitmap does not load.
    bool DrawResource(HDC dc, int id, int x, int y, int w, int h);

    PictureCache& cache() { return cache_; }
    // The metadata calls the window's thread made for its pictures, and their time (where a
    // paint's time goes).
    int identifies() const { return identifies_; }
    std::chrono::nanoseconds identifyTime() const { return identifyTime_; }

private:
    struct Kept {
        int id, w, h;
        std::shared_ptr<const fw::PixelBuffer> pixels;  // null: the bitmap does not load
    };
    PictureCache cache_;
    std::vector<Kept> resources_;  // most recently used last
    int identifies_ = 0;
    std::chrono::nanoseconds identifyTime_{0};
};

// A picture ready to draw, put at (x, y) of dc: its pixels 1:1 at their place in the w x h
// target, with black bars where a letterboxed photo leaves the target uncovered.
void DrawPicture(HDC dc, const ScaledPicture& picture, FitMode fit, int x, int y, int w, int h);
