// Message maps: a static table per class of {message, notification, control id, thunk}.
// The thunk is a captureless lambda that casts the target back to the class that declared the
// entry and calls its typed handler, so handlers keep plain signatures such as void OnStart().
#pragma once
// clang-format off

#include <windows.h>

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

class CCmdTarget;

typedef LRESULT (*AFX_PMSG_THUNK)(CCmdTarget* pTarget, UINT nMsg, WPARAM wParam, LPARAM lParam);

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;            // window message (AFX_WM_CTLCOLOR for every WM_CTLCOLOR*)
    UINT nCode;               // notification code, for WM_COMMAND
    UINT nID;                 // control id, for WM_COMMAND
    const UINT* pnRegistered; // message number held in a variable (RegisterWindowMessage)
    AFX_PMSG_THUNK pfnThunk;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// Stands for all of WM_CTLCOLORMSGBOX .. WM_CTLCOLORSTATIC (the 16-bit WM_CTLCOLOR number).
#define AFX_WM_CTLCOLOR 0x0019

class CCmdTarget {
public:
    virtual ~CCmdTarget() = default;
    const AFX_MSGMAP_ENTRY* FindMessageEntry(UINT nMsg, UINT nCode, UINT nID) const;

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const { return GetThisMessageMap(); }
};

#define DECLARE_MESSAGE_MAP()                                                                      \
protected:                                                                                         \
    static const AFX_MSGMAP* GetThisMessageMap();                                                  \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                     \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); }             \
    const AFX_MSGMAP* theClass::GetThisMessageMap() {                                              \
        typedef theClass ThisClass;                                                                \
        typedef baseClass TheBaseClass;                                                            \
        static_assert(sizeof(ThisClass) > 0, "complete class");                                    \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP()                                                                          \
    {0, 0, 0, nullptr, nullptr}                                                                    \
    }                                                                                              \
    ;                                                                                              \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]}; \
    return &messageMap;                                                                            \
    }

#define AFX_THUNK(body)                                                                            \
    [](CCmdTarget* pTarget, UINT nMsg, WPARAM wParam, LPARAM lParam) -> LRESULT {                  \
        (void)nMsg;                                                                                \
        (void)wParam;                                                                              \
        (void)lParam;                                                                              \
        ThisClass* pThis = static_cast<ThisClass*>(pTarget);                                       \
        body                                                                                       \
    }

#define ON_CONTROL(code, id, memberFxn)                                                            \
    {WM_COMMAND, (UINT)(code), (UINT)(id), nullptr, AFX_THUNK(pThis->memberFxn(); return 0;)},
#define ON_COMMAND(id, memberFxn) ON_CONTROL(0, id, memberFxn)
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_CBN_EDITCHANGE(id, memberFxn) ON_CONTROL(CBN_EDITCHANGE, id, memberFxn)
#define ON_CBN_DROPDOWN(id, memberFxn) ON_CONTROL(CBN_DROPDOWN, id, memberFxn)

#define ON_MESSAGE(message, memberFxn)                                                             \
    {(UINT)(message), 0, 0, nullptr, AFX_THUNK(return pThis->memberFxn(wParam, lParam);)},
#define ON_REGISTERED_MESSAGE(nMessageVariable, memberFxn)                                         \
    {0, 0, 0, &(nMessageVariable), AFX_THUNK(return pThis->memberFxn(wParam, lParam);)},

#define ON_WM_CLOSE() {WM_CLOSE, 0, 0, nullptr, AFX_THUNK(pThis->OnClose(); return 0;)},
#define ON_WM_QUERYENDSESSION()                                                                    \
    {WM_QUERYENDSESSION, 0, 0, nullptr, AFX_THUNK(return pThis->OnQueryEndSession();)},
#define ON_WM_ENDSESSION()                                                                         \
    {WM_ENDSESSION, 0, 0, nullptr, AFX_THUNK(pThis->OnEndSession(static_cast<BOOL>(wParam)); return 0;)},
#define ON_WM_TIMER()                                                                              \
    {WM_TIMER, 0, 0, nullptr, AFX_THUNK(pThis->OnTimer(static_cast<UINT_PTR>(wParam)); return 0;)},
#define ON_WM_SYSCOMMAND()                                                                         \
    {WM_SYSCOMMAND, 0, 0, nullptr,                                                                 \
     AFX_THUNK(pThis->OnSysCommand(static_cast<UINT>(wParam), lParam); return 0;)},
#define ON_WM_INITMENU()                                                                           \
    {WM_INITMENU, 0, 0, nullptr,                                                                   \
     AFX_THUNK(pThis->OnInitMenu(reinterpret_cast<HMENU>(wParam)); return 0;)},
#define ON_WM_DPICHANGED()                                                                         \
    {WM_DPICHANGED, 0, 0, nullptr,                                                                 \
     AFX_THUNK(pThis->OnDpiChanged(LOWORD(wParam), reinterpret_cast<const RECT*>(lParam));         \
               return 0;)},
#define ON_WM_CTLCOLOR()                                                                           \
    {AFX_WM_CTLCOLOR, 0, 0, nullptr, AFX_THUNK({                                                   \
         CDC dc(reinterpret_cast<HDC>(wParam));                                                    \
         CWnd wnd(reinterpret_cast<HWND>(lParam));                                                 \
         return reinterpret_cast<LRESULT>(                                                         \
             pThis->OnCtlColor(&dc, &wnd, nMsg - WM_CTLCOLORMSGBOX));                              \
     })},
// clang-format on
