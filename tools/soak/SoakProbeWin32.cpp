// soak_probe: what the soak scenarios (tools/soak/soak.py) and the
// benchmark (tools/program-bench.py) need from inside the Wine prefix of
// the program they run.
//   soak_probe count            the number of lines in Quorbel's frame list
//   soak_probe lines            every line of it, one per output line
//   soak_probe watch SECS       every 100 ms for SECS seconds, how long the
//                               main window took to answer (ms, 1000 at
//                               most), a tab and the list's last line
//   soak_probe hold FILE SECS   holds FILE open without sharing for SECS
//                               seconds ("held" on standard output once open)
// Exit code 1 when there is no main window within 10 s or FILE cannot be opened.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace
{
const int kListId = 1001;
const UINT kMessageTimeoutMs = 5000;

HWND FindMainWindow()
{
    for (int attempt = 0; attempt < 500; ++attempt) {
        HWND window = nullptr;
        while ((window = FindWindowExA(nullptr, window, "#32770", nullptr)) != nullptr) {
            char caption[64] = "";
            GetWindowTextA(window, caption, sizeof caption);
            if (std::strncmp(caption, "VORL", 4) == 0)
                return window;
        }
        Sleep(20);
    }
    return nullptr;
}

LRESULT Ask(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG | SMTO_BLOCK,
                             kMessageTimeoutMs, &result))
        return -1;
    return static_cast<LRESULT>(result);
}

// Across processes the list's texts come back as UTF-16 under Wine.  The
// link's own lines carry their CR LF into the list: it is dropped.
std::string LineText(HWND list, WPARAM index)
{
    const LRESULT length = Ask(list, LB_GETTEXTLEN, index, 0);
    if (length <= 0)
        return std::string();
    std::wstring wide(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT copied = Ask(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(&wide[0]));
    wide.resize(copied < 0 ? 0 : static_cast<size_t>(copied));
    std::string text(wide.size() * 2 + 1, '\0');
    const int size = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()),
                                         &text[0], static_cast<int>(text.size()), nullptr, nullptr);
    text.resize(size < 0 ? 0 : static_cast<size_t>(size));
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    return text;
}

// The answer time is that of an empty message, which the window handles
// as soon as its thread comes back to its message loop.
int Watch(HWND main, DWORD seconds)
{
    const HWND list = GetDlgItem(main, kListId);
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < seconds * 1000) {
        const DWORD asked = GetTickCount();
        DWORD_PTR ignored = 0;
        SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &ignored);
        const DWORD answered = GetTickCount() - asked;
        const LRESULT count = Ask(list, LB_GETCOUNT, 0, 0);
        const std::string last = count > 0 ? LineText(list, static_cast<WPARAM>(count - 1)) : "";
        std::printf("%lu\t%s\n", answered, last.c_str());
        std::fflush(stdout);
        const DWORD spent = GetTickCount() - asked;
        if (spent < 100)
            Sleep(100 - spent);
    }
    return 0;
}

int HoldFile(const char* path, DWORD seconds)
{
    const HANDLE file = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        std::fprintf(stderr, "cannot open %s: error %lu\n", path, GetLastError());
        return 1;
    }
    std::printf("held\n");
    std::fflush(stdout);
    Sleep(seconds * 1000);
    CloseHandle(file);
    return 0;
}
}

int main(int argc, char** argv)
{
    if (argc == 4 && std::strcmp(argv[1], "hold") == 0)
        return HoldFile(argv[2], static_cast<DWORD>(std::atoi(argv[3])));
    const bool lines = argc > 1 && std::strcmp(argv[1], "lines") == 0;
    const HWND main = FindMainWindow();
    if (!main) {
        std::fprintf(stderr, "no Quorbel main window\n");
        return 1;
    }
    if (argc == 3 && std::strcmp(argv[1], "watch") == 0)
        return Watch(main, static_cast<DWORD>(std::atoi(argv[2])));
    const HWND list = GetDlgItem(main, kListId);
    const LRESULT count = Ask(list, LB_GETCOUNT, 0, 0);
    if (!lines) {
        std::printf("%ld\n", static_cast<long>(count));
        return 0;
    }
    for (LRESULT i = 0; i < count; ++i)
        std::printf("%s\n", LineText(list, static_cast<WPARAM>(i)).c_str());
    return 0;
}
