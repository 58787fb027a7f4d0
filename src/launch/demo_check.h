// The check of every demo before the talk: for each hotspot of the deck, whether a click on it
// would open its file, and whether the simulator that circuits and the corner button need is
// where the hand-off would look for it. The caller gathers what lies on the disk and in the
// registry; what that means is decided here, without the operating system.
#pragma once
#include <string>
#include <vector>

#include "launch/dispatch.h"

// What a click on a hotspot would find of its file.
enum class DemoFileState {
    Ready,       // there, and opens for reading (or a folder the shell shows)
    Missing,     // nothing the click could open: no file, or a folder where a file is needed
    Unreadable,  // there, but it does not open for reading (rights, another program's lock)
};

// `at` is what lies at the resolved path of NameToResolve(target); `readable`, whether that
// file opened for reading. The click's own rules decide what counts as there.
DemoFileState DecideDemoFile(const wchar_t* target, TargetFacts at, bool readable);
// Whether a click on the target hands its file to the simulator, when the file is there.
bool NeedsSimulator(const wchar_t* target);

// "missing" and "unreadable", as the hover label and the report say them; null when ready.
const wchar_t* DemoFileNote(DemoFileState state);

// What was found of one hotspot's file.
struct HotspotFacts {
    int row;                 // the slide's row; the speaker counts from 1
    const wchar_t* target;   // as the deck names it
    TargetFacts at;
    bool readable;
};

// Where the hand-off would start the simulator: the program registered to open ".asc" files
// when the registry names one, else the default place; and whether an executable lies there.
struct SimulatorFacts {
    std::wstring path;
    bool registered = false;
    bool exists = false;
};

enum class DemoResult { Ready, Missing, Unreadable, NoSimulator };

struct DemoCheckEntry {
    int row;
    std::wstring file;  // the name the click looks for: without the run mark
    DemoResult result;
};

struct DemoCheckReport {
    std::vector<DemoCheckEntry> entries;  // in the deck's order
    SimulatorFacts simulator;

    int Count(DemoResult result) const;
    // Files that are there, whether or not the simulator they go to is.
    int FilesReady() const { return Count(DemoResult::Ready) + Count(DemoResult::NoSimulator); }
    // Every file there and the simulator found: the corner button of every slide needs it.
    bool AllReady() const;
};

DemoCheckReport DecideDemoCheck(const std::vector<HotspotFacts>& hotspots, const SimulatorFacts& simulator);

// "ready", "missing", "unreadable", "no simulator".
const wchar_t* DemoResultText(DemoResult result);
// "Demos: 151 files ready, simulator found", or with what is not: "Demos: 149 files ready,
// 1 missing, 1 unreadable, simulator not found".
std::wstring DemoCheckSummary(const DemoCheckReport& report);
// "Simulator: C:\...\Vexax64.exe", or "Simulator: not found at C:\...\Vexax64.exe" and why
// that place was looked at.
std::wstring SimulatorLine(const SimulatorFacts& simulator);
// What the check switch prints: one line per hotspot (slide, file, result), columns aligned;
// then the simulator's line and the summary.
std::vector<std::wstring> DemoCheckLines(const DemoCheckReport& report);
