// Where the time of printing the handouts goes: the 31 sheets sent to the default printer through
// the real print command (Quick Print), timed from the command to the PDF that CUPS writes, beside
// what the program itself spends (decoding the slides, drawing the sheets into memory at the
// printer's resolution) measured in the same run.
// Usage: print_bench   (needs the CUPS PDF printer of scripts/printer_env.sh; PEMBORO_PDF_OUT
// names the folder its PDFs land in)
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/mainframe.h"
#include "deck/deck.h"
#include "framework/dc.h"
#include "framework/gdi.h"
#include "pictures/image_loader.h"
#include "launch/target_names.h"
#include "res/resource.h"
#include "support/win_test_support.h"
#include "render/geometry.h"
#include "render/slide_renderer_win.h"
#include "view/view.h"

namespace {

using Clock = std::chrono::steady_clock;
double MsSince(Clock::time_point a) { return std::chrono::duration<double, std::milli>(Clock::now() - a).count(); }

std::wstring DefaultPrinter() {
    wchar_t name[256];
    DWORD size = 256;
    return ::GetDefaultPrinterW(name, &size) ? name : L"";
}

// The newest PDF in the folder, with its time of writing; empty when there is none.
std::filesystem::path NewestPdf(const std::filesystem::path& dir, std::filesystem::file_time_type after) {
    std::filesystem::path newest;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(dir, ec)) {
        if (e.path().extension() != L".pdf" || e.last_write_time(ec) <= after) continue;
        newest = e.path();
    }
    return newest;
}

}  // namespace

int main() {
    const std::wstring printer = DefaultPrinter();
    wchar_t out[1024] = {};
    ::GetEnvironmentVariableW(L"PEMBORO_PDF_OUT", out, 1024);
    if (printer.empty() || !*out) {
        std::printf("print_bench: no default printer or PEMBORO_PDF_OUT; source scripts/printer_env.sh as root\n");
        return 0;
    }
    std::wstring folder = std::wstring(L"Z:") + out;
    for (wchar_t& c : folder)
        if (c == L'/') c = L'\\';

    wcsncpy_s(g_appDir, testing_win::DistDir().c_str(), _TRUNCATE);
    NumberSlides();
    const int sheets = (g_enabledPageCount + 1) / 2;
    testing_win::Presenter presenter(800, 450);
    if (!presenter.view()) return 1;
    presenter.Paint();

    // The program's own share: decoding every printed slide, and drawing every sheet into memory
    // at the printer's page size (the same renderer, without the spooler).
    const fw::PrinterDc printerDc(::CreateDCW(L"WINSPOOL", printer.c_str(), nullptr, nullptr));
    RECT page{};
    ::GetClipBox(printerDc.get(), &page);
    auto start = Clock::now();
    for (int row = 0; row < SLIDE_COUNT; ++row) {
        if (g_slideDeck[row].nNumber <= 0) continue;
        fw::DecodeImageFile(ResolvePath(g_slideDeck[row].pszImage));
    }
    const double decodeMs = MsSince(start);
    double drawMs = 0;
    {
        const BITMAPINFO bi = fw::TopDown32Info(page.right, page.bottom);
        void* bits = nullptr;
        const fw::Bitmap sheet(::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
        const fw::MemoryDc memory(::CreateCompatibleDC(nullptr));
        const fw::ScopedSelect select(memory.get(), sheet.get());
        start = Clock::now();
        for (int s = 1; s <= sheets; ++s) DrawSheet(memory.get(), s, SlideRect{0, 0, page.right, page.bottom}, {g_brandLogoId, g_secondLogoId});
        drawMs = MsSince(start);
    }

    // The whole job, as the speaker starts it, until its PDF is complete.
    const auto before = std::filesystem::file_time_type::clock::now() - std::chrono::seconds(1);
    start = Clock::now();
    ::SendMessageW(presenter.frame()->m_hWnd, WM_COMMAND, ID_FILE_PRINT_DIRECT, 0);
    const double commandMs = MsSince(start);
    std::filesystem::path pdf;
    std::uintmax_t size = 0;
    int stable = 0;
    while (MsSince(start) < 300000 && stable < 5) {
        ::Sleep(100);
        pdf = NewestPdf(folder, before);
        std::error_code ec;
        const std::uintmax_t now = pdf.empty() ? 0 : std::filesystem::file_size(pdf, ec);
        stable = now > 0 && now == size ? stable + 1 : 0;
        size = now;
    }
    const double endToEnd = MsSince(start) - 500;  // less the half second that showed the size had settled

    std::printf("printer %ls, page %ldx%ld, %d sheets\n", printer.c_str(), page.right, page.bottom, sheets);
    std::printf("  decoding the %d printed slides      %8.0f ms\n", g_enabledPageCount, decodeMs);
    std::printf("  drawing the sheets into memory     %8.0f ms  (decoding included)\n", drawMs);
    std::printf("  print command, to the spooler      %8.0f ms\n", commandMs);
    std::printf("  command to the finished PDF        %8.0f ms  (%s, %ju bytes)\n", endToEnd,
                pdf.empty() ? "no PDF came" : pdf.filename().string().c_str(), size);
    return 0;
}
