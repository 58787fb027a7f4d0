// The document, which here only carries the title the frame shows, and the single-document
// template that makes it together with its frame and view.
#pragma once
#include <functional>
#include <memory>

#include "framework/afx.h"

class CFrameWnd;
class CView;

class CDocument {
public:
    CDocument() = default;
    virtual ~CDocument() = default;
    CDocument(const CDocument&) = delete;
    CDocument& operator=(const CDocument&) = delete;

    virtual BOOL OnNewDocument();
    virtual BOOL OnOpenDocument(const wchar_t* path);
    // The title becomes the path's last component.
    virtual void SetPathName(const wchar_t* path, BOOL addToMru = TRUE);
    const CString& GetTitle() const { return m_strTitle; }
    void SetTitle(const wchar_t* title) { m_strTitle = title; }

private:
    CString m_strTitle;
};

class CSingleDocTemplate {
public:
    using DocFactory = std::function<std::unique_ptr<CDocument>()>;
    using FrameFactory = std::function<CFrameWnd*()>;  // the frame deletes itself with its window
    using ViewFactory = std::function<CView*()>;       // so does the view

    CSingleDocTemplate(UINT resourceId, DocFactory doc, FrameFactory frame, ViewFactory view);

    template <class Doc, class Frame, class View>
    static std::unique_ptr<CSingleDocTemplate> Make(UINT resourceId) {
        return std::make_unique<CSingleDocTemplate>(
            resourceId, [] { return std::make_unique<Doc>(); }, [] { return new Frame; }, [] { return new View; });
    }

    // Creates the document (new, or opened from a file) and its frame and view;
    // the frame, or null when any step fails (the framework reports an unopenable file).
    CFrameWnd* OpenDocumentFile(const wchar_t* path);

    CDocument* GetDocument() const { return m_doc.get(); }

private:
    UINT m_resourceId;
    DocFactory m_makeDoc;
    FrameFactory m_makeFrame;
    ViewFactory m_makeView;
    std::unique_ptr<CDocument> m_doc;
};
