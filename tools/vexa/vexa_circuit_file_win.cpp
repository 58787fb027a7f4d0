#include "vexa_circuit_file_win.h"

#include "framework/gdi.h"
#include "vexa_text_encoding.h"
#include "vexa_text_win.h"

namespace vexa {
namespace {

constexpr DWORD kReadLimit = 1u << 20;
constexpr size_t kTabWidth = 4;
constexpr size_t kLineLengthLimit = 400;

bool ReadPrefix(const std::wstring& path, std::string& bytes) {
    fw::KernelHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE) {
        file.release();
        return false;
    }
    bytes.assign(kReadLimit, '\0');
    DWORD total = 0;
    while (total < kReadLimit) {
        DWORD got = 0;
        if (!::ReadFile(file.get(), bytes.data() + total, kReadLimit - total, &got, nullptr)) return false;
        if (got == 0) break;
        total += got;
    }
    bytes.resize(total);
    return true;
}

std::wstring Decode(std::string_view bytes) {
    const DetectedEncoding detected = DetectEncoding(bytes, bytes.size() >= kReadLimit);
    bytes.remove_prefix(detected.bomLength);
    switch (detected.encoding) {
        case TextEncoding::Utf16Le:
        case TextEncoding::Utf16Be: {
            const bool little = detected.encoding == TextEncoding::Utf16Le;
            std::wstring out;
            out.reserve(bytes.size() / 2);
            for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
                const auto lo = static_cast<unsigned char>(bytes[little ? i : i + 1]);
                const auto hi = static_cast<unsigned char>(bytes[little ? i + 1 : i]);
                out.push_back(static_cast<wchar_t>(lo | (hi << 8)));
            }
            return out;
        }
        case TextEncoding::Ansi: {
            const int length = static_cast<int>(bytes.size());
            const int chars = ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, nullptr, 0);
            std::wstring out(static_cast<size_t>(chars > 0 ? chars : 0), L'\0');
            if (chars > 0) ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, out.data(), chars);
            return out;
        }
        case TextEncoding::Utf8:
            break;
    }
    return FromUtf8(bytes);
}

std::wstring DisplayLine(std::wstring_view raw) {
    std::wstring line;
    for (wchar_t c : raw) {
        if (line.size() >= kLineLengthLimit) break;
        if (c == L'\t')
            line.append(kTabWidth - line.size() % kTabWidth, L' ');
        else if (c != L'\r')
            line.push_back(c < L' ' ? L' ' : c);
    }
    return line;
}

}  // namespace

CircuitText LoadCircuitText(const std::wstring& path) {
    CircuitText result;
    std::string bytes;
    if (!ReadPrefix(path, bytes)) return result;
    result.readable = true;
    const std::wstring text = Decode(bytes);
    size_t start = 0;
    while (start <= text.size() && result.lines.size() < static_cast<size_t>(kShownLineLimit)) {
        size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos) end = text.size();
        // The last line break ends the text rather than opening an empty line.
        if (start == text.size() && start > 0) break;
        result.lines.push_back(DisplayLine(std::wstring_view(text).substr(start, end - start)));
        start = end + 1;
    }
    result.utf8 = ToUtf8(text);
    return result;
}

}  // namespace vexa
