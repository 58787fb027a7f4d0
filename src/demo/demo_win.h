// The show's side of a demo: after a hand-off, the simulator's window goes before the audience
// (onto the show's monitor, maximised, in front) without waiting for the simulator; Page Down and
// Page Up are taken from every program while it runs and bring the show back; a simulator closed
// or minimised, and a click on the console, bring the show back by themselves. The keys stay
// taken until the show is seen in front. The decisions are the pure Demo's; this gathers the
// facts (none of them by a message to the simulator) and carries the actions out.
#pragma once
#include <windows.h>

#include <optional>
#include <string>

#include "demo/demo.h"
#include "framework/gdi.h"

class Talk;
struct HandOff;

// What a demo needs of the show's frame: its window (for the demo's timer and keys), its
// full-screen mode and monitor, its view, and the talk, which hears what runs.
class DemoStage {
public:
    virtual HWND StageWindow() const = 0;
    virtual bool FullScreen() const = 0;
    virtual void ToggleFullScreen() = 0;
    // The monitor full-screen mode covers.
    virtual RECT StageMonitor() const = 0;
    virtual HWND StageView() const = 0;
    virtual Talk& TheTalk() = 0;

protected:
    ~DemoStage() = default;
};

class CDemoRun {
public:
    // The show's timer that looks at the simulator, and the ids of the two keys, on the frame.
    static constexpr UINT_PTR kTimerId = 0x44454D;
    static constexpr UINT kTimerMs = 250;
    static constexpr int kNextKeyId = 0x4401;
    static constexpr int kPriorKeyId = 0x4402;
    // Posted to the frame when the presenter became the active program: the demo looks once the
    // system's activation is over, never from inside it.
    static constexpr UINT kActivatedMessage = WM_APP + 0x44;

    explicit CDemoRun(DemoStage* stage) : m_pFrame(stage) {}
    ~CDemoRun();
    CDemoRun(const CDemoRun&) = delete;
    CDemoRun& operator=(const CDemoRun&) = delete;

    // A hand-off of `path` (null from the corner button) reached the simulator.
    void HandedOver(const HandOff& handOff, const wchar_t* path);
    // The frame's messages: the demo's timer and keys (true: handled, nothing else to do) and
    // the presenter's activation (false: the frame handles it as usual too).
    bool OnFrameMessage(UINT msg, WPARAM wParam, LPARAM lParam);

    bool Running() const { return m_demo.Running(); }
    bool Settled() const { return m_demo.Settled(); }
    std::optional<DemoStatus> Status() const;
    // The simulator window the demo shows, or null.
    HWND Simulator() const { return m_hSimulator; }
    // Whether the keys are taken from other programs now.
    bool KeysTaken() const { return m_bNextTaken || m_bPriorTaken; }

private:
    DemoFacts Facts();
    void Apply(DemoActions actions, UINT key);
    HMONITOR ShowMonitor() const;
    bool CoversShowMonitor(HWND sim) const;
    bool TopOnShowMonitor(HWND sim) const;
    void PlaceSimulator();
    void BringShowBack();
    void TakeKeys();
    void GiveKeysBack();

    // The talk hears what runs (the console shows it), or that nothing does.
    void TellTalk();

    DemoStage* m_pFrame;
    Demo m_demo;
    HWND m_hSimulator = nullptr;   // its window, once known
    DWORD m_simulatorProcess = 0;  // the process started for the demo, until its window is known
    fw::KernelHandle m_process;    // the same, to see it end
    bool m_bNextTaken = false;
    bool m_bPriorTaken = false;
    bool m_bWatching = false;
};

// Seconds on a clock that only goes forward.
double DemoClockNow();
