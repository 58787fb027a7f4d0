// Where the simulator lies when the registry names no other place: one
// executable for x64 machines, the 32-bit one for every other processor.
#pragma once

// PROCESSOR_ARCHITECTURE_AMD64.
inline constexpr unsigned kArchitectureAmd64 = 9;

const wchar_t* DefaultSimulatorPathFor(unsigned nativeArchitecture);
const wchar_t* DefaultSimulatorExeFor(unsigned nativeArchitecture);
