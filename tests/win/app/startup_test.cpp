// Start-up as the program runs it: the real application object, the real registry
// profile, the real frame and menu; and the real program as a separate process.
#include <gtest/gtest.h>
#include <objbase.h>

#include <string>
#include <vector>

#include "app/app.h"
#include "app/mainframe.h"
#include "deck/deck.h"
#include "deck/page_cursor.h"
#include "framework/gdi.h"
#include "launch/file_tests.h"
#include "launch/target_names.h"
#include "res/resource.h"
#include "support/unix_side.h"
#include "support/started_app.h"
#include "support/win_test_support.h"

namespace {

using testing_win::PumpMessages;
using testing_win::StartedApp;

constexpr wchar_t kSectionKey[] = L"Software\\QuillmerePemboro\\Pemboro\\General";

void SetStoredPage(const wchar_t* value) {
    if (!value) {
        ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kSectionKey, L"Page");
        return;
    }
    ::RegSetKeyValueW(HKEY_CURRENT_USER, kSectionKey, L"Page", REG_SZ, value,
                      static_cast<DWORD>((wcslen(value) + 1) * sizeof(wchar_t)));
}

std::wstring StoredPage() {
    wchar_t buffer[64] = {};
    DWORD bytes = sizeof(buffer) - sizeof(wchar_t);
    if (::RegGetValueW(HKEY_CURRENT_USER, kSectionKey, L"Page", RRF_RT_REG_SZ, nullptr, buffer, &bytes) !=
        ERROR_SUCCESS)
        return L"<missing>";
    return buffer;
}

class Startup : public ::testing::Test {
    testing_win::SavedGlobals globals_;

protected:
    void SetUp() override { saved_ = StoredPage(); }
    void TearDown() override {
        if (saved_ == L"<missing>") SetStoredPage(nullptr);
        else SetStoredPage(saved_.c_str());
    }
    std::wstring saved_;
};

TEST_F(Startup, ShowsTheMaximisedFrameWithCaptionAndMenu) {
    StartedApp started(L"");
    ASSERT_TRUE(started.ok());
    HWND frame = started.frameHwnd();
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(::IsWindowVisible(frame));
    EXPECT_TRUE(::IsZoomed(frame));
    wchar_t caption[256] = {};
    ::GetWindowTextW(frame, caption, 256);
    EXPECT_STREQ(caption, L"Circelo Vexa Roundway 2017 - Pemboro");

    const LONG style = ::GetWindowLongW(frame, GWL_STYLE);
    EXPECT_EQ(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0);
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_THICKFRAME), WS_CAPTION | WS_SYSMENU | WS_THICKFRAME);
    EXPECT_EQ(::GetWindowLongW(frame, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);

    HMENU bar = ::GetMenu(frame);
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(::GetMenuItemCount(bar), 1);
    wchar_t text[64] = {};
    ::GetMenuStringW(bar, 0, text, 64, MF_BYPOSITION);
    EXPECT_STREQ(text, L"Menu");
    HMENU popup = ::GetSubMenu(bar, 0);
    struct Item {
        const wchar_t* text;
        UINT id;
    } const items[] = {{L"Full Screen Mode", ID_FULL_SCREEN_MODE},
                       {L"Print", 57607},
                       {L"Print Preview", 57609},
                       {L"Presenter Console", ID_PRESENTER_CONSOLE},
                       {L"E&xit", 57665}};
    ASSERT_EQ(::GetMenuItemCount(popup), 5);
    for (int i = 0; i < 5; ++i) {
        ::GetMenuStringW(popup, i, text, 64, MF_BYPOSITION);
        EXPECT_STREQ(text, items[i].text);
        EXPECT_EQ(::GetMenuItemID(popup, i), items[i].id);
        EXPECT_EQ(::GetMenuState(popup, i, MF_BYPOSITION) & MF_CHECKED, 0u);
    }
}

TEST_F(Startup, SwitchesChooseModeAndLogos) {
    struct Case {
        const wchar_t* tail;
        bool pro, big;
        int brand, second;
    } const cases[] = {
        {L"", false, false, 0, IDB_PARENT},
        {L"-Brannoch", false, false, IDB_PARENT, IDB_BRAND},
        {L"-Tessly -Orvane", false, false, IDB_PARTNER_ORVANE, IDB_PARENT},
        {L"/pro", true, true, 0, IDB_PARENT},
        {L"-Profile -Pro", false, false, 0, IDB_PARENT},
        {L"-Zintok /MAX", false, true, IDB_PARTNER_ZINTOK, IDB_PARENT},
    };
    for (const Case& c : cases) {
        StartedApp started(c.tail);
        ASSERT_TRUE(started.ok());
        EXPECT_EQ(g_proMode, c.pro);
        EXPECT_EQ(g_brandLogoId, c.brand);
        EXPECT_EQ(g_secondLogoId, c.second);
        // Big mode is consumed by the first paint; before it runs, the request stands.
        if (!c.big) {
            EXPECT_FALSE(g_bigMode);
        }
        g_bigMode = false;
    }
}

TEST_F(Startup, FixesTheProgramFolderAndNumbersTheSlides) {
    StartedApp started(L"");
    wchar_t exe[MAX_PATH];
    ::GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring dir = exe;
    dir.resize(dir.rfind(L'\\'));
    EXPECT_EQ(std::wstring(g_appDir), dir);
    EXPECT_EQ(g_enabledPageCount, 62);
    EXPECT_EQ(g_slideDeck[68].nNumber, 62);
}

TEST_F(Startup, RestoresTheSlideIndexAndWritesItBackAtExit) {
    struct Case {
        const wchar_t* stored;  // null: no entry
        int restored;           // after the first paint
        const wchar_t* written;
    } const cases[] = {
        {L"12", 12, L"12"},  {nullptr, 0, L"0"},     {L"12abc", 12, L"12"},
        {L"xyz", 0, L"0"},   {L"70", 68, L"68"},     {L"-3", 0, L"0"},
    };
    for (const Case& c : cases) {
        SetStoredPage(c.stored);
        {
            StartedApp started(L"");
            ASSERT_TRUE(started.ok());
            EXPECT_EQ(g_currentPage, c.restored) << (c.stored ? "stored" : "missing");
        }
        EXPECT_EQ(StoredPage(), c.written);
    }
}

// A stored 70 is shown as the last slide, 68, and only the exit writes that back: the value
// read afterwards proves the paint's clamp and the write at exit of the real program.
TEST_F(Startup, TheProgramItselfStartsClosesAndKeepsItsSlide) {
    SetStoredPage(L"70");
    const std::wstring exe = testing_win::DistDir() + L"\\Pemboro.exe";
    std::wstring cmd = L"\"" + exe + L"\" -Orvane";
    STARTUPINFOW si{sizeof(si)};
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(::CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
    fw::KernelHandle process(pi.hProcess);
    fw::KernelHandle thread(pi.hThread);
    HWND window = nullptr;
    testing_win::PumpUntil(
        [&] { return (window = ::FindWindowW(nullptr, L"Circelo Vexa Roundway 2017 - Pemboro")) != nullptr; }, 15000);
    ASSERT_NE(window, nullptr);
    ::PostMessageW(window, WM_COMMAND, ID_APP_EXIT, 0);  // the menu's "Exit"
    ASSERT_EQ(::WaitForSingleObject(process.get(), 15000), WAIT_OBJECT_0);
    DWORD code = 99;
    ::GetExitCodeProcess(process.get(), &code);
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(StoredPage(), L"68");
}

// Start-up takes the program's folder from its own path; a path longer than the folder's 260
// characters comes back cut short, and a cut path names some other folder: start-up ends
// then, as when there is no path at all, without a window and without touching the profile.
TEST_F(Startup, AProgramPathTooLongForTheFolderEndsStartUp) {
    SetStoredPage(L"12");
    testing_win::UnixWorkDir work("startup");
    // The folders and the copy, reached by their full paths (\\?\), and removed the same way.
    struct LongTree {
        std::vector<std::wstring> dirs;
        std::wstring exe;
        ~LongTree() {
            if (!exe.empty()) ::DeleteFileW((L"\\\\?\\" + exe).c_str());
            for (auto d = dirs.rbegin(); d != dirs.rend(); ++d) ::RemoveDirectoryW((L"\\\\?\\" + *d).c_str());
        }
    } tree;
    std::string unixDir = work.Unix();
    std::wstring dir = work.Windows();
    while (dir.size() < kAppDirChars) {
        const std::string part(40, 'd');
        unixDir += "/" + part;
        dir += L"\\" + testing_win::Widen(part);
        ASSERT_TRUE(::CreateDirectoryW((L"\\\\?\\" + dir).c_str(), nullptr));
        tree.dirs.push_back(dir);
    }
    const std::wstring exe = dir + L"\\Pemboro.exe";
    const std::wstring source = testing_win::DistDir() + L"\\Pemboro.exe";
    ASSERT_TRUE(::CopyFileW(source.c_str(), (L"\\\\?\\" + exe).c_str(), FALSE));
    tree.exe = exe;

    const int status = testing_win::RunUnixScript(
        work, testing_win::SourceDirOf(__FILE__) + "/run_by_unix_path.sh", {unixDir + "/Pemboro.exe"}, 20000);
    EXPECT_EQ(status, 0) << "start-up went on with a folder cut from the path";
    if (status == -1) testing_win::EndProcesses(testing_win::ProcessesRunning(exe));  // the copy it started
    EXPECT_EQ(StoredPage(), L"12");
}

// Full-screen mode from the first paint, as the command line asks, seen on the frame itself.
TEST_F(Startup, BigModeFromTheCommandLineFillsTheScreenFromTheFirstPaint) {
    struct Case {
        const wchar_t* tail;
        bool fullScreen;
    } const cases[] = {
        {L"", false},         {L"-big", true},          {L"/MAX", true},   {L"/pro", true},
        {L"-Profile", false}, {L"-Profile -Pro", false}, {L"-Zintok -max", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(std::wstring(c.tail)));
        StartedApp started(c.tail);
        ASSERT_TRUE(started.ok());
        auto* frame = dynamic_cast<CMainFrame*>(started.app().m_pMainWnd);
        ASSERT_NE(frame, nullptr);
        EXPECT_EQ(frame->m_bFullScreen, c.fullScreen);
        EXPECT_FALSE(g_bigMode) << "the first paint took the request";
        RECT shown{};
        ::GetWindowRect(started.frameHwnd(), &shown);
        if (c.fullScreen) {
            EXPECT_EQ(CRect(shown), frame->m_rcFullScreen);
        } else {
            EXPECT_TRUE(::IsZoomed(started.frameHwnd()));
        }
    }
}

// COM is entered by start-up on the user-interface thread, so that a shell open coming before
// any image decode finds it. Start-up runs on a thread of its own here, which nothing has
// entered COM on, in this test program's folder, which holds no slide to decode.
// Its first step, the framework's own InitInstance, enters COM on the thread that runs start-up,
// before any window exists (under Wine a thread's first window enters COM too, for its input
// method: only this step shows start-up's own entry); ExitInstance leaves it again.
TEST(StartupCom, TheFirstStepEntersComAndExitLeavesIt) {
    struct Result {
        HRESULT before = E_FAIL, afterInit = E_FAIL, afterExit = E_FAIL;
        APTTYPE type = APTTYPE_CURRENT;
    } result;
    const auto run = [](void* param) -> DWORD {
        auto* r = static_cast<Result*>(param);
        APTTYPE type{};
        APTTYPEQUALIFIER qualifier{};
        r->before = ::CoGetApartmentType(&type, &qualifier);
        testing_win::TestApp app;
        app.CWinApp::InitInstance();
        r->afterInit = ::CoGetApartmentType(&r->type, &qualifier);
        app.ExitInstance();
        r->afterExit = ::CoGetApartmentType(&type, &qualifier);
        return 0;
    };
    const fw::KernelHandle thread(::CreateThread(nullptr, 0, run, &result, 0, nullptr));
    ASSERT_TRUE(thread);
    ASSERT_EQ(::WaitForSingleObject(thread.get(), 30000), WAIT_OBJECT_0);
    EXPECT_EQ(result.before, CO_E_NOTINITIALIZED);
    EXPECT_EQ(result.afterInit, S_OK);
    EXPECT_TRUE(result.type == APTTYPE_STA || result.type == APTTYPE_MAINSTA) << result.type;
    EXPECT_EQ(result.afterExit, CO_E_NOTINITIALIZED);
}

// The apartment of a thread at the moment the program creates its first window there. Under Wine
// a thread's first window enters COM itself (for its input method), so the apartment after
// start-up would be there whatever start-up did; only the moment before the first window tells.
struct FirstWindowApartment {
    HRESULT status = E_FAIL;  // of CoGetApartmentType then; E_FAIL while no window was created
    APTTYPE type = APTTYPE_CURRENT;
    HHOOK hook = nullptr;
};
thread_local FirstWindowApartment* t_firstWindow = nullptr;

LRESULT CALLBACK RecordApartmentAtFirstWindow(int code, WPARAM wParam, LPARAM lParam) {
    FirstWindowApartment* first = t_firstWindow;
    // COM makes a window of its own as it enters an apartment, and the input method one after
    // the program's first: only the program's own windows count.
    if (code == HCBT_CREATEWND && first && first->status == E_FAIL &&
        reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs->hInstance == ::GetModuleHandleW(nullptr)) {
        APTTYPEQUALIFIER qualifier{};
        first->status = ::CoGetApartmentType(&first->type, &qualifier);
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(Startup, EntersComOnTheUserInterfaceThreadBeforeAnyDecode) {
    struct Result {
        HRESULT before = E_FAIL;  // the thread's apartment before start-up
        BOOL started = FALSE;
        FirstWindowApartment atFirstWindow;  // and as start-up made its first window
        std::wstring appDir;
    } result;
    SetStoredPage(L"0");
    const auto startUp = [](void* param) -> DWORD {
        auto* r = static_cast<Result*>(param);
        APTTYPE type{};
        APTTYPEQUALIFIER qualifier{};
        r->before = ::CoGetApartmentType(&type, &qualifier);
        t_firstWindow = &r->atFirstWindow;
        r->atFirstWindow.hook =
            ::SetWindowsHookExW(WH_CBT, &RecordApartmentAtFirstWindow, nullptr, ::GetCurrentThreadId());
        {
            StartedApp started(L"");
            r->started = started.ok();
            r->appDir = g_appDir;
        }
        if (r->atFirstWindow.hook) ::UnhookWindowsHookEx(r->atFirstWindow.hook);
        t_firstWindow = nullptr;
        return 0;
    };
    const fw::KernelHandle thread(::CreateThread(nullptr, 0, startUp, &result, 0, nullptr));
    ASSERT_TRUE(thread);
    ASSERT_EQ(::WaitForSingleObject(thread.get(), 30000), WAIT_OBJECT_0);

    EXPECT_EQ(result.before, CO_E_NOTINITIALIZED) << "nothing entered COM on the new thread";
    ASSERT_TRUE(result.atFirstWindow.hook);
    ASSERT_TRUE(result.started);
    EXPECT_FALSE(::FileExists((result.appDir + L"\\" + g_slideDeck[0].pszImage).c_str())) << "no slide was decoded";
    EXPECT_EQ(result.atFirstWindow.status, S_OK) << "start-up entered COM before it made any window";
    EXPECT_TRUE(result.atFirstWindow.type == APTTYPE_STA || result.atFirstWindow.type == APTTYPE_MAINSTA)
        << result.atFirstWindow.type;
}


}  // namespace

namespace {

TEST(CommandLine, FlagsPassAndTheFirstOtherArgumentIsADocument) {
    struct Case {
        const wchar_t* tail;
        CCommandLineInfo::Command command;
        const wchar_t* file;
    } const cases[] = {
        {L"", CCommandLineInfo::FileNew, L""},
        {L"-big -Orvane /Pro", CCommandLineInfo::FileNew, L""},
        {L"-big deck.scr", CCommandLineInfo::FileOpen, L"deck.scr"},
        {L"\"C:\\my decks\\x.scr\" -Pro", CCommandLineInfo::FileOpen, L"C:\\my decks\\x.scr"},
        {L"a.scr b.scr", CCommandLineInfo::FileOpen, L"a.scr"},
    };
    for (const Case& c : cases) {
        testing_win::TestApp app;
        std::wstring tail = c.tail;
        app.m_lpCmdLine = tail.data();
        CCommandLineInfo info;
        app.ParseCommandLine(info);
        EXPECT_EQ(info.m_nShellCommand, c.command);
        EXPECT_EQ(info.m_strFileName, c.file);
    }
}

}  // namespace
