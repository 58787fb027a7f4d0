// Picture mode. (Arrives with the interaction work.)
#include "view/view.h"

void CPemboroView::EnterPictureMode(const Hotspot*) {}
void CPemboroView::LeavePictureMode() {}
const Hotspot* CPemboroView::FindPreviousPhoto() const { return nullptr; }
const Hotspot* CPemboroView::FindNextPhoto() const { return nullptr; }
