#include "app/app.h"

#include <cwchar>
#include <iterator>

#include "app/doc.h"
#include "app/mainframe.h"
#include "app/switches.h"
#include "deck/deck.h"
#include "deck/page_cursor.h"
#include "framework/doc_template.h"
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
}  // namespace

CPemboroApp::CPemboroApp() { SetAppID(L"Quillmere.Pemboro.1001"); }

CPemboroApp::~CPemboroApp() {
    wchar_t text[16];
    std::swprintf(text, std::size(text), L"%d", g_currentPage);
    WriteProfileString(kProfileSection, kProfileEntry, text);
}

bool CPemboroApp::HasSwitch(const wchar_t* word) const { return HasSwitchIn(m_lpCmdLine, word); }

BOOL CPemboroApp::InitInstance() {
    CWinApp::InitInstance();

    const DWORD len = ::GetModuleFileNameW(nullptr, g_appDir, APP_DIR_CHARS);
    if (len == 0) return FALSE;
    g_appDir[APP_DIR_CHARS - 1] = L'\0';  // a cut-off name is not terminated on older systems
    if (wchar_t* slash = std::wcsrchr(g_appDir, L'\\')) *slash = L'\0';

    g_proMode = HasSwitch(L"Pro");
    const BrandingChoice branding = ChooseBranding(m_lpCmdLine);
    g_brandLogoId = branding.nBrandLogoId;
    g_secondLogoId = branding.nSecondLogoId;
    g_bigMode = g_proMode || HasSwitch(L"big") || HasSwitch(L"max");

    LookupSimulatorAssociation();
    NumberSlides();

    EnableTaskbarInteraction(FALSE);
    SetRegistryKey(L"QuillmerePemboro");

    auto docTemplate = CSingleDocTemplate::Make<CPemboroDoc, CMainFrame, CPemboroView>(IDR_MAINFRAME);
    if (!docTemplate) return FALSE;
    AddDocTemplate(std::move(docTemplate));

    CCommandLineInfo cmdInfo;
    ParseCommandLine(cmdInfo);

    g_currentPage = PageFromProfileText(GetProfileString(kProfileSection, kProfileEntry, L"0").c_str());

    if (!ProcessShellCommand(cmdInfo)) return FALSE;

    m_pMainWnd->ShowWindow(SW_SHOW);
    m_pMainWnd->UpdateWindow();
    return TRUE;
}
