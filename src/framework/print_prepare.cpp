// Choosing the printer for a job: the common print dialog, or quietly the default printer.
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

CString DeviceNameOf(HGLOBAL devNames) {
    if (!devNames) return {};
    const auto* names = static_cast<const DEVNAMES*>(::GlobalLock(devNames));
    if (!names) return {};
    CString name = reinterpret_cast<const wchar_t*>(names) + names->wDeviceOffset;
    ::GlobalUnlock(devNames);
    return name;
}

// The default printer's DC, without any dialog; null when there is no printer (PDERR_NODEFAULTPRN).
HDC DefaultPrinterDc(CString& deviceName) {
    PRINTDLGW pd{};
    pd.lStructSize = sizeof(pd);
    pd.Flags = PD_RETURNDEFAULT | PD_RETURNDC;
    if (!::PrintDlgW(&pd)) return nullptr;
    const GlobalMemory devMode(pd.hDevMode), devNames(pd.hDevNames);
    deviceName = DeviceNameOf(devNames.get());
    return pd.hDC;
}

HWND DialogOwner(const CView& view) {
    if (CFrameWnd* frame = view.GetParentFrame(); frame && frame->m_hWnd) return frame->m_hWnd;
    CWinApp* app = AfxGetApp();
    return app && app->m_pMainWnd ? app->m_pMainWnd->m_hWnd : nullptr;
}

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
    fw::MemoryDc printer(pd.hDC);
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
    if (pInfo->m_bPreview) {
        // The default printer only lends the preview its page size; without one the preview
        // shows A4 pages all the same.
        pInfo->m_hPrinterDC = DefaultPrinterDc(pInfo->m_strDeviceName);
        return TRUE;
    }
    if (pInfo->m_bDirect) {
        pInfo->m_hPrinterDC = DefaultPrinterDc(pInfo->m_strDeviceName);
        return pInfo->m_hPrinterDC ? TRUE : FALSE;
    }
    return RunPrintDialog(DialogOwner(*this), *pInfo) ? TRUE : FALSE;
}
