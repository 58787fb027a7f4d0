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
