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
}

CDialog::CDialog(int templateId, HWND parent) : m_templateId(templateId), m_parent(parent) {}

CDialog::~CDialog()
{
    if (m_hWnd && !m_modal)
        ::DestroyWindow(m_hWnd);
}

INT_PTR CDialog::DoModal()
{
    m_modal = true;
    RegisterCommonControls();
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
        ::DestroyWindow(m_hWnd);
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
        auto* self = reinterpret_cast<CDialog*>(lParam);
        self->m_hWnd = hWnd;
        ::SetWindowLongPtrA(hWnd, DWLP_USER, lParam);
    }
    auto* self = reinterpret_cast<CDialog*>(::GetWindowLongPtrA(hWnd, DWLP_USER));
    if (!self)
        return FALSE;
    const INT_PTR result = self->DialogProc(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrA(hWnd, DWLP_USER, 0);
        self->m_hWnd = nullptr;
    }
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
    default: {
        LRESULT result = 0;
        if (!OnMessage(message, wParam, lParam, result))
            return FALSE;
        ::SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, result);
        return TRUE;
    }
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

bool CDialog::OnMessage(UINT, WPARAM, LPARAM, LRESULT&)
{
    return false;
}
