// The application object a dialog needs: it names the settings file.
#pragma once

#include <afxwin.h>

class TestApp : public CWinApp {
public:
    explicit TestApp(const char* name) { m_pszAppName = name; }
};
