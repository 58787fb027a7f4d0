// A picture made from a file's decoded pixels as a request wants it: stretched over its size, or
// letterboxed into it, or as decoded; then its stamps copied over it in order. Pure: no platform
// headers.
#pragma once
#include <cstddef>
#include <memory>

#include "pictures/picture_request.h"

// The bytes ComposePicture allocates for `request` from pixels of w x h: none when the picture
// shares the decoded pixels.
std::size_t ComposedBytes(const PictureRequest& request, int w, int h);

// The picture of `request` from `decoded` (null or empty: a file that does not decode, which is
// not placed). A picture of the decoded size without stamps shares the decoded pixels. New pixels
// are scaled on `threads` threads and charged to `ledger`, `reserved` of their bytes out of room
// reserved there (taken over whatever comes of the scaling: a buffer that fails is freed, and its
// room with it). Null when memory ran out for them: not the file's fault, worth another try.
std::shared_ptr<const ScaledPicture> ComposePicture(const PictureRequest& request,
                                                    const std::shared_ptr<const fw::PixelBuffer>& decoded, int threads,
                                                    const std::shared_ptr<fw::PixelLedger>& ledger = nullptr,
                                                    std::size_t reserved = 0);

// Copies each stamp onto `pixels` at its place, opaque, clipped to the picture.
void ApplyStamps(fw::PixelBuffer& pixels, const std::vector<Stamp>& stamps);
