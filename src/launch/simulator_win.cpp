// Handing files to the simulator: where it lies (by default for the machine's processor, or
// where the ".asc" open command says), its window found by title, the path passed in a global
// atom, and a new simulator process whenever no window takes the file.
#include <cwchar>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "framework/gdi.h"
#include "launch/process_start_win.h"
#include "launch/simulator.h"
#include "launch/target_names.h"

namespace {

constexpr int kNetlistPolls = 11;
constexpr DWORD kPollIntervalMs = 250;
constexpr int kTitleChars = 1024;

// The default value of HKEY_CLASSES_ROOT\<keyName> as text, read into `buffer` of
// `chars` characters, terminator included; a value without a terminator gets one.
// An empty text when the key has no default value; nothing when the key is missing,
// or when the value does not fit with its terminator.
std::optional<std::wstring_view> ReadDefaultValue(const wchar_t* keyName, wchar_t* buffer, size_t chars) {
    HKEY raw = nullptr;
    if (::RegOpenKeyExW(HKEY_CLASSES_ROOT, keyName, 0, KEY_QUERY_VALUE, &raw) != ERROR_SUCCESS) return std::nullopt;
    fw::RegKey key(raw);
    DWORD bytes = static_cast<DWORD>(chars * sizeof(wchar_t));
    const LONG status = ::RegQueryValueExW(key.get(), nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &bytes);
    if (status == ERROR_FILE_NOT_FOUND) bytes = 0;  // no default value: an empty text
    else if (status != ERROR_SUCCESS) return std::nullopt;
    const auto text = RegistryText(buffer, bytes / sizeof(wchar_t), chars);
    if (!text) return std::nullopt;
    buffer[text->size()] = L'\0';
    return text;
}

template <size_t N>
void CopyText(std::wstring_view text, wchar_t (&target)[N]) {
    const size_t n = text.size() < N - 1 ? text.size() : N - 1;
    std::wmemcpy(target, text.data(), n);
    target[n] = L'\0';
}

// A new simulator: remembered, so that files clicked before its window shows wait for it.
HandOff Started(fw::KernelHandle process) {
    if (!process) return {};
    const DWORD id = ::GetProcessId(process.get());
    RememberStartedSimulator(std::move(process));
    return HandOff{nullptr, id};
}

HandOff StartWithFile(const wchar_t* path, bool run) {
    if (run) return Started(StartProcess(g_simulatorPath, g_simulatorExe, {path, L"-run"}));
    return Started(StartProcess(g_simulatorPath, g_simulatorExe, {path}));
}

// When no running simulator took the file: a new one with the file on its command line.
// The registry is asked once more, the first time only, for a simulator installed since.
HandOff FallbackStart(const wchar_t* path, bool run) {
    if (!g_simulatorLookupDone) {
        LookupSimulatorAssociation();
        g_simulatorLookupDone = true;
    }
    return StartWithFile(path, run);
}

// Whether a top-level window is the simulator's, read as the system holds its title and class:
// asking a window of this process for its text would send it a message, and a thread of ours
// that handles none (a worker's hidden window) would hold the search for ever.
bool IsSimulatorWindowHere(HWND h) {
    wchar_t title[kTitleChars] = {};
    ::InternalGetWindowText(h, title, kTitleChars);
    if (!IsSimulatorTitle(title)) return false;
    wchar_t className[kTitleChars] = {};
    ::GetClassNameW(h, className, kTitleChars);
    return IsSimulatorWindow(title, className);
}

HWND TopWindow() { return ::GetTopWindow(nullptr); }
HWND NextDown(HWND h) { return ::GetWindow(h, GW_HWNDNEXT); }

}  // namespace

WORD NativeProcessorArchitecture() {
    SYSTEM_INFO info{};
    // Looked up by name: older systems lack the native query and get the emulated answer.
    using GetNativeSystemInfoFn = void(WINAPI*)(LPSYSTEM_INFO);
    HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
    auto query = kernel ? reinterpret_cast<GetNativeSystemInfoFn>(
                              reinterpret_cast<void*>(::GetProcAddress(kernel, "GetNativeSystemInfo")))
                        : nullptr;
    if (query) query(&info);
    else ::GetSystemInfo(&info);
    return info.wProcessorArchitecture;
}

// Set during static initialisation, before start-up asks the registry for another place.
const wchar_t* g_simulatorPath = DefaultSimulatorPathFor(NativeProcessorArchitecture());
const wchar_t* g_simulatorExe = DefaultSimulatorExeFor(NativeProcessorArchitecture());
wchar_t g_simulatorPathBuf[kSimulatorNameChars];
wchar_t g_simulatorExeBuf[kSimulatorNameChars];
bool g_simulatorLookupDone = false;

std::optional<SimulatorLocation> ReadSimulatorAssociation() {
    wchar_t fileTypeBuffer[kFileTypeTextChars] = {};
    const auto fileType = ReadDefaultValue(L".asc", fileTypeBuffer, kFileTypeTextChars);
    if (!fileType) return std::nullopt;
    const auto commandKey = OpenCommandKeyFor(*fileType);
    if (!commandKey) return std::nullopt;

    wchar_t commandBuffer[kOpenCommandChars] = {};
    const auto command = ReadDefaultValue(commandKey->c_str(), commandBuffer, kOpenCommandChars);
    if (!command) return std::nullopt;
    return ParseOpenCommand(*command);
}

void LookupSimulatorAssociation() {
    const auto location = ReadSimulatorAssociation();
    if (!location) return;
    CopyText(location->path, g_simulatorPathBuf);
    CopyText(location->exe, g_simulatorExeBuf);
    g_simulatorPath = g_simulatorPathBuf;
    g_simulatorExe = g_simulatorExeBuf;
}

HWND FindSimulatorWindow() {
    // From the top of the z-order down, hidden windows included: a simulator still
    // starting up has not shown its window yet.
    const HWND hwnd = FindInZOrder(TopWindow(), &NextDown, &IsSimulatorWindowHere);
    // Posted to the simulator's thread rather than waited for: a hung simulator would
    // otherwise hold the presenter here.
    if (hwnd)
        ::SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS);
    return hwnd;
}

HWND VisibleSimulatorWindowOf(DWORD id) {
    if (!id) return nullptr;
    return FindInZOrder(TopWindow(), &NextDown, [id](HWND h) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(h, &owner);
        return owner == id && ::IsWindowVisible(h) && IsSimulatorWindowHere(h);
    });
}

HandOff HandToWindowOrStart(HWND hwnd, UINT message, const wchar_t* path) {
    // A simulator that holds the message keeps the file: it opens it when it wakes, and a second
    // simulator would open it again.
    if (hwnd && SendSimulatorMessage(hwnd, message, path) != SimulatorReply::Refused) return HandOff{hwnd, 0};
    return FallbackStart(path, message == SimulatorRunMessage);
}

HandOff OpenInSimulator(const wchar_t* pathArg) {
    if (!pathArg) return {};
    // The caller's text may live in the resolver's buffer, which a message handled during the
    // waits below may rewrite.
    const std::wstring path(pathArg);
    if (ComingSimulator()) return WaitForComingSimulator(SimulatorOpenMessage, path.c_str());
    HWND hwnd = FindSimulatorWindow();
    // With no simulator running, a netlist starts one at once and is handed over by
    // message as soon as its window is up; other files go to the fallback start below.
    if (!hwnd && IsNetlistFile(path.c_str())) {
        StartWithFile(path.c_str(), false);
        for (int poll = 0; poll < kNetlistPolls && !hwnd; ++poll) {
            ::Sleep(kPollIntervalMs);
            hwnd = FindSimulatorWindow();
        }
    }
    return HandToWindowOrStart(hwnd, SimulatorOpenMessage, path.c_str());
}

HandOff RunInSimulator(const wchar_t* pathArg) {
    if (!pathArg) return {};
    const std::wstring path(pathArg);
    if (ComingSimulator()) return WaitForComingSimulator(SimulatorRunMessage, path.c_str());
    return HandToWindowOrStart(FindSimulatorWindow(), SimulatorRunMessage, path.c_str());
}

HandOff StartSimulator() { return Started(StartProcess(g_simulatorPath, g_simulatorExe)); }
