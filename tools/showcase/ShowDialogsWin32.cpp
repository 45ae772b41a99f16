// Opens one of the dialogs with sample settings so that it can be
// photographed for the documentation:
//   dialog_showcase.exe setup|fieldname|serial|print RECT_FILE [LIBRARY]
// With a language library its translated dialog is shown.
// Writes the dialog's screen rectangle "x y width height" to RECT_FILE,
// keeps the dialog up for four seconds and exits.
#include "acquisition/SerialPortConfig.h"
#include "dialogs/FieldNameDlg.h"
#include "dialogs/PrintSetupDlg.h"
#include "dialogs/SerialSetupDlg.h"
#include "dialogs/SetupDlg.h"
#include "framework/Application.h"
#include "printing/PrintSettings.h"
#include "processing/ReceiverSettings.h"

#include <windows.h>

#include <fstream>
#include <memory>
#include <string>

namespace
{
void ShowFor(CDialog& dialog, const char* rectFile)
{
    if (!dialog.Create())
        return;
    const HWND hWnd = dialog.GetSafeHwnd();
    ::SetWindowPos(hWnd, HWND_TOP, 40, 40, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    ::SetForegroundWindow(hWnd);
    ::SendMessageA(hWnd, WM_NCACTIVATE, TRUE, 0);
    RECT rect;
    ::GetWindowRect(hWnd, &rect);
    std::ofstream(rectFile) << rect.left << ' ' << rect.top << ' ' << rect.right - rect.left
                            << ' ' << rect.bottom - rect.top << '\n';
    const ULONGLONG end = ::GetTickCount64() + 4000;
    MSG message;
    while (::GetTickCount64() < end) {
        while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageA(&message);
        }
        ::Sleep(20);
    }
}

void SampleSettings(CReceiverSettings& settings)
{
    settings.m_storeType = CReceiverSettings::SelectedFieldsDate;
    const char* names[] = {"Program", "Result", "Pressure", "Leak rate", "Temperature"};
    for (int i = 0; i < 5; ++i) {
        settings.SetFieldName(i, names[i]);
        settings.SetFieldInUse(i, i != 2);
    }
    settings.SetServerPort("3001");
    settings.SetServerIp("192.168.1.93");
    settings.SetDirectory("C:\\Quorbel\\RESULT\\");
    settings.m_printOut = 1;
    settings.m_linkType = CReceiverSettings::LinkEthernet;
}
}

int main(int argc, char** argv)
{
    if (argc != 3 && argc != 4)
        return 2;
    if (argc == 4)
        CApplication::SetResourceHandle(::LoadLibraryA(argv[3]));
    const std::string which = argv[1];
    if (which == "setup") {
        CReceiverSettings settings;
        CPrintSettings printSettings;
        SampleSettings(settings);
        CSetupDlg dialog(nullptr);
        dialog.m_settings = &settings;
        dialog.m_printSettings = &printSettings;
        ShowFor(dialog, argv[2]);
    } else if (which == "fieldname") {
        CFieldNameDlg dialog(nullptr);
        dialog.m_fieldName = "Pressure";
        ShowFor(dialog, argv[2]);
    } else if (which == "serial") {
        CSerialSetupDlg dialog(nullptr);
        dialog.m_config = SerialPortRecord::Default(2);
        ShowFor(dialog, argv[2]);
    } else if (which == "print") {
        CPrintSettings settings;
        settings.m_printingType = CPrintSettings::Epl2Label;
        CPrintSetupDlg dialog(nullptr);
        dialog.CopyFrom(settings);
        ShowFor(dialog, argv[2]);
    } else {
        return 2;
    }
    return 0;
}
