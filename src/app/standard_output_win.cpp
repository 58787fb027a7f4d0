#include "app/standard_output_win.h"

#include <windows.h>

#include "framework/gdi.h"

namespace {

bool WriteAll(HANDLE out, const void* data, DWORD bytes) {
    const auto* at = static_cast<const BYTE*>(data);
    while (bytes > 0) {
        DWORD written = 0;
        if (!::WriteFile(out, at, bytes, &written, nullptr) || written == 0) return false;
        at += written;
        bytes -= written;
    }
    return true;
}

void WriteUtf8(HANDLE out, const std::wstring& text) {
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    if (n <= 0) return;
    std::string bytes(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), n, nullptr, nullptr);
    WriteAll(out, bytes.data(), static_cast<DWORD>(bytes.size()));
}

void WriteConsoleText(HANDLE out, const std::wstring& text) {
    const wchar_t* at = text.data();
    DWORD left = static_cast<DWORD>(text.size());
    while (left > 0) {
        DWORD written = 0;
        if (!::WriteConsoleW(out, at, left, &written, nullptr) || written == 0) return;
        at += written;
        left -= written;
    }
}

}  // namespace

void WriteStandardOutput(const std::vector<std::wstring>& lines) {
    std::wstring text;
    for (const std::wstring& line : lines) text += line + L"\r\n";

    HANDLE out = ::GetStdHandle(STD_OUTPUT_HANDLE);
    fw::KernelHandle parentsConsole;
    if (!out || out == INVALID_HANDLE_VALUE) {
        // Started from a prompt without redirection: the prompt's console, which has already
        // written its next prompt (it does not wait for a windows program), so the report
        // starts on a line of its own.
        if (!::AttachConsole(ATTACH_PARENT_PROCESS)) return;
        const HANDLE console = ::CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                             nullptr, OPEN_EXISTING, 0, nullptr);
        if (console == INVALID_HANDLE_VALUE) return;
        parentsConsole.reset(console);
        out = console;
        text = L"\r\n" + text;
    }
    DWORD mode = 0;
    if (::GetConsoleMode(out, &mode)) WriteConsoleText(out, text);
    else WriteUtf8(out, text);
}
