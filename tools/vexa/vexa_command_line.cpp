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

// The number after `name` ("-slow=", "-block="), when the argument is that switch.
bool MillisecondsSwitch(std::wstring_view text, std::string_view name, unsigned& ms) {
    if (text.size() <= name.size() || !EqualsFolded(text.substr(0, name.size()), name)) return false;
    unsigned value = 0;
    for (const wchar_t c : text.substr(name.size())) {
        if (c < L'0' || c > L'9' || value > 100000000) return false;
        value = value * 10 + static_cast<unsigned>(c - L'0');
    }
    ms = value;
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
        } else if (MillisecondsSwitch(argument, "-slow=", request.slowReplyMs) ||
                   MillisecondsSwitch(argument, "-block=", request.blockReplyMs)) {
        } else if (argument.size() > 7 && EqualsFolded(std::wstring_view(argument).substr(0, 7), "-ghost=")) {
            request.ghostOf = argument.substr(7);
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
