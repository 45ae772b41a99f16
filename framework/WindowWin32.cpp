#include "framework/Window.h"

#include <commctrl.h>

#include <vector>

namespace
{
const char* const kClassName = "QuorbelWindow";
}

CWindow::~CWindow()
{
    if (m_ownsWindow && m_hWnd)
        ::DestroyWindow(m_hWnd);   // the WM_NCDESTROY that follows detaches
    Detach();
}

ATOM CWindow::RegisterFrameworkClass()
{
    static const ATOM atom = [] {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof(wc);
        wc.style = CS_HREDRAW | CS_VREDRAW;
        wc.lpfnWndProc = StaticWindowProc;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = kClassName;
        return ::RegisterClassExA(&wc);
    }();
    return atom;
}

bool CWindow::Create(const std::string& title, DWORD style, DWORD exStyle, const RECT& rect,
                     HWND parent)
{
    if (m_hWnd || !RegisterFrameworkClass())
        return false;
    const HWND created = ::CreateWindowExA(exStyle, kClassName, title.c_str(), style, rect.left,
                                           rect.top, rect.right - rect.left,
                                           rect.bottom - rect.top, parent, nullptr,
                                           ::GetModuleHandleA(nullptr), this);
    m_ownsWindow = created != nullptr;
    return m_ownsWindow;
}

bool CWindow::SubclassDlgItem(int id, HWND parent)
{
    const HWND control = ::GetDlgItem(parent, id);
    if (m_hWnd || !control || !::SetWindowSubclass(control, SubclassProc, 1,
                                                   reinterpret_cast<DWORD_PTR>(this)))
        return false;
    m_hWnd = control;
    m_subclassed = true;
    return true;
}

void CWindow::Detach()
{
    if (m_hWnd && m_subclassed)
        ::RemoveWindowSubclass(m_hWnd, SubclassProc, 1);
    else if (m_hWnd)
        ::SetWindowLongPtrA(m_hWnd, GWLP_USERDATA, 0);
    m_hWnd = nullptr;
    m_subclassed = false;
    m_ownsWindow = false;
}

LRESULT CALLBACK CWindow::StaticWindowProc(HWND hWnd, UINT message, WPARAM wParam,
                                           LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* self = static_cast<CWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        self->m_hWnd = hWnd;
        ::SetWindowLongPtrA(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<CWindow*>(::GetWindowLongPtrA(hWnd, GWLP_USERDATA));
    if (!self)
        return ::DefWindowProcA(hWnd, message, wParam, lParam);
    return self->Dispatch(message, wParam, lParam);
}

LRESULT CALLBACK CWindow::SubclassProc(HWND, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR, DWORD_PTR refData)
{
    return reinterpret_cast<CWindow*>(refData)->Dispatch(message, wParam, lParam);
}

LRESULT CWindow::Dispatch(UINT message, WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = WindowProc(message, wParam, lParam);
    if (message == WM_NCDESTROY)
        Detach();   // the handle is gone; the object may outlive it
    return result;
}

LRESULT CWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return Default(message, wParam, lParam);
}

LRESULT CWindow::Default(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_subclassed)
        return ::DefSubclassProc(m_hWnd, message, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CWindow::SendDlgItemMessage(int id, UINT message, WPARAM wParam, LPARAM lParam) const
{
    return ::SendDlgItemMessageA(m_hWnd, id, message, wParam, lParam);
}

std::string CWindow::GetText(HWND hWnd)
{
    const int length = ::GetWindowTextLengthA(hWnd);
    std::vector<char> buffer(static_cast<size_t>(length) + 1, '\0');
    const int copied = ::GetWindowTextA(hWnd, buffer.data(), length + 1);
    return std::string(buffer.data(), static_cast<size_t>(copied > 0 ? copied : 0));
}

std::string CWindow::GetDlgItemText(int id) const
{
    return GetText(GetDlgItem(id));
}

void CWindow::SetDlgItemText(int id, const std::string& text) const
{
    ::SetDlgItemTextA(m_hWnd, id, text.c_str());
}

void CWindow::EnableDlgItem(int id, bool enable) const
{
    ::EnableWindow(GetDlgItem(id), enable ? TRUE : FALSE);
}
