#include "app.h"

#include "sensor_dlg.h"

BEGIN_MESSAGE_MAP(CLodestarApp, CWinAppEx)
ON_COMMAND(ID_HELP, &CWinApp::OnHelp)
END_MESSAGE_MAP()

BOOL CLodestarApp::InitInstance() {
    m_mutexName = "LODESTAR";
    m_mutex = ::CreateMutexA(nullptr, FALSE, m_mutexName);
    // Another copy holds the name: end silently.
    if (!m_mutex || ::GetLastError() == ERROR_ALREADY_EXISTS) return FALSE;

    // All Sensor API and Location API callbacks arrive in this apartment,
    // on this thread.
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    {
        CSensorDlg dialog;
        m_pMainWnd = &dialog;
        dialog.DoModal();
        dialog.SaveSettings();
        ::CoUninitialize();
        m_pMainWnd = nullptr;
    }
    return FALSE;
}
