#include "app/switches.h"

#include <iterator>

#include "talk/talk_time.h"

namespace {
wchar_t FoldUpper(wchar_t c) { return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - L'a' + L'A') : c; }

bool EqualNoCaseN(const wchar_t* a, const wchar_t* b, int n) {
    for (int i = 0; i < n; ++i) {
        if (FoldUpper(a[i]) != FoldUpper(b[i])) return false;
        if (a[i] == L'\0') return true;
    }
    return true;
}

int Length(const wchar_t* s) {
    int n = 0;
    while (s[n]) ++n;
    return n;
}
}  // namespace

const wchar_t* FindNoCase(const wchar_t* text, const wchar_t* word) {
    if (!text || !word || !*text || !*word) return nullptr;
    const int len = Length(word);
    const wchar_t first = FoldUpper(word[0]);
    for (const wchar_t* p = text; *p; ++p) {
        if (FoldUpper(*p) == first && EqualNoCaseN(p, word, len)) return p;
    }
    return nullptr;
}

bool HasSwitchIn(const wchar_t* cmdLineTail, const wchar_t* word) {
    const wchar_t* p = FindNoCase(cmdLineTail, word);
    if (!p || p == cmdLineTail) return false;
    if (p[-1] != L'-' && p[-1] != L'/') return false;
    const wchar_t after = p[Length(word)];
    return after == L'\0' || after == L' ';
}

BrandingChoice ChooseBranding(const wchar_t* cmdLineTail) {
    for (const BrandingChoice& choice : kBrandingChoices) {
        if (!choice.pszSwitch || HasSwitchIn(cmdLineTail, choice.pszSwitch)) return choice;
    }
    return kBrandingChoices[std::size(kBrandingChoices) - 1];
}

PresentationMode ChooseMode(const wchar_t* cmdLineTail) {
    const bool pro = HasSwitchIn(cmdLineTail, kProSwitch);
    return {pro, pro || HasSwitchIn(cmdLineTail, kBigSwitch) || HasSwitchIn(cmdLineTail, kMaxSwitch)};
}

int SwitchNumberIn(const wchar_t* cmdLineTail, const wchar_t* word) {
    const wchar_t* p = FindNoCase(cmdLineTail, word);
    if (!p || p == cmdLineTail) return 0;
    if (p[-1] != L'-' && p[-1] != L'/') return 0;
    constexpr int kTooLong = 1000000;  // more monitors than any machine has
    int number = 0;
    const wchar_t* digit = p + Length(word);
    for (; *digit >= L'0' && *digit <= L'9'; ++digit) {
        number = number >= kTooLong ? kTooLong : number * 10 + (*digit - L'0');
    }
    if (digit == p + Length(word)) return 0;
    return (*digit == L'\0' || *digit == L' ') ? number : 0;
}

RoomChoice ChooseRoom(const wchar_t* cmdLineTail) {
    return {SwitchNumberIn(cmdLineTail, kMonitorSwitch), HasSwitchIn(cmdLineTail, kConsoleSwitch),
            TalkMinutesFrom(SwitchNumberIn(cmdLineTail, kDurationSwitch))};
}
