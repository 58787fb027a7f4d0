// Conversions between the window's UTF-16 text and the UTF-8 of logs and parsing.
#pragma once
#include <string>
#include <string_view>

namespace vexa {

std::string ToUtf8(std::wstring_view text);
std::wstring FromUtf8(std::string_view text);

}  // namespace vexa
