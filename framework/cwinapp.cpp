#include "cwinapp.h"

#include <cstdio>
#include <cstring>

#include "module_path.h"

namespace {
CWinApp* currentApp = nullptr;
}

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
END_MESSAGE_MAP()

CWinApp::CWinApp() { currentApp = this; }

CWinApp::~CWinApp() {
    if (currentApp == this) currentApp = nullptr;
}

BOOL CWinApp::InitInstance() { return TRUE; }

int CWinApp::ExitInstance() { return 0; }

void CWinApp::OnHelp() {}

// The executable's base name without its extension.
void CWinApp::SetNamesFromModule() {
    const std::wstring path = ModuleFileName();
    const wchar_t* base = path.c_str();
    for (const wchar_t* p = path.c_str(); *p; ++p)
        if (*p == L'\\' || *p == L'/') base = p + 1;
    m_appName[0] = '\0';
    ::WideCharToMultiByte(CP_ACP, 0, base, -1, m_appName, sizeof m_appName, nullptr, nullptr);
    m_appName[sizeof m_appName - 1] = '\0';
    if (char* dot = std::strrchr(m_appName, '.')) *dot = '\0';
    m_pszAppName = m_appName;
}

CWinApp* AfxGetApp() { return currentApp; }

HINSTANCE AfxGetInstanceHandle() { return currentApp ? currentApp->m_hInstance : nullptr; }

HINSTANCE AfxGetResourceHandle() { return AfxGetInstanceHandle(); }

const char* AfxGetAppName() { return currentApp ? currentApp->m_pszAppName : ""; }

int AfxWinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    CWinApp* app = AfxGetApp();
    if (!app) return -1;
    app->m_hInstance = instance;
    if (!app->m_pszAppName) app->SetNamesFromModule();
    // The program does its work in InitInstance (a modal dialog); there is
    // no application message loop after it.
    app->InitInstance();
    return app->ExitInstance();
}

int AfxMessageBox(const char* text, UINT type, UINT) {
    CWinApp* app = AfxGetApp();
    HWND owner = app && app->m_pMainWnd ? app->m_pMainWnd->m_hWnd : nullptr;
    return ::MessageBoxA(owner, text, AfxGetAppName(), type);
}
