#include "tests/dialogs/DialogDriver.h"

#include "framework/Window.h"

namespace
{
// What the timer does while ActInModal runs.
thread_local std::function<void()> t_tick;

void CALLBACK OnTick(HWND, UINT, UINT_PTR, DWORD)
{
    if (t_tick)
        t_tick();
}

BOOL CALLBACK CancelDialog(HWND window, LPARAM)
{
    DialogDriver::PostClick(window, IDCANCEL);
    return TRUE;
}
}

void DialogDriver::Click(HWND dialog, int id)
{
    ::SendMessageA(::GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

void DialogDriver::PostClick(HWND dialog, int id)
{
    ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
}

void DialogDriver::SelectComboItem(HWND dialog, int id, int index)
{
    const HWND combo = ::GetDlgItem(dialog, id);
    ::SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(combo));
}

bool DialogDriver::IsChecked(HWND dialog, int id)
{
    return ::SendDlgItemMessageA(dialog, id, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

std::string DialogDriver::Text(HWND dialog, int id)
{
    return CWindow::GetText(::GetDlgItem(dialog, id));
}

bool DialogDriver::IsEnabled(HWND dialog, int id)
{
    return ::IsWindowEnabled(::GetDlgItem(dialog, id)) != FALSE;
}

bool DialogDriver::ActInModal(const std::string& caption, const std::function<void(HWND)>& action,
                              const std::function<INT_PTR()>& enterModalLoop, INT_PTR* result)
{
    const ULONGLONG deadline = ::GetTickCount64() + 15000;
    bool done = false;
    t_tick = [&] {
        if (::GetTickCount64() > deadline) {
            ::EnumThreadWindows(::GetCurrentThreadId(), CancelDialog, 0);
            return;
        }
        // Only this thread's: other test programs may show the same dialog.
        const HWND dialog = ::FindWindowA("#32770", caption.c_str());
        if (done || !dialog || !::IsWindowVisible(dialog)
            || ::GetWindowThreadProcessId(dialog, nullptr) != ::GetCurrentThreadId())
            return;
        // Done first: the action may enter a nested modal loop that ticks.
        done = true;
        action(dialog);
    };
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 20, OnTick);
    const INT_PTR returned = enterModalLoop();
    ::KillTimer(nullptr, timer);
    t_tick = nullptr;
    if (result)
        *result = returned;
    return done;
}
