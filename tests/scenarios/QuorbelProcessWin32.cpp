#include "tests/scenarios/QuorbelProcess.h"

#include <chrono>
#include <thread>

namespace
{
const char* const kPlacementKey = "Software\\Vorl\\Quorbel\\VorlDlgtPos";
const char* const kPlacementValue = "WindowPlacement";
const UINT kMessageTimeoutMs = 5000;
const WPARAM kTrayIconId = 128;
// The static text of a message box.
const int kMessageBoxTextId = 0xFFFF;

std::string Narrow(const std::wstring& wide)
{
    if (wide.empty())
        return std::string();
    const int size = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), &text[0], size,
                        nullptr, nullptr);
    return text;
}

// Texts come back as UTF-16 across processes, whatever the program's
// character set, so they are always asked for in that form.
std::wstring WideText(HWND window, UINT lengthMessage, UINT textMessage, WPARAM index)
{
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, lengthMessage, index, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK,
                             kMessageTimeoutMs, &length) ||
        static_cast<LONG_PTR>(length) < 0)
        return std::wstring();
    std::wstring text(length + 1, L'\0');
    const WPARAM textParam = textMessage == WM_GETTEXT ? length + 1 : index;
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, textMessage, textParam, reinterpret_cast<LPARAM>(&text[0]),
                        SMTO_ABORTIFHUNG | SMTO_BLOCK, kMessageTimeoutMs, &copied);
    text.resize(static_cast<LONG_PTR>(copied) < 0 ? 0 : copied);
    return text;
}

struct DialogSearch
{
    DWORD processId;
    const std::string* caption;
    bool prefix;
    HWND found;
};

BOOL CALLBACK MatchDialog(HWND window, LPARAM param)
{
    DialogSearch& search = *reinterpret_cast<DialogSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    if (owner != search.processId || !IsWindowVisible(window) ||
        std::string(className) != "#32770")
        return TRUE;
    const std::string caption = Narrow(WideText(window, WM_GETTEXTLENGTH, WM_GETTEXT, 0));
    const bool matches = search.prefix ? caption.rfind(*search.caption, 0) == 0
                                       : caption == *search.caption;
    if (!matches)
        return TRUE;
    search.found = window;
    return FALSE;
}
}

CQuorbelProcess::~CQuorbelProcess()
{
    if (!m_process.hProcess)
        return;
    if (IsRunning())
    {
        Close();
        if (!WaitForExit(15000))
        {
            TerminateProcess(m_process.hProcess, 9);
            WaitForExit(15000);
        }
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

bool CQuorbelProcess::IsRunning() const
{
    return m_process.hProcess && WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT;
}

HWND CQuorbelProcess::WaitForDialog(const std::string& caption, bool prefix, int timeoutMs) const
{
    DialogSearch search{m_process.dwProcessId, &caption, prefix, nullptr};
    WaitUntil([&] {
        EnumWindows(MatchDialog, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr || !IsRunning();
    }, timeoutMs);
    return search.found;
}

HWND CQuorbelProcess::MainWindow()
{
    if (!m_main || !IsWindow(m_main))
        m_main = WaitForDialog("VORL", true);
    return m_main;
}

std::string CQuorbelProcess::AnswerMessageBox(const std::string& caption) const
{
    const HWND box = WaitForDialog(caption);
    if (!box)
        return std::string();
    const std::string text = ItemText(box, kMessageBoxTextId);
    PostCommand(box, IDOK);
    return text;
}

void CQuorbelProcess::PostTrayEvent(UINT mouseMessage)
{
    PostMessageA(MainWindow(), RegisterWindowMessageA("NotifyIcon"), kTrayIconId, mouseMessage);
}

void CQuorbelProcess::Close()
{
    // Whatever dialog is open (setup, message box, main window) is cancelled.
    for (HWND window = GetTopWindow(nullptr); window; window = GetWindow(window, GW_HWNDNEXT))
    {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == m_process.dwProcessId)
            PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    }
}

std::string CQuorbelProcess::ItemText(HWND dialog, int id)
{
    return Narrow(WideText(GetDlgItem(dialog, id), WM_GETTEXTLENGTH, WM_GETTEXT, 0));
}

void CQuorbelProcess::SetItemText(HWND dialog, int id, const std::string& text)
{
    Send(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

std::vector<std::string> CQuorbelProcess::ListLines(HWND dialog, int id)
{
    const HWND list = GetDlgItem(dialog, id);
    std::vector<std::string> lines;
    const LRESULT count = Send(list, LB_GETCOUNT);
    for (LRESULT i = 0; i < count; ++i)
        lines.push_back(Narrow(WideText(list, LB_GETTEXTLEN, LB_GETTEXT, static_cast<WPARAM>(i))));
    return lines;
}

LRESULT CQuorbelProcess::Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    DWORD_PTR result = 0;
    SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG | SMTO_BLOCK,
                        kMessageTimeoutMs, &result);
    return static_cast<LRESULT>(result);
}

void CQuorbelProcess::PostCommand(HWND window, int id, int code)
{
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, code), 0);
}

void CQuorbelProcess::SelectComboItem(HWND dialog, int id, int index)
{
    Send(GetDlgItem(dialog, id), CB_SETCURSEL, static_cast<WPARAM>(index));
    Send(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
         reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

std::vector<BYTE> CQuorbelProcess::SavedPlacement()
{
    std::vector<BYTE> bytes(256);
    DWORD size = static_cast<DWORD>(bytes.size());
    if (RegGetValueA(HKEY_CURRENT_USER, kPlacementKey, kPlacementValue, RRF_RT_REG_BINARY, nullptr,
                     bytes.data(), &size) != ERROR_SUCCESS)
        size = 0;
    bytes.resize(size);
    return bytes;
}

void CQuorbelProcess::SetSavedPlacement(const std::vector<BYTE>& bytes)
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kPlacementKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &key, nullptr) != ERROR_SUCCESS)
        return;
    if (bytes.empty())
        RegDeleteValueA(key, kPlacementValue);
    else
        RegSetValueExA(key, kPlacementValue, 0, REG_BINARY, bytes.data(),
                       static_cast<DWORD>(bytes.size()));
    RegCloseKey(key);
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
