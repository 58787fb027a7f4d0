#include "vexa_log_win.h"

#include "framework/gdi.h"
#include "vexa_text_win.h"

#include <string>

namespace vexa {
namespace {

std::wstring LogPath() {
    const DWORD needed = ::GetEnvironmentVariableW(L"CIRCELO_LOG", nullptr, 0);
    if (needed == 0) return {};
    std::wstring path(needed, L'\0');
    const DWORD length = ::GetEnvironmentVariableW(L"CIRCELO_LOG", path.data(), needed);
    path.resize(length < needed ? length : 0);
    return path;
}

}  // namespace

void AppendRequestLog(std::wstring_view line) {
    const std::wstring path = LogPath();
    if (path.empty()) return;
    // Append-only access puts every write at the end, even while a reader holds the file open.
    fw::KernelHandle file(::CreateFileW(path.c_str(), FILE_APPEND_DATA,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE) {
        file.release();
        return;
    }
    std::string bytes = ToUtf8(line);
    bytes += "\r\n";
    DWORD written = 0;
    ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

}  // namespace vexa
