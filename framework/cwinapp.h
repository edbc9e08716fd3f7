// The application object: one global instance, entered by WinMain.
#pragma once

#include "cwnd.h"

class CWinApp : public CCmdTarget {
public:
    CWinApp();
    ~CWinApp() override;

    // The executable's base name without extension, since the program passes
    // no application name of its own.
    const char* m_pszAppName = nullptr;
    HINSTANCE m_hInstance = nullptr;
    CWnd* m_pMainWnd = nullptr;

    // Does the program's work; the program ends when it returns.
    virtual BOOL InitInstance();
    virtual int ExitInstance();

    afx_msg void OnHelp();

    DECLARE_MESSAGE_MAP()

private:
    friend int AfxWinMain(HINSTANCE, HINSTANCE, LPSTR, int);
    void SetNamesFromModule();
    char m_appName[MAX_PATH] = {};
};

class CWinAppEx : public CWinApp {};

CWinApp* AfxGetApp();
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();
const char* AfxGetAppName();
int AfxWinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand);

// A message box owned by the main window, captioned with the application name.
int AfxMessageBox(const char* text, UINT type = MB_OK, UINT helpId = 0);
