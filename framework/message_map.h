// Message maps: each class binds messages to its member functions in a static
// table, and a lookup walks the table of the class and then of its bases.
#pragma once

#include <windows.h>

class CCmdTarget;

typedef LRESULT (*AFX_MSG_THUNK)(CCmdTarget* target, WPARAM wParam, LPARAM lParam);

struct AFX_MSGMAP_ENTRY {
    UINT message;
    UINT id;  // the command id for WM_COMMAND entries
    AFX_MSG_THUNK thunk;
    const UINT* registeredMessage = nullptr;  // set for a message registered at run time
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

#define afx_msg

#define DECLARE_MESSAGE_MAP()                    \
protected:                                       \
    static const AFX_MSGMAP* GetThisMessageMap(); \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                   \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const AFX_MSGMAP* theClass::GetThisMessageMap() {                           \
        using ThisClass [[maybe_unused]] = theClass;                            \
        using TheBaseClass = baseClass;                                         \
        static const AFX_MSGMAP_ENTRY entries[] = {

#define END_MESSAGE_MAP()                                                                 \
    {0, 0, nullptr}};                                                                     \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &entries[0]}; \
    return &messageMap;                                                                   \
    }

#define AFX_THUNK(body) [](CCmdTarget* target, [[maybe_unused]] WPARAM wParam, [[maybe_unused]] LPARAM lParam) -> LRESULT { \
    [[maybe_unused]] auto* self = static_cast<ThisClass*>(target);                                                     \
    body                                                                                                               \
}

// void memberFxn()
#define ON_COMMAND(id, memberFxn) {WM_COMMAND, (UINT)(id), AFX_THUNK((self->*(memberFxn))(); return 0;)},
// LRESULT memberFxn(WPARAM, LPARAM)
#define ON_MESSAGE(message, memberFxn) {(UINT)(message), 0, AFX_THUNK(return (self->*(memberFxn))(wParam, lParam);)},
// LRESULT memberFxn(WPARAM, LPARAM), for the message whose id `messageVariable` holds
#define ON_REGISTERED_MESSAGE(messageVariable, memberFxn) \
    {0, 0, AFX_THUNK(return (self->*(memberFxn))(wParam, lParam);), &(messageVariable)},
// void OnPaint()
#define ON_WM_PAINT() {WM_PAINT, 0, AFX_THUNK(self->OnPaint(); return 0;)},
// HCURSOR OnQueryDragIcon()
#define ON_WM_QUERYDRAGICON() {WM_QUERYDRAGICON, 0, AFX_THUNK(return (LRESULT)self->OnQueryDragIcon();)},
// void OnWindowPosChanging(WINDOWPOS*)
#define ON_WM_WINDOWPOSCHANGING() \
    {WM_WINDOWPOSCHANGING, 0, AFX_THUNK(self->OnWindowPosChanging(reinterpret_cast<WINDOWPOS*>(lParam)); return 0;)},

class CCmdTarget {
public:
    virtual ~CCmdTarget() = default;

    // Runs the handler bound to the message, if any; true when one ran.
    bool DispatchToMap(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;
};
