#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// Quorbel.exe started in a working folder of the test's choosing and
// driven from outside, as an operator would: its windows found by caption
// (their controls through DialogDriver), the tray icon's callback posted,
// message boxes read and answered.  The program is ended (its dialogs
// cancelled, or killed as a last resort) and waited for when the object goes.
class CQuorbelProcess
{
public:
    CQuorbelProcess() = default;
    ~CQuorbelProcess();
    CQuorbelProcess(const CQuorbelProcess&) = delete;
    CQuorbelProcess& operator=(const CQuorbelProcess&) = delete;

    bool Start(const std::string& exe, const std::string& workingFolder);
    // True once the process has ended within the timeout.
    bool WaitForExit(int timeoutMs = 30000);
    // Ends the process at once, as a power cut or the task manager does.
    void Kill();

    // A visible dialog of this process whose caption equals (or, with
    // `prefix`, starts with) the text; null after the timeout.
    HWND WaitForDialog(const std::string& caption, bool prefix = false, int timeoutMs = 30000) const;
    // The main window ("VORL ...") once it shows.
    HWND MainWindow() const;
    // Reads the text of the message box with this caption, answers it with
    // OK and returns the text; empty when none comes.
    std::string AnswerMessageBox(const std::string& caption) const;
    // The tray icon's callback with a mouse message, as the shell posts it.
    static void PostTrayEvent(HWND main, UINT mouseMessage);

    // The main window's saved placement in the user's profile; empty when
    // there is none.  Writing an empty value removes it.
    static std::vector<BYTE> SavedPlacement();
    static void SetSavedPlacement(const std::vector<BYTE>& bytes);

    // Polls until `done` holds or the time is up; the last answer.
    static bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 30000);

private:
    bool IsRunning() const;

    PROCESS_INFORMATION m_process{};
};
