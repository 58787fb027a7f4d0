#include "pictures/image_loader.h"

#include "pictures/file_identity.h"
#include "pictures/image_header.h"
#include "framework/thread_state.h"

#include <objbase.h>
#include <wincodec.h>
#include <wrl/client.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <optional>
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
    bool opened = false;     // a regular file was opened, whether or not its bytes came
    bool transient = false;  // its bytes did not come for want of memory or of a read that worked
    FileIdentity identity;
    std::span<const std::uint8_t> span() const { return {data.get(), size}; }
};

// The whole file in one read: the guard and the decoder then see the same bytes, even if the
// file changes on disk meanwhile. The identity comes from the open handle, before the read.
FileBytes ReadWholeFile(const wchar_t* path) {
    const HANDLE raw = ::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (raw == INVALID_HANDLE_VALUE) return {};
    const KernelHandle file(raw);
    const std::optional<FileIdentity> identity = IdentityOfOpenFile(raw);
    if (!identity) return {};
    FileBytes bytes;
    bytes.opened = true;
    bytes.identity = *identity;
    const std::uint64_t size = bytes.identity.size;
    if (size == 0 || size > kMaxImageFileBytes) return bytes;
    bytes.data.reset(new (std::nothrow) std::uint8_t[size]);
    if (!bytes.data) {
        bytes.transient = true;
        return bytes;
    }
    bytes.size = static_cast<std::size_t>(size);
    std::size_t done = 0;
    while (done < bytes.size) {
        DWORD got = 0;
        if (!::ReadFile(raw, bytes.data.get() + done, static_cast<DWORD>(bytes.size - done), &got, nullptr) || got == 0) {
            bytes.data.reset();
            bytes.size = 0;
            bytes.transient = true;  // a share or a stick that hiccuped: the file may read next time
            return bytes;
        }
        done += got;
    }
    return bytes;
}

// WIC needs COM on the calling thread. Start-up enters it on the user-interface thread, and the
// threads made for decoding enter the multi-threaded apartment before their first decode; any
// other thread enters a single-threaded one with its first decode. Either way it is left when the
// thread ends, so all its decodes share it: leaving it after each decode would let Windows unload
// the codec DLLs at every last CoUninitialize.
bool EnsureCom() {
    thread_local const ComApartment apartment;
    return apartment.Usable();
}

// What a decode came to: its pixels, or whether its failure was the file's or not.
struct WicResult {
    PixelBuffer pixels;
    bool transient = false;  // the codec could not be had, or memory ran out: not the file's fault
};
WicResult NotTheFile() { return {{}, true}; }

// Only the decoder of the format that the signature named is ever given the bytes.
WicResult DecodeWithWic(std::span<const std::uint8_t> bytes, const ImageHeader& header) {
    ComPtr<IWICImagingFactory> factory;
    if (FAILED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&factory))))
        return NotTheFile();
    ComPtr<IWICStream> stream;
    if (FAILED(factory->CreateStream(&stream)) ||
        FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size()))))
        return NotTheFile();
    const GUID& container = header.format == ImageFormat::Png ? GUID_ContainerFormatPng : GUID_ContainerFormatJpeg;
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    if (FAILED(factory->CreateDecoder(container, nullptr, &decoder))) return NotTheFile();
    if (FAILED(decoder->Initialize(stream.Get(), WICDecodeMetadataCacheOnDemand)) || FAILED(decoder->GetFrame(0, &frame)))
        return {};
    UINT width = 0, height = 0;
    // The guard judged the header's size; a decoder that sees another size is not trusted.
    if (FAILED(frame->GetSize(&width, &height)) || width != header.width || height != header.height) return {};
    ComPtr<IWICFormatConverter> converter;
    if (FAILED(factory->CreateFormatConverter(&converter))) return NotTheFile();
    if (FAILED(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone, nullptr,
                                     0.0, WICBitmapPaletteTypeCustom)))
        return {};
    WicResult result;
    result.pixels = PixelBuffer::Allocate(static_cast<int>(width), static_cast<int>(height));
    if (!result.pixels) return NotTheFile();
    const UINT stride = width * 4;
    if (const HRESULT hr = converter->CopyPixels(nullptr, stride, stride * height, result.pixels.data()); FAILED(hr))
        return hr == E_OUTOFMEMORY ? NotTheFile() : WicResult{};
    return result;
}

}  // namespace

DecodedFile DecodeImageFile(const wchar_t* path, const DecodeRoom& room) {
    if (!path || !*path) return {};
    const FileBytes file = ReadWholeFile(path);
    DecodedFile result{file.opened, file.identity, {}, false};
    result.transient = file.transient;
    if (!file.data) return result;
    const ImageHeader header = ReadImageHeader(file.span());
    if (JudgeImageHeader(header) != ImageVerdict::Accept) return result;
    if (room && !room(static_cast<int>(header.width), static_cast<int>(header.height))) {
        result.deferred = true;
        return result;
    }
    if (!EnsureCom()) {
        result.transient = true;
        return result;
    }
    WicResult decoded = DecodeWithWic(file.span(), header);
    result.pixels = std::move(decoded.pixels);
    result.transient = decoded.transient;
    return result;
}

Bitmap LoadImageFile(const wchar_t* path) {
    const DecodedFile file = DecodeImageFile(path);
    if (!file.pixels) return {};
    BITMAPINFO bi = TopDown32Info(file.pixels.width(), file.pixels.height());
    void* bits = nullptr;
    Bitmap bitmap(::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (bitmap) std::memcpy(bits, file.pixels.data(), file.pixels.bytes());
    return bitmap;
}

}  // namespace fw
