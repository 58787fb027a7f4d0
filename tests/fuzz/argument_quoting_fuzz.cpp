// Round trip: any arguments, quoted and joined, read back exactly as they were, both by the
// shell's CommandLineToArgvW and by the C runtime's argv. Both readers are written out here
// from their documented rules (backslashes are literal except before a quotation mark, where
// 2n give n and toggle quoting, 2n+1 give n and a literal mark; blanks and tabs part the
// arguments outside quotes; argument 0 has no escapes), with the ways they differ kept apart.
#include "launch/argument_quoting.h"

#include "fuzz_check.h"
#include "fuzz_text.h"

#include <string>
#include <vector>

namespace {

using fuzz::Check;

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

// CommandLineToArgvW: argument 0 runs from an opening mark to the next one, else to a blank.
// In an argument, a run of marks after the one that closes quoting yields a literal mark for
// every third one ("" inside quotes gives a mark and leaves quoting).
std::vector<std::wstring> SplitLikeShell(const std::wstring& line) {
    std::vector<std::wstring> argv(1);
    std::size_t i = 0;
    const std::size_t n = line.size();
    if (n > 0 && line[0] == L'"') {
        for (i = 1; i < n && line[i] != L'"'; ++i) argv[0] += line[i];
        if (i < n) ++i;
    } else {
        for (; i < n && !IsBlank(line[i]); ++i) argv[0] += line[i];
    }
    while (i < n && IsBlank(line[i])) ++i;
    if (i >= n) return argv;
    argv.emplace_back();
    int quotes = 0;
    std::size_t backslashes = 0;
    while (i < n) {
        std::wstring& arg = argv.back();
        const wchar_t c = line[i];
        if (IsBlank(c) && quotes == 0) {
            while (i < n && IsBlank(line[i])) ++i;
            if (i < n) argv.emplace_back();
            backslashes = 0;
        } else if (c == L'\\') {
            arg += c;
            ++i;
            ++backslashes;
        } else if (c == L'"') {
            arg.resize(arg.size() - backslashes / 2 - backslashes % 2);
            if (backslashes % 2 == 0) {
                ++quotes;
            } else {
                arg += L'"';
            }
            ++i;
            backslashes = 0;
            for (; i < n && line[i] == L'"'; ++i) {
                if (++quotes == 3) {
                    arg += L'"';
                    quotes = 0;
                }
            }
            if (quotes == 2) quotes = 0;
        } else {
            arg += c;
            ++i;
            backslashes = 0;
        }
    }
    return argv;
}

// The C runtime: every mark in argument 0 toggles quoting and is dropped; in an argument,
// "" inside quotes gives a mark and stays inside quotes.
std::vector<std::wstring> SplitLikeCrt(const std::wstring& line) {
    std::vector<std::wstring> argv(1);
    std::size_t i = 0;
    const std::size_t n = line.size();
    for (bool quoted = false; i < n && (quoted || !IsBlank(line[i])); ++i) {
        if (line[i] == L'"') {
            quoted = !quoted;
        } else {
            argv[0] += line[i];
        }
    }
    for (;;) {
        while (i < n && IsBlank(line[i])) ++i;
        if (i >= n) break;
        std::wstring& arg = argv.emplace_back();
        bool quoted = false;
        for (;;) {
            std::size_t backslashes = 0;
            while (i < n && line[i] == L'\\') ++i, ++backslashes;
            bool copy = true;
            if (i < n && line[i] == L'"') {
                if (backslashes % 2 == 0) {
                    if (quoted && i + 1 < n && line[i + 1] == L'"') {
                        ++i;
                    } else {
                        copy = false;
                        quoted = !quoted;
                    }
                }
                backslashes /= 2;
            }
            arg.append(backslashes, L'\\');
            if (i >= n || (!quoted && IsBlank(line[i]))) break;
            if (copy) arg += line[i];
            ++i;
        }
    }
    return argv;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A command line ends at its first NUL, so no argument can hold one: NUL parts the inputs.
    std::vector<std::wstring> argv = fuzz::SplitAtNul(fuzz::Utf16Units(data, size));
    // A file name holds no quotation mark; the program name is quoted without escapes.
    std::erase(argv[0], L'"');

    std::wstring line = QuoteProgramName(argv[0]);
    for (std::size_t k = 1; k < argv.size(); ++k) line += L' ' + QuoteArgument(argv[k]);
    if (argv.size() == 2) Check(line == BuildCommandLine(argv[0], {argv[1]}), "one argument joins alike");
    if (argv.size() == 3) Check(line == BuildCommandLine(argv[0], {argv[1], argv[2]}), "two arguments join alike");

    Check(SplitLikeShell(line) == argv, "CommandLineToArgvW reads back every argument");
    Check(SplitLikeCrt(line) == argv, "the C runtime reads back every argument");
    return 0;
}
