// The screen's pictures, kept between paints: slide images and photos through the picture cache
// (decoded and scaled ahead of need by its worker), and the resource bitmaps (logos, notice,
// marker) scaled to the sizes this window draws them at. Everything is plain memory, drawn 1:1
// onto a surface whose logical units are its pixels.
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/picture_data.h"
#include "view/geometry.h"
#include "view/picture_cache.h"

class ScreenPictures {
public:
    // Byte budget of the picture cache: up to 3200 x 1800 everything one key away from a slide
    // ready to show, at 3840 x 2160 the most likely of it (see kScreenPictureBudget).
    static constexpr std::size_t kBudgetBytes = kScreenPictureBudget;

    // The platform's metadata call and decoder, the worker in the multi-threaded COM apartment.
    static PictureCache::Hooks PlatformHooks();
    explicit ScreenPictures(PictureCache::Hooks hooks = PlatformHooks(), std::size_t budget = kBudgetBytes);

    // The slide image of `path` stretched over rc. Nothing is drawn when the file is missing or
    // does not decode. The file's identity is read once, here.
    void DrawSlideImage(HDC dc, const std::wstring& path, const SlideRect& rc);
    // The photo fitted into the window on black; false, with nothing drawn, when it does not decode.
    bool DrawPhoto(HDC dc, const std::wstring& path, const SlideRect& window);
    // Resource bitmap `id` scaled to w x h and drawn at (x, y); false when it does not load.
    bool DrawResource(HDC dc, int id, int x, int y, int w, int h);

    // What the next inputs may show; the worker prepares it in the background.
    void LookAhead(std::vector<PictureRequest> wanted) { cache_.Prepare(std::move(wanted)); }
    PictureCache& cache() { return cache_; }

private:
    struct Resource {
        int id, w, h;
        fw::PixelBuffer pixels;  // empty: the bitmap does not load
    };
    PictureCache cache_;
    std::vector<Resource> resources_;  // most recently used last
};
