#include "vexa_waveform_win.h"

#include "vexa_gdi_win.h"
#include "vexa_plot_axes.h"
#include "vexa_text_win.h"
#include "vexa_transient.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace vexa {
namespace {

constexpr COLORREF kBackground = RGB(16, 20, 26);
constexpr COLORREF kPlotFace = RGB(10, 14, 18);
constexpr COLORREF kGrid = RGB(44, 56, 62);
constexpr COLORREF kZeroLine = RGB(86, 100, 108);
constexpr COLORREF kFrame = RGB(120, 136, 144);
constexpr COLORREF kLabel = RGB(176, 188, 196);
constexpr COLORREF kOutputTrace = RGB(64, 232, 120);
constexpr COLORREF kInputTrace = RGB(232, 190, 64);

constexpr int kLeftMargin = 64;
constexpr int kRightMargin = 16;
constexpr int kTopMargin = 26;
constexpr int kBottomMargin = 28;

struct Range { double low, high; };

Range VoltageRange(const Waveform& w) {
    double low = 0.0, high = 0.0;
    for (const auto* trace : {&w.input, &w.output}) {
        for (double v : *trace) {
            if (!std::isfinite(v)) continue;
            low = std::min(low, v);
            high = std::max(high, v);
        }
    }
    if (high - low < 1e-12) { low -= 1.0; high += 1.0; }
    const double pad = (high - low) * 0.08;
    return {low - pad, high + pad};
}

// Maps data to pixels inside the plot rectangle.
struct Mapping {
    RECT plot;
    Range x, y;
    int X(double t) const {
        return plot.left + static_cast<int>(std::lround((t - x.low) / (x.high - x.low) * (plot.right - plot.left - 1)));
    }
    int Y(double v) const {
        const double clamped = std::clamp(std::isfinite(v) ? v : 0.0, y.low, y.high);
        return plot.bottom - 1 - static_cast<int>(std::lround((clamped - y.low) / (y.high - y.low) * (plot.bottom - plot.top - 1)));
    }
};

void DrawTrace(HDC dc, const Mapping& m, const std::vector<double>& time, const std::vector<double>& values,
               COLORREF color, int width) {
    std::vector<POINT> points;
    points.reserve(time.size());
    for (size_t i = 0; i < time.size() && i < values.size(); ++i) points.push_back({m.X(time[i]), m.Y(values[i])});
    if (points.size() < 2) return;
    fw::Pen pen(::CreatePen(PS_SOLID, width, color));
    fw::ScopedSelect usePen(dc, pen.get());
    ::Polyline(dc, points.data(), static_cast<int>(points.size()));
}

void DrawLine(HDC dc, int x0, int y0, int x1, int y1) {
    ::MoveToEx(dc, x0, y0, nullptr);
    ::LineTo(dc, x1, y1);
}

void DrawGridAndLabels(HDC dc, const Mapping& m, bool labelled) {
    const RECT& plot = m.plot;
    fw::Pen gridPen(::CreatePen(PS_SOLID, 1, kGrid));
    fw::Pen zeroPen(::CreatePen(PS_SOLID, 1, kZeroLine));
    fw::Font labelFont = MakeFont(12, false);
    fw::ScopedSelect useFont(dc, labelFont.get());
    ::SetTextColor(dc, kLabel);

    const AxisTicks timeTicks = ChooseTicks(m.x.low, m.x.high, std::max(2, static_cast<int>(plot.right - plot.left) / 90));
    const AxisTicks voltTicks = ChooseTicks(m.y.low, m.y.high, std::max(2, static_cast<int>(plot.bottom - plot.top) / 30));
    const double timeScale = std::max(std::abs(m.x.low), std::abs(m.x.high));
    const double voltScale = std::max(std::abs(m.y.low), std::abs(m.y.high));

    for (double t : timeTicks.values) {
        const int x = m.X(t);
        {
            fw::ScopedSelect usePen(dc, gridPen.get());
            DrawLine(dc, x, plot.top, x, plot.bottom);
        }
        if (labelled) {
            const std::wstring label = FromUtf8(FormatTick(t, timeTicks.step, timeScale, "s"));
            // The last label would overhang the panel's right edge; it is pulled back inside.
            const int width = TextWidth(dc, label);
            DrawTextAt(dc, std::min<int>(x - width / 2, plot.right + kRightMargin - 2 - width), plot.bottom + 6, label);
        }
    }
    for (double v : voltTicks.values) {
        const int y = m.Y(v);
        {
            fw::ScopedSelect usePen(dc, v == 0.0 ? zeroPen.get() : gridPen.get());
            DrawLine(dc, plot.left, y, plot.right, y);
        }
        if (labelled) {
            const std::wstring label = FromUtf8(FormatTick(v, voltTicks.step, voltScale, "V"));
            DrawTextAt(dc, plot.left - 6 - TextWidth(dc, label), y - 7, label);
        }
    }
}

void DrawFrame(HDC dc, const RECT& plot) {
    fw::Pen framePen(::CreatePen(PS_SOLID, 1, kFrame));
    fw::ScopedSelect usePen(dc, framePen.get());
    fw::ScopedSelect noFill(dc, ::GetStockObject(NULL_BRUSH));
    ::Rectangle(dc, plot.left - 1, plot.top - 1, plot.right + 1, plot.bottom + 1);
}

void DrawLegend(HDC dc, const RECT& area, const RECT& plot) {
    fw::Font font = MakeFont(12, false, FW_BOLD);
    fw::ScopedSelect useFont(dc, font.get());
    struct Entry { const wchar_t* name; COLORREF color; };
    static constexpr Entry kEntries[] = {{L"V(out)", kOutputTrace}, {L"V(in)", kInputTrace}};
    int x = plot.left;
    for (const Entry& e : kEntries) {
        FillSolid(dc, RECT{x, area.top + 11, x + 18, area.top + 14}, e.color);
        ::SetTextColor(dc, e.color);
        DrawTextAt(dc, x + 24, area.top + 5, e.name);
        x += 24 + TextWidth(dc, e.name) + 24;
    }
    ::SetTextColor(dc, kLabel);
    const std::wstring title = L"Transient analysis";
    DrawTextAt(dc, plot.right - TextWidth(dc, title), area.top + 5, title);
}

}  // namespace

void DrawWaveform(HDC dc, const RECT& area, const Waveform* waveform) {
    FillSolid(dc, area, kBackground);
    ::SetBkMode(dc, TRANSPARENT);
    const RECT plot{area.left + kLeftMargin, area.top + kTopMargin, area.right - kRightMargin,
                    area.bottom - kBottomMargin};
    if (plot.right - plot.left < 20 || plot.bottom - plot.top < 20) return;
    FillSolid(dc, plot, kPlotFace);

    const bool hasRun = waveform && waveform->time.size() >= 2 && waveform->stopTime > 0.0;
    Mapping m{plot, {0.0, hasRun ? waveform->stopTime : 10.0}, hasRun ? VoltageRange(*waveform) : Range{-1.0, 1.0}};
    DrawGridAndLabels(dc, m, hasRun);
    DrawFrame(dc, plot);

    if (!hasRun) {
        fw::Font font = MakeFont(14, false);
        fw::ScopedSelect useFont(dc, font.get());
        ::SetTextColor(dc, kLabel);
        const std::wstring hint = L"No simulation has run yet";
        DrawTextAt(dc, (plot.left + plot.right - TextWidth(dc, hint)) / 2, (plot.top + plot.bottom) / 2 - 8, hint);
        return;
    }
    DrawTrace(dc, m, waveform->time, waveform->input, kInputTrace, 1);
    DrawTrace(dc, m, waveform->time, waveform->output, kOutputTrace, 2);
    DrawLegend(dc, area, plot);
}

}  // namespace vexa
