// Wide texts out of fuzz bytes: UTF-16 code units, two bytes each, little-endian, any value
// (lone surrogates included), and the input cut into several texts at its NUL units.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace fuzz {

inline std::wstring Utf16Units(const std::uint8_t* data, std::size_t size) {
    std::wstring out;
    out.reserve(size / 2);
    for (std::size_t i = 0; i + 1 < size; i += 2)
        out += static_cast<wchar_t>(data[i] | (static_cast<unsigned>(data[i + 1]) << 8));
    return out;
}

// The pieces between NUL units; at least one (possibly empty) piece, never a NUL inside one.
inline std::vector<std::wstring> SplitAtNul(const std::wstring& units) {
    std::vector<std::wstring> pieces(1);
    for (const wchar_t c : units) {
        if (c == L'\0') {
            pieces.emplace_back();
        } else {
            pieces.back() += c;
        }
    }
    return pieces;
}

}  // namespace fuzz
