#pragma once
#include <windows.h>

#include <string>

// A window object and its HWND.  Messages reach the object through one
// static window procedure that finds `this` in the window's own storage:
// for windows of our class it arrives with WM_NCCREATE as the creation
// parameter; for controls created by a dialog template the object
// subclasses the existing window and gets `this` back as the subclass
// reference data.  Either way, WindowProc is the one place a derived class
// sees every message.
class CWindow
{
public:
    CWindow() = default;
    virtual ~CWindow();
    CWindow(const CWindow&) = delete;
    CWindow& operator=(const CWindow&) = delete;

    // A top-level or child window of the framework's own window class.
    bool Create(const std::string& title, DWORD style, DWORD exStyle, const RECT& rect,
                HWND parent);
    // Takes over the existing control `id` of `parent` (a dialog's control).
    bool SubclassDlgItem(int id, HWND parent);

    HWND GetSafeHwnd() const { return m_hWnd; }
    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    LRESULT SendDlgItemMessage(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    std::string GetDlgItemText(int id) const;
    void SetDlgItemText(int id, const std::string& text) const;
    void EnableDlgItem(int id, bool enable) const;

    static std::string GetText(HWND hWnd);

protected:
    // Every message of the window; the default hands it to the system.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_hWnd = nullptr;

private:
    static LRESULT CALLBACK StaticWindowProc(HWND hWnd, UINT message, WPARAM wParam,
                                             LPARAM lParam);
    static LRESULT CALLBACK SubclassProc(HWND hWnd, UINT message, WPARAM wParam,
                                         LPARAM lParam, UINT_PTR idSubclass,
                                         DWORD_PTR refData);
    static ATOM RegisterFrameworkClass();
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    void Detach();

    bool m_subclassed = false;
    bool m_ownsWindow = false;
};
