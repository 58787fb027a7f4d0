// Appends the arguments it was started with to the file named by RECORDER_LOG, one
// line per start, each argument in angle brackets: "<prog> <C:\a b\x.wav>". Then ends.
// A window program, so that starting it opens no console.
#include <windows.h>
#include <shellapi.h>

#include <string>

namespace {

std::wstring Environment(const wchar_t* name) {
    const DWORD needed = ::GetEnvironmentVariableW(name, nullptr, 0);
    if (needed == 0) return {};
    std::wstring value(needed, L'\0');
    const DWORD length = ::GetEnvironmentVariableW(name, value.data(), needed);
    value.resize(length < needed ? length : 0);
    return value;
}

std::string ToUtf8(const std::wstring& text) {
    if (text.empty()) return {};
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                           nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
    return out;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    const std::wstring logPath = Environment(L"RECORDER_LOG");
    if (logPath.empty()) return 2;

    int count = 0;
    LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::wstring line;
    for (int i = 0; argv && i < count; ++i) {
        if (i) line += L' ';
        line += L'<';
        line += argv[i];
        line += L'>';
    }
    if (argv) ::LocalFree(argv);

    // Append-only access puts each line at the end, even with several recorders at once.
    HANDLE file = ::CreateFileW(logPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    const std::string bytes = ToUtf8(line) + "\r\n";
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(file);
    return 0;
}
