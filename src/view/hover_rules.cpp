#include "view/hover_rules.h"

bool HoverPausedAfterClick(double now, double clickTime) { return !(now - clickTime > kHoverPauseAfterClick); }

HoverStep DecideHover(const HoverInput& in) {
    if (in.flags != 0 || in.pictureMode || HoverPausedAfterClick(in.now, in.clickTime))
        return {true, HoverDraw::Nothing};
    if (in.hit) return {in.hit != in.shownSpot, HoverDraw::Hotspot};
    if (in.onCorner) return {in.shownSpot != nullptr, HoverDraw::Corner};
    return {true, HoverDraw::Nothing};
}

bool InsideSlideInclusive(const SlideRect& rc, int x, int y) {
    return x >= rc.left && x <= rc.right && y >= rc.top && y <= rc.bottom;
}

const wchar_t* HoverLabelText(const wchar_t* target) {
    if (!target) return L"";
    return target[0] == L'!' ? target + 1 : target;
}

std::wstring HoverLabelFor(const wchar_t* target, const wchar_t* note) {
    std::wstring label = HoverLabelText(target);
    if (note && *note) label += std::wstring(L" (") + note + L")";
    return label;
}

HoverLabelPlacement PlaceHoverLabel(int s, double L, double T) {
    return {Trunc(static_cast<double>(s >> 1) + L + 0.5), RoundHalfUp(T), RoundHalfUp(static_cast<double>(s) * 0.7)};
}

double WallClockSeconds(long long seconds, unsigned milliseconds) {
    return static_cast<double>(seconds) + static_cast<double>(milliseconds) * 0.001;
}
