// Which top-level window is the simulator's main window: told by its title alone.
#pragma once

// The simulator's title, alone or followed by " -" and the open file's name.
inline constexpr wchar_t SimulatorTitlePrefix[] = L"Circelo Vexa";

// Case-sensitive: "Circelo Vexa" and "Circelo Vexa - x.asc" match; "Circelo Vexa2",
// "Circelo Vexa-x" and "Circelo Vexa x" do not. A null title never matches.
bool IsSimulatorTitle(const wchar_t* title);
