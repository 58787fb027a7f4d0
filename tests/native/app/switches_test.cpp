#include "app/switches.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

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
        {L"-Check", L"Check", true},
        {L"/check -Pro", L"Check", true},
        {L"-Checks", L"Check", false},
        {L"-Pro -Check", L"Pro", true},   // the check's word holds no other switch's
        {L"-Check -big", L"big", true},
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

// The logo ids are resource numbers that start-up hands on as they are: the names carry the
// numbers of the co-branding table, Tessly's and Bryndal's the other way round from their order.
TEST(ChooseBranding, LogoNamesCarryTheTableNumbers) {
    const struct {
        int id, number;
    } logos[] = {
        {IDB_PARTNER_ORVANE, 304}, {IDB_PARTNER_TESSLY, 306}, {IDB_PARTNER_BRYNDAL, 305},
        {IDB_PARTNER_MORVIK, 307}, {IDB_PARTNER_QUORREL, 308}, {IDB_PARTNER_VANDREL, 309},
        {IDB_PARTNER_PELMAR, 310}, {IDB_PARTNER_ZINTOK, 311},  {IDB_PARENT, 312},
        {IDB_BRAND, 315},
    };
    for (const auto& logo : logos) EXPECT_EQ(logo.id, logo.number);
}

TEST(ChooseBranding, TestOrderDecidesNotCommandLineOrder) {
    const BrandingCase cases[] = {
        {L"", 0, IDB_PARENT},
        {L"-Brannoch", IDB_PARENT, IDB_BRAND},
        {L"-Tessly -Orvane", IDB_PARTNER_ORVANE, IDB_PARENT},
        {L"-Brannoch -Pelmar", IDB_PARTNER_PELMAR, IDB_PARENT},
        {L"-Tessly", IDB_PARTNER_TESSLY, IDB_PARENT},
        {L"-Bryndal", IDB_PARTNER_BRYNDAL, IDB_PARENT},
        {L"/morvik", IDB_PARTNER_MORVIK, IDB_PARENT},
        {L"-Quorrel", IDB_PARTNER_QUORREL, IDB_PARENT},
        {L"-Vandrel", IDB_PARTNER_VANDREL, IDB_PARENT},
        {L"-Zintok", IDB_PARTNER_ZINTOK, IDB_PARENT},
        {L"Orvane", 0, IDB_PARENT},  // no prefix: not a switch
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

// The monitor switch carries its number; the switch rules of the others hold for the word.
TEST(SwitchNumberIn, TheMonitorSwitch) {
    struct Case {
        const wchar_t* tail;
        int number;
    } const cases[] = {
        {L"-Monitor2", 2},
        {L"/monitor1 -Pro", 1},
        {L"-big -MONITOR12", 12},
        {L"-Monitor", 0},             // no number
        {L"-Monitor2x", 0},           // not ended by a space or the end
        {L"-Monitor2\t-big", 0},      // a tab does not end a switch
        {L"Monitor2", 0},             // no prefix at the start
        {L"x-Monitor3", 3},           // only the one character before the word is tested
        {L"C:\\Monitor5 -Monitor2", 0},  // only the first occurrence counts
        {L"-Monitor99999999999999999999", 1000000},  // no overflow; names no monitor
        {L"", 0},
    };
    for (const Case& c : cases) EXPECT_EQ(SwitchNumberIn(c.tail, L"Monitor"), c.number) << testing::PrintToString(std::wstring(c.tail));
}

TEST(ChooseRoom, MonitorConsoleAndTalkLength) {
    const RoomChoice none = ChooseRoom(L"-Pro");
    EXPECT_EQ(none.nShowMonitor, 0);
    EXPECT_FALSE(none.bConsole);
    EXPECT_EQ(none.nTalkMinutes, 0) << "no talk length: the console shows no time left";
    const RoomChoice both = ChooseRoom(L"/console -Monitor2 -big");
    EXPECT_EQ(both.nShowMonitor, 2);
    EXPECT_TRUE(both.bConsole);
    EXPECT_FALSE(ChooseRoom(L"-Consoles").bConsole);

    struct Case {
        const wchar_t* tail;
        int minutes;
    } const cases[] = {
        {L"-Duration45", 45},
        {L"/duration90 -Pro -Console", 90},
        {L"-Monitor2 -DURATION20", 20},
        {L"-Duration", 0},                   // no number
        {L"-Duration45min", 0},              // not ended by a space or the end
        {L"-Duration0", 0},
        {L"-Duration100000", 24 * 60},       // longer than a day: a day
        {L"-Duration99999999999999999", 24 * 60},
    };
    for (const Case& c : cases) EXPECT_EQ(ChooseRoom(c.tail).nTalkMinutes, c.minutes) << testing::PrintToString(std::wstring(c.tail));
    // Beside the other switches, each is read as alone.
    const RoomChoice all = ChooseRoom(L"-Pro -Monitor2 -Duration45 -Console");
    EXPECT_EQ(all.nShowMonitor, 2);
    EXPECT_EQ(all.nTalkMinutes, 45);
    EXPECT_TRUE(all.bConsole);
    EXPECT_TRUE(ChooseMode(L"-Duration45 -Pro").bPro);
}

// Each switch is the first occurrence of its word: a word inside another would be found there.
TEST(SwitchWords, NoneStandsInsideAnother) {
    std::vector<const wchar_t*> words(std::begin(kSwitchWords), std::end(kSwitchWords));
    for (const BrandingChoice& row : kBrandingChoices) {
        if (row.pszSwitch) words.push_back(row.pszSwitch);
    }
    for (const wchar_t* a : words)
        for (const wchar_t* b : words) {
            if (a == b) continue;
            EXPECT_EQ(FindNoCase(a, b), nullptr) << testing::PrintToString(std::wstring(b)) << " inside "
                                                 << testing::PrintToString(std::wstring(a));
        }
}

}  // namespace
