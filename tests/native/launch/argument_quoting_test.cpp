#include "launch/argument_quoting.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// How a Windows program splits its command line after argument 0 (the rules of
// CommandLineToArgvW and the C runtime): an independent reading to round-trip through.
std::vector<std::wstring> SplitArguments(const std::wstring& line) {
    std::vector<std::wstring> out;
    size_t i = 0;
    const size_t n = line.size();
    while (true) {
        while (i < n && (line[i] == L' ' || line[i] == L'\t')) ++i;
        if (i >= n) break;
        std::wstring arg;
        bool quoted = false;
        while (i < n && (quoted || (line[i] != L' ' && line[i] != L'\t'))) {
            size_t backslashes = 0;
            while (i < n && line[i] == L'\\') ++backslashes, ++i;
            if (i < n && line[i] == L'"') {
                arg.append(backslashes / 2, L'\\');
                if (backslashes % 2) {
                    arg += L'"';
                } else if (quoted && i + 1 < n && line[i + 1] == L'"') {
                    arg += L'"';  // a doubled mark inside quotes
                    ++i;
                } else {
                    quoted = !quoted;
                }
                ++i;
            } else {
                arg.append(backslashes, L'\\');
                if (i < n && (quoted || (line[i] != L' ' && line[i] != L'\t'))) arg += line[i++];
            }
        }
        out.push_back(arg);
    }
    return out;
}

TEST(ArgumentQuoting, KnownForms) {
    struct Case {
        const wchar_t* argument;
        const wchar_t* quoted;
    } const cases[] = {
        {L"C:\\Demo\\a.asc", L"C:\\Demo\\a.asc"},
        {L"-run", L"-run"},
        {L"C:\\My Demo\\a b.asc", L"\"C:\\My Demo\\a b.asc\""},
        {L"", L"\"\""},
        {L"C:\\My Demo\\", L"\"C:\\My Demo\\\\\""},  // the closing mark must not be escaped
        {L"say \"hi\"", L"\"say \\\"hi\\\"\""},
        {L"a\\\"b", L"\"a\\\\\\\"b\""},
        {L"tab\there", L"\"tab\there\""},
    };
    for (const Case& c : cases) EXPECT_EQ(QuoteArgument(c.argument), c.quoted);
}

TEST(ArgumentQuoting, EveryArgumentReadsBackWhole) {
    const std::vector<std::wstring> arguments = {
        L"C:\\Program Files\\Demo deck\\two  spaces.asc", L"-run", L"", L"trailing\\", L"end space\\",
        L"\"quoted\"", L"back\\\\slashes\\\\\"", L"C:\\plain\\path.net", L" lead", L"a\tb",
    };
    for (const std::wstring& a : arguments) {
        const auto parsed = SplitArguments(QuoteArgument(a));
        ASSERT_EQ(parsed.size(), 1u) << QuoteArgument(a).size();
        EXPECT_EQ(parsed[0], a);
    }
    std::wstring line;
    for (const std::wstring& a : arguments) line += QuoteArgument(a) + L" ";
    EXPECT_EQ(SplitArguments(line), arguments);
}

TEST(ArgumentQuoting, CommandLineQuotesTheProgramNameOnlyWhenItHasBlanks) {
    EXPECT_EQ(BuildCommandLine(L"Vexax64.exe", {L"C:\\Demo\\a.asc"}), L"Vexax64.exe C:\\Demo\\a.asc");
    EXPECT_EQ(BuildCommandLine(L"Vexax64.exe", {L"C:\\My Demo\\a.asc", L"-run"}),
              L"Vexax64.exe \"C:\\My Demo\\a.asc\" -run");
    EXPECT_EQ(BuildCommandLine(L"Circelo Vexa.exe", {}), L"\"Circelo Vexa.exe\"");
    EXPECT_EQ(BuildCommandLine(L"", {}), L"\"\"");
}

}  // namespace
