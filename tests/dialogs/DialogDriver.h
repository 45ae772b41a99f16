#pragma once
#include <windows.h>

#include "framework/Application.h"

#include <functional>
#include <string>
#include <vector>

// Plays the user of dialogs, in this process or in another one: clicks and
// selections sent as the controls themselves would report them, message
// boxes caught instead of shown, and a step performed inside a modal loop.
// Every message sent gives up after 5 s, so a hung program fails the test
// instead of stopping it.
namespace DialogDriver
{
LRESULT Send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
void Click(HWND dialog, int id);
// Posts the command (a button's click, a menu item), for dialogs that a
// modal loop has yet to run or that may open one.
void PostClick(HWND dialog, int id);
// Selects the item and tells the dialog, as a selection by the user does.
void SelectComboItem(HWND dialog, int id, int index);
bool IsChecked(HWND dialog, int id);
// A drop-down list shows its selected item, or nothing.
std::string Text(HWND dialog, int id);
void SetText(HWND dialog, int id, const std::string& text);
std::vector<std::string> ListLines(HWND dialog, int id);
bool IsEnabled(HWND dialog, int id);
// A visible dialog of that process whose caption equals (or, with
// `prefix`, starts with) the text; null when there is none.
HWND FindDialog(DWORD processId, const std::string& caption, bool prefix = false);

// Calls `enterModalLoop` and, from inside the loop it enters, performs
// `action` once on the visible dialog with that caption as soon as it
// exists.  When the call has not returned within 15 s, every dialog of the
// thread is cancelled so that it does.  True when the action ran; `result`
// receives what `enterModalLoop` returned.
bool ActInModal(const std::string& caption, const std::function<void(HWND dialog)>& action,
                const std::function<INT_PTR()>& enterModalLoop, INT_PTR* result = nullptr);

// Message boxes shown while it lives are recorded and answered with IDOK.
struct CMessageBoxCapture
{
    CMessageBoxCapture()
    {
        CApplication::SetMessageBoxInterceptor([this](const std::string& text, UINT) {
            texts.push_back(text);
            return IDOK;
        });
    }
    ~CMessageBoxCapture() { CApplication::SetMessageBoxInterceptor(nullptr); }

    std::vector<std::string> texts;
};
}
