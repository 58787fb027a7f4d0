// Command-line switches and the co-branding choice they make.
#pragma once

// First case-insensitive (ASCII) occurrence of word in text, or null.
const wchar_t* FindNoCase(const wchar_t* text, const wchar_t* word);

// Whether word stands in the command-line tail as a switch: right after '-' or '/',
// followed by the end or a space. Only the first occurrence of the word counts.
bool HasSwitchIn(const wchar_t* cmdLineTail, const wchar_t* word);

// Logo bitmap ids.
inline constexpr int IDB_PARENT_LOGO = 312;
inline constexpr int IDB_BRAND_LOGO = 315;

struct BrandingChoice {
    const wchar_t* pszSwitch;  // null for the row that applies when no switch is present
    int nBrandLogoId;          // bottom right; 0 = none
    int nSecondLogoId;         // bottom left
};

// In test order: the first switch present wins, whatever its place on the command line.
inline constexpr BrandingChoice kBrandingChoices[] = {
    {L"Orvane", 304, IDB_PARENT_LOGO},   {L"Tessly", 306, IDB_PARENT_LOGO},
    {L"Bryndal", 305, IDB_PARENT_LOGO},  {L"Morvik", 307, IDB_PARENT_LOGO},
    {L"Quorrel", 308, IDB_PARENT_LOGO},  {L"vandrel", 309, IDB_PARENT_LOGO},
    {L"Pelmar", 310, IDB_PARENT_LOGO},   {L"Zintok", 311, IDB_PARENT_LOGO},
    {L"Brannoch", IDB_PARENT_LOGO, IDB_BRAND_LOGO},
    {nullptr, 0, IDB_PARENT_LOGO},
};

BrandingChoice ChooseBranding(const wchar_t* cmdLineTail);

// Pro mode implies big mode; "big" and "max" are only looked at without it.
struct PresentationMode {
    bool bPro;
    bool bBig;
};
PresentationMode ChooseMode(const wchar_t* cmdLineTail);
