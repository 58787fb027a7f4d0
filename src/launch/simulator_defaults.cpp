#include "launch/simulator_defaults.h"

const wchar_t* DefaultSimulatorPathFor(unsigned nativeArchitecture) {
    return nativeArchitecture == kArchitectureAmd64 ? L"C:\\Program Files\\Quillmere\\CirceloVexa\\Vexax64.exe"
                                                    : L"C:\\Program Files\\Quillmere\\CirceloVexa\\Vexax86.exe";
}

const wchar_t* DefaultSimulatorExeFor(unsigned nativeArchitecture) {
    return nativeArchitecture == kArchitectureAmd64 ? L"Vexax64.exe" : L"Vexax86.exe";
}
