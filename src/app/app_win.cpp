#include "app/app.h"

#include <cwchar>
#include <iterator>

#include "app/mainframe.h"
#include "screens/monitors_win.h"
#include "app/switches.h"
#include "console/console_check.h"
#include "deck/deck.h"
#include "deck/page_cursor.h"
#include "app/standard_output_win.h"
#include "launch/demo_check_win.h"
#include "launch/simulator.h"
#include "launch/target_names.h"
#include "res/resource.h"
#include "view/view.h"

bool g_proMode = false;
bool g_bigMode = false;
int g_brandLogoId = 0;
int g_secondLogoId = IDB_BRAND;

namespace {
constexpr wchar_t kProfileSection[] = L"General";
constexpr wchar_t kProfileEntry[] = L"Page";

// The check's exit codes, for a script that checks a machine before the talk.
constexpr int kEveryDemoReady = 0;
constexpr int kSomethingMissing = 1;

// The check's word goes to the talk, whose console shows it on its first screen.
void HandCheckToTalk(const DemoCheckReport& report) {
    CWinApp* app = AfxGetApp();
    if (auto* frame = app ? dynamic_cast<CMainFrame*>(app->m_pMainWnd) : nullptr)
        frame->m_talk.Notice(ConsoleCheckLines(report), report.AllReady());
}
}  // namespace

CPemboroApp::CPemboroApp() { SetAppID(L"Quillmere.Pemboro.1001"); }

CPemboroApp::~CPemboroApp() {
    wchar_t text[16];
    std::swprintf(text, std::size(text), L"%d", g_currentPage);
    WriteProfileString(kProfileSection, kProfileEntry, text);
}

BOOL CPemboroApp::InitInstance() {
    CWinApp::InitInstance();

    // A path that does not fit is cut short, and the call then returns the buffer's size: the
    // folder of a cut path is some other folder, so start-up ends as when there is no path.
    const DWORD len = ::GetModuleFileNameW(nullptr, g_appDir, kAppDirChars);
    if (len == 0 || len >= kAppDirChars) {
        g_appDir[0] = L'\0';
        return FALSE;
    }
    if (wchar_t* slash = std::wcsrchr(g_appDir, L'\\')) *slash = L'\0';

    const PresentationMode mode = ChooseMode(m_lpCmdLine);
    g_proMode = mode.bPro;
    const BrandingChoice branding = ChooseBranding(m_lpCmdLine);
    g_brandLogoId = branding.nBrandLogoId;
    g_secondLogoId = branding.nSecondLogoId;
    g_bigMode = mode.bBig;
    const RoomChoice room = ChooseRoom(m_lpCmdLine);

    LookupSimulatorAssociation();
    NumberSlides();

    // Before the profile store is named, so that a check leaves the speaker's slide as it was;
    // no window is made.
    if (HasSwitchIn(m_lpCmdLine, kCheckSwitch)) {
        const DemoCheckReport report = CheckDemos(g_appDir);
        WriteStandardOutput(DemoCheckLines(report));
        m_nExitCode = report.AllReady() ? kEveryDemoReady : kSomethingMissing;
        return FALSE;
    }

    EnableTaskbarInteraction(FALSE);
    SetRegistryKey(L"QuillmerePemboro");

    auto docTemplate = CSingleDocTemplate::Make<CPemboroDoc, CMainFrame, CPemboroView>(IDR_MAINFRAME);
    if (!docTemplate) return FALSE;
    AddDocTemplate(std::move(docTemplate));

    CCommandLineInfo cmdInfo;
    ParseCommandLine(cmdInfo);

    g_currentPage = PageFromProfileText(GetProfileString(kProfileSection, kProfileEntry, L"0").c_str());

    if (!ProcessShellCommand(cmdInfo)) return FALSE;

    // Big mode shows on the monitor the command line names, else on the primary one.
    auto* frame = dynamic_cast<CMainFrame*>(m_pMainWnd);
    if (frame && g_bigMode) frame->m_hNextMonitor = MonitorByNumber(room.nShowMonitor);
    if (frame) frame->m_talk.SetMinutes(room.nTalkMinutes);

    m_pMainWnd->ShowWindow(SW_SHOW);
    m_pMainWnd->UpdateWindow();
    // After the first paint, so that the console knows the show's monitor in big mode.
    if (frame && room.bConsole) frame->OpenConsole();
    // After the first paint and on a thread of its own: the first slide never waits for it.
    StartDemoCheck(m_pMainWnd->m_hWnd, &HandCheckToTalk);
    return TRUE;
}

int CPemboroApp::ExitInstance() {
    const int framework = CWinApp::ExitInstance();
    return m_nExitCode != kEveryDemoReady ? m_nExitCode : framework;
}

BOOL CPemboroDoc::OnNewDocument() {
    const BOOL result = CDocument::OnNewDocument();
    SetPathName(L"Circelo Vexa Roundway 2017", FALSE);
    return result;
}
