// The application object: start-up with its switches and branding, the profile, and the slide
// index written back at exit; and the document, which gives the caption its title.
#pragma once
#include "framework/app.h"
#include "framework/doc.h"
#include "render/branding_layout.h"  // g_brandLogoId, g_secondLogoId
#include "view/view.h"               // g_proMode, g_bigMode

class CPemboroApp : public CWinApp {
public:
    CPemboroApp();
    ~CPemboroApp() override;  // writes the slide index to the profile

    BOOL InitInstance() override;
    // The program's exit code: the check switch's verdict, else the framework's.
    int ExitInstance() override;

private:
    int m_nExitCode = 0;
};

// The document holds no data: the deck is compiled in.
class CPemboroDoc : public CDocument {
public:
    BOOL OnNewDocument() override;
};
