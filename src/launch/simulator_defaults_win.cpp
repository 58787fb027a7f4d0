// The simulator's default location, chosen by the native processor architecture.
#include "launch/simulator.h"
#include "launch/simulator_defaults.h"

WORD NativeProcessorArchitecture() {
    SYSTEM_INFO info{};
    // Looked up by name: older systems lack the native query and get the emulated answer.
    using GetNativeSystemInfoFn = void(WINAPI*)(LPSYSTEM_INFO);
    HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
    auto query = kernel ? reinterpret_cast<GetNativeSystemInfoFn>(
                              reinterpret_cast<void*>(::GetProcAddress(kernel, "GetNativeSystemInfo")))
                        : nullptr;
    if (query) query(&info);
    else ::GetSystemInfo(&info);
    return info.wProcessorArchitecture;
}

const wchar_t* g_simulatorPath = DefaultSimulatorPathFor(NativeProcessorArchitecture());
const wchar_t* g_simulatorExe = DefaultSimulatorExeFor(NativeProcessorArchitecture());
wchar_t g_simulatorPathBuf[512];
wchar_t g_simulatorExeBuf[512];
bool g_simulatorLookupDone = false;
