#include "framework/doc.h"

#include "framework/app.h"

BOOL CDocument::OnNewDocument() {
    m_strPathName.clear();
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

void CDocument::SetPathName(const wchar_t* path, BOOL) {
    m_strPathName = path ? path : L"";
    const size_t slash = m_strPathName.find_last_of(L"\\/");
    m_strTitle = slash == CString::npos ? m_strPathName : m_strPathName.substr(slash + 1);
}
