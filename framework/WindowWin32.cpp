#include "framework/Window.h"

#include <commctrl.h>

#include <utility>
#include <vector>

const CWindow::WindowClass CWindow::DefaultClass{"QuorbelWindow", CS_HREDRAW | CS_VREDRAW,
                                                  IDC_ARROW};

CWindow::~CWindow()
{
    // The derived part is gone: let go first, so that no message of the
    // destruction reaches a half-destroyed object.
    const HWND orphan = m_attachment == Attachment::Subclass ? nullptr : m_hWnd;
    Detach();
    if (orphan)
        ::DestroyWindow(orphan);
}

void CWindow::DestroyWindow()
{
    if (m_hWnd)
        ::DestroyWindow(m_hWnd);   // the WM_NCDESTROY that follows detaches
}

bool CWindow::RegisterWindowClass(const WindowClass& windowClass)
{
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof(wc);
    const HINSTANCE instance = ::GetModuleHandleA(nullptr);
    if (::GetClassInfoExA(instance, windowClass.name, &wc))
        return true;
    wc.style = windowClass.style;
    wc.lpfnWndProc = StaticWindowProc;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorA(nullptr, windowClass.cursor);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = windowClass.name;
    return ::RegisterClassExA(&wc) != 0;
}

bool CWindow::Create(const std::string& title, DWORD style, DWORD exStyle, const RECT& rect,
                     HWND parent, const WindowClass& windowClass)
{
    if (m_hWnd || !RegisterWindowClass(windowClass))
        return false;
    const HWND created = ::CreateWindowExA(exStyle, windowClass.name, title.c_str(), style, rect.left,
                                           rect.top, rect.right - rect.left,
                                           rect.bottom - rect.top, parent, nullptr,
                                           ::GetModuleHandleA(nullptr), this);
    return created != nullptr;
}

bool CWindow::SubclassDlgItem(int id, HWND parent)
{
    const HWND control = ::GetDlgItem(parent, id);
    if (m_hWnd || !control || !::SetWindowSubclass(control, SubclassProc, 1,
                                                   reinterpret_cast<DWORD_PTR>(this)))
        return false;
    m_hWnd = control;
    m_attachment = Attachment::Subclass;
    return true;
}

void CWindow::AttachDialog(HWND hWnd)
{
    m_hWnd = hWnd;
    m_attachment = Attachment::Dialog;
}

void CWindow::Detach()
{
    switch (m_attachment) {
    case Attachment::Subclass:
        ::RemoveWindowSubclass(m_hWnd, SubclassProc, 1);
        break;
    case Attachment::OwnClass:
        ::SetWindowLongPtrA(m_hWnd, GWLP_USERDATA, 0);
        break;
    case Attachment::Dialog:
        ::SetWindowLongPtrA(m_hWnd, DWLP_USER, 0);
        break;
    case Attachment::None:
        break;
    }
    const std::lock_guard<std::mutex> lock(m_taskMutex);
    m_tasks.clear();
    m_hWnd = nullptr;
    m_attachment = Attachment::None;
}

LRESULT CALLBACK CWindow::StaticWindowProc(HWND hWnd, UINT message, WPARAM wParam,
                                           LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* self = static_cast<CWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        self->m_hWnd = hWnd;
        self->m_attachment = Attachment::OwnClass;
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
    if (RanPostedTasks(message))
        return 0;
    const LRESULT result = WindowProc(message, wParam, lParam);
    if (message == WM_NCDESTROY)
        Detach();   // the handle is gone; the object may outlive it
    return result;
}

UINT CWindow::TaskMessage()
{
    static const UINT message = ::RegisterWindowMessageA("Quorbel.PostedTasks");
    return message;
}

bool CWindow::Post(std::function<void()> task)
{
    const std::lock_guard<std::mutex> lock(m_taskMutex);
    if (!m_hWnd)
        return false;
    if (m_tasks.empty() && !::PostMessageA(m_hWnd, TaskMessage(), 0, 0))
        return false;
    m_tasks.push_back(std::move(task));
    return true;
}

// Tasks posted while these run (also from inside a message box one of
// them shows) come with the next message; those of a window that a task
// destroyed are dropped.
bool CWindow::RanPostedTasks(UINT message)
{
    if (message != TaskMessage())
        return false;
    std::vector<std::function<void()>> tasks;
    {
        const std::lock_guard<std::mutex> lock(m_taskMutex);
        tasks.swap(m_tasks);
    }
    for (const std::function<void()>& task : tasks) {
        if (!m_hWnd)
            break;   // a task ended the window
        task();
    }
    return true;
}

LRESULT CWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return Default(message, wParam, lParam);
}

LRESULT CWindow::Default(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_attachment == Attachment::Subclass)
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
