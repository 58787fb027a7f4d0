#include "pictures/screen_pictures_win.h"

#include <algorithm>
#include <utility>

#include "framework/gdi.h"
#include "framework/thread_state.h"
#include "pictures/file_identity.h"
#include "pictures/halftone_blit.h"
#include "pictures/image_loader.h"

namespace {

// A window of the largest size draws a handful of logos, the notice and the marker, and the
// console two sizes of each: a few more sizes than that are kept, for a window that changes size
// now and then.
constexpr std::size_t kKeptResources = 24;

}  // namespace

PictureCache::Hooks ScreenPictures::PlatformHooks() {
    PictureCache::Hooks hooks;
    hooks.identify = [](const std::wstring& path) { return fw::QueryFileIdentity(path.c_str()); };
    hooks.decode = [](const std::wstring& path, const fw::DecodeRoom& room) { return fw::DecodeImageFile(path.c_str(), room); };
    // The workers handle no messages: they decode in the multi-threaded apartment, left when they end.
    hooks.enterWorkerThread = [] {
        return std::shared_ptr<void>(std::make_shared<fw::ComApartment>(fw::ComModel::MultiThreaded));
    };
    // The thumbnails never slow a key: the user-interface thread goes first.
    hooks.setLowPriority = [](bool low) {
        ::SetThreadPriority(::GetCurrentThread(), low ? THREAD_PRIORITY_BELOW_NORMAL : THREAD_PRIORITY_NORMAL);
    };
    return hooks;
}

ScreenPictures::ScreenPictures(PictureCache::Hooks hooks, std::size_t budget) : cache_(std::move(hooks), budget) {}

std::shared_ptr<const ScaledPicture> ScreenPictures::Picture(const PictureRequest& request) {
    const auto start = std::chrono::steady_clock::now();
    const std::optional<fw::FileIdentity> identity = fw::QueryFileIdentity(request.path.c_str());
    identifyTime_ += std::chrono::steady_clock::now() - start;
    ++identifies_;
    return cache_.Get(request, identity);
}

std::shared_ptr<const fw::PixelBuffer> ScreenPictures::Resource(int id, int w, int h) {
    auto it = std::find_if(resources_.begin(), resources_.end(), [&](const Kept& r) { return r.id == id && r.w == w && r.h == h; });
    if (it == resources_.end()) {
        Kept made{id, w, h, nullptr};
        const fw::Bitmap bitmap(::LoadBitmapW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id)));
        if (bitmap && w > 0 && h > 0) {
            const fw::PixelBuffer own = fw::ReadBitmapPixels(bitmap.get());
            fw::PixelBuffer scaled = own ? fw::ScaledCopy(own.view(), w, h, 1) : fw::PixelBuffer{};
            // Kept for good beside the pictures: the plan leaves their room first.
            scaled.ChargeTo(cache_.Ledger(), 0, fw::Charge::Resident);
            if (scaled) made.pixels = std::make_shared<const fw::PixelBuffer>(std::move(scaled));
        }
        if (!bitmap) return nullptr;
        if (resources_.size() >= kKeptResources) resources_.erase(resources_.begin());
        resources_.push_back(std::move(made));
        it = resources_.end() - 1;
    } else if (it != resources_.end() - 1) {
        std::rotate(it, it + 1, resources_.end());  // most recently used last
        it = resources_.end() - 1;
    }
    return it->pixels;
}

bool ScreenPictures::DrawResource(HDC dc, int id, int x, int y, int w, int h) {
    const auto pixels = Resource(id, w, h);
    if (pixels) {
        fw::BlitPixels(dc, x, y, pixels->view());
        return true;
    }
    // Not loaded, or loaded with no area to draw: only the first is a failure.
    return std::any_of(resources_.begin(), resources_.end(), [&](const Kept& r) { return r.id == id && r.w == w && r.h == h; });
}

void DrawPicture(HDC dc, const ScaledPicture& picture, FitMode fit, int x, int y, int w, int h) {
    if (fit == FitMode::Letterbox) {
        // Black bars where the photo's shape leaves the window uncovered: around the photo, never
        // under it, so that nothing flickers when it goes straight to a window.
        const COLORREF old = ::SetBkColor(dc, RGB(0, 0, 0));
        const int pw = picture.pixels ? picture.pixels->width() : 0, ph = picture.pixels ? picture.pixels->height() : 0;
        const RECT bars[] = {{x, y, x + w, y + picture.y},
                             {x, y + picture.y + ph, x + w, y + h},
                             {x, y + picture.y, x + picture.x, y + picture.y + ph},
                             {x + picture.x + pw, y + picture.y, x + w, y + picture.y + ph}};
        for (const RECT& bar : bars)
            if (bar.right > bar.left && bar.bottom > bar.top) ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &bar, nullptr, 0, nullptr);
        ::SetBkColor(dc, old);
    }
    if (picture.pixels) fw::BlitPixels(dc, x + picture.x, y + picture.y, picture.pixels->view());
}
