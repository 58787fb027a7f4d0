#include "launch/simulator_rules.h"

#include <iterator>

#include "launch/target_names.h"

bool IsSimulatorTitle(const wchar_t* title) {
    if (!title) return false;
    constexpr size_t kPrefixLength = std::size(SimulatorTitlePrefix) - 1;
    for (size_t i = 0; i < kPrefixLength; ++i) {
        // A shorter title stops here at its terminator, which matches no prefix character.
        if (title[i] != SimulatorTitlePrefix[i]) return false;
    }
    const wchar_t* rest = title + kPrefixLength;
    return rest[0] == L'\0' || (rest[0] == L' ' && rest[1] == L'-');
}

bool IsSimulatorWindow(const wchar_t* title, const wchar_t* className) {
    if (!IsSimulatorTitle(title)) return false;
    if (!className) return true;
    // Class names are matched without regard to case, as the system matches them.
    return !EqualsNoCase(className, kGhostWindowClass);
}

const wchar_t* DefaultSimulatorPathFor(unsigned nativeArchitecture) {
    return nativeArchitecture == kArchitectureAmd64 ? L"C:\\Program Files\\Quillmere\\CirceloVexa\\Vexax64.exe"
                                                    : L"C:\\Program Files\\Quillmere\\CirceloVexa\\Vexax86.exe";
}

const wchar_t* DefaultSimulatorExeFor(unsigned nativeArchitecture) {
    return nativeArchitecture == kArchitectureAmd64 ? L"Vexax64.exe" : L"Vexax86.exe";
}

std::optional<std::wstring_view> RegistryText(const wchar_t* data, size_t charsRead, size_t capacity) {
    if (!data) return std::wstring_view();
    const size_t bound = charsRead < capacity ? charsRead : capacity;
    size_t length = 0;
    while (length < bound && data[length] != L'\0') ++length;
    if (length == capacity) return std::nullopt;
    return std::wstring_view(data, length);
}

std::optional<std::wstring> OpenCommandKeyFor(std::wstring_view fileType, size_t capacity) {
    constexpr size_t kSuffixLength = std::size(kOpenCommandKeySuffix) - 1;
    if (fileType.size() + kSuffixLength + 1 > capacity) return std::nullopt;
    std::wstring key(fileType);
    key += kOpenCommandKeySuffix;
    return key;
}

std::optional<SimulatorLocation> ParseOpenCommand(std::wstring_view command) {
    const size_t placeholder = command.find(L"\"%1\"");
    if (placeholder == std::wstring_view::npos) return std::nullopt;
    const std::wstring_view head = command.substr(0, placeholder);

    const size_t opening = head.find(L'"');
    if (opening == std::wstring_view::npos) return std::nullopt;
    // The path ends at its own closing mark: options between it and "%1" may be quoted too.
    // With one quotation mark only, the path has lost its opening one: nothing to trust.
    const size_t closing = head.find(L'"', opening + 1);
    if (closing == std::wstring_view::npos) return std::nullopt;

    const std::wstring_view path = head.substr(opening + 1, closing - opening - 1);
    const size_t slash = path.rfind(L'\\');
    if (slash == std::wstring_view::npos) return std::nullopt;
    if (path.size() + 1 > kSimulatorNameChars) return std::nullopt;
    return SimulatorLocation{std::wstring(path), std::wstring(path.substr(slash + 1))};
}
