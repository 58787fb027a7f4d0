// Start-up run as the program runs it: a fresh application object given a command-line tail,
// its InitInstance, and the window closed again at the end of the scope (the object writes the
// profile then, as at a real exit).
#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "app/app.h"
#include "app/mainframe.h"
#include "support/win_test_support.h"

namespace testing_win {

class StartedApp {
public:
    explicit StartedApp(const wchar_t* tail) : tail_(tail) {
        app_ = std::make_unique<CPemboroApp>();
        app_->m_lpCmdLine = tail_.data();
        ok_ = app_->InitInstance();
        PumpMessages(50);
    }
    ~StartedApp() { Close(); }
    StartedApp(const StartedApp&) = delete;
    StartedApp& operator=(const StartedApp&) = delete;

    void Close() {
        if (app_ && app_->m_pMainWnd && app_->m_pMainWnd->m_hWnd) ::DestroyWindow(app_->m_pMainWnd->m_hWnd);
        PumpMessages();
        MSG msg;
        ::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);  // the frame's quit request
        app_.reset();
    }
    BOOL ok() const { return ok_; }
    CPemboroApp& app() { return *app_; }
    HWND frameHwnd() const { return app_ && app_->m_pMainWnd ? app_->m_pMainWnd->m_hWnd : nullptr; }
    CMainFrame* frame() const { return app_ ? dynamic_cast<CMainFrame*>(app_->m_pMainWnd) : nullptr; }

private:
    std::wstring tail_;
    std::unique_ptr<CPemboroApp> app_;
    BOOL ok_ = FALSE;
};

}  // namespace testing_win
