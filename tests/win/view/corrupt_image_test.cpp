// Every kind of broken image as a slide and as a photo: nothing drawn for what cannot be
// decoded, the rest of the slide drawn, and the program still standing.
#include "paint_fixture.h"

#include "pictures/image_loader.h"
#include "images/image_corpus.h"
#include "render/picture_rules.h"

namespace {

using namespace painttest;
using testing_win::Pixels;
using testing_win::Presenter;

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kSlide = RGB(40, 90, 160);
constexpr int kRow = 1;
const Hotspot kSpots[] = {{0.5, 0.5, L"photo.jpg"}};

struct BadFile {
    std::wstring name;
    std::vector<std::uint8_t> bytes;
    bool valid;           // the corpus's sound files; the rest is broken on purpose
    bool decoderJudges;   // damaged data behind a sound header: the platform decoder's call
};

// Whether the loader makes a bitmap of the file: the paint must show exactly that.
bool Decodes(const std::wstring& path, SIZE* size = nullptr) {
    const fw::Bitmap bmp = fw::LoadImageFile(path.c_str());
    BITMAP bm{};
    if (bmp && size && ::GetObjectW(bmp.get(), sizeof(bm), &bm)) *size = {bm.bmWidth, std::abs(bm.bmHeight)};
    return static_cast<bool>(bmp);
}

std::vector<BadFile> Files() {
    std::vector<BadFile> files;
    const std::filesystem::path corpus = testing_win::ImageCorpusDir();
    for (const imagecorpus::File& f : imagecorpus::kFiles) {
        const std::filesystem::path path = corpus / f.name;
        files.push_back({path.filename().wstring(), ReadBytes(path.wstring()), f.decoder == imagecorpus::Decoder::Decodes,
                         f.decoder == imagecorpus::Decoder::PlatformDecides});
    }
    // A real slide cut in half, garbage, nothing, and a header promising 60000 x 60000 pixels.
    std::vector<std::uint8_t> slide = ReadBytes(testing_win::DistDir() + L"\\Concerns.png");
    EXPECT_GT(slide.size(), 1000u) << "the demo deck's slides are needed";
    slide.resize(slide.size() / 2);
    files.push_back({L"truncated.png", slide, false, false});
    std::vector<std::uint8_t> garbage(5000);
    std::uint32_t seed = 12345;
    for (auto& b : garbage) b = static_cast<std::uint8_t>((seed = seed * 1103515245u + 12345u) >> 24);
    files.push_back({L"garbage.png", garbage, false, false});
    files.push_back({L"empty.png", {}, false, false});
    files.push_back({L"huge.png", PngClaiming(60000, 60000), false, false});
    std::vector<std::uint8_t> jpegHead = {0xFF, 0xD8, 0xFF, 0xC0, 0x00, 0x11, 0x08, 0x04, 0x38, 0x07, 0x80, 0x03};
    files.push_back({L"truncated.jpg", jpegHead, false, false});
    return files;
}

class CorruptImages : public ::testing::Test {
protected:
    void SetUp() override {
        ParkPointer();
        g_currentPage = kRow;
    }
    DeckFolder deck_;
    PatchedSpots spots_{kRow, kSpots, 1};
};

// The rest of the slide: marker, corner button, logo and notice where they belong.
void ExpectOverlay(const Pixels& shot, const std::wstring& name) {
    const std::string what(name.begin(), name.end());
    EXPECT_TRUE(RegionMatches(shot, 491, 291, RenderBitmap(302, 18, 18))) << what;
    EXPECT_TRUE(RegionMatches(shot, 982, 582, RenderBitmap(302, 18, 18))) << what;
    EXPECT_TRUE(RegionMatches(shot, 0, 564, RenderBitmap(312, 113, 36))) << what;
    EXPECT_TRUE(RegionMatches(shot, 350, 582, RenderBitmap(300, 300, 18))) << what;
}

TEST_F(CorruptImages, AsTheSlide) {
    Presenter p(1000, 600);
    int drawn = 0;
    for (const BadFile& f : Files()) {
        WriteBytes(deck_.SlidePath(kRow), f.bytes);
        const bool decodes = Decodes(deck_.SlidePath(kRow));
        const Pixels shot = PaintIntoMemory(p.view(), 1000, 600, false, RGB(90, 90, 90));
        const std::string what(f.name.begin(), f.name.end());
        // Damaged data behind a sound header is the platform decoder's to judge; everything else
        // broken is refused.
        if (!f.decoderJudges) {
            EXPECT_EQ(decodes, f.valid) << what;
        }
        if (!decodes) {
            // Nothing of the file: the surface's fill shows, white on a memory DC.
            EXPECT_TRUE(RegionIs(shot, RECT{0, 0, 1000, 280}, kWhite)) << what;
        } else if (!RegionIs(shot, RECT{0, 0, 1000, 280}, kWhite)) {
            ++drawn;
        }
        ExpectOverlay(shot, f.name);
    }
    const auto valid = std::count_if(std::begin(imagecorpus::kFiles), std::end(imagecorpus::kFiles),
                                     [](const imagecorpus::File& f) { return f.decoder == imagecorpus::Decoder::Decodes; });
    EXPECT_GE(drawn, valid) << "the valid files of the corpus are drawn";
}

TEST_F(CorruptImages, AsThePhoto) {
    deck_.SolidSlide(kRow, kSlide);
    Presenter p(1000, 600);
    for (const BadFile& f : Files()) {
        const std::wstring path = deck_.Path((L"photo-" + f.name).c_str());
        WriteBytes(path, f.bytes);
        p.view()->m_strPicture = path;
        p.view()->m_pPictureSpot = &kSpots[0];
        SIZE size{};
        const bool decodes = Decodes(path, &size);
        const Pixels shot = PaintIntoMemory(p.view(), 1000, 600);
        const std::string what(f.name.begin(), f.name.end());
        if (decodes) {
            // Letterboxed on black, nothing else: no marker, logo or notice.
            const PictureFit fit = FitPicture(SlideRect{0, 0, 1000, 600}, size.cx, size.cy);
            ASSERT_TRUE(fit.fits) << what;
            const RECT photo = Box(fit.x, fit.y, fit.w, fit.h);
            for (const POINT pt : {POINT{0, 0}, POINT{999, 599}, POINT{990, 590}, POINT{10, 590}, POINT{500, 590}})
                if (!Inside(photo, pt.x, pt.y)) {
                    EXPECT_EQ(shot.At(pt.x, pt.y), kBlack) << what << " at " << pt.x << "," << pt.y;
                }
        } else {
            EXPECT_EQ(shot.At(500, 100), kSlide) << what;
            ExpectOverlay(shot, f.name);
        }
    }
    // And the window is still there to paint.
    p.view()->m_strPicture.clear();
    EXPECT_EQ(p.Paint().At(500, 100), kSlide);
}

}  // namespace
