#include "console/console_check.h"

#include <algorithm>
#include <utility>

#include "launch/demo_check.h"

std::vector<std::wstring> ConsoleCheckLines(const DemoCheckReport& report) {
    std::vector<std::wstring> lines{DemoCheckSummary(report)};
    if (!report.simulator.exists) lines.push_back(L"Simulator not found: " + report.simulator.path);
    for (const DemoCheckEntry& e : report.entries) {
        if (e.result != DemoResult::Missing && e.result != DemoResult::Unreadable) continue;
        lines.push_back(L"Slide " + std::to_wstring(e.row + 1) + L": " + e.file + L" " + DemoResultText(e.result));
    }
    return lines;
}

CheckLinesLayout LayOutCheckLines(const ConsoleLayout& layout, int h) {
    const int m = std::max(8, h / 40);
    const int left = layout.counter.left, right = layout.counter.right;
    const int top = layout.clock.bottom + m / 2;
    // Smaller than the clock: a list to read before the talk, not a figure to glance at; and a
    // line such as "Slide 12: VmodeVsImode.asc unreadable" (38 characters of about three fifths
    // of the height each) across the column.
    const int height = std::max(8, std::min(layout.clockHeight * 2 / 3, (right - left) * 5 / 114));
    const int pitch = height * 6 / 5;
    const int room = std::max(0, h - m - top);
    return {{left, top, right, top + pitch}, pitch, height, room / pitch};
}

std::vector<std::wstring> FitCheckLines(const std::vector<std::wstring>& lines, int room) {
    if (room <= 0) return {};
    if (static_cast<int>(lines.size()) <= room) return lines;
    std::vector<std::wstring> fitted(lines.begin(), lines.begin() + (room - 1));
    const size_t left = lines.size() - fitted.size();
    fitted.push_back(room == 1 ? lines.front() : L"and " + std::to_wstring(left) + L" more");
    return fitted;
}
