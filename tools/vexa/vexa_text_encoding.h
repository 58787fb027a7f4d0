// Which encoding a circuit file's bytes are in, so the viewer can show them.
#pragma once
#include <cstddef>
#include <string_view>

namespace vexa {

enum class TextEncoding { Utf8, Utf16Le, Utf16Be, Ansi };

struct DetectedEncoding {
    TextEncoding encoding = TextEncoding::Utf8;
    size_t bomLength = 0;  // bytes to skip before the text
};

// Byte-order marks decide first; then UTF-16 without a mark is recognised by its zero
// bytes (schematic files are often saved so), then strict UTF-8; anything else is ANSI.
// `cutShort`: the bytes are only the start of a longer file, so the last character may be cut.
DetectedEncoding DetectEncoding(std::string_view bytes, bool cutShort = false);

// Well-formed UTF-8: no stray continuation bytes, overlong forms, surrogates or values past
// U+10FFFF. With `cutShort`, an incomplete sequence at the very end is accepted.
bool IsUtf8(std::string_view bytes, bool cutShort = false);

}  // namespace vexa
