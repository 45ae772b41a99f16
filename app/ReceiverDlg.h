#pragma once
#include "app/FramePipeline.h"
#include "app/FrameView.h"
#include "app/ResultDatabase.h"
#include "app/StationLink.h"
#include "controls/CheckGroupBox.h"
#include "controls/ColorLabel.h"
#include "controls/DigitDisplay.h"
#include "controls/FrameList.h"
#include "controls/GradientLabel.h"
#include "controls/LayoutDialog.h"
#include "controls/LedButton.h"
#include "controls/ShadeButton.h"
#include "printing/TicketPrinter.h"
#include "processing/FrameStore.h"

#include <memory>
#include <string>

class CReceiverSettings;
class CPrintSettings;
class CTrayIcon;
class CTrayIconAction;

// The program's window: starts the configured link and shows what it does
// and every frame stored.  The links' threads store the frames through the
// pipeline, which tells the window of what to show through IFrameView; the
// window takes it on its own thread (a posted task) and prints the
// printouts that come with it.
class CReceiverDlg : public CLayoutDialog, private IFrameView
{
public:
    CReceiverDlg(CReceiverSettings& settings, CPrintSettings& printSettings);
    ~CReceiverDlg() override;

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;
    void OnTimer(UINT_PTR id) override;
    void OnDestroy() override;
    bool OnSysCommand(UINT command, LPARAM lParam) override;
    bool OnPaint() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void OnCancel() override;

private:
    // IFrameView: UpdatesWaiting on the storing thread.
    void UpdatesWaiting() override;
    void PrintJobFile(const std::string& fileName) override;

    void AttachControls();
    void RegisterAnchors();
    void CreateListFont();
    void CreateTrayIcon(const std::string& versionText);
    void ShowCounter();
    void TakeUpdates();
    void PrintWaitingPrintouts();
    void TakePrintFields();
    void StartLink();
    void UpdateStatusText();
    void UpdatePrintGroup();
    void OnSetup();
    void RestartLink();
    void ConfigureDatabase();
    void ShowDatabaseStatus();
    std::string DatabaseIdentity() const;
    void OnEndSession();
    void OnClearFields();
    void OnClearList();
    void StopSerialReceiver();
    void EnableHideButton();
    void RestorePlacement(const char* section);
    void SavePlacement(const char* section);
    void RunAboutBox();

    CReceiverSettings& m_settings;
    CPrintSettings& m_printSettings;
    CResultDatabase m_database;
    CFrameStore m_store;
    CTicketPrinter m_printer;
    CFramePipeline m_pipeline;
    CStationLink m_link;

    CFrameList m_frameList;
    CDigitDisplay m_counter;
    CLedButton m_indicator;
    CColorLabel m_storeStatus;
    CColorLabel m_linkStatus;
    CCheckGroupBox m_printGroup;
    CGradientLabel m_storedFrame;
    CShadeButton m_clearFields;
    CShadeButton m_setup;
    CShadeButton m_clearList;
    CShadeButton m_exit;

    HICON m_icon;
    std::unique_ptr<CTrayIconAction> m_showAction;
    std::unique_ptr<CTrayIconAction> m_menuAction;
    std::unique_ptr<CTrayIcon> m_trayIcon;
    bool m_startPending = true;
    bool m_restorePending = true;
    bool m_printing = false;
    bool m_closing = false;
    bool m_setupDeferred = false;
    int m_shownCounter = 0;
};
