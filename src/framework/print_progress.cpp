#include "framework/print_progress.h"

#include <string>

CPrintProgress* CPrintProgress::s_pCurrent = nullptr;

namespace {

constexpr int kClientWidth = 340;
constexpr int kClientHeight = 128;
constexpr int kMargin = 14;
constexpr int kLineHeight = 20;
constexpr int kButtonWidth = 88;
constexpr int kButtonHeight = 26;

HWND MakeControl(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y, int w, int h,
                 UINT id) {
    HWND hwnd = ::CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), ::GetModuleHandleW(nullptr),
                                  nullptr);
    if (hwnd) ::SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return hwnd;
}

// Centred over the owner, but on what the screen shows of it: a full-screen frame reaches
// past the screen's edges.
POINT CentredOver(HWND owner, int width, int height) {
    RECT area{};
    HMONITOR monitor = ::MonitorFromWindow(owner, MONITOR_DEFAULTTOPRIMARY);
    MONITORINFO mi{sizeof(mi)};
    if (monitor && ::GetMonitorInfoW(monitor, &mi)) area = mi.rcWork;
    else ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    RECT over = area;
    RECT ownerRect{};
    if (owner && ::GetWindowRect(owner, &ownerRect)) ::IntersectRect(&over, &ownerRect, &area);
    if (::IsRectEmpty(&over)) over = area;
    return {over.left + (over.right - over.left - width) / 2, over.top + (over.bottom - over.top - height) / 2};
}

}  // namespace

CPrintProgress::CPrintProgress(HWND owner, const CString& document, const CString& printer) : m_hWndOwner(owner) {
    s_pCurrent = this;
    if (m_hWndOwner) m_bOwnerWasEnabled = ::EnableWindow(m_hWndOwner, FALSE) == 0;

    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    const DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
    RECT frame{0, 0, kClientWidth, kClientHeight};
    ::AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    const POINT at = CentredOver(owner, width, height);
    const wchar_t* cls = AfxRegisterWndClass(0, ::LoadCursorW(nullptr, IDC_ARROW),
                                             reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)));
    if (!CreateEx(exStyle, cls, L"Printing", style, at.x, at.y, width, height, owner, nullptr)) return;

    const int textWidth = kClientWidth - 2 * kMargin;
    const CString documentLine = L"Printing \"" + document + L"\"";
    MakeControl(m_hWnd, L"STATIC", documentLine.c_str(), SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS, kMargin, kMargin,
                textWidth, kLineHeight, 0xFFFF);
    const CString printerLine = printer.empty() ? CString() : L"on " + printer;
    MakeControl(m_hWnd, L"STATIC", printerLine.c_str(), SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS, kMargin,
                kMargin + kLineHeight, textWidth, kLineHeight, 0xFFFF);
    m_hPageText = MakeControl(m_hWnd, L"STATIC", L"", SS_LEFT | SS_NOPREFIX, kMargin, kMargin + 2 * kLineHeight,
                              textWidth, kLineHeight, 0xFFFF);
    HWND cancel = MakeControl(m_hWnd, L"BUTTON", L"Cancel", WS_TABSTOP | BS_DEFPUSHBUTTON,
                              (kClientWidth - kButtonWidth) / 2, kClientHeight - kMargin - kButtonHeight,
                              kButtonWidth, kButtonHeight, IDCANCEL);
    ShowWindow(SW_SHOWNORMAL);
    if (cancel) ::SetFocus(cancel);
    UpdateWindow();
}

CPrintProgress::~CPrintProgress() {
    if (m_hWndOwner && m_bOwnerWasEnabled) ::EnableWindow(m_hWndOwner, TRUE);
    if (m_hWnd) {
        ::SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, 0);  // no message reaches the object any more
        ::DestroyWindow(m_hWnd);
        m_hWnd = nullptr;
    }
    s_pCurrent = nullptr;
    if (m_bQuit) ::PostQuitMessage(m_nQuitCode);
}

void CPrintProgress::ShowPage(UINT page, UINT firstPage, UINT lastPage, bool wholeDocument) {
    if (!m_hPageText) return;
    std::wstring text = L"Page " + std::to_wstring(page);
    if (wholeDocument) text += L" of " + std::to_wstring(lastPage);
    else text += L" (" + std::to_wstring(firstPage) + L" to " + std::to_wstring(lastPage) + L")";
    ::SetWindowTextW(m_hPageText, text.c_str());
    ::UpdateWindow(m_hPageText);
}

bool CPrintProgress::Pump() {
    MSG msg;
    while (!m_bCancelled && ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // The application is ending: the job stops, and the loop that waits for the
            // quit message gets it once the job is cleaned up.
            m_bQuit = true;
            m_nQuitCode = static_cast<int>(msg.wParam);
            m_bCancelled = true;
            break;
        }
        if (m_hWnd && ::IsDialogMessageW(m_hWnd, &msg)) continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return !m_bCancelled;
}

BOOL CALLBACK CPrintProgress::AbortProc(HDC, int) { return s_pCurrent ? s_pCurrent->Pump() : TRUE; }

void CPrintProgress::OnCommand(UINT id) {
    if (id == IDCANCEL) m_bCancelled = true;
}

void CPrintProgress::OnClose() { m_bCancelled = true; }
