#include "launch/argument_quoting.h"

std::wstring QuoteArgument(std::wstring_view argument) {
    if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring_view::npos)
        return std::wstring(argument);
    std::wstring out(1, L'"');
    size_t backslashes = 0;
    for (const wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        // Backslashes are literal except before a quotation mark, where each pair
        // reads back as one and an odd one escapes the mark.
        out.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        out += c;
    }
    // Before the closing mark they must all read back as literal backslashes.
    out.append(backslashes * 2, L'\\');
    out += L'"';
    return out;
}

std::wstring QuoteProgramName(std::wstring_view name) {
    if (!name.empty() && name.find_first_of(L" \t") == std::wstring_view::npos) return std::wstring(name);
    std::wstring out(1, L'"');
    out += name;
    out += L'"';
    return out;
}

std::wstring BuildCommandLine(std::wstring_view programName, std::initializer_list<std::wstring_view> arguments) {
    std::wstring line = QuoteProgramName(programName);
    for (const std::wstring_view argument : arguments) {
        line += L' ';
        line += QuoteArgument(argument);
    }
    return line;
}
