// The single-document template: makes the document, the frame and its view.
#pragma once
#include <functional>
#include <memory>

#include "framework/afx.h"

class CDocument;
class CFrameWnd;
class CView;

class CSingleDocTemplate {
public:
    using DocFactory = std::function<std::unique_ptr<CDocument>()>;
    using FrameFactory = std::function<CFrameWnd*()>;  // the frame deletes itself with its window
    using ViewFactory = std::function<CView*()>;       // so does the view

    CSingleDocTemplate(UINT resourceId, DocFactory doc, FrameFactory frame, ViewFactory view);
    ~CSingleDocTemplate();

    template <class Doc, class Frame, class View>
    static std::unique_ptr<CSingleDocTemplate> Make(UINT resourceId) {
        return std::make_unique<CSingleDocTemplate>(
            resourceId, [] { return std::make_unique<Doc>(); }, [] { return new Frame; }, [] { return new View; });
    }

    // Creates the document (new, or opened from a file) and its frame and view;
    // the frame, or null when any step fails (the framework reports an unopenable file).
    CFrameWnd* OpenDocumentFile(const wchar_t* path);

    CDocument* GetDocument() const { return m_doc.get(); }
    UINT GetResourceId() const { return m_resourceId; }

private:
    UINT m_resourceId;
    DocFactory m_makeDoc;
    FrameFactory m_makeFrame;
    ViewFactory m_makeView;
    std::unique_ptr<CDocument> m_doc;
};
