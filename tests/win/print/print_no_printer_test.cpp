// Printing on a machine without any printer: the print commands end at once and print nothing.
// The print commands show no message box of the program's (the print dialog alone says, in its
// own words, that a printer is needed); the preview, which has no pages to show without a
// printer, ends too and says that no printer is installed.
#include "print_test_support.h"

#include <winternl.h>

namespace {

using namespace printtest;

// Wine reads the printer list from CUPS when a process loads its spooler library, but only when
// no other process of the same Wine server holds the spooler's start-up mutex; this process holds
// it (the common dialogs load the spooler with the program). Letting go of it lets a child
// process find the printers afresh. Returns whether the handle was found.
bool ReleaseSpoolerStartupMutex() {
    using QueryObject = LONG(NTAPI*)(HANDLE, int, PVOID, ULONG, PULONG);
    const auto query = reinterpret_cast<QueryObject>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "NtQueryObject")));
    if (!query) return false;
    const std::wstring wanted = L"__WINE_WINSPOOL_MUTEX__";
    for (ULONG_PTR value = 4; value < 0x4000; value += 4) {
        alignas(8) BYTE buffer[1024];
        ULONG length = 0;
        if (query(reinterpret_cast<HANDLE>(value), 1 /* ObjectNameInformation */, buffer, sizeof(buffer), &length) != 0)
            continue;
        const auto* name = reinterpret_cast<const UNICODE_STRING*>(buffer);
        if (!name->Buffer) continue;
        const std::wstring text(name->Buffer, name->Length / sizeof(wchar_t));
        if (text.size() >= wanted.size() && text.compare(text.size() - wanted.size(), wanted.size(), wanted) == 0) {
            ::CloseHandle(reinterpret_cast<HANDLE>(value));
            return true;
        }
    }
    return false;
}

// This program as the Unix side names it.
std::string ProgramPath() {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::string p = Narrow(path);
    if (p.size() > 2 && (p[0] == 'Z' || p[0] == 'z') && p[1] == ':') {
        p = p.substr(2);
        std::replace(p.begin(), p.end(), '\\', '/');
    }
    return p;
}

TEST(NoPrinter, CommandsEndAndOnlyThePreviewSaysWhy) {
    if (!std::getenv("PEMBORO_NO_PRINTER_CHILD")) {
        // The checks run in a child process that finds no printer: CUPS out of its reach.
        ASSERT_TRUE(ReleaseSpoolerStartupMutex()) << "the spooler's start-up mutex was not found";
        UnixWorkDir work;
        const int status = RunScript(work, "without_printer.sh",
                                     {ProgramPath(), "--gtest_filter=NoPrinter.CommandsEndAndOnlyThePreviewSaysWhy"},
                                     120000);
        EXPECT_EQ(status, 0) << work.Read("output.txt");
        return;
    }

    ASSERT_EQ(DefaultPrinterName(), L"") << "this process should see no printer";
    DeckState deck;
    WatchedPresenter presenter(800, 450);
    g_currentPage = 5;
    // The common print dialog tells the user to install a printer in its own words; whatever
    // comes up is read and answered, so that nothing can block.
    std::vector<std::wstring> said;
    WindowWatcher watcher(presenter.frameHwnd(), [&](HWND hwnd) {
        if (!IsDialog(hwnd)) return false;
        std::wstring text;
        for (HWND child = ::GetWindow(hwnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
            if (ClassOf(child) == L"Static") text += TextOf(child);
        said.push_back(text);
        ::PostMessageW(hwnd, WM_COMMAND, IDOK, 0);
        return true;
    });

    // The direct command: no output, and not a word.
    presenter.Command(ID_FILE_PRINT_DIRECT);
    PumpLikeTheApp(presenter.frame(), 100);
    EXPECT_TRUE(presenter.view()->sheets.empty()) << "nothing printed";
    EXPECT_TRUE(watcher.Seen().empty()) << "no message box: " << Narrow(watcher.Seen().front());
    EXPECT_TRUE(::IsWindowEnabled(presenter.frameHwnd()));

    // The command with the dialog: at most the dialog's own notice, nothing of the program's.
    presenter.Command(ID_FILE_PRINT);
    PumpLikeTheApp(presenter.frame(), 100);
    EXPECT_TRUE(presenter.view()->sheets.empty()) << "nothing printed";
    EXPECT_LE(watcher.Seen().size(), 1u);
    for (const std::wstring& seen : watcher.Seen()) EXPECT_EQ(seen, L"#32770|Print") << Narrow(seen);
    const size_t windowsSoFar = watcher.Seen().size();
    EXPECT_EQ(watcher.ForcedClosed(), 0);
    EXPECT_TRUE(::IsWindowEnabled(presenter.frameHwnd()));

    // The preview shows the pages as a printer prints them: with none, it ends, and says why.
    presenter.view()->paints.clear();
    presenter.Command(ID_FILE_PRINT_PREVIEW);
    EXPECT_EQ(presenter.preview(), nullptr) << "no preview without a printer";
    PumpLikeTheApp(presenter.frame(), 100);
    ASSERT_EQ(watcher.Seen().size(), windowsSoFar + 1) << "one message box";
    EXPECT_EQ(watcher.Seen().back(), L"#32770|Pemboro");
    EXPECT_EQ(said.back(),
              L"No printer is installed. The print preview shows the pages as a printer prints them: install a "
              L"printer to preview them.");
    EXPECT_EQ(watcher.ForcedClosed(), 0);
    for (const WatchedView::Paint& p : presenter.view()->paints) EXPECT_FALSE(p.printing) << "no page drawn";
    EXPECT_TRUE(presenter.view()->sheets.empty());
    EXPECT_TRUE(::IsWindowVisible(presenter.view()->m_hWnd));
    EXPECT_TRUE(::IsWindowEnabled(presenter.frameHwnd()));

    EXPECT_EQ(g_currentPage, 5);
}

}  // namespace
