#include "tests/dialogs/DialogDriver.h"

#include "framework/Application.h"
#include "framework/Window.h"

namespace
{
thread_local DialogDriver::CModalScript* t_runningScript = nullptr;

struct DialogSearch
{
    const std::string* caption;
    HWND found;
};

bool IsDialog(HWND window)
{
    char className[32] = {};
    ::GetClassNameA(window, className, sizeof className);
    return std::string(className) == "#32770";
}

BOOL CALLBACK MatchDialog(HWND window, LPARAM parameter)
{
    auto* search = reinterpret_cast<DialogSearch*>(parameter);
    if (IsDialog(window) && ::IsWindowVisible(window)
        && ::IsWindowEnabled(window) && CWindow::GetText(window) == *search->caption) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// The visible, enabled dialog of this thread with that caption, or null.
HWND FindDialog(const std::string& caption)
{
    DialogSearch search{&caption, nullptr};
    ::EnumThreadWindows(::GetCurrentThreadId(), MatchDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

BOOL CALLBACK CancelDialog(HWND window, LPARAM)
{
    if (IsDialog(window))
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

std::string DialogDriver::SelectedComboText(HWND dialog, int id)
{
    const LRESULT selected = ::SendDlgItemMessageA(dialog, id, CB_GETCURSEL, 0, 0);
    if (selected == CB_ERR)
        return "<none>";
    char buffer[256] = {};
    ::SendDlgItemMessageA(dialog, id, CB_GETLBTEXT, static_cast<WPARAM>(selected),
                          reinterpret_cast<LPARAM>(buffer));
    return buffer;
}

void DialogDriver::TypeCharacters(HWND edit, const std::string& text)
{
    for (const char c : text)
        ::SendMessageA(edit, WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(c)), 1);
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

DialogDriver::CMessageBoxCapture::CMessageBoxCapture()
{
    CApplication::SetMessageBoxInterceptor([this](const std::string& text, UINT) {
        m_texts.push_back(text);
        return IDOK;
    });
}

DialogDriver::CMessageBoxCapture::~CMessageBoxCapture()
{
    CApplication::SetMessageBoxInterceptor(nullptr);
}

DialogDriver::CModalScript& DialogDriver::CModalScript::Then(const std::string& caption,
                                                             Action action)
{
    m_steps.push_back({caption, std::move(action)});
    return *this;
}

INT_PTR DialogDriver::CModalScript::Run(const std::function<INT_PTR()>& enterModalLoops,
                                        DWORD timeoutMs)
{
    m_deadline = ::GetTickCount64() + timeoutMs;
    t_runningScript = this;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 20, OnTick);
    const INT_PTR result = enterModalLoops();
    ::KillTimer(nullptr, timer);
    t_runningScript = nullptr;
    return result;
}

void CALLBACK DialogDriver::CModalScript::OnTick(HWND, UINT, UINT_PTR, DWORD)
{
    if (t_runningScript)
        t_runningScript->Tick();
}

void DialogDriver::CModalScript::Tick()
{
    if (::GetTickCount64() > m_deadline) {
        ::EnumThreadWindows(::GetCurrentThreadId(), CancelDialog, 0);
        return;
    }
    if (Finished())
        return;
    const HWND dialog = FindDialog(m_steps[m_next].caption);
    if (!dialog)
        return;
    // Advance first: the action may enter a nested modal loop that ticks.
    const Action action = m_steps[m_next++].action;
    action(dialog);
}
