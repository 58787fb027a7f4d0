// Decoding of slide and photo files (PNG, JPEG) into bitmaps ready for the halftone blit.
#pragma once
#include "framework/gdi.h"
#include "pictures/picture_data.h"

namespace fw {

// Reads the file, checks its header with the size guard (JudgeImageHeader) and only then hands
// the bytes to the platform decoder. The result is a 32-bit top-down DIB section, BGRA with
// premultiplied alpha (transparent areas come out black when drawn opaque). Any failure
// (missing, unreadable, unknown, absurd, corrupt) gives an empty Bitmap; nothing is reported.
// Initialises COM on the calling thread on first use and keeps it until the thread ends, so the
// codecs stay loaded between paints.
Bitmap LoadImageFile(const wchar_t* path);

// The same decode into plain memory, with the identity of the bytes that were read (their size
// and times, taken from the open file, so they belong to what was decoded). found is false when
// the file could not be opened as a regular file; pixels are empty when it does not decode.
// Safe on any thread: each thread enters COM on its first decode. With `room`, the decode asks it
// for room for the pixels once the header has passed the size guard, and stops (deferred) when
// it answers false.
DecodedFile DecodeImageFile(const wchar_t* path, const DecodeRoom& room = {});

}  // namespace fw
