// The one place the presenter starts programs and hands files to the desktop shell. Neither
// waits for what it started, and neither reports beyond whether the start was made.
#pragma once
#include <initializer_list>
#include <string_view>

#include "framework/gdi.h"

// Starts the executable at `program` with `programName` as argument 0 and `arguments`
// after it, each reaching the program as one argument whatever blanks or quotation
// marks it holds. Returns at once, with the new process's handle (owned: dropping it lets the
// process run on unwatched); an empty handle when nothing could be started.
fw::KernelHandle StartProcess(const wchar_t* program, const wchar_t* programName,
                              std::initializer_list<std::wstring_view> arguments = {});

// Hands a file or folder to the desktop shell, which opens it with its program: no owner
// window, the "open" verb, shown normally; a failure goes unnoticed.
void ShellOpen(const wchar_t* path);
