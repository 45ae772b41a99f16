#include "framework/Dialog.h"

#include "framework/Application.h"
#include "framework/DataExchange.h"

#include <commctrl.h>

namespace
{
// Templates name common controls (list view, up-down, IP address) by class;
// the classes must be registered before the first dialog is created.
void RegisterCommonControls()
{
    static const bool registered = [] {
        INITCOMMONCONTROLSEX controls{sizeof controls,
                                      ICC_WIN95_CLASSES | ICC_INTERNET_CLASSES};
        return ::InitCommonControlsEx(&controls) != FALSE;
    }();
    (void)registered;
}

// While a modal loop of this thread runs, the application sees each of
// its messages first (the dialog manager's loop calls the filter hook).
thread_local HHOOK t_messageFilter = nullptr;
thread_local int t_modalDepth = 0;

LRESULT CALLBACK MessageFilterProc(int code, WPARAM wParam, LPARAM lParam)
{
    if (code >= 0 && CApplication::PreTranslate(reinterpret_cast<MSG*>(lParam)))
        return TRUE;
    return ::CallNextHookEx(t_messageFilter, code, wParam, lParam);
}

// Installs the filter for the outermost modal loop and removes it when that
// loop ends.
class CModalFilterScope
{
public:
    CModalFilterScope()
    {
        if (t_modalDepth++ == 0)
            t_messageFilter = ::SetWindowsHookExA(WH_MSGFILTER, MessageFilterProc, nullptr,
                                                  ::GetCurrentThreadId());
    }
    ~CModalFilterScope()
    {
        if (--t_modalDepth == 0 && t_messageFilter) {
            ::UnhookWindowsHookEx(t_messageFilter);
            t_messageFilter = nullptr;
        }
    }
    CModalFilterScope(const CModalFilterScope&) = delete;
    CModalFilterScope& operator=(const CModalFilterScope&) = delete;
};
}

CDialog::CDialog(int templateId, HWND parent) : m_templateId(templateId), m_parent(parent) {}

INT_PTR CDialog::DoModal()
{
    m_modal = true;
    RegisterCommonControls();
    const CModalFilterScope filter;
    return ::DialogBoxParamA(CApplication::FindResourceModule(RT_DIALOG, static_cast<UINT>(m_templateId)),
                             MAKEINTRESOURCEA(m_templateId),
                             m_parent, StaticDialogProc, reinterpret_cast<LPARAM>(this));
}

bool CDialog::Create()
{
    m_modal = false;
    m_result = -1;
    RegisterCommonControls();
    const HWND created =
        ::CreateDialogParamA(CApplication::FindResourceModule(RT_DIALOG, static_cast<UINT>(m_templateId)),
                             MAKEINTRESOURCEA(m_templateId),
                             m_parent, StaticDialogProc, reinterpret_cast<LPARAM>(this));
    return created != nullptr;
}

void CDialog::EndDialog(int result)
{
    if (!m_hWnd)
        return;
    m_result = result;
    if (m_modal)
        ::EndDialog(m_hWnd, result);
    else
        DestroyWindow();
}

bool CDialog::UpdateData(bool saveAndValidate)
{
    CDataExchange dx(*this, saveAndValidate);
    DoDataExchange(dx);
    return !dx.Failed();
}

INT_PTR CALLBACK CDialog::StaticDialogProc(HWND hWnd, UINT message, WPARAM wParam,
                                           LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        reinterpret_cast<CDialog*>(lParam)->AttachDialog(hWnd);
        ::SetWindowLongPtrA(hWnd, DWLP_USER, lParam);
    }
    auto* self = reinterpret_cast<CDialog*>(::GetWindowLongPtrA(hWnd, DWLP_USER));
    if (!self)
        return FALSE;
    if (self->RanPostedTasks(message))
        return TRUE;
    const INT_PTR result = self->DialogProc(message, wParam, lParam);
    if (message == WM_NCDESTROY)
        self->Detach();
    return result;
}

INT_PTR CDialog::DialogProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog();
    case WM_COMMAND:
        RouteCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        return TRUE;
    case WM_NOTIFY: {
        LRESULT result = 0;
        if (!OnNotify(*reinterpret_cast<const NMHDR*>(lParam), result))
            return FALSE;
        ::SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, result);
        return TRUE;
    }
    case WM_TIMER:
        OnTimer(wParam);
        return TRUE;
    case WM_DESTROY:
        OnDestroy();
        return TRUE;
    case WM_SIZE:
        OnSize(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
        return TRUE;
    case WM_GETMINMAXINFO:
        OnGetMinMaxInfo(*reinterpret_cast<MINMAXINFO*>(lParam));
        return TRUE;
    case WM_SYSCOMMAND:
        return OnSysCommand(static_cast<UINT>(wParam), lParam) ? TRUE : FALSE;
    case WM_PAINT:
        return OnPaint() ? TRUE : FALSE;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        // The brush is the dialog procedure's own return value.
        return reinterpret_cast<INT_PTR>(
            OnCtlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam), message));
    default:
        return AnswerOtherMessage(message, wParam, lParam);
    }
}

INT_PTR CDialog::AnswerOtherMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (!OnMessage(message, wParam, lParam, result))
        return FALSE;
    switch (message) {
    case WM_QUERYDRAGICON:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
        // These answer through the return value, not DWLP_MSGRESULT.
        return static_cast<INT_PTR>(result);
    default:
        ::SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, result);
        return TRUE;
    }
}

void CDialog::RouteCommand(int id, int code, HWND control)
{
    if (OnCommand(id, code, control))
        return;
    // Enter and Escape arrive with code 0, a button click with BN_CLICKED.
    if (code != BN_CLICKED && code != 0)
        return;
    if (id == IDOK)
        OnOK();
    else if (id == IDCANCEL)
        OnCancel();
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(false);
    return TRUE;
}

void CDialog::OnOK()
{
    if (UpdateData(true))
        EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

void CDialog::DoDataExchange(CDataExchange&) {}

bool CDialog::OnCommand(int, int, HWND)
{
    return false;
}

bool CDialog::OnNotify(const NMHDR&, LRESULT&)
{
    return false;
}

void CDialog::OnTimer(UINT_PTR) {}

void CDialog::OnDestroy() {}

void CDialog::OnSize(UINT, int, int) {}

void CDialog::OnGetMinMaxInfo(MINMAXINFO&) {}

bool CDialog::OnSysCommand(UINT, LPARAM)
{
    return false;
}

bool CDialog::OnPaint()
{
    return false;
}

HBRUSH CDialog::OnCtlColor(HDC, HWND, UINT)
{
    return nullptr;
}

bool CDialog::OnMessage(UINT, WPARAM, LPARAM, LRESULT&)
{
    return false;
}
