#include "framework/Application.h"

#include <utility>

namespace
{
const char* const kCompanyKey = "Software\\Vorl\\";
const UINT kTitleId = 57344;
const char* const kDefaultTitle = "Quorbel";

HINSTANCE g_resourceHandle = nullptr;
HWND g_mainWindow = nullptr;
CApplication* g_application = nullptr;
CApplication::CaptionedMessageBoxInterceptor g_interceptor;

std::string LoadStringFrom(HINSTANCE module, UINT id)
{
    char buffer[1024] = {};
    const int length = ::LoadStringA(module, id, buffer, sizeof buffer);
    return std::string(buffer, static_cast<size_t>(length > 0 ? length : 0));
}

std::string TitleOrDefault(const std::string& title)
{
    return title.empty() ? kDefaultTitle : title;
}

// An open registry key, closed when it goes out of scope.
class ProfileKey
{
public:
    ProfileKey(const std::string& section, bool forWriting)
    {
        const std::string path = CApplication::RegistryKey() + "\\" + section;
        const LONG status = forWriting
            ? ::RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_WRITE,
                                nullptr, &m_key, nullptr)
            : ::RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &m_key);
        if (status != ERROR_SUCCESS)
            m_key = nullptr;
    }
    ~ProfileKey()
    {
        if (m_key)
            ::RegCloseKey(m_key);
    }
    ProfileKey(const ProfileKey&) = delete;
    ProfileKey& operator=(const ProfileKey&) = delete;

    HKEY Get() const { return m_key; }

private:
    HKEY m_key = nullptr;
};
}

CApplication::CApplication()
{
    g_application = this;
}

CApplication::~CApplication()
{
    if (g_application == this)
        g_application = nullptr;
}

CApplication* CApplication::Instance()
{
    return g_application;
}

int CApplication::Run()
{
    InitInstance();
    return ExitInstance();
}

BOOL CApplication::InitInstance()
{
    return FALSE;
}

int CApplication::ExitInstance()
{
    return 0;
}

BOOL CApplication::PreTranslateMessage(MSG*)
{
    return FALSE;
}

bool CApplication::PreTranslate(MSG* message)
{
    return g_application && g_application->PreTranslateMessage(message);
}

HWND CApplication::MainWindow()
{
    return g_mainWindow;
}

void CApplication::SetMainWindow(HWND window)
{
    g_mainWindow = window;
}

HINSTANCE CApplication::ResourceHandle()
{
    return g_resourceHandle ? g_resourceHandle : ::GetModuleHandleA(nullptr);
}

void CApplication::SetResourceHandle(HINSTANCE module)
{
    g_resourceHandle = module;
}

HINSTANCE CApplication::FindResourceModule(LPCSTR type, UINT id)
{
    if (::FindResourceA(ResourceHandle(), MAKEINTRESOURCEA(id), type))
        return ResourceHandle();
    return ::GetModuleHandleA(nullptr);
}

std::string CApplication::LoadString(UINT id)
{
    // Strings come in blocks of sixteen: a library's block may hold some
    // of a block's strings and leave the others to the executable.
    std::string text = LoadStringFrom(ResourceHandle(), id);
    if (text.empty())
        text = LoadStringFrom(::GetModuleHandleA(nullptr), id);
    return text;
}

HICON CApplication::LoadSmallIcon(UINT id)
{
    return static_cast<HICON>(::LoadImageA(FindResourceModule(RT_GROUP_ICON, id),
                                           MAKEINTRESOURCEA(id), IMAGE_ICON, 16, 16, 0));
}

std::string CApplication::Title()
{
    return TitleOrDefault(LoadString(kTitleId));
}

int CApplication::MessageBox(const std::string& text, UINT type, HWND owner)
{
    return MessageBox(text, Title(), type, owner);
}

int CApplication::MessageBox(const std::string& text, const std::string& caption, UINT type,
                             HWND owner)
{
    if (g_interceptor)
        return g_interceptor(text, caption, type);
    // A box without an owner leaves the main window open to clicks (Setup,
    // Exit) inside whatever showed the box, and may hide behind it.  On
    // another thread (the serial receiver's) the box stays on top instead:
    // an owner there would tie the two threads' input together.
    if (!owner && g_mainWindow && ::IsWindow(g_mainWindow)) {
        if (::GetWindowThreadProcessId(g_mainWindow, nullptr) == ::GetCurrentThreadId())
            owner = g_mainWindow;
        else
            type |= MB_TOPMOST | MB_SETFOREGROUND;
    }
    return ::MessageBoxA(owner, text.c_str(), caption.c_str(), type);
}

int CApplication::MessageBox(UINT stringId, UINT type, HWND owner)
{
    return MessageBox(LoadString(stringId), type, owner);
}

void CApplication::SetMessageBoxInterceptor(MessageBoxInterceptor interceptor)
{
    if (!interceptor)
        g_interceptor = nullptr;
    else
        g_interceptor = [interceptor](const std::string& text, const std::string&, UINT type) {
            return interceptor(text, type);
        };
}

void CApplication::SetMessageBoxInterceptor(CaptionedMessageBoxInterceptor interceptor)
{
    g_interceptor = std::move(interceptor);
}

void CApplication::SetMessageBoxInterceptor(std::nullptr_t)
{
    g_interceptor = nullptr;
}

std::string CApplication::RegistryKey()
{
    return kCompanyKey + TitleOrDefault(LoadStringFrom(::GetModuleHandleA(nullptr), kTitleId));
}

int CApplication::GetProfileInt(const std::string& section, const std::string& entry,
                                int defaultValue)
{
    const ProfileKey key(section, false);
    DWORD value = 0;
    DWORD size = sizeof value;
    DWORD type = 0;
    if (!key.Get() || ::RegQueryValueExA(key.Get(), entry.c_str(), nullptr, &type,
                                         reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS
        || type != REG_DWORD)
        return defaultValue;
    return static_cast<int>(value);
}

bool CApplication::WriteProfileInt(const std::string& section, const std::string& entry,
                                   int value)
{
    const ProfileKey key(section, true);
    const DWORD data = static_cast<DWORD>(value);
    return key.Get() && ::RegSetValueExA(key.Get(), entry.c_str(), 0, REG_DWORD,
                                         reinterpret_cast<const BYTE*>(&data),
                                         sizeof data) == ERROR_SUCCESS;
}

std::vector<unsigned char> CApplication::GetProfileBinary(const std::string& section,
                                                          const std::string& entry)
{
    const ProfileKey key(section, false);
    DWORD size = 0;
    DWORD type = 0;
    if (!key.Get() || ::RegQueryValueExA(key.Get(), entry.c_str(), nullptr, &type, nullptr,
                                         &size) != ERROR_SUCCESS || type != REG_BINARY)
        return {};
    std::vector<unsigned char> data(size);
    if (size && ::RegQueryValueExA(key.Get(), entry.c_str(), nullptr, &type, data.data(),
                                   &size) != ERROR_SUCCESS)
        return {};
    data.resize(size);
    return data;
}

bool CApplication::WriteProfileBinary(const std::string& section, const std::string& entry,
                                      const std::vector<unsigned char>& data)
{
    const ProfileKey key(section, true);
    return key.Get() && ::RegSetValueExA(key.Get(), entry.c_str(), 0, REG_BINARY, data.data(),
                                         static_cast<DWORD>(data.size())) == ERROR_SUCCESS;
}
