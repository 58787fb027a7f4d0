#include "launch/demo_check.h"

#include <algorithm>
#include <cwchar>

DemoFileState DecideDemoFile(const wchar_t* target, TargetFacts at, bool readable) {
    switch (DecideClickAction(target, at)) {
    case ClickAction::Nothing: return DemoFileState::Missing;
    // Picture mode shows a regular file only, and tests it itself at the click.
    case ClickAction::ShowPicture:
        if (!at.isFile) return DemoFileState::Missing;
        break;
    case ClickAction::ShellOpen:
    case ClickAction::RunInSimulator:
    case ClickAction::OpenInSimulator: break;
    }
    // A folder the shell shows has nothing to read.
    return at.isFile && !readable ? DemoFileState::Unreadable : DemoFileState::Ready;
}

bool NeedsSimulator(const wchar_t* target) {
    const ClickAction action = DecideClickAction(target, TargetFacts{true, false});
    return action == ClickAction::RunInSimulator || action == ClickAction::OpenInSimulator;
}

const wchar_t* DemoFileNote(DemoFileState state) {
    switch (state) {
    case DemoFileState::Missing: return L"missing";
    case DemoFileState::Unreadable: return L"unreadable";
    case DemoFileState::Ready: break;
    }
    return nullptr;
}

int DemoCheckReport::Count(DemoResult result) const {
    return static_cast<int>(std::count_if(entries.begin(), entries.end(),
                                          [result](const DemoCheckEntry& e) { return e.result == result; }));
}

bool DemoCheckReport::AllReady() const {
    return simulator.exists && Count(DemoResult::Ready) == static_cast<int>(entries.size());
}

DemoCheckReport DecideDemoCheck(const std::vector<HotspotFacts>& hotspots, const SimulatorFacts& simulator) {
    DemoCheckReport report;
    report.simulator = simulator;
    report.entries.reserve(hotspots.size());
    for (const HotspotFacts& h : hotspots) {
        DemoResult result = DemoResult::Ready;
        switch (DecideDemoFile(h.target, h.at, h.readable)) {
        case DemoFileState::Missing: result = DemoResult::Missing; break;
        case DemoFileState::Unreadable: result = DemoResult::Unreadable; break;
        case DemoFileState::Ready:
            // A folder goes to the shell whatever its name: only a file can need the simulator.
            if (h.at.isFile && NeedsSimulator(h.target) && !simulator.exists) result = DemoResult::NoSimulator;
            break;
        }
        const wchar_t* name = NameToResolve(h.target);
        report.entries.push_back({h.row, name ? name : L"", result});
    }
    return report;
}

const wchar_t* DemoResultText(DemoResult result) {
    switch (result) {
    case DemoResult::Ready: return L"ready";
    case DemoResult::Missing: return L"missing";
    case DemoResult::Unreadable: return L"unreadable";
    case DemoResult::NoSimulator: return L"no simulator";
    }
    return L"";
}

std::wstring DemoCheckSummary(const DemoCheckReport& report) {
    const int ready = report.FilesReady();
    std::wstring text = L"Demos: " + std::to_wstring(ready) + (ready == 1 ? L" file ready" : L" files ready");
    if (const int missing = report.Count(DemoResult::Missing)) text += L", " + std::to_wstring(missing) + L" missing";
    if (const int unreadable = report.Count(DemoResult::Unreadable))
        text += L", " + std::to_wstring(unreadable) + L" unreadable";
    return text + (report.simulator.exists ? L", simulator found" : L", simulator not found");
}

std::wstring SimulatorLine(const SimulatorFacts& simulator) {
    if (simulator.exists) return L"Simulator: " + simulator.path;
    return L"Simulator: not found at " + simulator.path +
           (simulator.registered ? L" (registered to open .asc files)"
                                 : L" (the default place; no program is registered to open .asc files)");
}

std::vector<std::wstring> DemoCheckLines(const DemoCheckReport& report) {
    size_t nameWidth = 0;
    int lastRow = 0;
    for (const DemoCheckEntry& e : report.entries) {
        nameWidth = std::max(nameWidth, e.file.size());
        lastRow = std::max(lastRow, e.row);
    }
    const size_t rowWidth = std::to_wstring(lastRow + 1).size();
    std::vector<std::wstring> lines;
    lines.reserve(report.entries.size() + 2);
    for (const DemoCheckEntry& e : report.entries) {
        const std::wstring number = std::to_wstring(e.row + 1);
        std::wstring line = L"Slide " + std::wstring(rowWidth - number.size(), L' ') + number + L"  " + e.file;
        line += std::wstring(nameWidth - e.file.size() + 2, L' ');
        lines.push_back(line + DemoResultText(e.result));
    }
    lines.push_back(SimulatorLine(report.simulator));
    lines.push_back(DemoCheckSummary(report));
    return lines;
}
