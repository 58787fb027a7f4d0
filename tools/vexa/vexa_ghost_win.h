// A stand-in for the system's ghost window: what a user sees in place of a simulator that has
// taken no messages for a while, once clicked.
#pragma once
#include <windows.h>

#include <string>

namespace vexa {

// Shows a window of class "Ghost" titled "Circelo Vexa - <fileName> (Not Responding)" that
// answers every message by default (a private one with 0), and runs until it is closed.
int RunGhost(HINSTANCE instance, const std::wstring& fileName, int nCmdShow);

}  // namespace vexa
