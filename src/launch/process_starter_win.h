// The one way the presenter starts a program: a new process, not waited for.
#pragma once
#include <initializer_list>
#include <string_view>

// Starts the executable at `program` with `programName` as argument 0 and `arguments`
// after it, each reaching the program as one argument whatever blanks or quotation
// marks it holds. Returns at once; false when nothing could be started.
bool StartProcess(const wchar_t* program, const wchar_t* programName,
                  std::initializer_list<std::wstring_view> arguments = {});
