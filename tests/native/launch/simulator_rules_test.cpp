// The simulator bridge's rules without the operating system: the title test, the default
// location, the ".asc" open command and the bounded z-order walk.
#include "launch/simulator_rules.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

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

// The system's ghost of a simulator that stopped taking messages carries its title and more; it
// is never the simulator, whatever the case of its class name.
TEST(SimulatorWindow, TheTitleRuleWithoutTheSystemsGhost) {
    struct Case {
        const wchar_t* title;
        const wchar_t* className;
        bool matches;
    } const cases[] = {
        {L"Circelo Vexa - a.asc", L"CirceloVexaMainWindow", true},
        {L"Circelo Vexa - a.asc (Not Responding)", L"Ghost", false},
        {L"Circelo Vexa - a.asc (Not Responding)", L"GHOST", false},
        {L"Circelo Vexa", L"Ghost", false},
        {L"Circelo Vexa", L"Ghosts", true},
        {L"Circelo Vexa", L"Ghos", true},
        {L"Circelo Vexa", nullptr, true},
        {L"Circelo Vexa2", L"CirceloVexaMainWindow", false},
        {nullptr, L"CirceloVexaMainWindow", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.className ? "with a class" : "no class"));
        EXPECT_EQ(IsSimulatorWindow(c.title, c.className), c.matches);
    }
}

TEST(SimulatorDefaults, X64OnlyForTheAmd64Architecture) {
    EXPECT_STREQ(DefaultSimulatorPathFor(9), L"C:\\Program Files\\Quillmere\\CirceloVexa\\Vexax64.exe");
    EXPECT_STREQ(DefaultSimulatorExeFor(9), L"Vexax64.exe");
    // x86 (0), Itanium (6), ARM (5), 64-bit ARM (12), unknown (0xFFFF): the 32-bit names.
    for (const unsigned architecture : {0u, 5u, 6u, 12u, 0xFFFFu}) {
        EXPECT_STREQ(DefaultSimulatorPathFor(architecture), L"C:\\Program Files\\Quillmere\\CirceloVexa\\Vexax86.exe");
        EXPECT_STREQ(DefaultSimulatorExeFor(architecture), L"Vexax86.exe");
    }
}

TEST(OpenCommandParse, TakesThePathBetweenTheQuotesBeforeTheQuotedPlaceholder) {
    struct Case {
        const wchar_t* command;
        const wchar_t* path;  // null: nothing taken
        const wchar_t* exe;
    } const cases[] = {
        {L"\"C:\\Program Files\\Sim\\Sim.exe\" \"%1\"", L"C:\\Program Files\\Sim\\Sim.exe", L"Sim.exe"},
        {L"\"D:\\Sim.exe\" -open \"%1\" -x", L"D:\\Sim.exe", L"Sim.exe"},
        // Options between the program and "%1": the path ends at its own closing mark.
        {L"\"C:\\Sim\\sim.exe\" -opt \"x\" \"%1\"", L"C:\\Sim\\sim.exe", L"sim.exe"},
        {L"\"C:\\a\" \"b\" \"%1\"", L"C:\\a", L"a"},
        {L"\"C:\\Program Files\\Sim\\Sim.exe\" /dde \"-x\" \"%1\"", L"C:\\Program Files\\Sim\\Sim.exe", L"Sim.exe"},
        {L"\"C:\\Sim\\\" \"%1\"", L"C:\\Sim\\", L""},                   // ends in a backslash: no file name
        {L"\"C:\\Sim\\Sim.exe\" %1", nullptr, nullptr},                 // the placeholder is not quoted
        {L"C:\\Sim\\Sim.exe \"%1\"", nullptr, nullptr},                 // the path is not quoted at all
        {L"C:\\Program Files\\Sim.exe\" \"%1\"", nullptr, nullptr},     // one quotation mark only
        {L"\"Sim.exe\" \"%1\"", nullptr, nullptr},                      // no backslash
        {L"\"\" \"%1\"", nullptr, nullptr},
        {L"\"%1\"", nullptr, nullptr},
        {L"", nullptr, nullptr},
    };
    for (const Case& c : cases) {
        const auto location = ParseOpenCommand(c.command);
        if (!c.path) {
            EXPECT_FALSE(location.has_value()) << std::wstring(c.command).size();
            continue;
        }
        ASSERT_TRUE(location.has_value()) << std::wstring(c.command).size();
        EXPECT_EQ(location->path, c.path);
        EXPECT_EQ(location->exe, c.exe);
    }
}

TEST(OpenCommandParse, RefusesAPathThatWouldNotFitItsBuffer) {
    const std::wstring longest = L"C:\\" + std::wstring(kSimulatorNameChars - 4, L's');
    const auto fits = ParseOpenCommand(L"\"" + longest + L"\" \"%1\"");
    ASSERT_TRUE(fits.has_value());
    EXPECT_EQ(fits->path.size(), kSimulatorNameChars - 1);
    EXPECT_FALSE(ParseOpenCommand(L"\"" + longest + L"s\" \"%1\"").has_value());
}

// A value that fills its whole buffer has no known end: it is refused, never followed into
// the memory after it. One that ends short of the buffer needs no terminator.
TEST(RegistryText, EndsAtTheFirstTerminatorAndRefusesAFullBufferWithoutOne) {
    const std::wstring command = L"\"C:\\Sim\\Sim.exe\" \"%1\"";
    std::vector<wchar_t> exact(command.begin(), command.end());  // no terminator, fills the buffer
    EXPECT_FALSE(RegistryText(exact.data(), exact.size(), exact.size()).has_value());
    EXPECT_FALSE(RegistryText(exact.data(), exact.size() + 8, exact.size()).has_value());

    std::vector<wchar_t> roomy(command.begin(), command.end());
    roomy.resize(command.size() + 4, L'#');  // bytes the read did not write
    const auto text = RegistryText(roomy.data(), command.size(), roomy.size());
    ASSERT_TRUE(text.has_value());
    EXPECT_EQ(*text, command);
    EXPECT_EQ(ParseOpenCommand(*text)->path, L"C:\\Sim\\Sim.exe");

    const wchar_t withTerminator[] = {L'a', L'b', L'\0', L'c'};
    EXPECT_EQ(RegistryText(withTerminator, 4, 4), L"ab");
    EXPECT_EQ(RegistryText(withTerminator, 1, 4), L"a");
    EXPECT_EQ(RegistryText(withTerminator, 0, 4), L"");
    EXPECT_EQ(RegistryText(nullptr, 4, 4), L"");
}

TEST(OpenCommandKey, AppendsTheVerbPathWhenItFits) {
    EXPECT_EQ(OpenCommandKeyFor(L"Circelo.asc"), L"Circelo.asc\\shell\\open\\command");
    EXPECT_EQ(OpenCommandKeyFor(L""), L"\\shell\\open\\command");  // a type key with no default value
    const size_t suffix = std::wstring(kOpenCommandKeySuffix).size();
    const std::wstring longest(kFileTypeTextChars - 1 - suffix, L't');
    ASSERT_TRUE(OpenCommandKeyFor(longest).has_value());
    EXPECT_EQ(OpenCommandKeyFor(longest)->size(), kFileTypeTextChars - 1);
    EXPECT_FALSE(OpenCommandKeyFor(longest + L"t").has_value());
}

using Handle = std::uintptr_t;

// A z-order as a chain of "next window down" links; a missing link ends it.
struct Chain {
    std::map<Handle, Handle> below;
    Handle Next(Handle h) {
        const auto it = below.find(h);
        return it == below.end() ? 0 : it->second;
    }
};

TEST(ZOrderWalk, FindsTheFirstMatchFromTheTopDown) {
    Chain chain{{{1, 2}, {2, 3}, {3, 4}}};
    const auto next = [&](Handle h) { return chain.Next(h); };
    EXPECT_EQ(FindInZOrder<Handle>(1, next, [](Handle h) { return h >= 3; }), 3u);
    EXPECT_EQ(FindInZOrder<Handle>(1, next, [](Handle) { return false; }), 0u);
    EXPECT_EQ(FindInZOrder<Handle>(0, next, [](Handle) { return true; }), 0u);
}

// A window destroyed or moved during the walk can make the chain lead back up.
TEST(ZOrderWalk, EndsWhenTheChainLeadsBackToAWindowSeenBefore) {
    const struct {
        const char* what;
        std::map<Handle, Handle> below;
    } cases[] = {
        {"to the top", {{1, 2}, {2, 3}, {3, 1}}},
        {"to the middle", {{1, 2}, {2, 3}, {3, 4}, {4, 2}}},
        {"to itself", {{1, 1}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Chain chain{c.below};
        int asked = 0;
        const Handle found = FindInZOrder<Handle>(
            1, [&](Handle h) { return chain.Next(h); },
            [&](Handle) {
                ++asked;
                return false;
            });
        EXPECT_EQ(found, 0u);
        EXPECT_EQ(asked, static_cast<int>(c.below.size())) << "each window is looked at once";
    }
}

// Windows created below faster than the walk goes down: it stops after its limit.
TEST(ZOrderWalk, EndsAfterItsLimitWhenNewWindowsKeepComing) {
    std::size_t asked = 0;
    const Handle found = FindInZOrder<Handle>(
        1, [](Handle h) { return h + 1; },
        [&](Handle) {
            ++asked;
            return false;
        });
    EXPECT_EQ(found, 0u);
    EXPECT_EQ(asked, kZOrderWalkLimit);
    asked = 0;
    FindInZOrder<Handle>(1, [](Handle h) { return h + 1; }, [&](Handle) { return ++asked, false; }, 10);
    EXPECT_EQ(asked, 10u);
}

}  // namespace
