// The application object: start-up hooks, the message loop, the profile
// in the registry, and the framework's command-line handling.
#pragma once
#include <memory>
#include <optional>

#include "framework/afx.h"
#include "framework/thread_state.h"

class CWnd;
class CSingleDocTemplate;

// What the framework's command line asks for: a new document, or a file to open.
class CCommandLineInfo {
public:
    enum Command { FileNew, FileOpen };
    Command m_nShellCommand = FileNew;
    CString m_strFileName;
    // Flags (after '-' or '/') are passed over; the first other argument is a document to open.
    void ParseParam(const wchar_t* param, bool isFlag);
};

class CWinApp {
public:
    explicit CWinApp(const wchar_t* appName = nullptr);
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    virtual BOOL InitInstance();
    virtual int Run();
    virtual int ExitInstance();
    virtual bool OnCmdMsg(UINT id);

    void OnAppExit();
    void SetAppID(const wchar_t* appId);
    void EnableTaskbarInteraction(BOOL enable);
    void SetRegistryKey(const wchar_t* company);
    CString GetProfileString(const wchar_t* section, const wchar_t* entry, const wchar_t* defaultValue) const;
    BOOL WriteProfileString(const wchar_t* section, const wchar_t* entry, const wchar_t* value) const;
    void AddDocTemplate(std::unique_ptr<CSingleDocTemplate> docTemplate);
    void ParseCommandLine(CCommandLineInfo& info) const;
    BOOL ProcessShellCommand(CCommandLineInfo& info);

    LPWSTR m_lpCmdLine = nullptr;  // the command line after the program's own name
    CWnd* m_pMainWnd = nullptr;
    CString m_strAppName;       // from the string resource of the application title when not given
    CString m_strRegistryKey;   // empty until SetRegistryKey: no profile store then
    CString m_strProfileName;

protected:
    std::unique_ptr<CSingleDocTemplate> m_pDocTemplate;

private:
    // The user-interface thread's COM apartment, from InitInstance to ExitInstance: the shell
    // and the image decoder need it, whichever comes first.
    std::optional<fw::ComApartment> m_comApartment;
};

CWinApp* AfxGetApp();

// Runs the application object's life: InitInstance, the message loop, ExitInstance.
int AfxWinMain(LPWSTR cmdLine);

// A string resource of this module, or empty.
CString AfxLoadString(UINT id);

// A message box under the application's title, modal to `owner`.
int AfxMessageBox(HWND owner, const wchar_t* text, UINT type);
