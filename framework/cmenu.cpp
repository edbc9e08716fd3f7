#include "cmenu.h"

#include "cwinapp.h"

CMenu::~CMenu() { DestroyMenu(); }

BOOL CMenu::LoadMenu(UINT resourceId) {
    DestroyMenu();
    m_hMenu = ::LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(resourceId));
    m_owned = m_hMenu != nullptr;
    return m_owned;
}

CMenu* CMenu::GetSubMenu(int position) {
    HMENU popup = ::GetSubMenu(m_hMenu, position);
    if (!popup) return nullptr;
    m_subMenu = std::make_unique<CMenu>();
    m_subMenu->m_hMenu = popup;
    return m_subMenu.get();
}

BOOL CMenu::TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, const RECT* rect) {
    return ::TrackPopupMenu(m_hMenu, flags, x, y, 0, owner ? owner->m_hWnd : nullptr, rect);
}

BOOL CMenu::DestroyMenu() {
    if (m_subMenu) m_subMenu->m_hMenu = nullptr;
    m_subMenu.reset();
    if (!m_hMenu) return FALSE;
    const BOOL destroyed = m_owned ? ::DestroyMenu(m_hMenu) : TRUE;
    m_hMenu = nullptr;
    m_owned = false;
    return destroyed;
}

CPaintDC::CPaintDC(CWnd* wnd) : m_hWnd(wnd->m_hWnd), m_hDC(::BeginPaint(m_hWnd, &m_paint)) {}

CPaintDC::~CPaintDC() { ::EndPaint(m_hWnd, &m_paint); }
