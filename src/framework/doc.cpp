#include "framework/doc.h"

#include "framework/app.h"
#include "framework/frame.h"

BOOL CDocument::OnNewDocument() {
    m_strTitle = L"Untitled";
    return TRUE;
}

BOOL CDocument::OnOpenDocument(const wchar_t* path) {
    // There is nothing to read, but the file must be there and readable.
    HANDLE file = ::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return FALSE;
    ::CloseHandle(file);
    SetPathName(path, TRUE);
    return TRUE;
}

// No recent-file list here: addToMru has nothing to add to.
void CDocument::SetPathName(const wchar_t* path, BOOL) {
    const CString pathName = path ? path : L"";
    const size_t slash = pathName.find_last_of(L"\\/");
    m_strTitle = slash == CString::npos ? pathName : pathName.substr(slash + 1);
}

CSingleDocTemplate::CSingleDocTemplate(UINT resourceId, DocFactory doc, FrameFactory frame, ViewFactory view)
    : m_resourceId(resourceId), m_makeDoc(std::move(doc)), m_makeFrame(std::move(frame)), m_makeView(std::move(view)) {}

CFrameWnd* CSingleDocTemplate::OpenDocumentFile(const wchar_t* path) {
    m_doc = m_makeDoc();
    if (!m_doc) return nullptr;
    if (path ? !m_doc->OnOpenDocument(path) : !m_doc->OnNewDocument()) {
        if (path) {
            const CString text = L"Cannot open the document \"" + CString(path) + L"\".";
            AfxMessageBox(nullptr, text.c_str(), MB_OK | MB_ICONEXCLAMATION);
        }
        m_doc.reset();
        return nullptr;
    }
    CFrameWnd* frame = m_makeFrame();
    if (!frame->LoadFrame(m_resourceId, m_doc.get(), m_makeView)) {
        delete frame;  // it deletes itself only once its window was made
        return nullptr;
    }
    return frame;
}
