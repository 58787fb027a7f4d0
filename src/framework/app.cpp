#include "framework/app.h"

#include <shellapi.h>
#include <shobjidl.h>

#include "framework/doc.h"
#include "framework/frame.h"
#include "framework/gdi.h"
#include "framework/wnd.h"

namespace {
CWinApp* g_theApp = nullptr;

CString SectionKeyPath(const CWinApp& app, const wchar_t* section) {
    return L"Software\\" + app.m_strRegistryKey + L"\\" + app.m_strProfileName + L"\\" + section;
}
}  // namespace

CWinApp* AfxGetApp() { return g_theApp; }

CString AfxLoadString(UINT id) {
    const wchar_t* text = nullptr;
    // With a zero buffer size LoadStringW hands out a pointer into the resource itself.
    const int len = ::LoadStringW(::GetModuleHandleW(nullptr), id, reinterpret_cast<LPWSTR>(&text), 0);
    return len > 0 && text ? CString(text, static_cast<size_t>(len)) : CString();
}

int AfxMessageBox(HWND owner, const wchar_t* text, UINT type) {
    const CWinApp* app = AfxGetApp();
    return ::MessageBoxW(owner, text, app ? app->m_strAppName.c_str() : L"", type);
}

void CCommandLineInfo::ParseParam(const wchar_t* param, bool isFlag) {
    if (isFlag || m_nShellCommand == FileOpen) return;
    m_nShellCommand = FileOpen;
    m_strFileName = param;
}

CWinApp::CWinApp(const wchar_t* appName) {
    if (appName) m_strAppName = appName;
    g_theApp = this;
}

CWinApp::~CWinApp() {
    if (g_theApp == this) g_theApp = nullptr;
}

BOOL CWinApp::InitInstance() {
    if (!m_comApartment) m_comApartment.emplace();
    if (m_strAppName.empty()) m_strAppName = AfxLoadString(AFX_IDS_APP_TITLE);
    m_strProfileName = m_strAppName;
    return TRUE;
}

int CWinApp::Run() {
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (m_pMainWnd && m_pMainWnd->PreTranslateMessage(&msg)) continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return ExitInstance();
}

int CWinApp::ExitInstance() {
    m_comApartment.reset();
    return 0;
}

bool CWinApp::OnCmdMsg(UINT id) {
    if (id != ID_APP_EXIT) return false;
    OnAppExit();
    return true;
}

void CWinApp::OnAppExit() {
    if (m_pMainWnd && m_pMainWnd->m_hWnd) ::SendMessageW(m_pMainWnd->m_hWnd, WM_CLOSE, 0, 0);
}

void CWinApp::SetAppID(const wchar_t* appId) { ::SetCurrentProcessExplicitAppUserModelID(appId); }

// The program has one window and no tabbed documents: the taskbar has nothing more to show.
void CWinApp::EnableTaskbarInteraction(BOOL) {}

void CWinApp::SetRegistryKey(const wchar_t* company) { m_strRegistryKey = company; }

CString CWinApp::GetProfileString(const wchar_t* section, const wchar_t* entry, const wchar_t* defaultValue) const {
    const CString fallback = defaultValue ? defaultValue : L"";
    if (m_strRegistryKey.empty()) return fallback;
    HKEY raw = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, SectionKeyPath(*this, section).c_str(), 0, KEY_QUERY_VALUE, &raw) !=
        ERROR_SUCCESS)
        return fallback;
    fw::RegKey key(raw);
    wchar_t buffer[1024] = {};
    DWORD type = 0;
    DWORD bytes = sizeof(buffer) - sizeof(wchar_t);  // room for a terminator the value may lack
    if (::RegQueryValueExW(key.get(), entry, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &bytes) !=
            ERROR_SUCCESS ||
        type != REG_SZ)
        return fallback;
    buffer[bytes / sizeof(wchar_t)] = L'\0';
    return buffer;
}

BOOL CWinApp::WriteProfileString(const wchar_t* section, const wchar_t* entry, const wchar_t* value) const {
    if (m_strRegistryKey.empty()) return FALSE;
    HKEY raw = nullptr;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, SectionKeyPath(*this, section).c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                          nullptr, &raw, nullptr) != ERROR_SUCCESS)
        return FALSE;
    fw::RegKey key(raw);
    const DWORD bytes = static_cast<DWORD>((wcslen(value) + 1) * sizeof(wchar_t));
    return ::RegSetValueExW(key.get(), entry, 0, REG_SZ, reinterpret_cast<const BYTE*>(value), bytes) ==
           ERROR_SUCCESS;
}

void CWinApp::AddDocTemplate(std::unique_ptr<CSingleDocTemplate> docTemplate) {
    m_pDocTemplate = std::move(docTemplate);
}

void CWinApp::ParseCommandLine(CCommandLineInfo& info) const {
    int argc = 0;
    const CString line = L"x " + CString(m_lpCmdLine ? m_lpCmdLine : L"");
    LPWSTR* argv = ::CommandLineToArgvW(line.c_str(), &argc);
    if (!argv) return;
    for (int i = 1; i < argc; ++i) info.ParseParam(argv[i], argv[i][0] == L'-' || argv[i][0] == L'/');
    ::LocalFree(argv);
}

BOOL CWinApp::ProcessShellCommand(CCommandLineInfo& info) {
    if (!m_pDocTemplate) return FALSE;
    const wchar_t* file = info.m_nShellCommand == CCommandLineInfo::FileOpen ? info.m_strFileName.c_str() : nullptr;
    CWnd* frame = m_pDocTemplate->OpenDocumentFile(file);
    if (!frame) return FALSE;
    m_pMainWnd = frame;
    return TRUE;
}

int AfxWinMain(LPWSTR cmdLine) {
    CWinApp* app = AfxGetApp();
    if (!app) return 1;
    app->m_lpCmdLine = cmdLine;
    if (!app->InitInstance()) {
        if (app->m_pMainWnd && app->m_pMainWnd->m_hWnd) ::DestroyWindow(app->m_pMainWnd->m_hWnd);
        return app->ExitInstance();
    }
    return app->Run();
}
