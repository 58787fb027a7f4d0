// The Unix side of the machine, as the Wine tests reach it: a fresh folder seen through drive
// Z:, and shell scripts of the test sources run there.
#pragma once
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace testing_win {

inline std::wstring Widen(const std::string& s) { return std::wstring(s.begin(), s.end()); }
inline std::string Narrow(const std::wstring& s) {
    std::string out;
    for (wchar_t c : s) out += static_cast<char>(c);
    return out;
}

// The folder of a source file, as a Unix path (the tests are built on the machine that runs them).
inline std::string SourceDirOf(const char* file) {
    const std::string path = file;
    return path.substr(0, path.find_last_of('/'));
}

// A fresh Unix folder for one test, seen from Wine through drive Z:.
class UnixWorkDir {
public:
    // Wine's process ids come again from one prefix to the next: the clock keeps names apart.
    explicit UnixWorkDir(const char* kind = "work") {
        static int serial = 0;
        unix_ = std::string("/tmp/pemboro-") + kind + "-" + std::to_string(::GetCurrentProcessId()) + "-" +
                std::to_string(::GetTickCount64()) + "-" + std::to_string(++serial);
        std::error_code ignored;
        std::filesystem::create_directories(Windows(), ignored);
    }
    // A test that made paths longer than the system's 260 characters in here removes them itself.
    ~UnixWorkDir() {
        std::error_code ignored;
        std::filesystem::remove_all(Windows(), ignored);
    }
    UnixWorkDir(const UnixWorkDir&) = delete;
    UnixWorkDir& operator=(const UnixWorkDir&) = delete;

    const std::string& Unix() const { return unix_; }
    std::wstring Windows(const std::string& name = "") const {
        std::wstring path = L"Z:" + Widen(unix_ + (name.empty() ? "" : "/" + name));
        std::replace(path.begin(), path.end(), L'/', L'\\');
        return path;
    }
    void Touch(const std::string& name) const { std::ofstream(std::filesystem::path(Windows(name))) << "x"; }
    std::string Read(const std::string& name) const {
        std::ifstream in(std::filesystem::path(Windows(name)), std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    bool Exists(const std::string& name) const { return std::filesystem::exists(Windows(name)); }

private:
    std::string unix_;
};

// Runs a shell script on the Unix side with the work folder as its first argument. Wine starts
// Unix programs but gives no handle to wait on, so the script writes `status` in the work folder
// as its last act; this waits for that file and returns its number (-1 when it never came).
inline int RunUnixScript(const UnixWorkDir& work, const std::string& script, const std::vector<std::string>& args,
                         DWORD timeoutMs) {
    std::string line = "/bin/sh " + script + " " + work.Unix();
    for (const std::string& a : args) line += " " + a;
    std::wstring command = Widen(line);
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    if (!::CreateProcessW(L"Z:\\bin\\sh", command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return -1;
    if (pi.hProcess) ::CloseHandle(pi.hProcess);
    if (pi.hThread) ::CloseHandle(pi.hThread);
    const DWORD start = ::GetTickCount();
    while (!work.Exists("status")) {
        if (::GetTickCount() - start > timeoutMs) return -1;
        ::Sleep(100);
    }
    ::Sleep(20);
    return std::atoi(work.Read("status").c_str());
}

}  // namespace testing_win
