#include "framework/doc_template.h"

#include "framework/app.h"
#include "framework/doc.h"
#include "framework/frame.h"

CSingleDocTemplate::CSingleDocTemplate(UINT resourceId, DocFactory doc, FrameFactory frame, ViewFactory view)
    : m_resourceId(resourceId), m_makeDoc(std::move(doc)), m_makeFrame(std::move(frame)), m_makeView(std::move(view)) {}

CSingleDocTemplate::~CSingleDocTemplate() = default;

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
