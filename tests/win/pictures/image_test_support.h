// Helpers shared by the image loader and halftone blit tests: a readable 32-bit drawing target,
// test bitmaps and images, and a folder of temporary files.
#pragma once
#include "framework/gdi.h"

#include <objbase.h>
#include <wincodec.h>
#include <wrl/client.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace imgtest {

struct Bgra {
    std::uint8_t b, g, r, a;
};

inline Bgra Grey(std::uint8_t v) { return {v, v, v, 255}; }

// A top-down 32-bit DIB section selected into its own memory DC: draw on dc(), read pixels back.
class Canvas {
public:
    Canvas(int w, int h, Bgra fill = {0x5A, 0x5A, 0x5A, 0xFF}) : w_(w), h_(h), dc_(::CreateCompatibleDC(nullptr)) {
        const BITMAPINFO bi = fw::TopDown32Info(w, h);
        void* bits = nullptr;
        bmp_.reset(::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
        bits_ = static_cast<Bgra*>(bits);
        old_ = ::SelectObject(dc_.get(), bmp_.get());
        for (int i = 0; i < w * h; ++i) bits_[i] = fill;
    }
    ~Canvas() { ::SelectObject(dc_.get(), old_); }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC dc() const { return dc_.get(); }
    Bgra at(int x, int y) const {
        ::GdiFlush();
        return bits_[y * w_ + x];
    }
    int width() const { return w_; }
    int height() const { return h_; }

private:
    int w_, h_;
    fw::MemoryDc dc_;
    fw::Bitmap bmp_;
    Bgra* bits_ = nullptr;
    HGDIOBJ old_ = nullptr;
};

// A 32-bit DIB section filled by pixel(x, y); bottomUp stores the last row first.
template <class F>
fw::Bitmap MakeDib(int w, int h, F pixel, bool bottomUp = false) {
    BITMAPINFO bi = fw::TopDown32Info(w, h);
    if (bottomUp) bi.bmiHeader.biHeight = h;  // the rows stored last to first
    void* bits = nullptr;
    fw::Bitmap bmp(::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    auto* p = static_cast<Bgra*>(bits);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) p[(bottomUp ? h - 1 - y : y) * w + x] = pixel(x, y);
    return bmp;
}

inline fw::Bitmap Checkerboard(int w, int h) {
    return MakeDib(w, h, [](int x, int y) { return (x + y) % 2 ? Grey(255) : Grey(0); });
}

// A fresh folder under the temporary directory, removed with everything in it at scope end.
class TempDir {
public:
    explicit TempDir(const wchar_t* name = L"files") {
        wchar_t base[MAX_PATH];
        ::GetTempPathW(MAX_PATH, base);
        path_ = std::filesystem::path(base) /
                (L"pemboro-img-" + std::to_wstring(::GetCurrentProcessId()) + L"-" + name);
        std::filesystem::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    std::wstring Write(const wchar_t* name, const std::vector<std::uint8_t>& bytes) const {
        const std::filesystem::path p = path_ / name;
        std::ofstream(p, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                 static_cast<std::streamsize>(bytes.size()));
        return p.wstring();
    }
    std::wstring Path(const wchar_t* name) const { return (path_ / name).wstring(); }

private:
    std::filesystem::path path_;
};

// Writes pixel(x, y) as a PNG or JPEG file with the platform's own encoder (24-bit colour, or
// 8-bit grey). Returns false if any step fails.
template <class F>
bool EncodeImage(const std::wstring& path, const GUID& container, int w, int h, F pixel, bool grey = false) {
    using Microsoft::WRL::ComPtr;
    const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    bool ok = false;
    {
        ComPtr<IWICImagingFactory> factory;
        ComPtr<IWICStream> stream;
        ComPtr<IWICBitmapEncoder> encoder;
        ComPtr<IWICBitmapFrameEncode> frame;
        ComPtr<IPropertyBag2> options;
        WICPixelFormatGUID format = grey ? GUID_WICPixelFormat8bppGray : GUID_WICPixelFormat24bppBGR;
        const WICPixelFormatGUID wanted = format;
        const int bytesPerPixel = grey ? 1 : 3;
        const UINT stride = UINT((w * bytesPerPixel + 3) & ~3);
        std::vector<BYTE> rows(std::size_t(stride) * std::size_t(h));
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const Bgra p = pixel(x, y);
                BYTE* out = &rows[std::size_t(y) * stride + std::size_t(x * bytesPerPixel)];
                if (grey) {
                    out[0] = p.g;
                } else {
                    out[0] = p.b, out[1] = p.g, out[2] = p.r;
                }
            }
        ok = SUCCEEDED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&factory))) &&
             SUCCEEDED(factory->CreateStream(&stream)) &&
             SUCCEEDED(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE)) &&
             SUCCEEDED(factory->CreateEncoder(container, nullptr, &encoder)) &&
             SUCCEEDED(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache)) &&
             SUCCEEDED(encoder->CreateNewFrame(&frame, &options)) && SUCCEEDED(frame->Initialize(options.Get())) &&
             SUCCEEDED(frame->SetSize(UINT(w), UINT(h))) && SUCCEEDED(frame->SetPixelFormat(&format)) &&
             format == wanted && SUCCEEDED(frame->WritePixels(UINT(h), stride, UINT(rows.size()), rows.data())) &&
             SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
    }
    if (SUCCEEDED(com)) ::CoUninitialize();
    return ok;
}

inline std::vector<std::uint8_t> ReadBytes(const std::wstring& path) {
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace imgtest
