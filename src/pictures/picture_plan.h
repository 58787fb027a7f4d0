// The one rule that decides what is made, what stays and what goes: from the clients' wanted
// pictures merged in the order their needs count (the show's first) and what is held now, which
// pictures are kept or made ready, which files stay decoded, and what is let go. Pure: no
// platform headers, no threads; the cache runs it whenever a client says what it wants.
//
// In four passes, each as far as the budget goes, with room left at every step for the largest
// decode still to be made (so the pictures in progress fit too):
//  1. every wanted picture at its least: ready, or its file decoded where decoded pixels will do;
//  2. those held at their least made ready, in order (their decoded pixels stay until it is made);
//  3. the decoded pixels held of the pictures drawn now (a change of size scales them again);
//  4. a held picture of a wanted file at another size: until the wanted one is made (the overview
//     draws it stretched meanwhile), and the largest one without stamps for good (smaller ones
//     are made from it without a decode, and it is wanted again when its size comes back).
// A picture without area is never admitted; the same picture or file is counted once, and a
// buffer shared by a picture and its decoded file once. A wanted picture whose decoded pixels
// will do stands at that level however it is held: a picture of it made while it was one key away
// is kept only in the room left (pass 2). The first picture drawn now (the show's own) is
// admitted whatever the budget says: it is on screen, alive in any case.
#pragma once
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "pictures/picture_request.h"

struct PlanItem {
    PictureRequest request;
    bool decodedWillDo = false;
    bool drawnNow = false;  // the client draws it right away, on its own thread
};

struct HeldPicture {
    PictureRequest request;
    std::size_t bytes = 0;
    const void* buffer = nullptr;  // the pixels, to count a shared buffer once; null for none
};

struct HeldDecoded {
    std::wstring path;
    std::size_t bytes = 0;
    const void* buffer = nullptr;
};

// A job that carries the plan out: item `item` made ready, or only its file decoded.
struct PlanJob {
    std::size_t item = 0;
    bool decodeOnly = false;
};

struct PicturePlan {
    std::vector<std::size_t> ready;    // items whose picture is kept or made, in the items' order
    std::vector<std::size_t> decoded;  // items whose file's decoded pixels are kept or made (one per file)
    std::vector<bool> keepPicture;     // per held picture
    std::vector<bool> keepDecoded;     // per held decoded file
    std::size_t bytes = 0;             // what the plan holds once all is made
    std::size_t headroom = 0;          // the room left for the largest decode still to be made
    // What is to be made, in the order it is made: the items' order (the show's needs first),
    // each item's picture, or its file's decoded pixels where they will do.
    std::vector<PlanJob> jobs;
};

// `decodedBytesOf`: the bytes of a file's decoded pixels, known or estimated.
PicturePlan MakePlan(const std::vector<PlanItem>& items, const std::vector<HeldPicture>& pictures,
                     const std::vector<HeldDecoded>& decoded,
                     const std::function<std::size_t(const std::wstring& path)>& decodedBytesOf, std::size_t budget);
