// The window kernel: one C++ object per HWND, messages unpacked once and
// handed to typed virtual handlers.
#pragma once
#include "framework/afx.h"

class CDC;

class CWnd {
public:
    CWnd() = default;
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;

    // Registers (once) and creates a window whose messages reach this object.
    bool CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style,
                  int x, int y, int cx, int cy, HWND parent, HMENU menuOrId);

    // Called by the message loop for every queued message before dispatch.
    virtual BOOL PreTranslateMessage(MSG* pMsg);

    // Command routing; returns whether the command was handled.
    virtual bool OnCmdMsg(UINT id);

    // Thin wrappers for what the application calls.
    void InvalidateRect(const RECT* rc, BOOL erase) { ::InvalidateRect(m_hWnd, rc, erase); }
    void UpdateWindow() { ::UpdateWindow(m_hWnd); }
    void GetClientRect(RECT* rc) const { ::GetClientRect(m_hWnd, rc); }
    void GetWindowRect(RECT* rc) const { ::GetWindowRect(m_hWnd, rc); }
    BOOL ShowWindow(int cmd) { return ::ShowWindow(m_hWnd, cmd); }
    BOOL SetWindowPos(HWND after, int x, int y, int cx, int cy, UINT flags) {
        return ::SetWindowPos(m_hWnd, after, x, y, cx, cy, flags);
    }
    void MoveWindow(int x, int y, int cx, int cy, BOOL repaint = TRUE) { ::MoveWindow(m_hWnd, x, y, cx, cy, repaint); }
    void ScreenToClient(POINT* pt) const { ::ScreenToClient(m_hWnd, pt); }

protected:
    virtual LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
    // The current message to default processing.
    LRESULT Default();

    // Typed handlers; each default passes the message on.
    virtual int OnCreate(CREATESTRUCTW* cs);
    virtual void OnDestroy();
    virtual void OnNcDestroy();
    virtual void OnClose();
    virtual void OnPaint();
    virtual BOOL OnEraseBkgnd(CDC* pDC);
    virtual void OnSize(UINT type, int cx, int cy);
    virtual void OnSetFocus(HWND oldFocus);
    virtual void OnKillFocus(HWND newFocus);
    virtual void OnGetMinMaxInfo(MINMAXINFO* mmi);
    virtual void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    virtual void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    virtual void OnLButtonDown(UINT nFlags, CPoint point);
    virtual void OnLButtonUp(UINT nFlags, CPoint point);
    virtual void OnMouseMove(UINT nFlags, CPoint point);
    virtual BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
    virtual void OnTimer(UINT_PTR nIDEvent);
    virtual void OnCommand(UINT id);

public:
    // The window procedure of every class this layer registers.
    static LRESULT CALLBACK StaticWndProcEntry(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

private:
    LRESULT Dispatch(UINT msg, WPARAM wParam, LPARAM lParam);

    struct CurrentMessage { UINT msg; WPARAM wParam; LPARAM lParam; };
    CurrentMessage m_current{};
};

// Registers a window class for the given styles once per process and returns its name.
const wchar_t* AfxRegisterWndClass(UINT classStyle, HCURSOR cursor = nullptr, HBRUSH background = nullptr,
                                   HICON icon = nullptr);
