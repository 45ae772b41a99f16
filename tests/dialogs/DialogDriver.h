#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// Plays the user of the dialogs under test: clicks, selections and typing
// sent as the controls themselves would report them, message boxes caught
// instead of shown, and scripted steps performed inside modal loops.
namespace DialogDriver
{
void Click(HWND dialog, int id);
// Posts the button's click, for dialogs that a modal loop has yet to run.
void PostClick(HWND dialog, int id);
// Selects the item and tells the dialog, as a selection by the user does.
void SelectComboItem(HWND dialog, int id, int index);
std::string SelectedComboText(HWND dialog, int id);
void TypeCharacters(HWND edit, const std::string& text);
bool IsChecked(HWND dialog, int id);
std::string Text(HWND dialog, int id);
bool IsEnabled(HWND dialog, int id);

// Message boxes shown while an object of this class lives are recorded
// and answered with IDOK.
class CMessageBoxCapture
{
public:
    CMessageBoxCapture();
    ~CMessageBoxCapture();
    CMessageBoxCapture(const CMessageBoxCapture&) = delete;
    CMessageBoxCapture& operator=(const CMessageBoxCapture&) = delete;

    const std::vector<std::string>& Texts() const { return m_texts; }

private:
    std::vector<std::string> m_texts;
};

// Steps performed on this thread's dialogs from inside the modal loops that
// `Run` enters: each step waits until a visible, enabled dialog with its
// caption exists and then acts on it once.  A script that does not finish
// within the timeout cancels every dialog of the thread so that Run returns.
class CModalScript
{
public:
    using Action = std::function<void(HWND dialog)>;

    CModalScript& Then(const std::string& caption, Action action);
    INT_PTR Run(const std::function<INT_PTR()>& enterModalLoops, DWORD timeoutMs = 15000);
    bool Finished() const { return m_next == m_steps.size(); }

private:
    struct Step
    {
        std::string caption;
        Action action;
    };
    static void CALLBACK OnTick(HWND, UINT, UINT_PTR, DWORD);
    void Tick();

    std::vector<Step> m_steps;
    size_t m_next = 0;
    ULONGLONG m_deadline = 0;
};
}
