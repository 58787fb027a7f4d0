// Choosing the printer for a job: the common print dialog; or, without a dialog, the printer
// chosen there last in this run, and the default printer until then.
#include "framework/app.h"
#include "framework/frame.h"
#include "framework/gdi.h"
#include "framework/view.h"

#include <commdlg.h>  // after <windows.h>, which the headers above bring

namespace {

struct GlobalMemoryTraits { static void Free(HGLOBAL h) { ::GlobalFree(h); } };
using GlobalMemory = fw::Unique<HGLOBAL, GlobalMemoryTraits>;

// The printer and settings the user accepted last: the next dialog of this session opens on them.
struct LastChoice {
    GlobalMemory devMode;
    GlobalMemory devNames;
};
LastChoice& Remembered() {
    static LastChoice last;
    return last;
}

// A movable memory block locked for the length of a scope.
template <class T>
class LockedGlobal {
public:
    explicit LockedGlobal(HGLOBAL h) : h_(h), p_(h ? static_cast<const T*>(::GlobalLock(h)) : nullptr) {}
    ~LockedGlobal() {
        if (p_) ::GlobalUnlock(h_);
    }
    LockedGlobal(const LockedGlobal&) = delete;
    LockedGlobal& operator=(const LockedGlobal&) = delete;
    const T* get() const { return p_; }

private:
    HGLOBAL h_;
    const T* p_;
};

const wchar_t* NameAt(const DEVNAMES* names, WORD offset) { return reinterpret_cast<const wchar_t*>(names) + offset; }

CString DeviceNameOf(HGLOBAL devNames) {
    const LockedGlobal<DEVNAMES> names(devNames);
    return names.get() ? CString(NameAt(names.get(), names.get()->wDeviceOffset)) : CString();
}

// The default printer's DC, without any dialog; null when there is none, with the dialog
// library's reason in `error` (PDERR_NODEFAULTPRN: no printer is installed).
HDC DefaultPrinterDc(CString& deviceName, DWORD& error) {
    PRINTDLGW pd{};
    pd.lStructSize = sizeof(pd);
    pd.Flags = PD_RETURNDEFAULT | PD_RETURNDC;
    if (!::PrintDlgW(&pd)) {
        error = ::CommDlgExtendedError();
        return nullptr;
    }
    const GlobalMemory devMode(pd.hDevMode), devNames(pd.hDevNames);
    deviceName = DeviceNameOf(devNames.get());
    error = 0;
    return pd.hDC;
}

// A DC for the printer and settings accepted in the print dialog during this run; null when
// none was, or when that printer is gone.
HDC RememberedPrinterDc(CString& deviceName) {
    const LastChoice& last = Remembered();
    const LockedGlobal<DEVNAMES> names(last.devNames.get());
    if (!names.get()) return nullptr;
    const LockedGlobal<DEVMODEW> mode(last.devMode.get());
    const wchar_t* device = NameAt(names.get(), names.get()->wDeviceOffset);
    HDC dc = ::CreateDCW(NameAt(names.get(), names.get()->wDriverOffset), device, nullptr, mode.get());
    if (dc) deviceName = device;
    return dc;
}

// Quick Print and the preview use what the user chose in the print dialog, as a dialog
// opened now would; the default printer until a choice was made, or when it is gone.
HDC PrinterDcWithoutDialog(CString& deviceName, DWORD& error) {
    error = 0;
    if (HDC dc = RememberedPrinterDc(deviceName)) return dc;
    return DefaultPrinterDc(deviceName, error);
}

HWND DialogOwner(const CView& view) {
    if (CFrameWnd* frame = view.GetParentFrame(); frame && frame->m_hWnd) return frame->m_hWnd;
    CWinApp* app = AfxGetApp();
    return app && app->m_pMainWnd ? app->m_pMainWnd->m_hWnd : nullptr;
}

constexpr wchar_t kNoPrinterText[] =
    L"No printer is installed. The print preview shows the pages as a printer prints them: install a printer "
    L"to preview them.";

WORD PageNumber(UINT page) { return static_cast<WORD>(page > 0xFFFF ? 0xFFFF : page); }

// The common dialog with the job's page range; false when the user cancels or the dialog
// cannot be shown (it says so itself where it has something to say).
bool RunPrintDialog(HWND owner, CPrintInfo& info) {
    PRINTDLGW pd{};
    pd.lStructSize = sizeof(pd);
    pd.hwndOwner = owner;
    pd.Flags = PD_RETURNDC | PD_USEDEVMODECOPIESANDCOLLATE | PD_NOSELECTION | PD_HIDEPRINTTOFILE;
    if (info.GetMinPage() >= info.GetMaxPage()) pd.Flags |= PD_NOPAGENUMS;
    pd.nMinPage = PageNumber(info.GetMinPage());
    pd.nMaxPage = PageNumber(info.GetMaxPage());
    pd.nFromPage = PageNumber(info.GetFromPage());
    pd.nToPage = PageNumber(info.GetToPage());
    pd.nCopies = 1;

    LastChoice& last = Remembered();
    const bool hadChoice = last.devMode || last.devNames;
    // The dialog may free or replace the blocks it is given; whatever it hands back is kept.
    pd.hDevMode = last.devMode.release();
    pd.hDevNames = last.devNames.release();
    BOOL accepted = ::PrintDlgW(&pd);
    last.devMode.reset(pd.hDevMode);
    last.devNames.reset(pd.hDevNames);
    if (!accepted && hadChoice && ::CommDlgExtendedError() != 0) {
        // The printer chosen earlier is gone or changed: start again from the default one.
        last = LastChoice{};
        pd.hDevMode = pd.hDevNames = nullptr;
        pd.hDC = nullptr;
        accepted = ::PrintDlgW(&pd);
        last.devMode.reset(pd.hDevMode);
        last.devNames.reset(pd.hDevNames);
    }
    fw::PrinterDc printer(pd.hDC);
    if (!accepted || !printer) return false;
    if (pd.Flags & PD_PAGENUMS) {
        info.m_nFromPage = pd.nFromPage;
        info.m_nToPage = pd.nToPage;
    } else {
        info.m_nFromPage = info.GetMinPage();
        info.m_nToPage = info.GetMaxPage();
    }
    info.m_strDeviceName = DeviceNameOf(last.devNames.get());
    info.m_hPrinterDC = printer.release();
    return true;
}

}  // namespace

BOOL CView::DoPreparePrinting(CPrintInfo* pInfo) {
    if (!pInfo) return FALSE;
    if (!pInfo->m_bPreview && !pInfo->m_bDirect) return RunPrintDialog(DialogOwner(*this), *pInfo) ? TRUE : FALSE;
    DWORD error = 0;
    pInfo->m_hPrinterDC = PrinterDcWithoutDialog(pInfo->m_strDeviceName, error);
    if (pInfo->m_hPrinterDC) return TRUE;
    // The preview shows the pages as the printer would print them: without a printer there is
    // nothing to show, and the user is told why. Quick Print ends without a word.
    if (pInfo->m_bPreview && error == PDERR_NODEFAULTPRN)
        AfxMessageBox(DialogOwner(*this), kNoPrinterText, MB_OK | MB_ICONINFORMATION);
    return FALSE;
}
