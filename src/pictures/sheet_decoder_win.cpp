#include "pictures/sheet_decoder_win.h"

#include "pictures/file_identity.h"
#include "pictures/screen_pictures_win.h"

namespace {

PictureRequest AsDecoded(const std::wstring& path) { return {path, 0, 0, FitMode::AsDecoded, {}}; }

}  // namespace

SheetDecoder::SheetDecoder(PictureCache& cache) : cache_(cache) {}

SheetDecoder::SheetDecoder(PictureCache::Hooks hooks)
    : own_(std::make_unique<PictureCache>(std::move(hooks), kScreenPictureBudget, 1)), cache_(*own_) {}

SheetDecoder::SheetDecoder() : SheetDecoder(ScreenPictures::PlatformHooks()) {}

SheetDecoder::~SheetDecoder() { cache_.Want(PictureClient::Print, {}); }

SheetDecoder::Files SheetDecoder::Take(const Paths& paths, const std::vector<Paths>& around) {
    std::vector<Wanted> wanted;
    for (const std::wstring& path : paths)
        if (!path.empty()) wanted.push_back({AsDecoded(path), false});
    const std::size_t now = wanted.size();
    for (const Paths& sheet : around)
        for (const std::wstring& path : sheet)
            if (!path.empty()) wanted.push_back({AsDecoded(path), false});
    ahead_ = wanted.size() > now;
    cache_.Want(PictureClient::Print, std::move(wanted), now);
    Files files;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        if (paths[i].empty()) continue;
        // The file on disk now, by its size and times, must be the one that was decoded.
        files[i] = cache_.Get(AsDecoded(paths[i]), fw::QueryFileIdentity(paths[i].c_str()))->pixels;
    }
    return files;
}
