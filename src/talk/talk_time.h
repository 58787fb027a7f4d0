// The talk's length and the time left of it, for the presenter console: the length the command
// line gives or the speaker sets with + and -, the time left as the console writes it, and the
// colour that warns when the end is near or past. Pure: no platform headers.
#pragma once
#include <string>

// The most a talk may last, and the step of + and -, in minutes.
inline constexpr int kLongestTalkMinutes = 24 * 60;
inline constexpr int kTalkStepMinutes = 5;

// The talk's length after + or -: 0 stands for none (the console then shows no time left); + on
// none sets one step, - never goes below none.
int LongerTalk(int minutes);
int ShorterTalk(int minutes);
// A length as the command line may give it (-Duration45): out of range counts as the nearest.
int TalkMinutesFrom(int switchNumber);

// The time left of a talk of `minutes` after `elapsed` seconds: negative once over.
long long TimeLeft(int minutes, long long elapsed);
// H:MM:SS; past the end it counts on from zero with a minus sign: -0:01:23.
std::wstring TimeLeftText(long long seconds);

// How the time left is written: grey before the talk starts, then in the console's usual colour,
// as a warning in the last 5 minutes (or the last tenth of the talk, when that is shorter), and
// as over once the time is up.
enum class TimeLeftTone { Waiting, Usual, Warning, Over };
TimeLeftTone ToneOfTimeLeft(int minutes, long long left, bool started);

// The time of the talk: it starts at the first change of what the show shows after start-up, and
// restarts when the speaker asks.
class TalkClock {
public:
    // What the show shows now (slide row, and whether a photo is over it), at time `now` in seconds.
    void Observe(int row, bool photo, double now);
    void Restart(double now);
    bool Started() const { return started_; }
    // Whole seconds since the start; 0 before it.
    long long Elapsed(double now) const;

private:
    bool seen_ = false;
    int row_ = 0;
    bool photo_ = false;
    bool started_ = false;
    double start_ = 0.0;
};

// Seconds on the talk's clock, which only goes forward (a change of the wall clock, by the
// speaker or a time server, does not move it). Tests may put a clock of their own in place
// (null puts the system's back).
double TalkClockNow();
using TalkClockFn = double (*)();
void SetTalkClock(TalkClockFn clock);
