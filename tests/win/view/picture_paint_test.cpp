// Picture mode's paint: the photo letterboxed on black with nothing else, and the slide when
// the photo does not decode.
#include "paint_fixture.h"

namespace {

using namespace painttest;
using testing_win::Pixels;
using testing_win::Presenter;

constexpr COLORREF kSlide = RGB(40, 90, 160);
constexpr COLORREF kPhoto = RGB(60, 170, 80);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr int kRow = 1;
const Hotspot kSpots[] = {{0.5, 0.5, L"photo.jpg"}};

class PicturePaint : public ::testing::Test {
protected:
    void SetUp() override {
        ParkPointer();
        deck_.SolidSlide(kRow, kSlide);
        g_currentPage = kRow;
        g_brandLogoId = 304;  // logos on both sides, so that a missing one would show
    }
    void Show(CPemboroView* view, const std::wstring& path) {
        view->m_strPicture = path;
        view->m_pPictureSpot = &kSpots[0];
    }
    DeckFolder deck_;
    PatchedSpots spots_{kRow, kSpots, 1};
};

TEST_F(PicturePaint, FourShapesLetterboxedOnBlack) {
    struct Case {
        int w, h;
        RECT photo;  // where the photo lands in the 1000 x 600 window
    } const cases[] = {
        {800, 600, {100, 0, 900, 600}},
        {600, 800, {275, 0, 725, 600}},
        {1600, 600, {0, 112, 1000, 487}},
        {1000, 600, {0, 0, 1000, 600}},
    };
    Presenter p(1000, 600);
    for (const Case& c : cases) {
        const std::wstring path = deck_.Path((std::to_wstring(c.w) + L"x" + std::to_wstring(c.h) + L".jpg").c_str());
        ASSERT_TRUE(WriteSolidJpeg(path, c.w, c.h, kPhoto));
        Show(p.view(), path);
        const Pixels shot = p.Paint();
        const std::string what = std::to_string(c.w) + "x" + std::to_string(c.h);
        // A JPEG of one flat colour decodes to within a few levels of it.
        EXPECT_TRUE(RegionIs(shot, c.photo, kPhoto, 6)) << what;
        for (int y = 0; y < 600; y += 3)
            for (int x = 0; x < 1000; x += 3)
                if (!Inside(c.photo, x, y)) {
                    ASSERT_EQ(shot.At(x, y), kBlack) << what << " at " << x << "," << y;
                }
        // The edges of the photo are exact: black right next to it.
        if (c.photo.left > 0) {
            EXPECT_EQ(shot.At(c.photo.left - 1, 300), kBlack) << what;
        }
        if (c.photo.top > 0) {
            EXPECT_EQ(shot.At(500, c.photo.top - 1), kBlack) << what;
        }
        if (c.photo.bottom < 600) {
            EXPECT_EQ(shot.At(500, c.photo.bottom), kBlack) << what;
        }
        EXPECT_LE(Distance(shot.At(c.photo.left, 300), kPhoto), 6) << what;
        EXPECT_LE(Distance(shot.At(500, c.photo.bottom - 1), kPhoto), 6) << what;
    }
    // The photo path counts only while a photo hotspot is set as well.
    p.view()->m_pPictureSpot = nullptr;
    EXPECT_EQ(p.Paint().At(500, 100), kSlide);
}

TEST_F(PicturePaint, UndecodablePhotoShowsTheSlideWithItsMarkers) {
    Presenter p(1000, 600);
    const std::wstring path = deck_.Path(L"broken.jpg");
    WriteBytes(path, {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 'J', 'F', 'I', 'F'});
    Show(p.view(), path);
    const Pixels shot = p.Paint();
    EXPECT_EQ(shot.At(500, 100), kSlide);
    EXPECT_TRUE(RegionMatches(shot, 491, 291, RenderBitmap(302, 18, 18)));
    EXPECT_TRUE(RegionMatches(shot, 982, 582, RenderBitmap(302, 18, 18)));
    EXPECT_TRUE(RegionMatches(shot, 890, 564, RenderBitmap(304, 90, 36)));
    // Still in picture mode: the hit tests answer nothing.
    EXPECT_EQ(p.view()->m_strPicture, path);
    EXPECT_EQ(p.view()->HotspotAt(CPoint(500, 300)), nullptr);
}

TEST_F(PicturePaint, PrintingShowsSlidesEvenInPictureMode) {
    Presenter p(1000, 600);
    const std::wstring path = deck_.Path(L"photo.jpg");
    ASSERT_TRUE(WriteSolidJpeg(path, 800, 600, kPhoto));
    Show(p.view(), path);
    deck_.SolidSlide(0, kSlide);
    NumberSlides();  // as start-up does: sheet 1 holds the slides numbered 1 and 2
    p.view()->m_nPrintPage = 1;
    const Pixels sheet = PaintIntoMemory(p.view(), 1240, 1754, true);
    EXPECT_EQ(sheet.At(700, 300), kSlide);
    EXPECT_EQ(sheet.At(700, 1200), kSlide);
}

}  // namespace
