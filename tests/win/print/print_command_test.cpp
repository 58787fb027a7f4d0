// The print command as the user meets it: the common print dialog with the deck's pages, the
// range chosen there, Ctrl+P and the menu also in full-screen mode, the progress window with
// its Cancel button, and a job that stops cleanly when cancelled.
#include "print_test_support.h"

namespace {

using namespace printtest;

class PrintCommand : public ::testing::Test {
protected:
    void SetUp() override {
        ::SetCursorPos(1919, 1079);
        g_currentPage = 9;
    }
    // A document name of its own, so that this test's PDF is told from any other.
    std::string UniqueTitle(const char* what) {
        const std::string title = std::string("Pemboro") + what + std::to_string(::GetCurrentProcessId());
        presenter_.document()->SetTitle(Widen(title).c_str());
        return title;
    }
    DeckState deck_;
    WatchedPresenter presenter_{800, 450};
};

// The dialog that PrintDlgW shows for the frame, as the watcher meets it.
struct SeenDialog {
    bool seen = false;
    HWND owner = nullptr;
    std::wstring from, to;
    bool allChecked = false;
};

TEST_F(PrintCommand, DialogOffersEveryPageAndCancelPrintsNothing) {
    REQUIRE_PRINTER();
    SeenDialog dialog;
    WindowWatcher watcher(presenter_.frameHwnd(), [&](HWND hwnd) {
        if (!IsDialog(hwnd) || !::GetDlgItem(hwnd, kFromPageEdit)) return false;
        dialog.seen = true;
        dialog.owner = ::GetWindow(hwnd, GW_OWNER);
        dialog.from = ControlText(hwnd, kFromPageEdit);
        dialog.to = ControlText(hwnd, kToPageEdit);
        dialog.allChecked = ::IsDlgButtonChecked(hwnd, kAllPagesRadio) == BST_CHECKED;
        Click(hwnd, IDCANCEL);
        return true;
    });
    presenter_.Command(ID_FILE_PRINT);

    ASSERT_TRUE(dialog.seen) << "the print dialog came up";
    EXPECT_EQ(dialog.owner, presenter_.frameHwnd());
    EXPECT_EQ(dialog.from, L"1");
    EXPECT_EQ(dialog.to, L"31");
    EXPECT_TRUE(dialog.allChecked) << "all pages unless the user picks a range";
    EXPECT_TRUE(presenter_.view()->sheets.empty()) << "nothing printed";
    EXPECT_EQ(watcher.ForcedClosed(), 0) << "no message box after a cancelled dialog";
    EXPECT_EQ(g_currentPage, 9);
    EXPECT_TRUE(::IsWindowEnabled(presenter_.frameHwnd()));
}

TEST_F(PrintCommand, PrintsThePageRangeChosenInTheDialog) {
    REQUIRE_PRINTER();
    const std::string title = UniqueTitle("Range");
    UnixWorkDir work;
    work.Touch("started");
    std::wstring progressPage;
    presenter_.view()->onSheet = [&](UINT sheet) {
        const std::vector<std::wstring> texts = ProgressTexts();
        if (sheet == 31 && texts.size() > 2) progressPage = texts[2];
    };
    WindowWatcher watcher(presenter_.frameHwnd(), [&](HWND hwnd) {
        if (TextOf(hwnd) == L"Printing") return true;
        if (!IsDialog(hwnd) || !::GetDlgItem(hwnd, kFromPageEdit)) return false;
        ::CheckRadioButton(hwnd, kAllPagesRadio, kPageRangeRadio, kPageRangeRadio);
        Click(hwnd, kPageRangeRadio);
        ::SetDlgItemTextW(hwnd, kFromPageEdit, L"30");
        ::SetDlgItemTextW(hwnd, kToPageEdit, L"31");
        Click(hwnd, IDOK);
        return true;
    });
    presenter_.Command(ID_FILE_PRINT);

    EXPECT_EQ(presenter_.view()->SheetNumbers(), (std::vector<UINT>{30, 31}));
    EXPECT_EQ(progressPage, L"Page 31 (30 to 31)");
    EXPECT_EQ(watcher.ForcedClosed(), 0);
    EXPECT_EQ(presenter_.view()->m_nPrintPage, 31);
    EXPECT_EQ(g_currentPage, 9);
    const PdfJob job = WaitForPdf(work, title, {});
    ASSERT_EQ(job.status, 0) << job.info;
    EXPECT_EQ(job.pages, 2) << job.info;
}

TEST_F(PrintCommand, ProgressWindowShowsTheJobAndCancelStopsItCleanly) {
    REQUIRE_PRINTER();
    WatchedView& view = *presenter_.view();
    int gdiAfterFirst = 0;
    for (int run = 0; run < 3; ++run) {
        const std::string title = UniqueTitle(run == 0 ? "CancelA" : run == 1 ? "CancelB" : "CancelC");
        UnixWorkDir work;
        work.Touch("started");
        view.sheets.clear();
        std::wstring document, printer, page;
        bool frameEnabled = true;
        // Cancel as the user would, once the progress window shows the third sheet.
        view.onSheet = [&](UINT sheet) {
            if (sheet != 3) return;
            const std::vector<std::wstring> texts = ProgressTexts();
            ASSERT_EQ(texts.size(), 4u);
            document = texts[0], printer = texts[1], page = texts[2];
            frameEnabled = ::IsWindowEnabled(presenter_.frameHwnd()) != FALSE;
            EXPECT_EQ(texts[3], L"Cancel");
            const HWND progress = FindThreadWindow(nullptr, L"Printing");
            ::PostMessageW(::GetDlgItem(progress, IDCANCEL), BM_CLICK, 0, 0);
        };
        WindowWatcher watcher(presenter_.frameHwnd(), [](HWND hwnd) { return TextOf(hwnd) == L"Printing"; });
        presenter_.Command(ID_FILE_PRINT_DIRECT);
        view.onSheet = nullptr;

        EXPECT_EQ(document, L"Printing \"" + Widen(title) + L"\"");
        EXPECT_EQ(printer, L"on " + DefaultPrinterName());
        EXPECT_EQ(page, L"Page 3 of 31");
        EXPECT_FALSE(frameEnabled) << "the frame waits while the job runs";
        // The click is seen before the next sheet starts.
        EXPECT_EQ(view.SheetNumbers(), (std::vector<UINT>{1, 2, 3}));
        EXPECT_EQ(view.m_nPrintPage, 3);
        EXPECT_EQ(g_currentPage, 9);
        EXPECT_TRUE(::IsWindowEnabled(presenter_.frameHwnd()));
        EXPECT_EQ(FindThreadWindow(nullptr, L"Printing"), nullptr);
        EXPECT_EQ(watcher.ForcedClosed(), 0) << "no message box for a cancelled job";
        EXPECT_EQ(ExpectNoPdf(work, title), 0) << work.Read("pdfinfo.txt");
        PumpMessages(50);
        // The first job warms the printer driver's and the font caches; later ones add nothing.
        if (run == 0) gdiAfterFirst = testing_win::CountGdiObjects();
        else EXPECT_LE(testing_win::CountGdiObjects(), gdiAfterFirst) << "a cancelled job leaves nothing behind";
    }
}

TEST_F(PrintCommand, CtrlPAndTheMenuWorkInFullScreenMode) {
    REQUIRE_PRINTER();
    CMainFrame& frame = *presenter_.frame();
    frame.OnFullScreen();
    PumpLikeTheApp(&frame, 50);
    ASSERT_TRUE(frame.m_bFullScreen);
    ::SetForegroundWindow(frame.m_hWnd);
    ::SetFocus(presenter_.view()->m_hWnd);
    PumpLikeTheApp(&frame, 20);

    int dialogs = 0;
    WindowWatcher watcher(frame.m_hWnd, [&](HWND hwnd) {
        if (!IsDialog(hwnd) || !::GetDlgItem(hwnd, kFromPageEdit)) return false;
        ++dialogs;
        Click(hwnd, IDCANCEL);
        return true;
    });
    // The keys go through the system's input queue and the program's own message loop.
    PressKey('P', true);
    PumpLikeTheAppUntil(&frame, [&] { return dialogs == 1; }, 5000);
    EXPECT_EQ(dialogs, 1) << "Ctrl+P opens the print dialog";

    // The menu is off the screen, but its commands are the same: the item's id reaches the frame.
    const HMENU popup = ::GetSubMenu(::GetMenu(frame.m_hWnd), 0);
    ASSERT_NE(popup, nullptr);
    UINT printItem = 0, previewItem = 0;
    for (int i = 0; i < ::GetMenuItemCount(popup); ++i) {
        wchar_t text[64] = {};
        ::GetMenuStringW(popup, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
        if (std::wstring(text) == L"Print") printItem = ::GetMenuItemID(popup, i);
        if (std::wstring(text) == L"Print Preview") previewItem = ::GetMenuItemID(popup, i);
    }
    ASSERT_EQ(printItem, ID_FILE_PRINT);
    ASSERT_EQ(previewItem, ID_FILE_PRINT_PREVIEW);
    ::PostMessageW(frame.m_hWnd, WM_COMMAND, MAKEWPARAM(printItem, 0), 0);
    PumpLikeTheAppUntil(&frame, [&] { return dialogs == 2; }, 5000);
    EXPECT_EQ(dialogs, 2) << "the menu's Print opens it too";
    EXPECT_TRUE(presenter_.view()->sheets.empty()) << "nothing printed";

    ::PostMessageW(frame.m_hWnd, WM_COMMAND, MAKEWPARAM(previewItem, 0), 0);
    PumpLikeTheAppUntil(&frame, [&] { return presenter_.preview() != nullptr; }, 5000);
    ASSERT_NE(presenter_.preview(), nullptr) << "the menu's Print Preview opens it";
    RECT client{}, shown{};
    ::GetClientRect(frame.m_hWnd, &client);
    ::GetClientRect(presenter_.preview()->m_hWnd, &shown);
    EXPECT_EQ(CRect(shown), CRect(client)) << "over the whole full-screen client area";
    PressKey(VK_ESCAPE);
    PumpLikeTheAppUntil(&frame, [&] { return presenter_.preview() == nullptr; }, 5000);
    EXPECT_EQ(presenter_.preview(), nullptr);
    EXPECT_TRUE(frame.m_bFullScreen);
    EXPECT_EQ(watcher.ForcedClosed(), 0);
    frame.OnFullScreen();
}

// A queue that refuses the job: the spooler's failure at the end of the job is reported in the
// program's own message box, once the progress window has gone and the frame is enabled again.
class RefusingPrinter : public PrintCommand {
protected:
    void SetUp() override {
        PrintCommand::SetUp();
        printer_ = Narrow(DefaultPrinterName());
        if (printer_.empty()) GTEST_SKIP() << "no default printer";
        UnixWorkDir work;
        if (RunScript(work, "printer_queue.sh", {"reject", printer_}, 20000) != 0)
            GTEST_SKIP() << "the queue cannot be changed here: " << work.Read("output.txt");
        rejecting_ = true;
    }
    void TearDown() override {
        if (!rejecting_) return;
        UnixWorkDir work;
        EXPECT_EQ(RunScript(work, "printer_queue.sh", {"accept", printer_}, 20000), 0) << work.Read("output.txt");
    }
    std::string printer_;
    bool rejecting_ = false;
};

TEST_F(RefusingPrinter, FailureIsReportedInAMessageBox) {
    UniqueTitle("Refused");
    std::wstring message;
    bool progressGone = false;
    HWND owner = nullptr;
    WindowWatcher watcher(presenter_.frameHwnd(), [&](HWND hwnd) {
        if (TextOf(hwnd) == L"Printing") return true;
        if (!IsDialog(hwnd)) return false;
        if (::GetDlgItem(hwnd, kFromPageEdit)) {  // the print dialog: the first page only
            ::CheckRadioButton(hwnd, kAllPagesRadio, kPageRangeRadio, kPageRangeRadio);
            Click(hwnd, kPageRangeRadio);
            ::SetDlgItemTextW(hwnd, kFromPageEdit, L"1");
            ::SetDlgItemTextW(hwnd, kToPageEdit, L"1");
            Click(hwnd, IDOK);
            return true;
        }
        for (HWND child = ::GetWindow(hwnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
            if (ClassOf(child) == L"Static") message += TextOf(child);
        progressGone = FindThreadWindow(nullptr, L"Printing") == nullptr;
        owner = ::GetWindow(hwnd, GW_OWNER);
        ::PostMessageW(hwnd, WM_COMMAND, IDOK, 0);
        return true;
    });
    presenter_.Command(ID_FILE_PRINT);

    EXPECT_EQ(presenter_.view()->SheetNumbers(), std::vector<UINT>{1});
    EXPECT_EQ(message, L"An error occurred while printing. The print job was stopped.");
    EXPECT_TRUE(progressGone);
    EXPECT_EQ(owner, presenter_.frameHwnd()) << "modal to the frame";
    EXPECT_TRUE(::IsWindowEnabled(presenter_.frameHwnd()));
    EXPECT_EQ(watcher.ForcedClosed(), 0);
    EXPECT_EQ(g_currentPage, 9);
}

}  // namespace

namespace {

using namespace printtest;

constexpr int kPrinterCombo = 0x473;  // the print dialog's list of printers

// Picks `printer` in the print dialog and asks for sheet 1 alone; true once it pressed OK.
bool ChooseInDialog(HWND dialog, const std::wstring& printer) {
    if (!IsDialog(dialog) || !::GetDlgItem(dialog, kFromPageEdit)) return false;
    const HWND combo = ::GetDlgItem(dialog, kPrinterCombo);
    const LRESULT at = ::SendMessageW(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                      reinterpret_cast<LPARAM>(printer.c_str()));
    if (at == CB_ERR) {
        ADD_FAILURE() << "the dialog offers no printer " << Narrow(printer);
        Click(dialog, IDCANCEL);
        return true;
    }
    ::SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(at), 0);
    ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(kPrinterCombo, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
    ::CheckRadioButton(dialog, kAllPagesRadio, kPageRangeRadio, kPageRangeRadio);
    Click(dialog, kPageRangeRadio);
    ::SetDlgItemTextW(dialog, kFromPageEdit, L"1");
    ::SetDlgItemTextW(dialog, kToPageEdit, L"1");
    Click(dialog, IDOK);
    return true;
}

// A printer's page: the clip box of its printing DC.
CRect PageOf(const std::wstring& printer) {
    const fw::PrinterDc dc(::CreateDCW(L"WINSPOOL", printer.c_str(), nullptr, nullptr));
    RECT clip{};
    if (dc) ::GetClipBox(dc.get(), &clip);
    return clip;
}

// The printer chosen in the print dialog serves the commands without a dialog too: Quick Print
// prints on it, and the preview shows its pages. The run's printers are "PDF" (A4, the default)
// and "Letter" (US Letter), so each DC shows by its page which printer it belongs to.
TEST_F(PrintCommand, QuickPrintAndThePreviewUseThePrinterChosenInTheDialog) {
    REQUIRE_PRINTER();
    const std::wstring standard = DefaultPrinterName();
    const std::wstring chosen = standard == L"Letter" ? L"PDF" : L"Letter";
    const CRect chosenPage = PageOf(chosen);
    if (chosenPage.Width() == 0) GTEST_SKIP() << "no second printer " << Narrow(chosen);
    ASSERT_NE(chosenPage, PageOf(standard)) << "the two printers' pages tell them apart";
    WatchedView& view = *presenter_.view();
    const auto lastPrintingPage = [&view] {
        CRect page;
        for (const WatchedView::Paint& p : view.paints)
            if (p.printing) page = p.clip;
        return page;
    };
    const auto cancelAtFirstSheet = [](UINT) {
        ::PostMessageW(::GetDlgItem(FindThreadWindow(nullptr, L"Printing"), IDCANCEL), BM_CLICK, 0, 0);
    };
    std::wstring printerShown;
    const auto cancelAndRead = [&](UINT sheet) {
        const std::vector<std::wstring> texts = ProgressTexts();
        if (texts.size() > 1) printerShown = texts[1];
        cancelAtFirstSheet(sheet);
    };

    // Sheet 1 printed on the printer chosen in the dialog.
    const std::string title = UniqueTitle("Chosen");
    UnixWorkDir work;
    work.Touch("started");
    {
        WindowWatcher watcher(presenter_.frameHwnd(), [&](HWND hwnd) {
            return TextOf(hwnd) == L"Printing" || ChooseInDialog(hwnd, chosen);
        });
        presenter_.Command(ID_FILE_PRINT);
        EXPECT_EQ(watcher.ForcedClosed(), 0);
    }
    EXPECT_EQ(view.SheetNumbers(), std::vector<UINT>{1});
    EXPECT_EQ(lastPrintingPage(), chosenPage);
    const PdfJob job = WaitForPdf(work, title, {});
    ASSERT_EQ(job.status, 0) << job.info;
    EXPECT_EQ(job.pages, 1) << job.info;
    const char* const chosenPaper = chosen == L"Letter" ? "612 x 792" : "595 x 842";
    EXPECT_NE(job.info.find(chosenPaper), std::string::npos) << "on the chosen printer's paper: " << job.info;

    // Quick Print: on the chosen printer, and the progress window names it.
    view.sheets.clear();
    view.paints.clear();
    view.onSheet = cancelAndRead;
    {
        WindowWatcher watcher(presenter_.frameHwnd(), [](HWND hwnd) { return TextOf(hwnd) == L"Printing"; });
        presenter_.Command(ID_FILE_PRINT_DIRECT);
    }
    view.onSheet = nullptr;
    EXPECT_EQ(view.SheetNumbers(), std::vector<UINT>{1});
    EXPECT_EQ(lastPrintingPage(), chosenPage);
    EXPECT_EQ(printerShown, L"on " + chosen);

    // The preview shows the chosen printer's pages.
    presenter_.Command(ID_FILE_PRINT_PREVIEW);
    CPrintPreviewWnd* preview = presenter_.preview();
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(preview->Paper().printable.cx, chosenPage.Width());
    EXPECT_EQ(preview->Paper().printable.cy, chosenPage.Height());
    const HWND previewHwnd = preview->m_hWnd;
    ::SendMessageW(preview->Button(AFX_ID_PREVIEW_CLOSE), BM_CLICK, 0, 0);
    PumpLikeTheAppUntil(presenter_.frame(), [&] { return !::IsWindow(previewHwnd); }, 5000);

    // Back to the default printer for whatever this process prints next; that job is cancelled.
    view.onSheet = cancelAtFirstSheet;
    {
        WindowWatcher watcher(presenter_.frameHwnd(), [&](HWND hwnd) {
            return TextOf(hwnd) == L"Printing" || ChooseInDialog(hwnd, standard);
        });
        presenter_.Command(ID_FILE_PRINT);
    }
    view.onSheet = nullptr;
    EXPECT_EQ(g_currentPage, 9);
}

}  // namespace
