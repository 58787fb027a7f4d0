#include "launch/title_match.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(SimulatorTitle, PrefixAloneOrFollowedBySpaceAndHyphen) {
    struct Case {
        const wchar_t* title;
        bool matches;
    } const cases[] = {
        {L"Circelo Vexa", true},
        {L"Circelo Vexa - curvetrace.asc", true},
        {L"Circelo Vexa -", true},
        {L"Circelo Vexa -x", true},
        {L"Circelo Vexa2", false},        // another character right after the prefix
        {L"Circelo Vexa-x.asc", false},   // the space is missing
        {L"Circelo Vexa x.asc", false},   // the hyphen is missing
        {L"Circelo Vexa ", false},        // a space alone
        {L"circelo Vexa", false},         // case counts
        {L"Circelo vexa - x.asc", false},
        {L"Circelo Vex", false},          // shorter than the prefix
        {L"", false},
        {L"Pemboro", false},
        {L" Circelo Vexa", false},
    };
    for (const Case& c : cases) EXPECT_EQ(IsSimulatorTitle(c.title), c.matches) << std::wstring(c.title).size();
}

TEST(SimulatorTitle, NullTitleNeverMatches) { EXPECT_FALSE(IsSimulatorTitle(nullptr)); }

}  // namespace
