// The simulator's default location, chosen by the native processor architecture.
#include "launch/simulator.h"

namespace {
WORD NativeArchitecture() {
    SYSTEM_INFO info{};
    using GetNativeSystemInfoFn = void(WINAPI*)(LPSYSTEM_INFO);
    HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
    auto query = kernel ? reinterpret_cast<GetNativeSystemInfoFn>(
                              reinterpret_cast<void*>(::GetProcAddress(kernel, "GetNativeSystemInfo")))
                        : nullptr;
    if (query) query(&info);
    else ::GetSystemInfo(&info);
    return info.wProcessorArchitecture;
}

bool IsX64() { return NativeArchitecture() == PROCESSOR_ARCHITECTURE_AMD64; }
}  // namespace

const wchar_t* g_simulatorPath = IsX64() ? L"C:\\Program Files\\Quillmere\\CirceloVexa\\Vexax64.exe"
                                         : L"C:\\Program Files\\Quillmere\\CirceloVexa\\Vexax86.exe";
const wchar_t* g_simulatorExe = IsX64() ? L"Vexax64.exe" : L"Vexax86.exe";
wchar_t g_simulatorPathBuf[512];
wchar_t g_simulatorExeBuf[512];
bool g_simulatorLookupDone = false;
