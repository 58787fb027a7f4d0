// A file handed to a running simulator by message, and the wait for its answer: the path in a
// global atom that lives until the simulator has answered, the judgement of a simulator that
// hangs, and the messages a hung simulator still holds.
#include <memory>
#include <string>
#include <vector>

#include "framework/gdi.h"
#include "launch/simulator.h"

namespace {

// A message sent to the simulator without waiting (a file's, or an empty probe), and its answer
// once it has come. The atom that names the file lives as long as the record: the simulator
// reads it while it handles the message, however late that is.
struct PendingReply {
    fw::GlobalAtom atom;
    HWND window = nullptr;
    UINT message = 0;  // 0 for a probe
    std::wstring path;
    bool replied = false;
    LRESULT result = 0;
};

// Answers that the presenter stopped waiting for, from simulators that hung or went; each goes
// when its answer comes. The atoms of those still unanswered when the presenter ends stay in the
// system's table: the simulator reads them when it wakes, and deletes nothing itself.
struct Unanswered {
    std::vector<std::unique_ptr<PendingReply>> list;
    Unanswered() = default;
    Unanswered(const Unanswered&) = delete;
    Unanswered& operator=(const Unanswered&) = delete;
    ~Unanswered() {
        for (auto& pending : list)
            if (!pending->replied) pending->atom.release();
    }
};

std::vector<std::unique_ptr<PendingReply>>& Abandoned() {
    static Unanswered abandoned;
    return abandoned.list;
}

void CALLBACK OnReply(HWND, UINT, ULONG_PTR data, LRESULT result) {
    auto* pending = reinterpret_cast<PendingReply*>(data);
    pending->replied = true;
    pending->result = result;
    std::erase_if(Abandoned(), [pending](const std::unique_ptr<PendingReply>& p) { return p.get() == pending; });
}

// Whether `hwnd` still holds a file message it has not answered. Records of windows that went
// are let go: their answers never come, and their atoms are of no use to anyone.
bool HoldsAMessage(HWND hwnd) {
    auto& abandoned = Abandoned();
    std::erase_if(abandoned, [](const std::unique_ptr<PendingReply>& p) { return !::IsWindow(p->window); });
    for (const auto& p : abandoned)
        if (p->window == hwnd && p->message != 0) return true;
    return false;
}

bool HoldsThisMessage(HWND hwnd, UINT message, const std::wstring& path) {
    for (const auto& p : Abandoned())
        if (p->window == hwnd && p->message == message && p->path == path) return true;
    return false;
}

// The message sent with its callback: the answer lands in the record, whenever it comes.
std::unique_ptr<PendingReply> SendWithCallback(HWND hwnd, UINT message, const std::wstring& path) {
    auto pending = std::make_unique<PendingReply>();
    pending->window = hwnd;
    pending->message = message;
    pending->path = path;
    if (message != 0) {
        // A global atom name holds at most 255 characters; a longer path cannot travel this way.
        pending->atom.reset(::GlobalAddAtomW(path.c_str()));
        if (!pending->atom) return nullptr;
    }
    if (!::SendMessageCallbackW(hwnd, message == 0 ? WM_NULL : message, static_cast<WPARAM>(pending->atom.get()), 0,
                                &OnReply, reinterpret_cast<ULONG_PTR>(pending.get())))
        return nullptr;
    return pending;
}

enum class Wait { Answered, WindowGone, Hung };

// Handles the messages other threads sent to this one, answers among them.
void TakeSentMessages() {
    MSG msg;
    ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
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
        TakeSentMessages();
        if (pending.replied) break;
        if (!::IsWindow(hwnd)) {
            // A simulator may answer and close its window at once: the answer may have come
            // after the look above.
            TakeSentMessages();
            if (!pending.replied) outcome = Wait::WindowGone;
            break;
        }
        const ULONGLONG now = ::GetTickCount64();
        if (now < firstJudgement) continue;
        if (::IsHungAppWindow(hwnd) || (probe && !probe->replied && now - probeSent >= kSimulatorHungTimeoutMs)) {
            outcome = Wait::Hung;
            break;
        }
        if (!probe || probe->replied) {
            probe = SendWithCallback(hwnd, 0, std::wstring());
            probeSent = now;
        }
    }
    // A probe still out goes when its answer comes, as the message does.
    if (probe && !probe->replied) Abandoned().push_back(std::move(probe));
    return outcome;
}

}  // namespace

SimulatorReply SendSimulatorMessage(HWND hwnd, UINT message, const wchar_t* pathArg) {
    if (!hwnd || !pathArg) return SimulatorReply::Refused;
    // The caller's text may live in a buffer that a message handled during the wait rewrites.
    const std::wstring path(pathArg);
    // A simulator that holds a message answers nothing else until it wakes: waiting for it again
    // would hold the speaker as long once more, for each click.
    if (HoldsAMessage(hwnd)) {
        if (!HoldsThisMessage(hwnd, message, path)) {
            auto pending = SendWithCallback(hwnd, message, path);
            if (!pending) return SimulatorReply::Refused;
            Abandoned().push_back(std::move(pending));
        }
        return SimulatorReply::Held;
    }
    auto pending = SendWithCallback(hwnd, message, path);
    if (!pending) return SimulatorReply::Refused;
    const Wait wait = AwaitReply(hwnd, *pending);
    if (wait != Wait::Answered) {
        // The answer may still come: the atom waits for it, and goes with it.
        Abandoned().push_back(std::move(pending));
        return wait == Wait::Hung ? SimulatorReply::Held : SimulatorReply::Refused;
    }
    return pending->result == static_cast<LRESULT>(message) ? SimulatorReply::Accepted : SimulatorReply::Refused;
}
