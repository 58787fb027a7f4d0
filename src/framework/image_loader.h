// Decoding of slide and photo files (PNG, JPEG) into bitmaps ready for the halftone blit.
#pragma once
#include "framework/gdi.h"

namespace fw {

// Reads the file, checks its header with the size guard (JudgeImageHeader) and only then hands
// the bytes to the platform decoder. The result is a 32-bit top-down DIB section, BGRA with
// premultiplied alpha (transparent areas come out black when drawn opaque). Any failure
// (missing, unreadable, unknown, absurd, corrupt) gives an empty Bitmap; nothing is reported.
// Initialises COM on the calling thread on first use and keeps it until the thread ends, so the
// codecs stay loaded between paints.
Bitmap LoadImageFile(const wchar_t* path);

}  // namespace fw
