// Handing files to the simulator: where it lies (by default for the machine's processor, or
// where the ".asc" open command says), its window found by title, the path passed in a global
// atom, and a new simulator process whenever no window takes the file.
#include <cwchar>
#include <iterator>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

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

// A message sent to the simulator without waiting (a file's, or an empty probe), and its answer
// once it has come. The atom that names the file lives as long as the record: the simulator
// reads it while it handles the message, however late that is.
struct PendingReply {
    fw::GlobalAtom atom;
    bool replied = false;
    LRESULT result = 0;
};

// Answers that the presenter stopped waiting for, from simulators that hung or went; each goes
// when its answer comes, the rest when the presenter ends.
std::vector<std::unique_ptr<PendingReply>>& Abandoned() {
    static std::vector<std::unique_ptr<PendingReply>> abandoned;
    return abandoned;
}

void CALLBACK OnReply(HWND, UINT, ULONG_PTR data, LRESULT result) {
    auto* pending = reinterpret_cast<PendingReply*>(data);
    pending->replied = true;
    pending->result = result;
    auto& abandoned = Abandoned();
    std::erase_if(abandoned, [pending](const std::unique_ptr<PendingReply>& p) { return p.get() == pending; });
}

enum class Wait { Answered, WindowGone, Hung };

// An empty message that only a thread handling its messages answers; the answer, or its
// absence, tells whether the simulator is still at work on its messages.
std::unique_ptr<PendingReply> SendProbe(HWND hwnd) {
    auto probe = std::make_unique<PendingReply>();
    if (!::SendMessageCallbackW(hwnd, WM_NULL, 0, 0, &OnReply, reinterpret_cast<ULONG_PTR>(probe.get())))
        return nullptr;
    return probe;
}

// Waits on this thread for the answer, handling nothing but messages sent from other threads
// (as a plain SendMessage does): no paint, no input. The simulator is judged only once it has
// had kSimulatorPatienceMs: asked at once, the system's hung test counts a thread that idled for
// more than 5 s and has just been woken (by the raise, or by this very message) as hung. From
// then on, the simulator hangs when the system says so, or when an empty message sent to it then
// goes unanswered for the system's hung-window time (a thread stopped while it waited for
// messages does not count as hung under Wine).
Wait AwaitReply(HWND hwnd, const PendingReply& pending) {
    const ULONGLONG firstJudgement = ::GetTickCount64() + kSimulatorPatienceMs;
    std::unique_ptr<PendingReply> probe;
    ULONGLONG probeSent = 0;
    Wait outcome = Wait::Answered;
    while (!pending.replied) {
        ::MsgWaitForMultipleObjectsEx(0, nullptr, kSimulatorHungPollMs, QS_SENDMESSAGE, 0);
        MSG msg;
        ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        if (pending.replied) break;
        if (!::IsWindow(hwnd)) {
            outcome = Wait::WindowGone;
            break;
        }
        const ULONGLONG now = ::GetTickCount64();
        if (now < firstJudgement) continue;
        if (::IsHungAppWindow(hwnd) || (probe && !probe->replied && now - probeSent >= kSimulatorHungTimeoutMs)) {
            outcome = Wait::Hung;
            break;
        }
        if (!probe || probe->replied) {
            probe = SendProbe(hwnd);
            probeSent = now;
        }
    }
    // A probe still out goes when its answer comes, as the message does.
    if (probe && !probe->replied) Abandoned().push_back(std::move(probe));
    return outcome;
}

void StartWithFile(const wchar_t* path, bool run) {
    if (run) StartProcess(g_simulatorPath, g_simulatorExe, {path, L"-run"});
    else StartProcess(g_simulatorPath, g_simulatorExe, {path});
}

// When no running simulator took the file: a new one with the file on its command line.
// The registry is asked once more, the first time only, for a simulator installed since.
void FallbackStart(const wchar_t* path, bool run) {
    if (!g_simulatorLookupDone) {
        LookupSimulatorAssociation();
        g_simulatorLookupDone = true;
    }
    StartWithFile(path, run);
}

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

void LookupSimulatorAssociation() {
    wchar_t fileTypeBuffer[kFileTypeTextChars] = {};
    const auto fileType = ReadDefaultValue(L".asc", fileTypeBuffer, kFileTypeTextChars);
    if (!fileType) return;
    const auto commandKey = OpenCommandKeyFor(*fileType);
    if (!commandKey) return;

    wchar_t commandBuffer[kOpenCommandChars] = {};
    const auto command = ReadDefaultValue(commandKey->c_str(), commandBuffer, kOpenCommandChars);
    if (!command) return;
    const auto location = ParseOpenCommand(*command);
    if (!location) return;

    CopyText(location->path, g_simulatorPathBuf);
    CopyText(location->exe, g_simulatorExeBuf);
    g_simulatorPath = g_simulatorPathBuf;
    g_simulatorExe = g_simulatorExeBuf;
}

HWND FindSimulatorWindow() {
    // From the top of the z-order down, hidden windows included: a simulator still
    // starting up has not shown its window yet. The title is read as the system holds it:
    // asking a window of this process for its text would send it a message, and a thread of
    // ours that handles none (a worker's hidden window) would hold the search for ever.
    const HWND hwnd = FindInZOrder(
        ::GetTopWindow(nullptr), [](HWND h) { return ::GetWindow(h, GW_HWNDNEXT); },
        [](HWND h) {
            wchar_t title[kTitleChars] = {};
            ::InternalGetWindowText(h, title, kTitleChars);
            return IsSimulatorTitle(title);
        });
    // Posted to the simulator's thread rather than waited for: a hung simulator would
    // otherwise hold the presenter here.
    if (hwnd)
        ::SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS);
    return hwnd;
}

SimulatorReply SendSimulatorMessage(HWND hwnd, UINT message, const wchar_t* path) {
    if (!hwnd || !path) return SimulatorReply::Refused;
    auto pending = std::make_unique<PendingReply>();
    // A global atom name holds at most 255 characters; a longer path cannot travel this way.
    pending->atom.reset(::GlobalAddAtomW(path));
    if (!pending->atom) return SimulatorReply::Refused;
    if (!::SendMessageCallbackW(hwnd, message, static_cast<WPARAM>(pending->atom.get()), 0, &OnReply,
                                reinterpret_cast<ULONG_PTR>(pending.get())))
        return SimulatorReply::Refused;
    const Wait wait = AwaitReply(hwnd, *pending);
    if (wait != Wait::Answered) {
        // The answer may still come: the atom waits for it, and goes with it.
        Abandoned().push_back(std::move(pending));
        return wait == Wait::Hung ? SimulatorReply::Held : SimulatorReply::Refused;
    }
    return pending->result == static_cast<LRESULT>(message) ? SimulatorReply::Accepted : SimulatorReply::Refused;
}

namespace {

// A simulator that holds the message keeps the file: it opens it when it wakes, and a second
// simulator would open it again.
bool HandedOver(HWND hwnd, UINT message, const wchar_t* path) {
    return hwnd && SendSimulatorMessage(hwnd, message, path) != SimulatorReply::Refused;
}

}  // namespace

void OpenInSimulator(const wchar_t* path) {
    HWND hwnd = FindSimulatorWindow();
    // With no simulator running, a netlist starts one at once and is handed over by
    // message as soon as its window is up; other files go to the fallback start below.
    if (!hwnd && IsNetlistFile(path)) {
        StartWithFile(path, false);
        for (int poll = 0; poll < kNetlistPolls && !hwnd; ++poll) {
            ::Sleep(kPollIntervalMs);
            hwnd = FindSimulatorWindow();
        }
    }
    if (HandedOver(hwnd, SimulatorOpenMessage, path)) return;
    FallbackStart(path, false);
}

void RunInSimulator(const wchar_t* path) {
    if (HandedOver(FindSimulatorWindow(), SimulatorRunMessage, path)) return;
    FallbackStart(path, true);
}

void StartSimulator() { StartProcess(g_simulatorPath, g_simulatorExe); }
