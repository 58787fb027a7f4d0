#include "view/screen_pictures_win.h"

#include <algorithm>
#include <utility>

#include "framework/gdi.h"
#include "framework/halftone_blit.h"
#include "framework/image_loader.h"
#include "framework/thread_state.h"
#include "launch/file_tests.h"

namespace {

// A window of the largest size draws a handful of logos, the notice and the marker: a few more
// sizes than that are kept, for a window that changes size now and then.
constexpr std::size_t kKeptResources = 24;

}  // namespace

PictureCache::Hooks ScreenPictures::PlatformHooks() {
    PictureCache::Hooks hooks;
    hooks.identify = [](const std::wstring& path) { return QueryFileIdentity(path.c_str()); };
    hooks.decode = [](const std::wstring& path) { return fw::DecodeImageFile(path.c_str()); };
    // The worker handles no messages: it decodes in the multi-threaded apartment, left when it ends.
    hooks.enterWorkerThread = [] {
        return std::shared_ptr<void>(std::make_shared<fw::ComApartment>(fw::ComModel::MultiThreaded));
    };
    return hooks;
}

ScreenPictures::ScreenPictures(PictureCache::Hooks hooks, std::size_t budget) : cache_(std::move(hooks), budget) {}

void ScreenPictures::DrawSlideImage(HDC dc, const std::wstring& path, const SlideRect& rc) {
    const std::optional<fw::FileIdentity> identity = QueryFileIdentity(path.c_str());
    if (!identity) return;  // missing: the surface's fill shows through
    const auto picture = cache_.Get(PictureRequest{path, rc.Width(), rc.Height(), FitMode::Stretch}, *identity);
    if (picture->pixels) fw::BlitPixels(dc, rc.left + picture->x, rc.top + picture->y, picture->pixels->view());
}

bool ScreenPictures::DrawPhoto(HDC dc, const std::wstring& path, const SlideRect& window) {
    const std::optional<fw::FileIdentity> identity = QueryFileIdentity(path.c_str());
    if (!identity) return false;
    const auto picture = cache_.Get(PictureRequest{path, window.Width(), window.Height(), FitMode::Letterbox}, *identity);
    if (!picture->placed) return false;
    // Black bars where the photo's shape leaves the window uncovered.
    const COLORREF old = ::SetBkColor(dc, RGB(0, 0, 0));
    const RECT all{window.left, window.top, window.right, window.bottom};
    ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &all, nullptr, 0, nullptr);
    ::SetBkColor(dc, old);
    if (picture->pixels) fw::BlitPixels(dc, window.left + picture->x, window.top + picture->y, picture->pixels->view());
    return true;
}

bool ScreenPictures::DrawResource(HDC dc, int id, int x, int y, int w, int h) {
    auto it = std::find_if(resources_.begin(), resources_.end(),
                           [&](const Resource& r) { return r.id == id && r.w == w && r.h == h; });
    if (it == resources_.end()) {
        Resource made{id, w, h, {}};
        const fw::Bitmap bitmap(::LoadBitmapW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id)));
        if (bitmap && w > 0 && h > 0) {
            const fw::PixelBuffer own = fw::ReadBitmapPixels(bitmap.get());
            if (own) made.pixels = fw::ScaledCopy(own.view(), w, h);
        }
        if (!bitmap) return false;
        if (resources_.size() >= kKeptResources) resources_.erase(resources_.begin());
        resources_.push_back(std::move(made));
        it = resources_.end() - 1;
    } else if (it != resources_.end() - 1) {
        std::rotate(it, it + 1, resources_.end());  // most recently used last
        it = resources_.end() - 1;
    }
    if (it->pixels) fw::BlitPixels(dc, x, y, it->pixels.view());
    return true;
}
