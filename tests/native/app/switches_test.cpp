#include "app/switches.h"

#include <gtest/gtest.h>

namespace {

TEST(FindNoCase, FindsFirstOccurrenceIgnoringAsciiCase) {
    const wchar_t* text = L"-profile -PRO";
    EXPECT_EQ(FindNoCase(text, L"pro"), text + 1);
    const wchar_t* abc = L"abc";
    EXPECT_EQ(FindNoCase(abc, L"C"), abc + 2);
    EXPECT_EQ(FindNoCase(L"abc", L"abcd"), nullptr);  // never reads past the text's end
    EXPECT_EQ(FindNoCase(nullptr, L"a"), nullptr);
    EXPECT_EQ(FindNoCase(L"a", nullptr), nullptr);
    EXPECT_EQ(FindNoCase(L"", L"a"), nullptr);
    EXPECT_EQ(FindNoCase(L"a", L""), nullptr);
}

TEST(FindNoCase, FoldsOnlyAsciiLetters) {
    EXPECT_EQ(FindNoCase(L"x\u00E9", L"\u00C9"), nullptr);
    EXPECT_NE(FindNoCase(L"x[", L"["), nullptr);
}

struct SwitchCase {
    const wchar_t* tail;
    const wchar_t* word;
    bool present;
};

TEST(HasSwitchIn, TheSwitchRules) {
    const SwitchCase cases[] = {
        {L"-Pro", L"Pro", true},             // at the very start, after its dash
        {L"Pro", L"Pro", false},             // bare word at the start
        {L"/pro", L"Pro", true},
        {L"-PRO -big", L"Pro", true},
        {L"-Pro\t-big", L"Pro", false},      // a tab does not end a switch
        {L"-Pro -big", L"Pro", true},
        {L"-Profile -Pro", L"Pro", false},   // only the first occurrence counts
        {L"x-Pro", L"Pro", true},            // only the character right before is tested
        {L"C:\\Pro\\x -Pro", L"Pro", false}, // first occurrence inside a path
        {L"--big", L"big", true},
        {L"+big", L"big", false},
        {L"-big", L"big", true},
        {L"/MAX", L"max", true},
        {L"", L"Pro", false},
        {nullptr, L"Pro", false},
    };
    for (const SwitchCase& c : cases) {
        EXPECT_EQ(HasSwitchIn(c.tail, c.word), c.present) << (c.tail ? "tail given" : "null tail");
    }
}

struct BrandingCase {
    const wchar_t* tail;
    int brand;
    int second;
};

TEST(ChooseBranding, TestOrderDecidesNotCommandLineOrder) {
    const BrandingCase cases[] = {
        {L"", 0, 312},
        {L"-Brannoch", 312, 315},
        {L"-Tessly -Orvane", 304, 312},
        {L"-Brannoch -Pelmar", 310, 312},
        {L"-Tessly", 306, 312},
        {L"-Bryndal", 305, 312},
        {L"/morvik", 307, 312},
        {L"-Quorrel", 308, 312},
        {L"-Vandrel", 309, 312},
        {L"-Zintok", 311, 312},
        {L"Orvane", 0, 312},  // no prefix: not a switch
    };
    for (const BrandingCase& c : cases) {
        const BrandingChoice choice = ChooseBranding(c.tail);
        EXPECT_EQ(choice.nBrandLogoId, c.brand);
        EXPECT_EQ(choice.nSecondLogoId, c.second);
    }
}

TEST(ChooseMode, ProImpliesBigAndBigOrMaxAloneDoNotMeanPro) {
    struct Case {
        const wchar_t* tail;
        bool pro, big;
    } const cases[] = {
        {L"", false, false},     {L"/pro", true, true},  {L"-big", false, true},
        {L"/MAX", false, true},  {L"-Profile -Pro", false, false},
    };
    for (const Case& c : cases) {
        const PresentationMode m = ChooseMode(c.tail);
        EXPECT_EQ(m.bPro, c.pro);
        EXPECT_EQ(m.bBig, c.big);
    }
}

}  // namespace
