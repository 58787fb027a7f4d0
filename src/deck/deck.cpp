// Print numbering of the enabled slides.
#include "deck/deck.h"

int g_enabledPageCount = 0;

void NumberSlides() {
    // Only a nonzero word is rewritten, and always with a nonzero counter, so running this
    // again finds the same rows enabled and hands out the same numbers.
    int counter = 1;
    for (SlidePage& page : g_slideDeck) {
        if (page.nNumber != 0) {
            page.nNumber = counter;
            g_enabledPageCount = counter;
            ++counter;
        }
    }
}

int FindSlideByNumber(int k) {
    for (int i = 0; i < SLIDE_COUNT; ++i) {
        if (g_slideDeck[i].nNumber == k) {
            return i;
        }
    }
    return SLIDE_COUNT;
}
