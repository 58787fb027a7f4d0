// What the launching tests share: the stand-in simulator and the argument recorder
// as real processes, their logs, and registry entries set for one test.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <cwchar>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "framework/gdi.h"
#include "launch/simulator.h"
#include "launch/simulator_rules.h"
#include "support/win_test_support.h"

namespace launch_test {

inline std::wstring FromUnixPath(const char* unixPath) {
    std::wstring path = L"Z:";
    for (const char* p = unixPath; *p; ++p) path += *p == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(*p));
    return path;
}

inline std::wstring BuildDir() { return FromUnixPath(PEMBORO_BUILD_DIR); }
inline std::wstring StandInPath() { return BuildDir() + L"\\tools\\vexa\\Vexax64.exe"; }
inline std::wstring RecorderPath() { return BuildDir() + L"\\tools\\recorder\\recorder.exe"; }

// A fresh, empty folder for one test.
inline std::wstring FreshDir(const std::wstring& name) {
    const std::wstring dir = testing_win::TempDir() + L"\\" + name;
    ::CreateDirectoryW(dir.c_str(), nullptr);
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW((dir + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring entry = dir + L"\\" + found.cFileName;
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ::DeleteFileW(entry.c_str());
            else if (found.cFileName[0] != L'.') ::RemoveDirectoryW(entry.c_str());
        } while (::FindNextFileW(search, &found));
        ::FindClose(search);
    }
    return dir;
}

inline void WriteTextFile(const std::wstring& path, const char* text = "* test circuit\n") {
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    ::WriteFile(file, text, static_cast<DWORD>(std::strlen(text)), &written, nullptr);
    ::CloseHandle(file);
}

// UTF-8 text as lines without their line ends; a last line without its end is a line still being
// written, kept only when `whole` says the text is complete.
inline std::vector<std::wstring> Utf8Lines(const std::string& bytes, bool whole) {
    std::vector<std::wstring> lines;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find('\n', start);
        if (end == std::string::npos) {
            if (!whole) break;
            end = bytes.size();
        }
        std::string line = bytes.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::wstring wide(line.size(), L'\0');
        const int n = ::MultiByteToWideChar(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), wide.data(),
                                            static_cast<int>(wide.size()));
        wide.resize(n > 0 ? static_cast<size_t>(n) : 0);
        lines.push_back(wide);
        start = end + 1;
    }
    return lines;
}

// The lines of a UTF-8 log, without their line ends; empty when there is no log.
inline std::vector<std::wstring> ReadLog(const std::wstring& path) {
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    std::string bytes;
    char chunk[4096];
    DWORD read = 0;
    while (::ReadFile(file, chunk, sizeof chunk, &read, nullptr) && read) bytes.append(chunk, read);
    ::CloseHandle(file);
    return Utf8Lines(bytes, false);
}

// Waits until the log holds at least `count` lines; returns what it holds then.
inline std::vector<std::wstring> WaitForLog(const std::wstring& path, size_t count, DWORD timeoutMs = 20000) {
    testing_win::PumpUntil([&] { return ReadLog(path).size() >= count; }, timeoutMs);
    return ReadLog(path);
}

// An environment variable of this process, inherited by everything it starts.
class ScopedEnvironment {
public:
    ScopedEnvironment(const wchar_t* name, const std::wstring& value) : name_(name) {
        wchar_t old[2048];
        const DWORD n = ::GetEnvironmentVariableW(name, old, static_cast<DWORD>(std::size(old)));
        had_ = n > 0 && n < std::size(old);
        if (had_) old_.assign(old, n);
        ::SetEnvironmentVariableW(name, value.c_str());
    }
    ~ScopedEnvironment() { ::SetEnvironmentVariableW(name_.c_str(), had_ ? old_.c_str() : nullptr); }
    void Set(const std::wstring& value) { ::SetEnvironmentVariableW(name_.c_str(), value.c_str()); }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    std::wstring name_;
    std::wstring old_;
    bool had_ = false;
};

// Sets the default value of HKEY_CLASSES_ROOT\<key> for one test (raw bytes, so that a test
// can store a text without its terminator), and puts back what was there before.
class ClassesDefault {
public:
    ClassesDefault(const std::wstring& key, const void* data, DWORD bytes, DWORD type = REG_SZ) : key_(key) {
        // The shallowest part of the key that is missing now is what the restore deletes.
        for (size_t end = 0; end != std::wstring::npos && created_.empty();) {
            end = key.find(L'\\', end + 1);
            const std::wstring part = key.substr(0, end);
            HKEY probe = nullptr;
            if (::RegOpenKeyExW(HKEY_CLASSES_ROOT, part.c_str(), 0, KEY_READ, &probe) == ERROR_SUCCESS)
                ::RegCloseKey(probe);
            else
                created_ = part;
        }
        HKEY hkey = nullptr;
        if (created_.empty() && ::RegOpenKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &hkey) == ERROR_SUCCESS) {
            DWORD size = 0;
            if (::RegQueryValueExW(hkey, nullptr, nullptr, &oldType_, nullptr, &size) == ERROR_SUCCESS) {
                hadValue_ = true;
                old_.resize(size);
                ::RegQueryValueExW(hkey, nullptr, nullptr, &oldType_, old_.data(), &size);
            }
            ::RegCloseKey(hkey);
        }
        EXPECT_EQ(::RegCreateKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &hkey,
                                    nullptr),
                  ERROR_SUCCESS);
        EXPECT_EQ(::RegSetValueExW(hkey, nullptr, 0, type, static_cast<const BYTE*>(data), bytes), ERROR_SUCCESS);
        ::RegCloseKey(hkey);
    }
    ClassesDefault(const std::wstring& key, const std::wstring& text)
        : ClassesDefault(key, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) {}
    ~ClassesDefault() {
        if (!created_.empty()) {
            ::RegDeleteTreeW(HKEY_CLASSES_ROOT, created_.c_str());
            return;
        }
        HKEY hkey = nullptr;
        if (::RegOpenKeyExW(HKEY_CLASSES_ROOT, key_.c_str(), 0, KEY_ALL_ACCESS, &hkey) != ERROR_SUCCESS) return;
        if (hadValue_) ::RegSetValueExW(hkey, nullptr, 0, oldType_, old_.data(), static_cast<DWORD>(old_.size()));
        else ::RegDeleteValueW(hkey, nullptr);
        ::RegCloseKey(hkey);
    }
    ClassesDefault(const ClassesDefault&) = delete;
    ClassesDefault& operator=(const ClassesDefault&) = delete;

private:
    std::wstring key_;
    std::wstring created_;
    bool hadValue_ = false;
    DWORD oldType_ = REG_SZ;
    std::vector<BYTE> old_;
};

// Stand-in simulators (and recorders) that this test process started, itself or through the code
// under test; a simulator the user has open is not among them.
inline std::vector<DWORD> StandInsStarted() { return testing_win::ChildProcessesRunning(StandInPath()); }
inline std::vector<DWORD> RecordersStarted() { return testing_win::ChildProcessesRunning(RecorderPath()); }

// Top-level simulator windows of other processes, from the top of the z-order down.
inline std::vector<HWND> SimulatorWindowsOfOthers() {
    std::vector<HWND> found;
    FindInZOrder(
        ::GetTopWindow(nullptr), [](HWND h) { return ::GetWindow(h, GW_HWNDNEXT); },
        [&found](HWND hwnd) {
            DWORD pid = 0;
            ::GetWindowThreadProcessId(hwnd, &pid);
            wchar_t title[1024] = {};
            ::GetWindowTextW(hwnd, title, 1024);
            if (pid != ::GetCurrentProcessId() && IsSimulatorTitle(title)) found.push_back(hwnd);
            return false;
        });
    return found;
}

inline HWND WindowOfProcess(DWORD pid) {
    for (HWND hwnd : SimulatorWindowsOfOthers()) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(hwnd, &owner);
        if (owner == pid) return hwnd;
    }
    return nullptr;
}

// Ends the stand-in simulators this test process started, each by its handle, and waits until
// their windows are gone.
inline void EndStandIns() {
    const std::vector<DWORD> started = StandInsStarted();
    testing_win::EndProcesses(started);
    testing_win::PumpUntil(
        [&] {
            for (DWORD pid : started)
                if (WindowOfProcess(pid)) return false;
            return true;
        },
        5000);
}

// The stand-in simulator, started by the test (with the given switches), its start-up done and
// its window shown without activation: a window that activates itself as it comes up may be
// raised again afterwards, when the display's focus events reach it, and would upset a z-order
// that a test arranged.
struct StandIn {
    DWORD pid = 0;
    DWORD threadId = 0;
    HWND hwnd = nullptr;
};
inline StandIn StartStandIn(const wchar_t* switches = L"", WORD show = SW_SHOWNOACTIVATE) {
    StandIn standIn;
    std::wstring commandLine = std::wstring(L"Vexax64.exe ") + switches;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = show;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(StandInPath().c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &info)) {
        ADD_FAILURE() << "the stand-in simulator did not start; is it built?";
        return standIn;
    }
    const fw::KernelHandle process(info.hProcess);
    const fw::KernelHandle thread(info.hThread);
    standIn.pid = info.dwProcessId;
    // Its window exists before the stand-in shows it (and shows it on top); it waits for input
    // once that is done.
    ::WaitForInputIdle(process.get(), 20000);
    testing_win::PumpUntil(
        [&] {
            const HWND hwnd = WindowOfProcess(standIn.pid);
            return hwnd && (show == SW_HIDE || ::IsWindowVisible(hwnd));
        },
        20000);
    standIn.hwnd = WindowOfProcess(standIn.pid);
    if (!standIn.hwnd) ADD_FAILURE() << "the stand-in simulator shows no window";
    else standIn.threadId = ::GetWindowThreadProcessId(standIn.hwnd, nullptr);
    return standIn;
}

// Stops the stand-in's window thread, as a simulator that hangs in its work; the handle lets the
// test run it again (ResumeThread). Empty when the thread could not be stopped.
inline fw::KernelHandle StopThreadOf(const StandIn& standIn) {
    fw::KernelHandle thread(::OpenThread(THREAD_SUSPEND_RESUME, FALSE, standIn.threadId));
    if (thread && ::SuspendThread(thread.get()) == static_cast<DWORD>(-1)) thread.reset();
    return thread;
}

inline bool Contains(const std::vector<std::wstring>& lines, const std::wstring& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

inline size_t CountOf(const std::vector<std::wstring>& lines, const std::wstring& line) {
    return static_cast<size_t>(std::count(lines.begin(), lines.end(), line));
}

// A test of the simulator bridge: the stand-in simulator is where the presenter looks for it, its
// log is a fresh file of the test's own, and only the tests of the lazy lookup let it run. The
// globals and every stand-in started are put back and ended afterwards.
class SimulatorFixture : public ::testing::Test {
protected:
    void SetUp() override {
        EndStandIns();
        dir_ = FreshDir(L"bridge");
        log_ = dir_ + L"\\circelo.log";
        circeloLog_ = std::make_unique<ScopedEnvironment>(L"CIRCELO_LOG", log_);
        g_simulatorPath = standIn_.c_str();
        g_simulatorExe = L"Vexax64.exe";
        g_simulatorLookupDone = true;  // only the tests of the lazy lookup let it run
    }
    void TearDown() override { EndStandIns(); }

    std::wstring File(const wchar_t* name) {
        const std::wstring path = dir_ + L"\\" + name;
        WriteTextFile(path);
        return path;
    }

    testing_win::SavedGlobals globals_;
    const std::wstring standIn_ = StandInPath();
    std::wstring dir_;
    std::wstring log_;
    std::unique_ptr<ScopedEnvironment> circeloLog_;
};

}  // namespace launch_test
