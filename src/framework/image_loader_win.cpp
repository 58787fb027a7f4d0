#include "framework/image_loader.h"

#include "framework/com_apartment.h"
#include "framework/image_header.h"

#include <objbase.h>
#include <wincodec.h>
#include <wrl/client.h>

#include <cstdint>
#include <memory>
#include <new>
#include <span>

namespace fw {
namespace {

using Microsoft::WRL::ComPtr;

// Files above this are refused unread: a JPEG photo at the size guard's 64 Mpixel limit takes
// a fraction of it, a slide PNG a few MB, and the whole file is held in memory while decoding.
constexpr std::uint64_t kMaxImageFileBytes = 256ull * 1024 * 1024;

struct FileBytes {
    std::unique_ptr<std::uint8_t[]> data;
    std::size_t size = 0;
    std::span<const std::uint8_t> span() const { return {data.get(), size}; }
};

// The whole file in one read: the guard and the decoder then see the same bytes, even if the
// file changes on disk meanwhile.
FileBytes ReadWholeFile(const wchar_t* path) {
    const HANDLE raw = ::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (raw == INVALID_HANDLE_VALUE) return {};
    const KernelHandle file(raw);
    LARGE_INTEGER size{};
    if (::GetFileType(raw) != FILE_TYPE_DISK || !::GetFileSizeEx(raw, &size)) return {};
    if (size.QuadPart <= 0 || static_cast<std::uint64_t>(size.QuadPart) > kMaxImageFileBytes) return {};
    FileBytes bytes{std::unique_ptr<std::uint8_t[]>(new (std::nothrow) std::uint8_t[size.QuadPart]),
                    static_cast<std::size_t>(size.QuadPart)};
    if (!bytes.data) return {};
    std::size_t done = 0;
    while (done < bytes.size) {
        DWORD got = 0;
        if (!::ReadFile(raw, bytes.data.get() + done, static_cast<DWORD>(bytes.size - done), &got, nullptr) || got == 0)
            return {};
        done += got;
    }
    return bytes;
}

// WIC needs COM on the calling thread. Start-up enters it on the user-interface thread; any
// other thread that decodes enters it with its first decode and leaves it when the thread ends,
// so all its decodes share it: leaving it after each decode would let Windows unload the codec
// DLLs at every last CoUninitialize.
bool EnsureCom() {
    thread_local const ComApartment apartment;
    return apartment.Usable();
}

Bitmap CreateTopDownDib(UINT width, UINT height, void** bits) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = static_cast<LONG>(width);
    bi.bmiHeader.biHeight = -static_cast<LONG>(height);
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    return Bitmap(::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, bits, nullptr, 0));
}

// Only the decoder of the format that the signature named is ever given the bytes.
Bitmap DecodeWithWic(std::span<const std::uint8_t> bytes, const ImageHeader& header) {
    ComPtr<IWICImagingFactory> factory;
    if (FAILED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&factory))))
        return {};
    ComPtr<IWICStream> stream;
    if (FAILED(factory->CreateStream(&stream)) ||
        FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size()))))
        return {};
    const GUID& container = header.format == ImageFormat::Png ? GUID_ContainerFormatPng : GUID_ContainerFormatJpeg;
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    if (FAILED(factory->CreateDecoder(container, nullptr, &decoder)) ||
        FAILED(decoder->Initialize(stream.Get(), WICDecodeMetadataCacheOnDemand)) ||
        FAILED(decoder->GetFrame(0, &frame)))
        return {};
    UINT width = 0, height = 0;
    // The guard judged the header's size; a decoder that sees another size is not trusted.
    if (FAILED(frame->GetSize(&width, &height)) || width != header.width || height != header.height) return {};
    ComPtr<IWICFormatConverter> converter;
    if (FAILED(factory->CreateFormatConverter(&converter)) ||
        FAILED(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone, nullptr,
                                     0.0, WICBitmapPaletteTypeCustom)))
        return {};
    void* bits = nullptr;
    Bitmap bitmap = CreateTopDownDib(width, height, &bits);
    if (!bitmap) return {};
    const UINT stride = width * 4;
    if (FAILED(converter->CopyPixels(nullptr, stride, stride * height, static_cast<BYTE*>(bits)))) return {};
    return bitmap;
}

}  // namespace

Bitmap LoadImageFile(const wchar_t* path) {
    if (!path || !*path) return {};
    const FileBytes file = ReadWholeFile(path);
    if (!file.data) return {};
    const ImageHeader header = ReadImageHeader(file.span());
    if (JudgeImageHeader(header) != ImageVerdict::Accept) return {};
    if (!EnsureCom()) return {};
    return DecodeWithWic(file.span(), header);
}

}  // namespace fw
