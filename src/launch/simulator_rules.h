// What the simulator bridge decides without the operating system: which window is the
// simulator's, where the simulator lies by default, what the ".asc" open command says about
// where it lies instead, and the bounded walk down the z-order that looks for its window.
#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>

// --- The simulator's window, told by its title alone --------------------------------------

// The simulator's title, alone or followed by " -" and the open file's name.
inline constexpr wchar_t SimulatorTitlePrefix[] = L"Circelo Vexa";

// Case-sensitive: "Circelo Vexa" and "Circelo Vexa - x.asc" match; "Circelo Vexa2",
// "Circelo Vexa-x" and "Circelo Vexa x" do not. A null title never matches.
bool IsSimulatorTitle(const wchar_t* title);

// The class of the window the system puts in front of a window that has taken no message for a
// while and is clicked: it carries that window's title followed by " (Not Responding)", so the
// title rule takes it, but it belongs to the system and answers every private message with 0.
inline constexpr wchar_t kGhostWindowClass[] = L"Ghost";

// A top-level window is the simulator's when its title says so and it is not the system's ghost
// of it. A null class name counts as no ghost.
bool IsSimulatorWindow(const wchar_t* title, const wchar_t* className);

// --- A simulator the presenter has just started -------------------------------------------

// How long a started simulator may take to show its window. Until then, files for the simulator
// wait for that window rather than start another one, and the show looks for it to place it.
inline constexpr unsigned kNewSimulatorWaitMs = 10000;

// --- Where the simulator lies when the registry names no other place ----------------------

// PROCESSOR_ARCHITECTURE_AMD64: the one architecture that gets the x64 executable; every other
// processor gets the 32-bit one.
inline constexpr unsigned kArchitectureAmd64 = 9;

const wchar_t* DefaultSimulatorPathFor(unsigned nativeArchitecture);
const wchar_t* DefaultSimulatorExeFor(unsigned nativeArchitecture);

// --- The ".asc" open command, with every buffer bound explicit ----------------------------
// Registry texts need not be terminated, nor fit.

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

// --- The walk down the z-order of top-level windows, bounded ------------------------------
// Windows are created and destroyed while it runs: a window it stands on may be gone, or
// moved, so that "the next one down" leads back to windows already seen, or new windows keep
// appearing below. The walk ends at the first window seen twice and after a fixed number of
// steps, whatever happens.

// More top-level windows than a desktop holds in practice; each step reads one title.
inline constexpr std::size_t kZOrderWalkLimit = 65536;

// From `first` down by `next` (a null handle ends the walk), the first handle for which
// `matches` holds, or a null handle.
template <class Handle, class Next, class Matches>
Handle FindInZOrder(Handle first, Next next, Matches matches, std::size_t limit = kZOrderWalkLimit) {
    std::unordered_set<Handle> seen;
    std::size_t steps = 0;
    for (Handle h = first; h && steps < limit; h = next(h), ++steps) {
        if (!seen.insert(h).second) break;
        if (matches(h)) return h;
    }
    return Handle{};
}
