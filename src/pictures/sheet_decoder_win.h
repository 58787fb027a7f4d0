// The slide files of the handout sheets, as a client of the picture cache: a sheet asks for its
// own two files, decoded, and says that the next sheet's and the previous one's are wanted too;
// the cache's worker decodes those while the printer takes this sheet, so a job waits for no
// decode but its first, and paging through a preview or zooming it finds them held. A file is
// used only while it is still the same file on disk (its size and times); else it is decoded
// again. Waiting for a file the worker is decoding is bounded as every wait on the cache is, and
// the sheet decodes it itself past that. The owner lets the decoder go when its job or preview
// ends, and with it what was decoded ahead.
#pragma once
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "pictures/picture_cache.h"

class SheetDecoder {
public:
    using Paths = std::array<std::wstring, 2>;  // resolved; empty where the sheet has no slide
    // The decoded pixels of the upper and lower slide; null where there is no slide, or its file
    // is missing or does not decode.
    using Files = std::array<std::shared_ptr<const fw::PixelBuffer>, 2>;

    // The printing client of `cache`, whose workers decode ahead.
    explicit SheetDecoder(PictureCache& cache);
    // With a cache of its own, on the platform's hooks or these.
    explicit SheetDecoder(PictureCache::Hooks hooks);
    SheetDecoder();
    // Says that printing wants nothing more, which lets go what was decoded ahead. Never waits
    // for a decode ahead: a worker that has stalled in one ends on its own.
    ~SheetDecoder();
    SheetDecoder(const SheetDecoder&) = delete;
    SheetDecoder& operator=(const SheetDecoder&) = delete;

    // The files at `paths`, now; the files of the sheets `around` it (the next, then the
    // previous) are wanted next.
    Files Take(const Paths& paths, const std::vector<Paths>& around);
    // Whether files of other sheets than the one taken last are wanted (held or being decoded).
    bool HoldsAhead() const { return ahead_; }
    // Blocks until the decodes ahead are done (for tests and benchmarks).
    void WaitUntilIdle() { cache_.WaitUntilIdle(); }

private:
    std::unique_ptr<PictureCache> own_;
    PictureCache& cache_;
    bool ahead_ = false;
};
