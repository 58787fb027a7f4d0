// What the paint tests share: image files written at test time, a temporary program folder
// holding them as deck slides, patched hotspots, reference renderings of the
// resource bitmaps, and pixel comparisons.
#pragma once
#include <windows.h>
#include <wincodec.h>
#include <wrl/client.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cwchar>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/mainframe.h"
#include "deck/deck.h"
#include "deck/page_cursor.h"
#include "framework/dc.h"
#include "framework/gdi.h"
#include "pictures/halftone_blit.h"
#include "launch/target_names.h"
#include "view/view.h"
#include "support/win_test_support.h"

namespace painttest {

using testing_win::Pixels;

// ---- Image files ---------------------------------------------------------------------------

// Encodes w x h pixels of pixel(x, y) with the platform's encoder (PNG or JPEG container).
inline bool WriteImage(const std::wstring& path, int w, int h, const GUID& container,
                       const std::function<COLORREF(int, int)>& pixel) {
    using Microsoft::WRL::ComPtr;
    const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    struct ComScope {
        HRESULT hr;
        ~ComScope() { if (SUCCEEDED(hr)) ::CoUninitialize(); }
    } scope{com};
    ComPtr<IWICImagingFactory> factory;
    if (FAILED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&factory))))
        return false;
    ComPtr<IWICStream> stream;
    ComPtr<IWICBitmapEncoder> encoder;
    ComPtr<IWICBitmapFrameEncode> frame;
    ComPtr<IPropertyBag2> props;
    if (FAILED(factory->CreateStream(&stream)) || FAILED(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE)) ||
        FAILED(factory->CreateEncoder(container, nullptr, &encoder)) ||
        FAILED(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache)) ||
        FAILED(encoder->CreateNewFrame(&frame, &props)) || FAILED(frame->Initialize(props.Get())) ||
        FAILED(frame->SetSize(static_cast<UINT>(w), static_cast<UINT>(h))))
        return false;
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    if (FAILED(frame->SetPixelFormat(&format)) || format != GUID_WICPixelFormat24bppBGR) return false;
    const UINT stride = static_cast<UINT>((w * 3 + 3) & ~3);
    std::vector<BYTE> row(stride);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const COLORREF c = pixel(x, y);
            row[x * 3] = GetBValue(c);
            row[x * 3 + 1] = GetGValue(c);
            row[x * 3 + 2] = GetRValue(c);
        }
        if (FAILED(frame->WritePixels(1, stride, stride, row.data()))) return false;
    }
    return SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
}

inline bool WriteSolidPng(const std::wstring& path, int w, int h, COLORREF c) {
    return WriteImage(path, w, h, GUID_ContainerFormatPng, [c](int, int) { return c; });
}
inline bool WriteSolidJpeg(const std::wstring& path, int w, int h, COLORREF c) {
    return WriteImage(path, w, h, GUID_ContainerFormatJpeg, [c](int, int) { return c; });
}

inline std::vector<std::uint8_t> ReadBytes(const std::wstring& path) {
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
inline void WriteBytes(const std::wstring& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(std::filesystem::path(path), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline std::uint32_t Crc32(const std::uint8_t* p, std::size_t n) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < n; ++i) {
        crc ^= p[i];
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

// A well-formed PNG signature and header claiming width x height RGB pixels, a scrap of image
// data and the end chunk: what a decompression bomb looks like before it is decoded.
inline std::vector<std::uint8_t> PngClaiming(std::uint32_t width, std::uint32_t height) {
    std::vector<std::uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    const auto be32 = [&out](std::uint32_t v) {
        for (int s = 24; s >= 0; s -= 8) out.push_back(static_cast<std::uint8_t>(v >> s));
    };
    const auto chunk = [&](const char* type, const std::vector<std::uint8_t>& data) {
        be32(static_cast<std::uint32_t>(data.size()));
        const std::size_t start = out.size();
        out.insert(out.end(), type, type + 4);
        out.insert(out.end(), data.begin(), data.end());
        be32(Crc32(out.data() + start, out.size() - start));
    };
    std::vector<std::uint8_t> ihdr;
    for (std::uint32_t v : {width, height})
        for (int s = 24; s >= 0; s -= 8) ihdr.push_back(static_cast<std::uint8_t>(v >> s));
    ihdr.insert(ihdr.end(), {8, 2, 0, 0, 0});
    chunk("IHDR", ihdr);
    chunk("IDAT", {0x78, 0x9C, 0x63, 0x60, 0x18, 0x05, 0x00, 0x00});
    chunk("IEND", {});
    return out;
}

// ---- The program folder and globals --------------------------------------------------------

// A fresh folder that stands in for the program folder while it lives: the paint resolves
// slide names there. Every global of the program is put back afterwards.
class DeckFolder {
public:
    DeckFolder() {
        wchar_t base[MAX_PATH];
        ::GetTempPathW(MAX_PATH, base);
        static int serial = 0;
        dir_ = std::filesystem::path(base) /
               (L"pemboro-render-" + std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(++serial));
        std::filesystem::create_directories(dir_);
        std::wcscpy(g_appDir, dir_.wstring().c_str());
        g_bigMode = false;
        g_brandLogoId = 0;
        g_secondLogoId = 312;
    }
    ~DeckFolder() {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    DeckFolder(const DeckFolder&) = delete;
    DeckFolder& operator=(const DeckFolder&) = delete;

    std::wstring Path(const wchar_t* name) const { return (dir_ / name).wstring(); }
    std::wstring SlidePath(int row) const { return Path(g_slideDeck[row].pszImage); }
    // The slide of table row `row` as one flat colour.
    void SolidSlide(int row, COLORREF c, int w = 1920, int h = 1080) const {
        ASSERT_TRUE(WriteSolidPng(SlidePath(row), w, h, c));
    }

private:
    testing_win::SavedGlobals globals_;
    std::filesystem::path dir_;
};

// Gives a slide row other hotspots for the length of a test; the globals come back as they
// were when it was made.
class PatchedSpots {
public:
    PatchedSpots(int row, const Hotspot* spots, int count) {
        g_slideDeck[row].pSpots = spots;
        g_slideDeck[row].nSpots = count;
    }
    PatchedSpots(const PatchedSpots&) = delete;
    PatchedSpots& operator=(const PatchedSpots&) = delete;

private:
    testing_win::SavedGlobals globals_;
};

// ---- Painting into memory ------------------------------------------------------------------

// A 32-bit DIB selected into its own memory DC, first filled with `fill`.
class MemoryPage {
public:
    MemoryPage(int w, int h, COLORREF fill) : w_(w), h_(h), dc_(::CreateCompatibleDC(nullptr)) {
        const BITMAPINFO bi = fw::TopDown32Info(w, h);
        void* bits = nullptr;
        bmp_.reset(::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
        old_ = ::SelectObject(dc_.get(), bmp_.get());
        const RECT all{0, 0, w, h};
        const fw::Brush brush(::CreateSolidBrush(fill));
        ::FillRect(dc_.get(), &all, brush.get());
    }
    ~MemoryPage() { ::SelectObject(dc_.get(), old_); }
    MemoryPage(const MemoryPage&) = delete;
    MemoryPage& operator=(const MemoryPage&) = delete;

    HDC dc() const { return dc_.get(); }
    bool ok() const { return dc_ && bmp_; }
    Pixels Read() const { return testing_win::ReadDc(dc_.get(), RECT{0, 0, w_, h_}); }

private:
    int w_, h_;
    fw::MemoryDc dc_;
    fw::Bitmap bmp_;
    HGDIOBJ old_ = nullptr;
};

// The view's paint of a w x h client area into memory, as a screen paint or on a printed page.
inline Pixels PaintIntoMemory(CPemboroView* view, int w, int h, bool printing = false,
                              COLORREF fill = RGB(90, 90, 90)) {
    if (!printing) ::MoveWindow(view->m_hWnd, 0, 0, w, h, FALSE);
    MemoryPage page(w, h, fill);
    EXPECT_TRUE(page.ok());
    {
        CBorrowedDC dc(page.dc());
        dc.m_bPrinting = printing ? TRUE : FALSE;
        view->OnDraw(&dc);
    }
    return page.Read();
}

// ---- Pixel comparisons ---------------------------------------------------------------------

inline int Distance(COLORREF a, COLORREF b) {
    return std::max({std::abs(GetRValue(a) - GetRValue(b)), std::abs(GetGValue(a) - GetGValue(b)),
                     std::abs(GetBValue(a) - GetBValue(b))});
}

inline std::string Show(COLORREF c) {
    return "(" + std::to_string(GetRValue(c)) + "," + std::to_string(GetGValue(c)) + "," +
           std::to_string(GetBValue(c)) + ")";
}

// Resource bitmap `id` drawn w x h through the halftone blit: what the paint should show there.
inline Pixels RenderBitmap(int id, int w, int h) {
    MemoryPage page(w, h, RGB(90, 90, 90));
    const fw::Bitmap bmp(::LoadBitmapW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id)));
    EXPECT_TRUE(bmp) << "bitmap " << id;
    fw::HalftoneBlit(page.dc(), 0, 0, w, h, bmp.get());
    return page.Read();
}

// The region of `shot` at (x, y) equals `ref`, within `tol` per channel.
inline ::testing::AssertionResult RegionMatches(const Pixels& shot, int x, int y, const Pixels& ref, int tol = 2) {
    for (int j = 0; j < ref.height; ++j)
        for (int i = 0; i < ref.width; ++i) {
            const COLORREF got = shot.At(x + i, y + j), want = ref.At(i, j);
            if (got == CLR_INVALID || Distance(got, want) > tol)
                return ::testing::AssertionFailure() << "at " << x + i << "," << y + j << " got " << Show(got)
                                                     << " want " << Show(want);
        }
    return ::testing::AssertionSuccess();
}

// Every pixel of the rectangle is within `tol` of c.
inline ::testing::AssertionResult RegionIs(const Pixels& shot, const RECT& rc, COLORREF c, int tol = 0) {
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x) {
            const COLORREF got = shot.At(x, y);
            if (got == CLR_INVALID || Distance(got, c) > tol)
                return ::testing::AssertionFailure() << "at " << x << "," << y << " got " << Show(got) << " want "
                                                     << Show(c);
        }
    return ::testing::AssertionSuccess();
}

// A bitmap drawn at a rectangle: its pixels there, and the slide colour on the ring just
// outside it (where the ring lies in the picture and in no other drawn rectangle).
struct Drawn {
    int id;
    RECT rc;  // left, top, right, bottom
};

inline bool Inside(const RECT& rc, int x, int y) { return x >= rc.left && x < rc.right && y >= rc.top && y < rc.bottom; }

inline void ExpectDrawnExactly(const Pixels& shot, const std::vector<Drawn>& items, COLORREF slide,
                               const std::string& what) {
    for (const Drawn& d : items) {
        const int w = d.rc.right - d.rc.left, h = d.rc.bottom - d.rc.top;
        EXPECT_TRUE(RegionMatches(shot, d.rc.left, d.rc.top, RenderBitmap(d.id, w, h)))
            << what << ": bitmap " << d.id << " at " << d.rc.left << "," << d.rc.top << " " << w << "x" << h;
        const auto ringPixel = [&](int x, int y) {
            if (x < 0 || y < 0 || x >= shot.width || y >= shot.height) return;
            for (const Drawn& other : items)
                if (Inside(other.rc, x, y)) return;
            EXPECT_LE(Distance(shot.At(x, y), slide), 2)
                << what << ": bitmap " << d.id << " reaches " << x << "," << y << " " << Show(shot.At(x, y));
        };
        for (int x = d.rc.left - 1; x <= d.rc.right; ++x) {
            ringPixel(x, d.rc.top - 1);
            ringPixel(x, d.rc.bottom);
        }
        for (int y = d.rc.top; y < d.rc.bottom; ++y) {
            ringPixel(d.rc.left - 1, y);
            ringPixel(d.rc.right, y);
        }
    }
}

inline RECT Box(int x, int y, int w, int h) { return RECT{x, y, x + w, y + h}; }

// Keeps the pointer off the window so that hover feedback draws nothing during a test.
inline void ParkPointer() { ::SetCursorPos(1919, 1079); }

}  // namespace painttest
