// Clicks on the real view, as the window receives them: hotspots whose targets are real
// files and folders, the shell's open command pointed at the argument recorder, and the
// simulator's path pointed at the recorder too, so every start shows up in one log.
#include <gtest/gtest.h>

#include <sys/timeb.h>

#include <memory>
#include <string>
#include <vector>

#include "app/mainframe.h"
#include "deck/deck.h"
#include "deck/page_cursor.h"
#include "launch/simulator.h"
#include "launch/target_names.h"
#include "launch_test_support.h"
#include "support/win_test_support.h"
#include "render/geometry.h"
#include "view/view.h"
#include "render/geometry.h"

namespace {

using namespace launch_test;
using testing_win::PumpMessages;
using testing_win::PumpUntil;

double Now() {
    __timeb64 now{};
    _ftime64_s(&now);
    return static_cast<double>(now.time) + now.millitm * 0.001;
}

class HotspotClick : public ::testing::Test {
protected:
    void SetUp() override {
        EndStandIns();
        g_currentPage = 0;

        dir_ = FreshDir(L"clicks");
        std::wcscpy(g_appDir, dir_.c_str());
        for (const wchar_t* name : {L"siren.wav", L"!x.wav", L"Ibis.jpg", L"!marked.jpg", L"English.pdf", L"curvetrace.asc",
                                    L"astable.asc", L"NE555.ASC", L"README"})
            WriteTextFile(dir_ + L"\\" + name);
        for (const wchar_t* name : {L"folder.wav", L"examples", L"folder.asc"})
            ::CreateDirectoryW((dir_ + L"\\" + name).c_str(), nullptr);

        log_ = dir_ + L"\\started.log";
        recorderLog_ = std::make_unique<ScopedEnvironment>(L"RECORDER_LOG", log_);
        const std::wstring openCommand = L"\"" + recorder_ + L"\" \"%1\"";
        shellKeys_.push_back(std::make_unique<ClassesDefault>(L"PemboroTest.Recorder\\shell\\open\\command", openCommand));
        for (const wchar_t* type : {L".wav", L".pdf"})
            shellKeys_.push_back(std::make_unique<ClassesDefault>(type, std::wstring(L"PemboroTest.Recorder")));
        for (const wchar_t* type : {L"Folder\\shell\\open\\command", L"Directory\\shell\\open\\command"})
            shellKeys_.push_back(std::make_unique<ClassesDefault>(type, openCommand));

        g_simulatorPath = recorder_.c_str();
        g_simulatorExe = L"Vexax64.exe";
        g_simulatorLookupDone = true;

        presenter_ = std::make_unique<testing_win::Presenter>(960, 540);
        presenter_->Paint();
    }
    void TearDown() override {
        presenter_.reset();
        EndStandIns();
    }

    CPemboroView* view() const { return presenter_->view(); }
    void ShowSpots(const Hotspot* spots, int count) {
        g_slideDeck[0].nSpots = count;
        g_slideDeck[0].pSpots = count ? spots : nullptr;
    }
    POINT CentreOf(const Hotspot& h) const {
        const Square sq = HotspotSquare(ToSlideRect(view()->m_rcSlide), h.x, h.y);
        return {sq.x + sq.side / 2, sq.y + sq.side / 2};
    }
    POINT CornerCentre() const {
        const Square sq = CornerSquare(ToSlideRect(view()->m_rcSlide));
        return {sq.x + sq.side / 2, sq.y + sq.side / 2};
    }
    void Click(POINT pt) {
        ::SendMessageW(presenter_->viewHwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    }
    std::wstring PathOf(const wchar_t* name) const { return dir_ + L"\\" + name; }
    std::wstring ShellLine(const std::wstring& path) const { return L"<" + recorder_ + L"> <" + path + L">"; }

    // Clicks a hotspot with this target and returns what the click started. Every start
    // has made its process before the click returns; its line is written once it has ended.
    std::vector<std::wstring> StartedByClickOn(const wchar_t* target) {
        const size_t before = ReadLog(log_).size();
        spot_ = {0.3, 0.5, target};
        ShowSpots(&spot_, 1);
        Click(CentreOf(spot_));
        PumpUntil([] { return RecordersStarted().empty(); }, 20000);
        const std::vector<std::wstring> lines = ReadLog(log_);
        return {lines.begin() + static_cast<std::ptrdiff_t>(before), lines.end()};
    }

    testing_win::SavedGlobals globals_;
    const std::wstring recorder_ = RecorderPath();
    // The rows point at these while a test runs; they outlive every paint and hover tick.
    Hotspot spot_{};
    std::wstring dir_;
    std::wstring log_;
    std::unique_ptr<ScopedEnvironment> recorderLog_;
    std::vector<std::unique_ptr<ClassesDefault>> shellKeys_;
    std::unique_ptr<testing_win::Presenter> presenter_;
};

TEST_F(HotspotClick, TargetsGoWhereTheirRulesSend) {
    struct Case {
        const wchar_t* target;
        std::vector<std::wstring> started;
    } const cases[] = {
        {L"siren.wav", {ShellLine(PathOf(L"siren.wav"))}},
        {L"SIREN.WAV", {ShellLine(PathOf(L"SIREN.WAV"))}},
        {L"!x.wav", {ShellLine(PathOf(L"!x.wav"))}},  // a sound named with the mark
        {L"folder.wav", {}},  // a sound must be a file
        {L"English.pdf", {ShellLine(PathOf(L"English.pdf"))}},
        {L"examples", {ShellLine(PathOf(L"examples"))}},  // the shell shows the folder
        {L"curvetrace.asc", {L"<Vexax64.exe> <" + PathOf(L"curvetrace.asc") + L">"}},
        {L"NE555.ASC", {L"<Vexax64.exe> <" + PathOf(L"NE555.ASC") + L">"}},
        {L"!astable.asc", {L"<Vexax64.exe> <" + PathOf(L"astable.asc") + L"> <-run>"}},
        {L"!missing.asc", {}},  // not opened without the run either
        {L"!folder.asc", {}},   // the run mark wants a file, not a folder
        {L"missing.pdf", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(std::wstring(c.target)));
        EXPECT_EQ(StartedByClickOn(c.target), c.started);
        EXPECT_TRUE(view()->m_strPicture.empty());
    }
}

// Without a "." a file is never a circuit, even in a folder whose name has one.
TEST_F(HotspotClick, AFileWithoutExtensionNeverGoesToTheSimulator) {
    const std::wstring dotted = dir_ + L"\\demo.asc";
    ::CreateDirectoryW(dotted.c_str(), nullptr);
    WriteTextFile(dotted + L"\\README");
    std::wcscpy(g_appDir, dotted.c_str());
    for (const std::wstring& line : StartedByClickOn(L"README")) EXPECT_EQ(line.find(L"<Vexax64.exe>"), std::wstring::npos);
}

TEST_F(HotspotClick, PhotosEnterPictureModeUnderTheirWholeName) {
    for (const wchar_t* target : {L"Ibis.jpg", L"!marked.jpg"}) {
        SCOPED_TRACE(::testing::PrintToString(std::wstring(target)));
        view()->m_strPicture.clear();
        spot_ = {0.3, 0.5, target};
        ShowSpots(&spot_, 1);
        Click(CentreOf(spot_));
        EXPECT_EQ(view()->m_strPicture, PathOf(target));
        EXPECT_EQ(view()->m_pPictureSpot, &spot_);
    }
    view()->m_strPicture.clear();
    view()->m_pPictureSpot = nullptr;
}

TEST_F(HotspotClick, AClickInPictureModeOnlyLeavesIt) {
    spot_ = {0.3, 0.5, L"English.pdf"};
    ShowSpots(&spot_, 1);
    view()->m_strPicture = PathOf(L"Ibis.jpg");
    view()->m_pPictureSpot = &spot_;
    view()->m_dClickTime = 7.0;
    Click(CentreOf(spot_));
    EXPECT_TRUE(view()->m_strPicture.empty());
    EXPECT_EQ(view()->m_dClickTime, 7.0);
    Click(CornerCentre());  // back on the slide, the corner button works again
    EXPECT_EQ(WaitForLog(log_, 1), (std::vector<std::wstring>{L"<Vexax64.exe>"}));
}

TEST_F(HotspotClick, TheCornerButtonWinsOverAHotspotUnderIt) {
    const Square corner = CornerSquare(ToSlideRect(view()->m_rcSlide));
    const SlideRect slide = ToSlideRect(view()->m_rcSlide);
    const double x = (corner.x + corner.side / 2.0 - slide.left) / slide.Width();
    const double y = 1.0 - (corner.y + corner.side / 2.0 - slide.top) / slide.Height();
    spot_ = {x, y, L"curvetrace.asc"};
    ShowSpots(&spot_, 1);
    const POINT c = CornerCentre();
    ASSERT_EQ(view()->HotspotAt(CPoint(c.x, c.y)), &spot_);  // the two overlap here

    const double before = Now();
    Click(CornerCentre());
    EXPECT_GE(view()->m_dClickTime, before - 0.001);
    EXPECT_LE(view()->m_dClickTime, Now() + 0.001);
    // The start is synchronous; a second click shows that the first started nothing else.
    Click(CornerCentre());
    EXPECT_EQ(WaitForLog(log_, 2), (std::vector<std::wstring>{L"<Vexax64.exe>", L"<Vexax64.exe>"}));
}

TEST_F(HotspotClick, TheClickTimeIsWrittenOnlyWhenAClickActivates) {
    spot_ = {0.3, 0.5, L"missing.pdf"};
    ShowSpots(&spot_, 1);
    view()->m_dClickTime = 7.0;
    Click({CentreOf(spot_).x + 200, CentreOf(spot_).y});  // on the slide, off every square
    EXPECT_EQ(view()->m_dClickTime, 7.0);

    const double before = Now();
    Click(CentreOf(spot_));  // found, though its file is missing
    const double after = Now();
    EXPECT_GE(view()->m_dClickTime, before - 0.001);
    EXPECT_LE(view()->m_dClickTime, after + 0.001);
}

TEST_F(HotspotClick, EveryClickClearsTheHoverAndBringsTheFrameToTheFront) {
    HWND frame = presenter_->frame()->m_hWnd;
    HWND other = ::CreateWindowExW(0, L"STATIC", L"Another program", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 300,
                                   nullptr, nullptr, nullptr, nullptr);
    ::SetWindowPos(other, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
    ::ShowWindow(frame, SW_HIDE);
    RECT before{};
    ::GetWindowRect(frame, &before);
    view()->m_bHover = true;

    Click({5, 5});  // nothing under it
    EXPECT_FALSE(view()->m_bHover);
    EXPECT_TRUE(::IsWindowVisible(frame));
    EXPECT_EQ(::GetWindowLongW(frame, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    bool frameAbove = false;
    for (HWND hwnd = ::GetWindow(frame, GW_HWNDNEXT); hwnd; hwnd = ::GetWindow(hwnd, GW_HWNDNEXT))
        frameAbove = frameAbove || hwnd == other;
    EXPECT_TRUE(frameAbove);
    RECT after{};
    ::GetWindowRect(frame, &after);
    EXPECT_TRUE(::EqualRect(&before, &after));
    ::DestroyWindow(other);
}

}  // namespace
