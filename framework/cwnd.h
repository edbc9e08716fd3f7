// CWnd: a window of the framework, with its message map.
#pragma once

#include "message_map.h"

class CRect : public RECT {
public:
    CRect() : RECT{} {}
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

class CWnd : public CCmdTarget {
public:
    HWND m_hWnd = nullptr;


    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    HICON SetIcon(HICON icon, BOOL bigIcon);
    BOOL ModifyStyleEx(DWORD remove, DWORD add);
    BOOL SetForegroundWindow();
    UINT_PTR SetTimer(UINT_PTR id, UINT elapse, TIMERPROC timerProc = nullptr);
    BOOL KillTimer(UINT_PTR id);
    BOOL IsIconic() const;
    void GetClientRect(LPRECT rect) const;

    // Default processing of the message being handled.
    LRESULT Default();

    // Sees every message of the modal loop before it is dispatched; TRUE
    // means the message was handled and must not be dispatched.
    virtual BOOL PreTranslateMessage(MSG* msg);

    // Looks the message up in the message map; true when a handler ran.
    bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

protected:
    afx_msg void OnPaint();
    afx_msg void OnWindowPosChanging(WINDOWPOS* position);

private:
    struct CurrentMessage {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    CurrentMessage m_current{};
};
