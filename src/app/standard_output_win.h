// Text for the standard output of a program of the windows subsystem, which no console waits
// for: the handle it inherited (a pipe, a file, a console), or else the console of the program
// that started it, as a user who typed the command at a prompt expects.
#pragma once
#include <string>
#include <vector>

// Each line followed by a line end: UTF-16 to a console, UTF-8 to a pipe or a file. Nothing
// when there is neither a handle nor a parent's console.
void WriteStandardOutput(const std::vector<std::wstring>& lines);
