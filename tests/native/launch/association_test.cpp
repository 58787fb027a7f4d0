#include "launch/association.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

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

}  // namespace
