// The simulator's main window and the requests it takes: open and run, by window
// message (a global atom naming the file) or from the command line.
#pragma once
#include "vexa_simulator_state.h"

#include <windows.h>

#include <string>

namespace vexa {

inline constexpr UINT kOpenMessage = WM_APP + 9;
inline constexpr UINT kRunMessage = WM_APP + 10;
static_assert(kOpenMessage == 32777 && kRunMessage == 32778, "the presenter sends these numbers");

inline constexpr wchar_t kTitle[] = L"Circelo Vexa";

class SimulatorWindow {
public:
    // `refuseMessages`: answer open and run messages with 0, as a simulator that is busy would.
    // `slowReplyMs`: take that long over each of them, answering other messages meanwhile.
    // `blockReplyMs`: take that long over each of them, handling no message meanwhile.
    SimulatorWindow(bool refuseMessages, unsigned slowReplyMs, unsigned blockReplyMs)
        : refuseMessages_(refuseMessages), slowReplyMs_(slowReplyMs), blockReplyMs_(blockReplyMs) {}
    SimulatorWindow(const SimulatorWindow&) = delete;
    SimulatorWindow& operator=(const SimulatorWindow&) = delete;

    bool Create(HINSTANCE instance);
    HWND hwnd() const { return hwnd_; }

    void Open(const std::wstring& path);
    // Simulates the open file; nothing without one.
    void Run();

private:
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnFileRequest(UINT msg, WPARAM wParam);
    void OnWheel(int delta);
    void Refresh();

    bool refuseMessages_;
    unsigned slowReplyMs_;
    unsigned blockReplyMs_;
    HWND hwnd_ = nullptr;
    SimulatorState state_;
};

}  // namespace vexa
