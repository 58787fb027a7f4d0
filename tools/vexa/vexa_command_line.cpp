#include "vexa_command_line.h"

#include <string_view>

namespace vexa {
namespace {

bool EqualsFolded(std::wstring_view text, std::string_view lowerAscii) {
    if (text.size() != lowerAscii.size()) return false;
    for (size_t i = 0; i < text.size(); ++i) {
        wchar_t c = text[i];
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
        if (c != static_cast<wchar_t>(lowerAscii[i])) return false;
    }
    return true;
}

}  // namespace

LaunchRequest ParseLaunchArguments(const std::vector<std::wstring>& arguments) {
    LaunchRequest request;
    for (const std::wstring& argument : arguments) {
        if (EqualsFolded(argument, "-run")) {
            request.run = true;
        } else if (EqualsFolded(argument, "-refuse")) {
            request.refuseMessages = true;
        } else if (!argument.empty()) {
            if (!request.path.empty()) request.path += L' ';
            request.path += argument;
        }
    }
    // Running needs a file; "-run" alone starts empty.
    if (request.path.empty()) request.run = false;
    return request;
}

}  // namespace vexa
