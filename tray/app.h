// CLodestarApp: runs one copy of the tray monitor inside InitInstance.
#pragma once

#include <afxwin.h>

class CLodestarApp : public CWinAppEx {
public:
    // Runs the hidden dialog until Exit, saves the settings, and returns
    // FALSE so the program ends without the application message loop.
    BOOL InitInstance() override;

    DECLARE_MESSAGE_MAP()

private:
    CString m_mutexName;
    // Kept for the life of the process; the system closes it at the end.
    HANDLE m_mutex = nullptr;
};
