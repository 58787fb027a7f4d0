#include "framework/wnd.h"

#include <windowsx.h>

#include <cstdio>
#include <map>
#include <string>

#include "framework/dc.h"

CWnd::~CWnd() {
    if (m_hWnd) {
        // The object goes first: detach so that late messages no longer reach it.
        ::SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, 0);
        ::DestroyWindow(m_hWnd);
    }
}

bool CWnd::CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style,
                    int x, int y, int cx, int cy, HWND parent, HMENU menuOrId) {
    HWND hwnd = ::CreateWindowExW(exStyle, className, title, style, x, y, cx, cy, parent, menuOrId,
                                  ::GetModuleHandleW(nullptr), this);
    return hwnd != nullptr;
}

LRESULT CALLBACK CWnd::StaticWndProcEntry(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(lParam);
        auto* self = static_cast<CWnd*>(cs->lpCreateParams);
        self->m_hWnd = hwnd;
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<CWnd*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    const CurrentMessage saved = self->m_current;
    self->m_current = {msg, wParam, lParam};
    LRESULT result = self->WindowProc(msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->m_hWnd = nullptr;
        self->OnNcDestroy();  // may delete the object: touch nothing after it
        return result;
    }
    // A handler that destroyed the window (Escape closing the program) has deleted the object with it.
    if (reinterpret_cast<CWnd*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA)) != self) return result;
    self->m_current = saved;
    return result;
}

LRESULT CWnd::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) { return Dispatch(msg, wParam, lParam); }

LRESULT CWnd::Default() { return ::DefWindowProcW(m_hWnd, m_current.msg, m_current.wParam, m_current.lParam); }

LRESULT CWnd::Dispatch(UINT msg, WPARAM wParam, LPARAM lParam) {
    const CPoint pt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    switch (msg) {
    case WM_CREATE: return OnCreate(reinterpret_cast<CREATESTRUCTW*>(lParam));
    case WM_DESTROY: OnDestroy(); return 0;
    case WM_CLOSE: OnClose(); return 0;
    case WM_PAINT: OnPaint(); return 0;
    case WM_ERASEBKGND: { CBorrowedDC dc(reinterpret_cast<HDC>(wParam)); return OnEraseBkgnd(&dc); }
    case WM_SIZE: OnSize(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam)); return 0;
    case WM_SETFOCUS: OnSetFocus(reinterpret_cast<HWND>(wParam)); return 0;
    case WM_KILLFOCUS: OnKillFocus(reinterpret_cast<HWND>(wParam)); return 0;
    case WM_GETMINMAXINFO: OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam)); return 0;
    case WM_KEYDOWN: OnKeyDown(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam)); return 0;
    case WM_CHAR: OnChar(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam)); return 0;
    case WM_LBUTTONDOWN: OnLButtonDown(static_cast<UINT>(wParam), pt); return 0;
    case WM_LBUTTONUP: OnLButtonUp(static_cast<UINT>(wParam), pt); return 0;
    case WM_MOUSEMOVE: OnMouseMove(static_cast<UINT>(wParam), pt); return 0;
    case WM_MOUSEWHEEL: return OnMouseWheel(GET_KEYSTATE_WPARAM(wParam), GET_WHEEL_DELTA_WPARAM(wParam), pt);
    case WM_TIMER: OnTimer(static_cast<UINT_PTR>(wParam)); return 0;
    case WM_COMMAND: OnCommand(LOWORD(wParam)); return 0;
    default: return Default();
    }
}

BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }
bool CWnd::OnCmdMsg(UINT) { return false; }

int CWnd::OnCreate(CREATESTRUCTW*) { return static_cast<int>(Default()); }
void CWnd::OnDestroy() { Default(); }
void CWnd::OnNcDestroy() {}
void CWnd::OnClose() { Default(); }
void CWnd::OnPaint() { Default(); }
BOOL CWnd::OnEraseBkgnd(CDC*) { return static_cast<BOOL>(Default()); }
void CWnd::OnSize(UINT, int, int) { Default(); }
void CWnd::OnSetFocus(HWND) { Default(); }
void CWnd::OnKillFocus(HWND) { Default(); }
void CWnd::OnGetMinMaxInfo(MINMAXINFO*) { Default(); }
void CWnd::OnKeyDown(UINT, UINT, UINT) { Default(); }
void CWnd::OnChar(UINT, UINT, UINT) { Default(); }
void CWnd::OnLButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnLButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnMouseMove(UINT, CPoint) { Default(); }
BOOL CWnd::OnMouseWheel(UINT, short, CPoint) { return static_cast<BOOL>(Default()); }
void CWnd::OnTimer(UINT_PTR) { Default(); }
void CWnd::OnCommand(UINT id) {
    if (!OnCmdMsg(id)) Default();
}

const wchar_t* AfxRegisterWndClass(UINT classStyle, HCURSOR cursor, HBRUSH background, HICON icon) {
    // One class per distinct combination, named after it, as the parameters fix its behaviour.
    static std::map<std::wstring, bool> registered;
    wchar_t name[96];
    std::swprintf(name, 96, L"Pemboro:%x:%p:%p:%p", classStyle, static_cast<void*>(cursor),
                  static_cast<void*>(background), static_cast<void*>(icon));
    auto [it, inserted] = registered.emplace(name, true);
    if (inserted) {
        WNDCLASSEXW wc{sizeof(wc)};
        wc.style = classStyle;
        wc.lpfnWndProc = &CWnd::StaticWndProcEntry;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.hCursor = cursor;
        wc.hbrBackground = background;
        wc.hIcon = icon;
        wc.lpszClassName = it->first.c_str();
        ::RegisterClassExW(&wc);
    }
    return it->first.c_str();
}
