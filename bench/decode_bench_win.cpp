// Prints decode and drawing times for a 1920 x 1080 slide: WIC (the loader) against GDI+,
// COM start-up per call, the box filter, and the halftone blit against the platform's HALFTONE.
// Usage: decode_bench [slide.png photo.jpg]; without arguments, the first PNG and JPEG of the
// demo deck.
#include "pictures/box_filter.h"
#include "framework/gdi.h"
#include "gdiplus_file_decode.h"
#include "pictures/halftone_blit.h"
#include "pictures/image_loader.h"

#include <objbase.h>
#include <wincodec.h>
#include <gdiplus.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {

// The first file of the demo deck with this extension, as Wine sees the build's folder.
std::wstring FirstDeckFile(const wchar_t* extension) {
#ifdef PEMBORO_DIST_DIR
    const std::string dist = PEMBORO_DIST_DIR;
    std::wstring dir = L"Z:" + std::wstring(dist.begin(), dist.end());
    std::replace(dir.begin(), dir.end(), L'/', L'\\');
    WIN32_FIND_DATAW found{};
    const HANDLE h = ::FindFirstFileW((dir + L"\\*" + extension).c_str(), &found);
    if (h == INVALID_HANDLE_VALUE) return {};
    ::FindClose(h);
    return dir + L"\\" + found.cFileName;
#else
    (void)extension;
    return {};
#endif
}

using Clock = std::chrono::steady_clock;

double Ms(Clock::time_point a, Clock::time_point b) { return std::chrono::duration<double, std::milli>(b - a).count(); }

double Median(int runs, const std::function<void()>& f) {
    std::vector<double> t;
    for (int i = 0; i < runs; ++i) {
        const auto a = Clock::now();
        f();
        t.push_back(Ms(a, Clock::now()));
    }
    std::sort(t.begin(), t.end());
    return t[t.size() / 2];
}

std::vector<char> ReadAll(const std::wstring& path) {
    std::vector<char> bytes;
    if (FILE* f = _wfopen(path.c_str(), L"rb")) {
        char buf[65536];
        size_t n;
        while ((n = fread(buf, 1, sizeof buf, f)) > 0) bytes.insert(bytes.end(), buf, buf + n);
        fclose(f);
    }
    return bytes;
}

// GDI+ from memory, locked straight into a 32-bit top-down DIB section (as the loader's result).
fw::Bitmap DecodeWithGdiplus(const std::vector<char>& bytes) {
    IStream* stream = nullptr;
    if (FAILED(::CreateStreamOnHGlobal(nullptr, TRUE, &stream))) return {};
    stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), nullptr);
    stream->Seek(LARGE_INTEGER{}, STREAM_SEEK_SET, nullptr);
    fw::Bitmap result;
    if (Gdiplus::Bitmap* bmp = Gdiplus::Bitmap::FromStream(stream)) {
        if (bmp->GetLastStatus() == Gdiplus::Ok) {
            const UINT w = bmp->GetWidth(), h = bmp->GetHeight();
            BITMAPINFO bi = fw::TopDown32Info(static_cast<int>(w), static_cast<int>(h));
            void* bits = nullptr;
            fw::Bitmap dib(::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
            Gdiplus::BitmapData data{w, h, INT(w * 4), PixelFormat32bppPARGB, bits, 0};
            Gdiplus::Rect rect(0, 0, INT(w), INT(h));
            if (dib && bmp->LockBits(&rect, Gdiplus::ImageLockModeRead | Gdiplus::ImageLockModeUserInputBuf,
                                     PixelFormat32bppPARGB, &data) == Gdiplus::Ok) {
                bmp->UnlockBits(&data);
                result = std::move(dib);
            }
        }
        delete bmp;
    }
    stream->Release();
    return result;
}

// A 32-bit DIB section in a memory DC as the drawing target.
struct Target {
    fw::MemoryDc dc{::CreateCompatibleDC(nullptr)};
    fw::Bitmap bmp;
    HGDIOBJ old = nullptr;
    Target(int w, int h) {
        BITMAPINFO bi = fw::TopDown32Info(w, h);
        void* bits = nullptr;
        bmp.reset(::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
        old = ::SelectObject(dc.get(), bmp.get());
    }
    ~Target() { ::SelectObject(dc.get(), old); }
};

void PlatformHalftone(HDC dst, int w, int h, HBITMAP src, int sw, int sh) {
    const fw::MemoryDc mem(::CreateCompatibleDC(dst));
    const fw::ScopedSelect sel(mem.get(), src);
    const fw::ScopedStretchMode mode(dst, HALFTONE);
    ::StretchBlt(dst, 0, 0, w, h, mem.get(), 0, 0, sw, sh, SRCCOPY);
}

}  // namespace

int main(int argc, char** argv) {
    auto widen = [](const char* s) { return std::wstring(s, s + std::strlen(s)); };
    const std::wstring png = argc > 2 ? widen(argv[1]) : FirstDeckFile(L".png");
    const std::wstring jpg = argc > 2 ? widen(argv[2]) : FirstDeckFile(L".jpg");
    std::printf("PNG  %ls\nJPEG %ls\n", png.c_str(), jpg.c_str());
    const int runs = 15;

    auto a = Clock::now();
    fw::Bitmap first = fw::LoadImageFile(png.c_str());
    std::printf("first WIC decode in the process (codec start-up): %.1f ms%s\n", Ms(a, Clock::now()),
                first ? "" : "  FAILED");

    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartupInput input;
    Gdiplus::GdiplusStartup(&token, &input, nullptr);
    {
        const std::vector<char> pngBytes = ReadAll(png), jpgBytes = ReadAll(jpg);
        BITMAP pngSize{}, jpgSize{};
        ::GetObjectW(first.get(), sizeof pngSize, &pngSize);
        const fw::Bitmap photo = fw::LoadImageFile(jpg.c_str());
        ::GetObjectW(photo.get(), sizeof jpgSize, &jpgSize);
        std::printf("PNG %ld x %ld, %zu bytes; JPEG %ld x %ld, %zu bytes\n", pngSize.bmWidth, pngSize.bmHeight,
                    pngBytes.size(), jpgSize.bmWidth, jpgSize.bmHeight, jpgBytes.size());
        a = Clock::now();
        fw::Bitmap g = DecodeWithGdiplus(pngBytes);
        std::printf("first GDI+ decode in the process: %.1f ms%s\n", Ms(a, Clock::now()), g ? "" : "  FAILED");
        for (const auto& [name, path, bytes] : {std::tuple{"PNG ", png, &pngBytes}, std::tuple{"JPEG", jpg, &jpgBytes}}) {
            std::printf("%s WIC  (LoadImageFile, file -> 32bpp PBGRA DIB)     median %6.1f ms\n", name,
                        Median(runs, [&] { fw::LoadImageFile(path.c_str()); }));
            std::printf("%s GDI+ (FromStream + LockBits into a DIB)          median %6.1f ms\n", name,
                        Median(runs, [&] { DecodeWithGdiplus(*bytes); }));
            std::printf("%s GDI+ (FromFile + GetHBITMAP)                     median %6.1f ms\n", name,
                        Median(runs, [&] { DecodeWithGdiplusFile(path); }));
        }
    }
    Gdiplus::GdiplusShutdown(token);

    // What entering and leaving COM around every decode would cost, on a thread of its own.
    std::thread([&] {
        const double perCall = Median(9, [] {
            ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
            IWICImagingFactory* f = nullptr;
            if (SUCCEEDED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&f))))
                f->Release();
            ::CoUninitialize();
        });
        ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        const double kept = Median(9, [] {
            IWICImagingFactory* f = nullptr;
            if (SUCCEEDED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&f))))
                f->Release();
        });
        ::CoUninitialize();
        std::printf("COM enter + WIC factory + leave, per call: %.2f ms; factory with COM kept: %.3f ms\n", perCall, kept);
    }).join();

    const fw::Bitmap slide = fw::LoadImageFile(png.c_str());
    DIBSECTION ds{};
    ::GetObjectW(slide.get(), sizeof ds, &ds);
    if (ds.dsBm.bmWidth != 1920 || ds.dsBm.bmHeight != 1080 || !ds.dsBm.bmBits) {
        std::printf("the drawing figures need a 1920 x 1080 PNG\n");
        return 0;
    }
    {
        std::vector<std::uint8_t> out(1000 * 600 * 4);
        const fw::ConstPixelView src{static_cast<const std::uint8_t*>(ds.dsBm.bmBits), 1920, 1080, 1920 * 4};
        std::printf("BoxShrink 1920x1080 -> 1000x600                          median %6.2f ms\n",
                    Median(31, [&] { fw::BoxShrink(src, fw::PixelView{out.data(), 1000, 600, 1000 * 4}); }));
    }
    {
        std::vector<std::uint8_t> copy(1920 * 1080 * 4);
        BITMAPINFO bi = fw::TopDown32Info(1920, 1080);
        const fw::MemoryDc dc(::CreateCompatibleDC(nullptr));
        std::printf("  of which GetDIBits 1920x1080 to 32bpp top-down         median %6.2f ms\n",
                    Median(31, [&] { ::GetDIBits(dc.get(), slide.get(), 0, 1080, copy.data(), &bi, DIB_RGB_COLORS); }));
        Target small(1000, 600);
        bi.bmiHeader.biWidth = 1000, bi.bmiHeader.biHeight = -600;
        std::printf("  of which StretchDIBits 1000x600 1:1                    median %6.2f ms\n",
                    Median(31, [&] { ::StretchDIBits(small.dc.get(), 0, 0, 1000, 600, 0, 0, 1000, 600, copy.data(), &bi, DIB_RGB_COLORS, SRCCOPY); }));
    }
    {
        Target big(1920, 1080), small(1000, 600);
        std::printf("HalftoneBlit 1920x1080 -> 1000x600 (memory DC)           median %6.2f ms\n",
                    Median(31, [&] { fw::HalftoneBlit(small.dc.get(), 0, 0, 1000, 600, slide.get()); }));
        std::printf("HalftoneBlit 1920x1080 -> 1017x613 (memory DC)           median %6.2f ms\n",
                    Median(31, [&] { fw::HalftoneBlit(small.dc.get(), 0, 0, 1017, 613, slide.get()); }));
        std::printf("HalftoneBlit 1920x1080 1:1 (memory DC)                   median %6.2f ms\n",
                    Median(31, [&] { fw::HalftoneBlit(big.dc.get(), 0, 0, 1920, 1080, slide.get()); }));
        std::printf("HalftoneBlit 1920x1080 -> 1920x600 (mixed: one axis 1:1) median %6.2f ms\n",
                    Median(31, [&] { fw::HalftoneBlit(big.dc.get(), 0, 0, 1920, 600, slide.get()); }));
        Target mid(1000, 600);
        fw::HalftoneBlit(mid.dc.get(), 0, 0, 1000, 600, slide.get());
        std::printf("HalftoneBlit 1000x600 -> 1920x1080 (grows, HALFTONE)     median %6.2f ms\n",
                    Median(15, [&] { fw::HalftoneBlit(big.dc.get(), 0, 0, 1920, 1080, mid.bmp.get()); }));
        std::printf("platform StretchBlt HALFTONE 1920x1080 -> 1000x600       median %6.2f ms (does not average)\n",
                    Median(31, [&] { PlatformHalftone(small.dc.get(), 1000, 600, slide.get(), 1920, 1080); }));
        {
            const fw::WindowDc screen(nullptr);
            const fw::MemoryDc dc(::CreateCompatibleDC(screen.get()));
            const fw::Bitmap ddb(::CreateCompatibleBitmap(screen.get(), 1000, 600));
            const fw::ScopedSelect sel(dc.get(), ddb.get());
            std::printf("HalftoneBlit 1920x1080 -> 1000x600 (screen-compatible)   median %6.2f ms\n",
                        Median(31, [&] { fw::HalftoneBlit(dc.get(), 0, 0, 1000, 600, slide.get()); }));
        }
        std::printf("paint path: LoadImageFile(png) + HalftoneBlit -> 1000x600  median %6.1f ms\n",
                    Median(runs, [&] {
                        const fw::Bitmap b = fw::LoadImageFile(png.c_str());
                        fw::HalftoneBlit(small.dc.get(), 0, 0, 1000, 600, b.get());
                    }));
    }
    return 0;
}
