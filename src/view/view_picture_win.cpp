// Picture mode: a photo of the current slide shown over the whole view, and stepping
// to the neighbouring photos of the same slide.
#include "launch/file_tests.h"
#include "launch/target_names.h"
#include "view/photo_steps.h"
#include "view/view.h"

void CPemboroView::EnterPictureMode(const Hotspot* h) {
    if (!h) return;
    const wchar_t* path = ResolvePath(h->pszTarget);
    // A missing photo leaves the view as it is: the slide, or the photo already shown.
    if (!FileExists(path)) return;
    m_strPicture = path;  // a copy: the resolver reuses its buffer
    m_pPictureSpot = h;
    if (m_hWnd) InvalidateRect(nullptr, TRUE);
}

void CPemboroView::LeavePictureMode() {
    // The spot stays: it is only read while a photo is shown, and every entry sets it.
    m_strPicture.clear();
    if (m_hWnd) InvalidateRect(nullptr, TRUE);
}

const Hotspot* CPemboroView::FindPreviousPhoto() const { return PreviousPhoto(CurrentSlide(), m_pPictureSpot); }

const Hotspot* CPemboroView::FindNextPhoto() const { return NextPhoto(CurrentSlide(), m_pPictureSpot); }
