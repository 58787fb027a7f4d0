// Command-line switches and the co-branding choice they make.
#pragma once
#include "res/resource.h"

// First case-insensitive (ASCII) occurrence of word in text, or null.
const wchar_t* FindNoCase(const wchar_t* text, const wchar_t* word);

// Whether word stands in the command-line tail as a switch: right after '-' or '/',
// followed by the end or a space. Only the first occurrence of the word counts.
bool HasSwitchIn(const wchar_t* cmdLineTail, const wchar_t* word);

struct BrandingChoice {
    const wchar_t* pszSwitch;  // null for the row that applies when no switch is present
    int nBrandLogoId;          // bottom right; 0 = none
    int nSecondLogoId;         // bottom left
};

// In test order: the first switch present wins, whatever its place on the command line.
// Tessly and Bryndal are tested in the other order than their ids run.
inline constexpr BrandingChoice kBrandingChoices[] = {
    {L"Orvane", IDB_PARTNER_ORVANE, IDB_PARENT},   {L"Tessly", IDB_PARTNER_TESSLY, IDB_PARENT},
    {L"Bryndal", IDB_PARTNER_BRYNDAL, IDB_PARENT}, {L"Morvik", IDB_PARTNER_MORVIK, IDB_PARENT},
    {L"Quorrel", IDB_PARTNER_QUORREL, IDB_PARENT}, {L"vandrel", IDB_PARTNER_VANDREL, IDB_PARENT},
    {L"Pelmar", IDB_PARTNER_PELMAR, IDB_PARENT},   {L"Zintok", IDB_PARTNER_ZINTOK, IDB_PARENT},
    {L"Brannoch", IDB_PARENT, IDB_BRAND},
    {nullptr, 0, IDB_PARENT},
};

BrandingChoice ChooseBranding(const wchar_t* cmdLineTail);

// The words of the switches other than the co-branding ones.
inline constexpr wchar_t kProSwitch[] = L"Pro";
inline constexpr wchar_t kBigSwitch[] = L"big";
inline constexpr wchar_t kMaxSwitch[] = L"max";
inline constexpr wchar_t kMonitorSwitch[] = L"Monitor";
inline constexpr wchar_t kConsoleSwitch[] = L"Console";
inline constexpr wchar_t kDurationSwitch[] = L"Duration";
// Checks every demo of the deck and prints the report instead of showing the slides.
inline constexpr wchar_t kCheckSwitch[] = L"Check";
// These words and the co-branding table's are every switch. A switch is found as the first
// occurrence of its word in the command line, so no word may stand inside another (Pro inside a
// word Profile would be found there, and the real -Pro after it missed).
inline constexpr const wchar_t* kSwitchWords[] = {kProSwitch,     kBigSwitch,      kMaxSwitch,  kMonitorSwitch,
                                                  kConsoleSwitch, kDurationSwitch, kCheckSwitch};

// Pro mode implies big mode; "big" and "max" are only looked at without it.
struct PresentationMode {
    bool bPro;
    bool bBig;
};
PresentationMode ChooseMode(const wchar_t* cmdLineTail);

// The number after the switch word, as in -Monitor2: the word's first occurrence after '-' or '/',
// then decimal digits, then the end or a space. 0 when absent or without digits; a number too
// long to be a monitor's counts as one that names none.
int SwitchNumberIn(const wchar_t* cmdLineTail, const wchar_t* word);

// What the command line asks of the speaker's room: the monitor of the show in big mode (0: the
// primary one, as without the switch), the presenter console at start-up, and the talk's length
// in minutes (-Duration45; 0: none, as without the switch).
struct RoomChoice {
    int nShowMonitor;
    bool bConsole;
    int nTalkMinutes;
};
RoomChoice ChooseRoom(const wchar_t* cmdLineTail);
