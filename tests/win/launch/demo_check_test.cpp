// The check before the talk, run as a speaker or a script runs it: the real program, copied with
// its demo files into a folder of the test's own (it looks for them beside itself), started with
// -Check, its standard output read through a pipe and its exit code read back.
#include "launch_test_support.h"

#include <optional>

#include "deck/deck.h"
#include "launch/dispatch.h"
#include "support/profile_page.h"

namespace launch_test {
namespace {

// The program and every file beside it but the slide images, which the check does not look at;
// removed again when the copy goes.
class ProgramCopy {
public:
    explicit ProgramCopy(const wchar_t* name) : dir_(FreshDir(name)) {
        const std::wstring dist = testing_win::DistDir();
        WIN32_FIND_DATAW found;
        HANDLE search = ::FindFirstFileW((dist + L"\\*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) return;
        do {
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
            const std::wstring file = found.cFileName;
            if (file.size() > 4 && _wcsicmp(file.c_str() + file.size() - 4, L".png") == 0) continue;
            if (::CopyFileW((dist + L"\\" + file).c_str(), (dir_ + L"\\" + file).c_str(), FALSE)) files_.push_back(file);
        } while (::FindNextFileW(search, &found));
        ::FindClose(search);
    }
    ~ProgramCopy() {
        for (const std::wstring& file : files_) ::DeleteFileW((dir_ + L"\\" + file).c_str());
        ::RemoveDirectoryW(dir_.c_str());
    }
    ProgramCopy(const ProgramCopy&) = delete;
    ProgramCopy& operator=(const ProgramCopy&) = delete;

    std::wstring Exe() const { return dir_ + L"\\Pemboro.exe"; }
    bool Remove(const wchar_t* file) const { return ::DeleteFileW((dir_ + L"\\" + file).c_str()) != FALSE; }

private:
    std::wstring dir_;
    std::vector<std::wstring> files_;
};

// ".asc" opened by the stand-in simulator, as an installer registers it.
class StandInRegistered {
public:
    StandInRegistered()
        : type_(L".asc", std::wstring(kType)),
          command_(std::wstring(kType) + L"\\shell\\open\\command", L"\"" + StandInPath() + L"\" \"%1\"") {}

private:
    static constexpr wchar_t kType[] = L"PemboroCheckTest.Circuit";
    ClassesDefault type_;
    ClassesDefault command_;
};

// No simulator anywhere the hand-off looks: ".asc" names a file type without an open command,
// and the default place is empty (a simulator installed there is moved aside for the test).
class NoSimulator {
public:
    NoSimulator() : type_(L".asc", std::wstring(L"PemboroCheckTest.NoCommand")) {
        if (::GetFileAttributesW(defaultPath_.c_str()) != INVALID_FILE_ATTRIBUTES)
            moved_ = ::MoveFileExW(defaultPath_.c_str(), aside_.c_str(), 0) != FALSE;
        EXPECT_EQ(::GetFileAttributesW(defaultPath_.c_str()), INVALID_FILE_ATTRIBUTES) << "a simulator stays at the default place";
    }
    ~NoSimulator() {
        if (moved_) ::MoveFileExW(aside_.c_str(), defaultPath_.c_str(), 0);
    }
    NoSimulator(const NoSimulator&) = delete;
    NoSimulator& operator=(const NoSimulator&) = delete;
    const std::wstring& DefaultPath() const { return defaultPath_; }

private:
    ClassesDefault type_;
    const std::wstring defaultPath_ = DefaultSimulatorPathFor(NativeProcessorArchitecture());
    const std::wstring aside_ = defaultPath_ + L".aside-for-a-test";
    bool moved_ = false;
};


bool ShowsAWindow(DWORD pid) {
    struct Search {
        DWORD pid;
        bool found;
    } search{pid, false};
    ::EnumWindows(
        [](HWND hwnd, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            DWORD owner = 0;
            ::GetWindowThreadProcessId(hwnd, &owner);
            if (owner == s->pid && ::IsWindowVisible(hwnd)) s->found = true;
            return !s->found;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

struct CheckRun {
    std::optional<DWORD> exitCode;  // none: it did not end in time, and was ended
    std::vector<std::wstring> lines;
    bool windowShown = false;
};

// Runs `exe -Check` with its standard output on a pipe, as `Pemboro.exe -Check > report.txt` or a
// script's capture does, and reads until it ends.
CheckRun RunCheck(const std::wstring& exe) {
    CheckRun run;
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE readRaw = nullptr, writeRaw = nullptr;
    if (!::CreatePipe(&readRaw, &writeRaw, &inherit, 0)) {
        ADD_FAILURE() << "no pipe";
        return run;
    }
    const fw::KernelHandle reader(readRaw);
    fw::KernelHandle writer(writeRaw);
    ::SetHandleInformation(reader.get(), HANDLE_FLAG_INHERIT, 0);

    std::wstring commandLine = L"\"" + exe + L"\" -Check";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writer.get();
    startup.hStdError = writer.get();
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &info)) {
        ADD_FAILURE() << "the program did not start: " << ::GetLastError();
        return run;
    }
    const fw::KernelHandle process(info.hProcess);
    const fw::KernelHandle thread(info.hThread);
    writer.reset();  // the program's copy is the only writer left: the pipe ends with the program

    std::string bytes;
    const DWORD start = ::GetTickCount();
    bool ended = false;
    while (::GetTickCount() - start < 30000) {
        run.windowShown = run.windowShown || ShowsAWindow(info.dwProcessId);
        DWORD ready = 0;
        if (::PeekNamedPipe(reader.get(), nullptr, 0, nullptr, &ready, nullptr) && ready > 0) {
            std::string chunk(ready, '\0');
            DWORD read = 0;
            if (::ReadFile(reader.get(), chunk.data(), ready, &read, nullptr)) bytes.append(chunk, 0, read);
            continue;
        }
        if (ended) break;  // ended, and everything it wrote is read
        ended = ::WaitForSingleObject(process.get(), 20) == WAIT_OBJECT_0;
    }
    if (!ended) {
        ::TerminateProcess(process.get(), 99);
        ::WaitForSingleObject(process.get(), 5000);
        return run;
    }
    DWORD code = 0;
    ::GetExitCodeProcess(process.get(), &code);
    run.exitCode = code;
    run.lines = Utf8Lines(bytes, true);
    return run;
}

struct DeckHotspot {
    int row;
    const wchar_t* target;
    std::wstring file;  // as the report names it
};

std::vector<DeckHotspot> DeckHotspots() {
    std::vector<DeckHotspot> spots;
    for (int row = 0; row < SLIDE_COUNT; ++row)
        for (int i = 0; i < g_slideDeck[row].nSpots; ++i)
            spots.push_back({row, g_slideDeck[row].pSpots[i].pszTarget, NameToResolve(g_slideDeck[row].pSpots[i].pszTarget)});
    return spots;
}

bool StartsWith(const std::wstring& text, const std::wstring& start) { return text.compare(0, start.size(), start) == 0; }
bool EndsWith(const std::wstring& text, const std::wstring& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// Each hotspot's line in the deck's order: its slide as the speaker counts, its file, and the
// result that `resultOf` expects for it.
template <class ResultOf>
void ExpectHotspotLines(const std::vector<std::wstring>& lines, ResultOf resultOf) {
    const std::vector<DeckHotspot> spots = DeckHotspots();
    ASSERT_EQ(lines.size(), spots.size() + 2) << "one line per hotspot, the simulator's and the summary";
    for (size_t i = 0; i < spots.size(); ++i) {
        wchar_t slide[16];
        std::swprintf(slide, 16, L"Slide %2d  ", spots[i].row + 1);
        EXPECT_TRUE(StartsWith(lines[i], slide + spots[i].file + L" ")) << testing::PrintToString(lines[i]);
        EXPECT_TRUE(EndsWith(lines[i], L"  " + std::wstring(resultOf(spots[i])))) << testing::PrintToString(lines[i]);
    }
}

class DemoCheck : public ::testing::Test {
protected:
    void SetUp() override { testing_win::SetStoredPage(std::wstring(L"20")); }
    const testing_win::KeptStoredPage kept_;
    ProgramCopy copy_{L"check"};
};

TEST_F(DemoCheck, EverythingThereReportsEachHotspotReadyAndExitsZeroWithoutAWindow) {
    const StandInRegistered registered;
    const CheckRun run = RunCheck(copy_.Exe());
    EXPECT_FALSE(run.windowShown);
    ASSERT_TRUE(run.exitCode.has_value()) << "the check did not end: it runs no talk";
    EXPECT_EQ(*run.exitCode, 0u);
    ExpectHotspotLines(run.lines, [](const DeckHotspot&) { return L"ready"; });
    ASSERT_GE(run.lines.size(), 2u);
    EXPECT_EQ(run.lines[run.lines.size() - 2], L"Simulator: " + StandInPath());
    EXPECT_EQ(run.lines.back(),
              L"Demos: " + std::to_wstring(DeckHotspots().size()) + L" files ready, simulator found");
    EXPECT_EQ(testing_win::StoredPage(), std::optional<std::wstring>(L"20")) << "the speaker's slide is kept";
}

// A file gone from the folder: its line says so with its slide, the others stay ready, and the
// exit code tells a script. Each kind of hotspot: a circuit, a photo, a document for the shell.
TEST_F(DemoCheck, AMissingFileIsReportedWithItsSlideAndExitsOne) {
    const StandInRegistered registered;
    for (const wchar_t* gone : {L"NE555.asc", L"Lyon.jpg", L"English.pdf"}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(gone)));
        ProgramCopy copy(L"check-missing");
        ASSERT_TRUE(copy.Remove(gone));
        const CheckRun run = RunCheck(copy.Exe());
        EXPECT_FALSE(run.windowShown);
        ASSERT_TRUE(run.exitCode.has_value());
        EXPECT_EQ(*run.exitCode, 1u);
        ExpectHotspotLines(run.lines, [gone](const DeckHotspot& h) { return h.file == gone ? L"missing" : L"ready"; });
        ASSERT_FALSE(run.lines.empty());
        EXPECT_EQ(run.lines.back(), L"Demos: " + std::to_wstring(DeckHotspots().size() - 1) +
                                        L" files ready, 1 missing, simulator found");
    }
}

// A file another program holds locked (opened without sharing): there, but a click could not
// open it.
TEST_F(DemoCheck, ALockedFileIsReportedUnreadable) {
    const StandInRegistered registered;
    const std::wstring locked = copy_.Exe().substr(0, copy_.Exe().rfind(L'\\')) + L"\\Bode.asc";
    const HANDLE raw = ::CreateFileW(locked.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(raw, INVALID_HANDLE_VALUE);
    const fw::KernelHandle lock(raw);
    const CheckRun run = RunCheck(copy_.Exe());
    EXPECT_FALSE(run.windowShown);
    ASSERT_TRUE(run.exitCode.has_value());
    EXPECT_EQ(*run.exitCode, 1u);
    ExpectHotspotLines(run.lines, [](const DeckHotspot& h) { return h.file == L"Bode.asc" ? L"unreadable" : L"ready"; });
    ASSERT_FALSE(run.lines.empty());
    EXPECT_EQ(run.lines.back(), L"Demos: " + std::to_wstring(DeckHotspots().size() - 1) +
                                    L" files ready, 1 unreadable, simulator found");
}

// Neither at the default place nor registered: every file that goes to the simulator says so, the
// others are ready, and the place looked at is named.
TEST_F(DemoCheck, NoSimulatorIsReportedWithThePlaceLookedAtAndExitsOne) {
    const NoSimulator none;
    const CheckRun run = RunCheck(copy_.Exe());
    EXPECT_FALSE(run.windowShown);
    ASSERT_TRUE(run.exitCode.has_value());
    EXPECT_EQ(*run.exitCode, 1u);
    ExpectHotspotLines(run.lines, [](const DeckHotspot& h) {
        // Circuits, and whatever the run mark sends.
        return h.target[0] == L'!' || IsCircuitFile(h.file.c_str()) ? L"no simulator" : L"ready";
    });
    ASSERT_GE(run.lines.size(), 2u);
    EXPECT_EQ(run.lines[run.lines.size() - 2],
              L"Simulator: not found at " + none.DefaultPath() +
                  L" (the default place; no program is registered to open .asc files)");
    EXPECT_EQ(run.lines.back(),
              L"Demos: " + std::to_wstring(DeckHotspots().size()) + L" files ready, simulator not found");
    EXPECT_EQ(testing_win::StoredPage(), std::optional<std::wstring>(L"20"));
}

}  // namespace
}  // namespace launch_test
