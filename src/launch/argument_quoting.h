// Command lines that Windows programs split back into exactly the arguments given:
// the quoting rules of CommandLineToArgvW and of the C runtime's argv.
#pragma once
#include <initializer_list>
#include <string>
#include <string_view>

// One argument after the program name: left bare when it holds no blank, tab, line
// break or quotation mark and is not empty; else quoted, with the backslashes before
// a quotation mark or before the closing quotation mark doubled.
std::wstring QuoteArgument(std::wstring_view argument);

// The program name (argument 0) is read up to the next quotation mark without any
// backslash escapes, and a file name holds no quotation mark: it is quoted when it
// holds a blank or tab, or is empty.
std::wstring QuoteProgramName(std::wstring_view name);

// Argument 0 and the arguments after it, each quoted as needed, joined with single blanks.
std::wstring BuildCommandLine(std::wstring_view programName, std::initializer_list<std::wstring_view> arguments);
