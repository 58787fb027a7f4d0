#include "talk/talk_time.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cwchar>

int LongerTalk(int minutes) { return std::min(kLongestTalkMinutes, std::max(0, minutes) + kTalkStepMinutes); }

int ShorterTalk(int minutes) { return std::max(0, std::min(kLongestTalkMinutes, minutes) - kTalkStepMinutes); }

int TalkMinutesFrom(int switchNumber) { return std::clamp(switchNumber, 0, kLongestTalkMinutes); }

long long TimeLeft(int minutes, long long elapsed) { return static_cast<long long>(minutes) * 60 - elapsed; }

std::wstring TimeLeftText(long long seconds) {
    const bool over = seconds < 0;
    const long long s = over ? -seconds : seconds;
    wchar_t text[40];
    std::swprintf(text, 40, L"%ls%lld:%02lld:%02lld", over ? L"-" : L"", s / 3600, s / 60 % 60, s % 60);
    return text;
}

TimeLeftTone ToneOfTimeLeft(int minutes, long long left, bool started) {
    if (!started) return TimeLeftTone::Waiting;
    if (left < 0) return TimeLeftTone::Over;
    const long long length = static_cast<long long>(minutes) * 60;
    const long long warning = std::min(5LL * 60, length / 10);
    return left <= warning ? TimeLeftTone::Warning : TimeLeftTone::Usual;
}

void TalkClock::Observe(int row, bool photo, double now) {
    if (seen_ && !started_ && (row != row_ || photo != photo_)) Restart(now);
    seen_ = true;
    row_ = row;
    photo_ = photo;
}

void TalkClock::Restart(double now) {
    started_ = true;
    start_ = now;
}

long long TalkClock::Elapsed(double now) const {
    if (!started_ || now < start_) return 0;
    return static_cast<long long>(now - start_);
}

namespace {

double SteadySeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

std::atomic<TalkClockFn> g_talkClock{&SteadySeconds};

}  // namespace

double TalkClockNow() { return g_talkClock.load()(); }

void SetTalkClock(TalkClockFn clock) { g_talkClock.store(clock ? clock : &SteadySeconds); }
