// The small window a print job shows while it runs: which document goes to which printer,
// the page being printed, and a Cancel button that stops the job.
#pragma once
#include "framework/wnd.h"

class CPrintProgress : public CWnd {
public:
    // Disables `owner` for the length of the job, as a modal dialog would, and shows the
    // window centred over it (on the visible part of its monitor).
    CPrintProgress(HWND owner, const CString& document, const CString& printer);
    // Enables the owner again before the window goes, so that the owner is activated.
    ~CPrintProgress() override;

    // "Page 3 of 31"; for part of the document, "Page 3 (2 to 4)".
    void ShowPage(UINT page, UINT firstPage, UINT lastPage, bool wholeDocument);
    // Handles what is queued (repaints, the Cancel button, Escape); false once the user cancelled.
    bool Pump();
    bool Cancelled() const { return m_bCancelled; }

    // For SetAbortProc: the driver asks, while it spools, whether the job goes on.
    static BOOL CALLBACK AbortProc(HDC hdc, int error);
    // Whether a print job is running in this process (its commands are ignored meanwhile).
    static bool Running() { return s_pCurrent != nullptr; }

protected:
    void OnCommand(UINT id) override;
    void OnClose() override;

private:
    HWND m_hWndOwner;
    bool m_bOwnerWasEnabled = false;
    bool m_bCancelled = false;
    bool m_bQuit = false;        // WM_QUIT arrived during the job: it is posted again at the end
    int m_nQuitCode = 0;
    HWND m_hPageText = nullptr;
    static CPrintProgress* s_pCurrent;
};
