// The document: here it only carries the title the frame shows.
#pragma once
#include "framework/afx.h"

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
    const CString& GetPathName() const { return m_strPathName; }
    const CString& GetTitle() const { return m_strTitle; }
    void SetTitle(const wchar_t* title) { m_strTitle = title; }

private:
    CString m_strPathName;
    CString m_strTitle;
};
