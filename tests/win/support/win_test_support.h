// What the Wine tests share: message pumping, pixels read back from real
// windows and DCs, a GDI object count, the real frame with its view, and the program's
// globals saved and put back.
#pragma once
#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/saved_core_globals.h"
#include "framework/afx.h"
#include "framework/app.h"
#include "launch/simulator_rules.h"

class CMainFrame;
class CPemboroView;
class CSingleDocTemplate;

namespace testing_win {

// Dispatches what is queued, for at least `ms` milliseconds.
void PumpMessages(DWORD ms = 0);
// Pumps until `done` holds or the time runs out; returns `done()`.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs);

// A 32-bit top-down copy of part of a DC.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> bgra;
    COLORREF At(int x, int y) const;  // relative to the rectangle read
};
Pixels ReadDc(HDC hdc, const RECT& rc);
Pixels ReadWindow(HWND hwnd, const RECT& rc);
Pixels ReadWindow(HWND hwnd);  // the whole client area

// A window's rectangle, and its client area, in screen coordinates.
CRect WindowRect(HWND hwnd);
CRect ClientOnScreen(HWND hwnd);

// How many GDI objects the process holds (GetGuiResources reads 0 under Wine).
int CountGdiObjects();

// Processes this test process started itself (directly, or through the code under test) and that
// still run this very executable (full path): told from any the user has open by their parent
// and their image, never by a name alone.
std::vector<DWORD> ChildProcessesRunning(const std::wstring& exePath);
// Running processes whose executable is this full path (a copy the test made).
std::vector<DWORD> ProcessesRunning(const std::wstring& exePath);
// Ends these processes, each by a handle opened on its id, and waits for each to be gone.
void EndProcesses(const std::vector<DWORD>& ids);

std::wstring DistDir();         // where the program and the demo deck lie
std::wstring ImageCorpusDir();  // the generated image corpus (see images/image_corpus.h)
std::wstring TempDir();         // a fresh folder for this test process

// Every global of the program as the test found it, put back when the object goes: the slide
// table, the slide on screen and the program folder; the start-up switches, logos and talk
// length; the simulator's path and file name with their buffers and the lookup's flag. A pointer that
// pointed into its own buffer points there again, at the text it had. The view's own pointer to
// itself is the view's business and is left alone. Declared first in a fixture (or at the top of
// a test), it outlives the windows the test made, so they never see the globals change under
// them.
class SavedGlobals {
public:
    SavedGlobals();
    ~SavedGlobals();
    SavedGlobals(const SavedGlobals&) = delete;
    SavedGlobals& operator=(const SavedGlobals&) = delete;

    // A row of the slide table as it was when the object was made.
    const SlidePage& SavedRow(int row) const { return core_.SavedRow(row); }

private:
    testing_core::SavedCoreGlobals core_;
    bool proMode_;
    bool bigMode_;
    int brandLogoId_;
    int secondLogoId_;
    const wchar_t* simulatorPath_;
    const wchar_t* simulatorExe_;
    std::array<wchar_t, kSimulatorNameChars> simulatorPathBuf_{};
    std::array<wchar_t, kSimulatorNameChars> simulatorExeBuf_{};
    bool simulatorLookupDone_;
};

// An application object for tests: no profile store unless a test sets one.
class TestApp : public CWinApp {
public:
    TestApp() : CWinApp(L"Pemboro") { m_strProfileName = m_strAppName; }
};

// The real main frame and view, made by the real document template, sized so that
// the view's client area is `clientW` x `clientH`; shown and painted unless `show` is false
// (then nothing is painted until Show).
class Presenter {
public:
    Presenter(int clientW, int clientH, bool show = true);
    ~Presenter();
    Presenter(const Presenter&) = delete;
    Presenter& operator=(const Presenter&) = delete;

    CMainFrame* frame() const { return frame_; }
    CPemboroView* view() const { return view_; }
    HWND viewHwnd() const;
    // Shows the frame at the size asked for and lets its first paint happen.
    void Show();
    void Resize(int clientW, int clientH);
    // Paints the view now and returns what it shows.
    Pixels Paint();

private:
    TestApp app_;
    std::unique_ptr<CSingleDocTemplate> template_;
    CMainFrame* frame_ = nullptr;
    CPemboroView* view_ = nullptr;
    int clientW_ = 0;
    int clientH_ = 0;
};

}  // namespace testing_win
