// The compiled-in slide deck: 69 slides, each a PNG beside the executable,
// with the clickable hotspots that open demo files.
#pragma once

struct Hotspot {
    double x;                 // centre, fraction of the slide width from the left
    double y;                 // centre, fraction of the slide height from the bottom, upward
    const wchar_t* pszTarget; // file name relative to the program folder; a leading '!' asks for a run
};

struct SlidePage {
    int nNumber;              // static data: 1 enabled, 0 disabled; after NumberSlides: print number or 0
    const wchar_t* pszImage;  // slide image file name
    int nSpots;               // number of hotspots
    const Hotspot* pSpots;    // first hotspot, null when nSpots is 0
};

inline constexpr int SLIDE_COUNT = 69;
inline constexpr int kLastSlide = SLIDE_COUNT - 1;

extern SlidePage g_slideDeck[SLIDE_COUNT];
extern int g_enabledPageCount;

// Gives the enabled rows their print numbers 1..N in table order; idempotent.
void NumberSlides();

// Index of the first row numbered k, or SLIDE_COUNT when there is none.
int FindSlideByNumber(int k);
