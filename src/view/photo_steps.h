// Which hotspots are photos, and the neighbouring photo of a slide in either direction.
#pragma once

struct Hotspot;
struct SlidePage;

// A photo is a target whose text from its last '.' is ".jpg", ASCII letters folded.
bool IsPhotoTarget(const wchar_t* target);

// The nearest photo hotspot before or after `from` in the slide's table order, or null.
// Neither search wraps around, nor looks at files: a photo whose file is missing is still
// the neighbour, and the caller's failure to show it blocks the way past it.
// A `from` that is not one of the slide's hotspots has no neighbours.
const Hotspot* PreviousPhoto(const SlidePage& slide, const Hotspot* from);
const Hotspot* NextPhoto(const SlidePage& slide, const Hotspot* from);
