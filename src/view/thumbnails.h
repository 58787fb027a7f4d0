// The overview's thumbnails: every slide scaled down to the size the overview draws it at, made
// one at a time by the picture cache's worker while it has nothing else to do. The cheapest
// first: a slide whose decoded pixels the cache holds costs a scaling only; the others cost a
// decode, and a smaller file decodes sooner. A change of size makes them again, from the largest
// made so far when that is large enough (a scaling, no decode), else from the file; until then
// the old ones are drawn stretched, and a slide not yet made is drawn as a numbered frame.
// Pure: no platform headers; the decoder, the metadata call and the cache's pixels come in as hooks.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "framework/picture_data.h"

class Thumbnails {
public:
    struct Hooks {
        std::function<fw::DecodedFile(const std::wstring& path)> decode;
        // The file's size in bytes, the cost of its decode; nothing when it is not a readable file.
        std::function<std::optional<std::uint64_t>(const std::wstring& path)> fileSize;
    };

    // One thumbnail per path, in deck order.
    Thumbnails(std::vector<std::wstring> paths, Hooks hooks);

    // The size the overview draws them at; thumbnails of another size are made again.
    void SetTileSize(int w, int h);
    // Decoded pixels of a file held elsewhere (the picture cache), or null.
    using HeldPixels = std::function<std::shared_ptr<const fw::PixelBuffer>(const std::wstring& path)>;
    // Makes the cheapest thumbnail still missing; false when there is none left to make.
    // Called on the worker thread, one at a time.
    bool MakeOne(const HeldPixels& held);

    // Thumbnail `row`, of the tile size or an older one; null when none is made yet.
    std::shared_ptr<const fw::PixelBuffer> Get(int row) const;
    int Count() const { return static_cast<int>(paths_.size()); }
    // Thumbnails of the tile size made so far, and rows that cannot be made (missing or broken).
    int Ready() const;
    // Grows with every thumbnail made, so a painter can tell whether it has something new.
    unsigned Generation() const;
    std::size_t Bytes() const;

private:
    struct Slot {
        std::shared_ptr<const fw::PixelBuffer> pixels;
        std::shared_ptr<const fw::PixelBuffer> largest;  // the largest made, the source of smaller ones
        bool failed = false;      // the file is missing or does not decode
        std::optional<std::uint64_t> cost;  // the file's size, once read
    };
    bool Current(const Slot& s) const {
        return s.failed || (s.pixels && s.pixels->width() == tileW_ && s.pixels->height() == tileH_);
    }

    const std::vector<std::wstring> paths_;
    const Hooks hooks_;
    mutable std::mutex mutex_;
    std::vector<Slot> slots_;
    int tileW_ = 0;
    int tileH_ = 0;
    unsigned generation_ = 0;
};
