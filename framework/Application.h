#pragma once
#include <windows.h>

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

// The application object and the pieces of it that windows and dialogs
// share: the module resources come from, the main window, message boxes
// titled with the application's name, and the per-user profile in the
// registry (RegistryKey).  A program derives one object
// from it and calls Run; the statics work without one (tests).
class CApplication
{
public:
    CApplication();
    virtual ~CApplication();
    CApplication(const CApplication&) = delete;
    CApplication& operator=(const CApplication&) = delete;

    // The program's application object, null when none exists.
    static CApplication* Instance();
    // InitInstance, then ExitInstance, whose result is the exit code.  The
    // program runs its main window modally inside InitInstance, so no
    // message loop of its own follows.
    int Run();
    virtual BOOL InitInstance();
    virtual int ExitInstance();
    // Sees every message of a modal loop before it is dispatched; true
    // consumes it.
    virtual BOOL PreTranslateMessage(MSG* message);
    // PreTranslateMessage of the application object, if there is one.
    static bool PreTranslate(MSG* message);

    // The window that owns the program's pop-ups (tray menu, progress
    // windows); null before the main window exists.
    static HWND MainWindow();
    static void SetMainWindow(HWND window);

    // Receives every message box instead of the screen (tests), returning
    // the button the user would have pressed.
    using MessageBoxInterceptor = std::function<int(const std::string& text, UINT type)>;
    using CaptionedMessageBoxInterceptor =
        std::function<int(const std::string& text, const std::string& caption, UINT type)>;

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
    // With a caption of the caller's instead of the application's name.
    static int MessageBox(const std::string& text, const std::string& caption, UINT type,
                          HWND owner = nullptr);
    static void SetMessageBoxInterceptor(MessageBoxInterceptor interceptor);
    static void SetMessageBoxInterceptor(CaptionedMessageBoxInterceptor interceptor);
    static void SetMessageBoxInterceptor(std::nullptr_t);

    // HKEY_CURRENT_USER's "Software\Vorl\" and the executable's own title
    // (never a language library's), where the profile sections live.
    static std::string RegistryKey();

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
