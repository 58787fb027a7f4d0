#include "launch/demo_check_win.h"

#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "deck/deck.h"
#include "framework/gdi.h"
#include "launch/file_tests.h"
#include "launch/simulator.h"
#include "launch/target_names.h"

namespace {

// A hotspot's target, copied: the worker must not read the deck table, which only the window's
// thread may touch.
struct DemoTarget {
    int row;
    std::wstring target;
};

std::vector<DemoTarget> DeckTargets() {
    std::vector<DemoTarget> targets;
    for (int row = 0; row < SLIDE_COUNT; ++row) {
        const SlidePage& slide = g_slideDeck[row];
        for (int i = 0; slide.pSpots && i < slide.nSpots; ++i)
            targets.push_back({row, slide.pSpots[i].pszTarget ? slide.pSpots[i].pszTarget : L""});
    }
    return targets;
}

// Shared every way, as the simulator and the shell open files: only a program that locks the
// file out makes it unreadable, not one that merely has it open.
bool OpensForReading(const wchar_t* path) {
    const HANDLE file = ::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    const fw::KernelHandle owned(file);
    return true;
}

HotspotFacts FactsOf(const wchar_t* dir, int row, const wchar_t* target) {
    wchar_t path[kResolvedPathChars];
    ResolvePathIn(dir, NameToResolve(target), path);
    const TargetFacts at{FileExists(path), DirectoryExists(path)};
    return {row, target, at, at.isFile && OpensForReading(path)};
}

// Where the hand-off would start the simulator: the program the registry names for ".asc"
// files, which start-up and the first fallback move to, else the default place.
SimulatorFacts FindSimulator() {
    SimulatorFacts simulator;
    if (const auto registered = ReadSimulatorAssociation()) {
        simulator.path = registered->path;
        simulator.registered = true;
    } else {
        simulator.path = DefaultSimulatorPathFor(NativeProcessorArchitecture());
    }
    simulator.exists = FileExists(simulator.path.c_str());
    return simulator;
}

DemoCheckReport CheckTargets(const wchar_t* dir, const std::vector<DemoTarget>& targets) {
    std::vector<HotspotFacts> facts;
    facts.reserve(targets.size());
    for (const DemoTarget& t : targets) facts.push_back(FactsOf(dir, t.row, t.target.c_str()));
    return DecideDemoCheck(facts, FindSimulator());
}

// ---- The report handed back to the window's thread ----

struct Pending {
    std::mutex lock;
    std::optional<DemoCheckReport> report;
};

// Touched on the window's thread only.
struct Delivery {
    HWND window = nullptr;
    std::shared_ptr<Pending> pending;
    DemoCheckDone done = nullptr;
};
Delivery g_delivery;

// A timer of the window, with its own procedure: the window's class knows nothing of it, and it
// goes with the window.
constexpr UINT_PTR kDeliveryTimerId = 0x43484B;
constexpr UINT kDeliveryPollMs = 100;

void CALLBACK Deliver(HWND hwnd, UINT, UINT_PTR id, DWORD) {
    if (hwnd != g_delivery.window || !g_delivery.pending) {
        ::KillTimer(hwnd, id);
        return;
    }
    std::optional<DemoCheckReport> report;
    {
        const std::lock_guard<std::mutex> hold(g_delivery.pending->lock);
        report.swap(g_delivery.pending->report);
    }
    if (!report) return;
    ::KillTimer(hwnd, id);
    const DemoCheckDone done = g_delivery.done;
    g_delivery = {};
    done(*report);
}

}  // namespace

DemoFileState CheckDemoFile(const wchar_t* target) {
    const HotspotFacts facts = FactsOf(g_appDir, 0, target);
    return DecideDemoFile(target, facts.at, facts.readable);
}

DemoCheckReport CheckDemos(const wchar_t* dir) { return CheckTargets(dir, DeckTargets()); }

void StartDemoCheck(HWND window, DemoCheckDone done) {
    if (!window || !done) return;
    if (g_delivery.window && ::IsWindow(g_delivery.window)) ::KillTimer(g_delivery.window, kDeliveryTimerId);
    g_delivery = {};
    auto pending = std::make_shared<Pending>();
    try {
        std::thread([pending, dir = std::wstring(g_appDir), targets = DeckTargets()] {
            // Behind the pictures the first slides want.
            ::SetThreadPriority(::GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);
            DemoCheckReport report = CheckTargets(dir.c_str(), targets);
            const std::lock_guard<std::mutex> hold(pending->lock);
            pending->report = std::move(report);
        }).detach();
    } catch (const std::system_error&) {
        return;  // no thread: no report, as when the window goes first
    }
    if (!::SetTimer(window, kDeliveryTimerId, kDeliveryPollMs, &Deliver)) return;
    g_delivery = {window, std::move(pending), done};
}
