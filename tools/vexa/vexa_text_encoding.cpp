#include "vexa_text_encoding.h"

namespace vexa {

bool IsUtf8(std::string_view bytes, bool cutShort) {
    size_t i = 0;
    const size_t n = bytes.size();
    while (i < n) {
        const unsigned char c = static_cast<unsigned char>(bytes[i]);
        if (c < 0x80) { ++i; continue; }
        int length;
        unsigned min;
        if (c >= 0xC2 && c <= 0xDF) { length = 2; min = 0x80; }
        else if (c >= 0xE0 && c <= 0xEF) { length = 3; min = 0x800; }
        else if (c >= 0xF0 && c <= 0xF4) { length = 4; min = 0x10000; }
        else return false;
        unsigned value = c & (0x7Fu >> length);
        for (int k = 1; k < length; ++k) {
            if (i + k >= n) return cutShort;
            const unsigned char next = static_cast<unsigned char>(bytes[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            value = (value << 6) | (next & 0x3F);
        }
        if (value < min || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return false;
        i += static_cast<size_t>(length);
    }
    return true;
}

DetectedEncoding DetectEncoding(std::string_view bytes, bool cutShort) {
    if (bytes.starts_with("\xEF\xBB\xBF")) return {TextEncoding::Utf8, 3};
    if (bytes.starts_with("\xFF\xFE")) return {TextEncoding::Utf16Le, 2};
    if (bytes.starts_with("\xFE\xFF")) return {TextEncoding::Utf16Be, 2};

    // ASCII text in UTF-16 has a zero in every other byte; text in 8-bit encodings has almost none.
    const size_t pairs = bytes.size() / 2;
    if (pairs > 0) {
        size_t zeroEven = 0, zeroOdd = 0;
        for (size_t i = 0; i < pairs * 2; i += 2) {
            if (bytes[i] == '\0') ++zeroEven;
            if (bytes[i + 1] == '\0') ++zeroOdd;
        }
        if (zeroOdd * 10 >= pairs * 4 && zeroEven * 10 < pairs) return {TextEncoding::Utf16Le, 0};
        if (zeroEven * 10 >= pairs * 4 && zeroOdd * 10 < pairs) return {TextEncoding::Utf16Be, 0};
    }
    return {IsUtf8(bytes, cutShort) ? TextEncoding::Utf8 : TextEncoding::Ansi, 0};
}

}  // namespace vexa
