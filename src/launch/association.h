// Reading the simulator's location out of the ".asc" open command, with every
// buffer bound explicit: registry texts need not be terminated, nor fit.
#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// The file type named by ".asc", and the key name built from it, terminator included.
inline constexpr size_t kFileTypeTextChars = 1024;
// The open command as read, terminator included.
inline constexpr size_t kOpenCommandChars = 512;
// The simulator's path and file name as kept, terminator included.
inline constexpr size_t kSimulatorNameChars = 512;

inline constexpr wchar_t kOpenCommandKeySuffix[] = L"\\shell\\open\\command";

// The text a registry read left in a buffer of `capacity` characters, of which it wrote
// `charsRead`: up to the first terminator. Nothing when the value fills the whole buffer
// without one, since its end is then unknown.
std::optional<std::wstring_view> RegistryText(const wchar_t* data, size_t charsRead, size_t capacity);

// The key that holds a file type's open command; nothing when it would not fit
// `capacity` characters with its terminator.
std::optional<std::wstring> OpenCommandKeyFor(std::wstring_view fileType, size_t capacity = kFileTypeTextChars);

struct SimulatorLocation {
    std::wstring path;  // the executable's full path
    std::wstring exe;   // its file name, after the last backslash
};

// From a command such as "C:\Program Files\X\x.exe" "%1": the path is everything between
// the first quotation mark and the next one, before the quoted "%1"; quoted options after
// the path ("C:\X\x.exe" -opt "y" "%1") are not part of it. Nothing when there is no
// quoted "%1", when the path lacks its opening quotation mark, when it holds no
// backslash, or when it would not fit kSimulatorNameChars.
std::optional<SimulatorLocation> ParseOpenCommand(std::wstring_view command);
