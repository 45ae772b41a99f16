#include "tests/scenarios/QuorbelProcess.h"

#include "tests/dialogs/DialogDriver.h"

#include <chrono>
#include <thread>

namespace
{
const char* const kPlacementKey = "Software\\Vorl\\Quorbel\\VorlDlgtPos";
const char* const kPlacementValue = "WindowPlacement";
const WPARAM kTrayIconId = 128;
// The static text of a message box.
const int kMessageBoxTextId = 0xFFFF;
}

CQuorbelProcess::~CQuorbelProcess()
{
    if (!m_process.hProcess)
        return;
    // Whatever dialog is open (setup, message box, main window) is cancelled.
    for (HWND window = GetTopWindow(nullptr); window; window = GetWindow(window, GW_HWNDNEXT))
    {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == m_process.dwProcessId)
            PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    }
    if (!WaitForExit(15000))
    {
        TerminateProcess(m_process.hProcess, 9);
        WaitForExit(15000);
    }
    CloseHandle(m_process.hProcess);
    CloseHandle(m_process.hThread);
}

bool CQuorbelProcess::Start(const std::string& exe, const std::string& workingFolder)
{
    std::string commandLine = "\"" + exe + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    return CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                          workingFolder.c_str(), &startup, &m_process) != FALSE;
}

bool CQuorbelProcess::WaitForExit(int timeoutMs)
{
    return WaitForSingleObject(m_process.hProcess, static_cast<DWORD>(timeoutMs)) == WAIT_OBJECT_0;
}

void CQuorbelProcess::Kill()
{
    TerminateProcess(m_process.hProcess, 9);
    WaitForExit(15000);
}

bool CQuorbelProcess::IsRunning() const
{
    return m_process.hProcess && WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT;
}

HWND CQuorbelProcess::WaitForDialog(const std::string& caption, bool prefix, int timeoutMs) const
{
    HWND found = nullptr;
    WaitUntil([&] {
        found = DialogDriver::FindDialog(m_process.dwProcessId, caption, prefix);
        return found != nullptr || !IsRunning();
    }, timeoutMs);
    return found;
}

HWND CQuorbelProcess::MainWindow() const
{
    return WaitForDialog("VORL", true);
}

std::string CQuorbelProcess::AnswerMessageBox(const std::string& caption) const
{
    const HWND box = WaitForDialog(caption);
    if (!box)
        return std::string();
    const std::string text = DialogDriver::Text(box, kMessageBoxTextId);
    DialogDriver::PostClick(box, IDOK);
    return text;
}

void CQuorbelProcess::PostTrayEvent(HWND main, UINT mouseMessage)
{
    PostMessageA(main, RegisterWindowMessageA("NotifyIcon"), kTrayIconId, mouseMessage);
}

std::vector<BYTE> CQuorbelProcess::SavedPlacement()
{
    std::vector<BYTE> bytes(256);
    DWORD size = static_cast<DWORD>(bytes.size());
    bytes.resize(RegGetValueA(HKEY_CURRENT_USER, kPlacementKey, kPlacementValue, RRF_RT_REG_BINARY,
                              nullptr, bytes.data(), &size) == ERROR_SUCCESS ? size : 0);
    return bytes;
}

void CQuorbelProcess::SetSavedPlacement(const std::vector<BYTE>& bytes)
{
    if (bytes.empty())
        RegDeleteKeyValueA(HKEY_CURRENT_USER, kPlacementKey, kPlacementValue);
    else
        RegSetKeyValueA(HKEY_CURRENT_USER, kPlacementKey, kPlacementValue, REG_BINARY, bytes.data(),
                        static_cast<DWORD>(bytes.size()));
}

bool CQuorbelProcess::WaitUntil(const std::function<bool()>& done, int timeoutMs)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done())
    {
        if (std::chrono::steady_clock::now() > deadline)
            return done();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}
