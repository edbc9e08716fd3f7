// CDialog: a modal dialog from a dialog template, run by its own message
// loop so that PreTranslateMessage sees every message.
#pragma once

#include "cwnd.h"

class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);
    ~CDialog() override;

    // Creates the dialog, runs the modal loop until EndDialog, destroys the
    // window and returns the EndDialog result (-1 when the dialog could not
    // be created).
    virtual INT_PTR DoModal();
    void EndDialog(int result);

    virtual BOOL OnInitDialog();
    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    virtual void OnOK();
    virtual void OnCancel();

    DECLARE_MESSAGE_MAP()

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    UINT m_templateId;
    CWnd* m_parent;
    bool m_modalEnded = false;
    INT_PTR m_modalResult = -1;
};
