#include "tests/dialogs/DialogDriver.h"

#include <algorithm>

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

std::string WindowText(HWND window)
{
    char text[1024] = {};
    DialogDriver::Send(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

// Under Wine a list box's item comes back from another process as UTF-16,
// whatever the form of the call.
std::string ListLine(HWND list, WPARAM index)
{
    const LRESULT length = DialogDriver::Send(list, LB_GETTEXTLEN, index);
    std::wstring wide(static_cast<size_t>(std::max<LRESULT>(length, 0)) + 1, L'\0');
    SendMessageTimeoutW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(&wide[0]),
                        SMTO_ABORTIFHUNG | SMTO_BLOCK, 5000, nullptr);
    std::string text(wide.size() * 2, '\0');
    const int size = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, &text[0],
                                         static_cast<int>(text.size()), nullptr, nullptr);
    text.resize(static_cast<size_t>(std::max(size, 1)) - 1);
    return text;
}
}

LRESULT DialogDriver::Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    DWORD_PTR result = 0;
    SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG | SMTO_BLOCK, 5000, &result);
    return static_cast<LRESULT>(result);
}

void DialogDriver::Click(HWND dialog, int id)
{
    Send(::GetDlgItem(dialog, id), BM_CLICK);
}

void DialogDriver::PostClick(HWND dialog, int id)
{
    ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
}

void DialogDriver::SelectComboItem(HWND dialog, int id, int index)
{
    const HWND combo = ::GetDlgItem(dialog, id);
    Send(combo, CB_SETCURSEL, static_cast<WPARAM>(index));
    Send(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

bool DialogDriver::IsChecked(HWND dialog, int id)
{
    return Send(::GetDlgItem(dialog, id), BM_GETCHECK) == BST_CHECKED;
}

std::string DialogDriver::Text(HWND dialog, int id)
{
    return WindowText(::GetDlgItem(dialog, id));
}

void DialogDriver::SetText(HWND dialog, int id, const std::string& text)
{
    Send(::GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

std::vector<std::string> DialogDriver::ListLines(HWND dialog, int id)
{
    const HWND list = ::GetDlgItem(dialog, id);
    std::vector<std::string> lines(static_cast<size_t>(std::max<LRESULT>(Send(list, LB_GETCOUNT), 0)));
    for (size_t i = 0; i < lines.size(); ++i)
        lines[i] = ListLine(list, i);
    return lines;
}

bool DialogDriver::IsEnabled(HWND dialog, int id)
{
    return ::IsWindowEnabled(::GetDlgItem(dialog, id)) != FALSE;
}

HWND DialogDriver::FindDialog(DWORD processId, const std::string& caption, bool prefix)
{
    for (HWND window = ::FindWindowExA(nullptr, nullptr, "#32770", nullptr); window;
         window = ::FindWindowExA(nullptr, window, "#32770", nullptr)) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(window, &owner);
        if (owner != processId || !::IsWindowVisible(window))
            continue;
        const std::string text = WindowText(window);
        if (prefix ? text.rfind(caption, 0) == 0 : text == caption)
            return window;
    }
    return nullptr;
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
        // Only this process's: other test programs may show the same dialog.
        const HWND dialog = FindDialog(::GetCurrentProcessId(), caption);
        if (done || !dialog)
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
