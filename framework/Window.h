#pragma once
#include <windows.h>

#include <functional>
#include <mutex>
#include <string>
#include <vector>

// A window object and its HWND.  Messages reach the object through one
// static window procedure that finds `this` in the window's own storage:
// for windows of our class it arrives with WM_NCCREATE as the creation
// parameter; for controls created by a dialog template the object
// subclasses the existing window and gets `this` back as the subclass
// reference data.  Either way, WindowProc is the one place a derived class
// sees every message.
//
// A window is destroyed with DestroyWindow while the whole object exists, so
// the derived class sees its own WM_DESTROY.  By the time a base destructor
// runs the derived part is gone, so the base only lets go of a window that is
// still there and then destroys it, unheard.  A class whose WM_DESTROY /
// OnDestroy matters is therefore final and calls DestroyWindow in its own
// destructor, or its owner calls it.  A modal dialog's window is gone when
// DoModal returns; a subclassed control's window belongs to its dialog and
// is only let go.
class CWindow
{
public:
    CWindow() = default;
    virtual ~CWindow();
    CWindow(const CWindow&) = delete;
    CWindow& operator=(const CWindow&) = delete;

    // A window class served by the framework's window procedure, registered
    // on first use.
    struct WindowClass
    {
        const char* name;
        UINT style;
        LPCSTR cursor;
    };
    static const WindowClass DefaultClass;

    // A top-level or child window of one of the framework's window classes.
    bool Create(const std::string& title, DWORD style, DWORD exStyle, const RECT& rect,
                HWND parent, const WindowClass& windowClass = DefaultClass);
    // Takes over the existing control `id` of `parent` (a dialog's control).
    bool SubclassDlgItem(int id, HWND parent);
    // Destroys the window; its messages up to WM_NCDESTROY reach the object.
    void DestroyWindow();

    HWND GetSafeHwnd() const { return m_hWnd; }
    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    LRESULT SendDlgItemMessage(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    std::string GetDlgItemText(int id) const;
    void SetDlgItemText(int id, const std::string& text) const;
    void EnableDlgItem(int id, bool enable) const;

    static std::string GetText(HWND hWnd);

    // Runs the task on the window's thread, from any thread, without ever
    // waiting for that thread: tasks run in the order posted, each once,
    // unless the window is gone first.  All of them ride on one registered
    // message, posted only when none is on its way.  False, and the task
    // dropped, when the window is gone or its message queue is full.
    bool Post(std::function<void()> task);

protected:
    // Every message of the window; the default hands it to the system.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);

    // True when the message carried posted tasks, which have now run; every
    // window procedure of the framework asks first.
    bool RanPostedTasks(UINT message);

    // A dialog's procedure hands its window over with WM_INITDIALOG; the
    // object itself lives in DWLP_USER.
    void AttachDialog(HWND hWnd);
    // The window is gone (WM_NCDESTROY) or the object lets go of it.
    void Detach();

    HWND m_hWnd = nullptr;

private:
    enum class Attachment { None, OwnClass, Subclass, Dialog };

    static LRESULT CALLBACK StaticWindowProc(HWND hWnd, UINT message, WPARAM wParam,
                                             LPARAM lParam);
    static LRESULT CALLBACK SubclassProc(HWND hWnd, UINT message, WPARAM wParam,
                                         LPARAM lParam, UINT_PTR idSubclass,
                                         DWORD_PTR refData);
    static bool RegisterWindowClass(const WindowClass& windowClass);
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    static UINT TaskMessage();

    Attachment m_attachment = Attachment::None;
    // Guards the tasks and, for posting threads, the handle as it goes.
    std::mutex m_taskMutex;
    std::vector<std::function<void()>> m_tasks;
};
