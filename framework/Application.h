#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// The pieces of the application object that windows and dialogs share:
// the module resources come from, message boxes titled with the
// application's name, and the per-user profile in the registry under
// "Software\Vorl\Quorbel".
class CApplication
{
public:
    // Receives every message box instead of the screen (tests), returning
    // the button the user would have pressed.
    using MessageBoxInterceptor = std::function<int(const std::string& text, UINT type)>;

    // Dialogs, strings and icons are looked for here first: the executable,
    // or a language library while one is set.  Null goes back to the exe.
    static HINSTANCE ResourceHandle();
    static void SetResourceHandle(HINSTANCE module);
    // The module that holds the resource: the language library when it has
    // it, the executable otherwise (a library may leave resources out).
    static HINSTANCE FindResourceModule(LPCSTR type, UINT id);

    static std::string LoadString(UINT id);
    // A 16x16 icon the caller destroys; null when there is none.
    static HICON LoadSmallIcon(UINT id);
    // String resource 57344, or "Quorbel" when the resources lack it.
    static std::string Title();

    static int MessageBox(const std::string& text, UINT type = MB_OK, HWND owner = nullptr);
    static int MessageBox(UINT stringId, UINT type = MB_OK, HWND owner = nullptr);
    static void SetMessageBoxInterceptor(MessageBoxInterceptor interceptor);

    static int GetProfileInt(const std::string& section, const std::string& entry,
                             int defaultValue);
    static bool WriteProfileInt(const std::string& section, const std::string& entry,
                                int value);
    // Empty when the value is missing or not binary.
    static std::vector<unsigned char> GetProfileBinary(const std::string& section,
                                                       const std::string& entry);
    static bool WriteProfileBinary(const std::string& section, const std::string& entry,
                                   const std::vector<unsigned char>& data);
};
