#include "app/ReceiverDlg.h"

#include "app/AboutDlg.h"
#include "app/AppVersionInfo.h"
#include "app/TrayIcon.h"
#include "app/TrayIconAction.h"
#include "controls/SplashWindow.h"
#include "database/SecretText.h"
#include "processing/NoticeText.h"
#include "framework/Application.h"
#include "framework/WaitCursor.h"
#include "printing/PrintSettings.h"
#include "printing/ProgressWindow.h"
#include "processing/ReceiverSettings.h"
#include "res/resource.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <cstring>
#include <vector>

namespace
{
const UINT_PTR kLinkTimer = 1;
const UINT kFirstTickMs = 1000;
const UINT kTickAfterSetupMs = 500;
const UINT kIndicatorTimer = 1125;
const UINT kIndicatorMs = 150;
const DWORD kSerialSettleMs = 2000;
const char* const kPlacementSection = "VorlDlgtPos";
const char* const kPlacementEntry = "WindowPlacement";
const int kPrintFieldIds[] = {IDC_RECEIVER_OPERATOR, IDC_RECEIVER_SERIAL_NUMBER, IDC_RECEIVER_COMMENT};
}

CReceiverDlg::CReceiverDlg(CReceiverSettings& settings, CPrintSettings& printSettings)
    : CLayoutDialog(IDD_RECEIVER_DIALOG, nullptr),
      m_settings(settings),
      m_printSettings(printSettings),
      m_database("DataBase"),
      m_pipeline(*this, settings, printSettings, m_store, m_printer),
      m_link(m_pipeline, CApplication::LoadString(IDS_SERIAL_PORT_LOST)),
      m_frameList(CFramePipeline::ListLineLimit + 1),
      m_icon(::LoadIconA(CApplication::FindResourceModule(RT_GROUP_ICON, IDR_MAINFRAME),
                         MAKEINTRESOURCEA(IDR_MAINFRAME)))
{
    CFramePipeline::Notices notices;
    notices.formatError = CApplication::LoadString(IDS_FRAME_FORMAT_ERROR);
    notices.cannotBeWritten = CApplication::LoadString(IDS_LINES_CANNOT_BE_WRITTEN);
    notices.waitingWritten = CApplication::LoadString(IDS_WAITING_LINES_WRITTEN);
    notices.waitingRestored = CApplication::LoadString(IDS_WAITING_LINES_RESTORED);
    notices.damagedKept = CApplication::LoadString(IDS_DAMAGED_RECORDS_KEPT);
    notices.waitingStay = CApplication::LoadString(IDS_WAITING_LINES_STAY);
    notices.printoutsSkipped = CApplication::LoadString(IDS_PRINTOUTS_SKIPPED);
    m_pipeline.SetNotices(notices);
    m_database.SetNotices({CApplication::LoadString(IDS_DB_CONNECTED), CApplication::LoadString(IDS_DB_TROUBLE),
                           CApplication::LoadString(IDS_DB_NOT_RECORDED), CApplication::LoadString(IDS_DB_RECORDED),
                           CApplication::LoadString(IDS_DB_DAMAGED)});
    m_database.SetTell([this](const std::string& text) { m_pipeline.AddToFrameList(text); });
    m_database.SetStatusChanged([this] { Post([this] { ShowDatabaseStatus(); }); });
    m_pipeline.SetResultDatabase(&m_database);
}

CReceiverDlg::~CReceiverDlg() = default;

BOOL CReceiverDlg::OnInitDialog()
{
    CLayoutDialog::OnInitDialog();
    CApplication::SetMainWindow(m_hWnd);
    const std::string aboutText = CApplication::LoadString(IDS_ABOUTBOX);
    if (!aboutText.empty()) {
        HMENU systemMenu = ::GetSystemMenu(m_hWnd, FALSE);
        ::AppendMenuA(systemMenu, MF_SEPARATOR, 0, nullptr);
        ::AppendMenuA(systemMenu, MF_STRING, IDM_ABOUTBOX, aboutText.c_str());
    }
    ::SendMessageA(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_icon));
    ::SendMessageA(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_icon));
    AttachControls();
    RegisterAnchors();
    CreateListFont();
    ShowCounter();

    const std::string versionText = CAppVersionInfo().GetVersionText();
    ::SetWindowTextA(m_hWnd, (GetText(m_hWnd) + " (" + versionText + " )").c_str());
    CreateTrayIcon(versionText);
    RestorePlacement(kPlacementSection);
    if (m_settings.m_hideAtStart) {
        CSplashWindow::ShowSplashScreen(m_hWnd, IDB_SPLASH, 3000);
        ::PostMessageA(m_hWnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    }
    ::ShowWindow(GetDlgItem(IDC_RECEIVER_HIDE), m_settings.m_hideButton == 0 ? SW_SHOW : SW_HIDE);
    EnableHideButton();
    ::SetTimer(m_hWnd, kLinkTimer, kFirstTickMs, nullptr);
    return TRUE;
}

void CReceiverDlg::AttachControls()
{
    m_frameList.Attach(m_hWnd, IDC_RECEIVER_FRAME_LIST);
    m_counter.Attach(m_hWnd, IDC_RECEIVER_FRAME_COUNTER);
    m_indicator.Attach(m_hWnd, IDC_RECEIVER_STORING_LED);
    m_indicator.SetIcons(IDI_LED_OFF, IDI_LED_ON);
    m_indicator.SetReturnTimer(kIndicatorTimer, kIndicatorMs, 0);
    m_storeStatus.Attach(m_hWnd, IDC_RECEIVER_STATUS_STORE);
    m_linkStatus.Attach(m_hWnd, IDC_RECEIVER_STATUS_LINK);
    m_storeStatus.SetTextColor(RGB(0, 0, 255));
    m_linkStatus.SetTextColor(RGB(0, 0, 255));
    m_printGroup.Attach(m_hWnd, IDC_RECEIVER_PRINT_GROUP);
    m_storedFrame.Attach(m_hWnd, IDC_RECEIVER_STORED_FRAME);
    m_storedFrame.SetGradient(RGB(0, 0, 0), RGB(0, 255, 0));
    m_storedFrame.SetTextColor(RGB(255, 255, 255));
    const struct { CShadeButton& button; int id; int icon; } buttons[] = {
        {m_exit, IDCANCEL, IDI_CANCEL}, {m_clearList, IDC_RECEIVER_CLEAR_LIST, IDI_CLEAR_LIST},
        {m_setup, IDC_RECEIVER_SETUP, IDI_SETUP}, {m_clearFields, IDC_RECEIVER_CLEAR_FIELDS, IDI_CLEAR_FIELDS}};
    for (const auto& b : buttons) {
        b.button.Attach(m_hWnd, b.id);
        b.button.SetShade(4, 8, 20, 5, RGB(55, 55, 255));
        b.button.SetIcon(b.icon);
    }
}

void CReceiverDlg::RegisterAnchors()
{
    const struct { int id; Anchor topLeft; Anchor bottomRight; } anchors[] = {
        {IDC_RECEIVER_STATUS_GROUP, Anchor::TopLeft, Anchor::TopRight},
        {IDC_RECEIVER_STATUS_STORE, Anchor::TopLeft, Anchor::TopRight},
        {IDC_RECEIVER_STATUS_LINK, Anchor::TopLeft, Anchor::TopRight},
        {IDC_RECEIVER_PRINT_GROUP, Anchor::TopLeft, Anchor::TopRight},
        {IDC_RECEIVER_STORED_LABEL, Anchor::TopLeft, Anchor::TopRight},
        {IDC_RECEIVER_STORED_FRAME, Anchor::TopLeft, Anchor::TopRight},
        {IDC_RECEIVER_RECEIVED_LABEL, Anchor::TopLeft, Anchor::TopRight},
        {IDC_RECEIVER_FRAME_LIST, Anchor::TopLeft, Anchor::BottomRight},
        {IDC_RECEIVER_VORL_LABEL, Anchor::BottomLeft, Anchor::BottomRight},
        {IDC_RECEIVER_SETUP, Anchor::BottomLeft, Anchor::None},
        {IDC_RECEIVER_HIDE, Anchor::BottomLeft, Anchor::None},
        {IDC_RECEIVER_CLEAR_LIST, Anchor::BottomRight, Anchor::None},
        {IDCANCEL, Anchor::BottomRight, Anchor::None},
    };
    for (const auto& a : anchors)
        AddAnchor(a.id, a.topLeft, a.bottomRight);
}

void CReceiverDlg::CreateListFont()
{
    m_frameList.UseFixedFont("Courier New", 16);
    m_storedFrame.SetFont(m_frameList.Font());
}

void CReceiverDlg::CreateTrayIcon(const std::string& versionText)
{
    m_showAction = std::make_unique<CShowWindowAction>();
    m_menuAction = std::make_unique<CTrayMenuAction>();
    m_trayIcon = std::make_unique<CTrayIcon>(m_hWnd, IDR_MAINFRAME, m_icon, versionText,
                                             std::vector<CTrayIconAction*>{m_showAction.get(),
                                                                           m_menuAction.get()});
    m_trayIcon->Add();
}

void CReceiverDlg::ShowCounter()
{
    char text[16];
    std::snprintf(text, sizeof text, "%05d", m_shownCounter);
    m_counter.SetText(text);
}

// The first tick starts the link, once the window shows.
void CReceiverDlg::OnTimer(UINT_PTR id)
{
    if (id != kLinkTimer)
        return;
    ::KillTimer(m_hWnd, kLinkTimer);
    if (!m_startPending)
        return;
    m_startPending = false;
    StartLink();
    UpdateStatusText();
    m_link.StartSerialReceiver();
}

void CReceiverDlg::UpdatesWaiting()
{
    if (!Post([this] { TakeUpdates(); }))
        m_pipeline.Updates().Rearm();
}

// Everything the storing thread has for the window, in one go: however
// far behind the window is, it paints once.
void CReceiverDlg::TakeUpdates()
{
    const CViewUpdates::Batch batch = m_pipeline.Updates().Take();
    m_frameList.Add(batch.listLines);
    if (batch.storedLineChanged)
        SetDlgItemText(IDC_RECEIVER_STORED_FRAME, batch.storedLine);
    if (batch.indicator)
        m_indicator.SetState(1);
    const int counter = m_pipeline.FrameCounter();
    if (counter != m_shownCounter) {
        m_shownCounter = counter;
        ShowCounter();
    }
    PrintWaitingPrintouts();
}

// A printout may show a message box, whose loop runs later tasks: those
// only show their lines, and the printouts stay in order in this loop.  A
// Setup or an exit pressed meanwhile comes before the printouts left.
void CReceiverDlg::PrintWaitingPrintouts()
{
    if (m_printing)
        return;
    m_printing = true;
    PrintRecord printout;
    while (!m_setupDeferred && !m_closing && m_pipeline.Updates().TakePrintout(printout))
        m_pipeline.Print(printout);
    m_printing = false;
    if (m_setupDeferred) {
        m_setupDeferred = false;
        ::PostMessageA(m_hWnd, WM_COMMAND, IDC_RECEIVER_SETUP, 0);
    }
}

// The printouts of the frames stored from now on show what is typed now.
void CReceiverDlg::TakePrintFields()
{
    m_pipeline.SetPrintFields({GetDlgItemText(IDC_RECEIVER_OPERATOR),
                               GetDlgItemText(IDC_RECEIVER_SERIAL_NUMBER),
                               GetDlgItemText(IDC_RECEIVER_COMMENT)});
}

void CReceiverDlg::StartLink()
{
    // Once the window shows (a hundred thousand kept lines take a while),
    // and before any link: lines kept from the last run come first.
    if (m_restorePending) {
        m_restorePending = false;
        m_pipeline.RestoreWaitingLines();
        ConfigureDatabase();
    }
    CProgressWindow progress(nullptr, "Initializing !!!", false, false, 1, 390, 22);
    m_link.Start(m_settings, [&progress](const std::string& text) { progress.SetText("%s", text.c_str()); });
}

void CReceiverDlg::UpdateStatusText()
{
    SetDlgItemText(IDC_RECEIVER_STATUS_STORE, "< " + CReceiverSettings::StoreTypeName(m_settings.m_storeType) +
                          " >\n< " + m_settings.GetDirectory() + " >");
    const int linkType = m_settings.GetLinkType();
    std::string link = "< " + CReceiverSettings::LinkTypeName(linkType);
    if (linkType != CReceiverSettings::LinkSerial)
        link += ", Server port = " + m_settings.GetServerPort() + ", IP = " + m_settings.GetServerIp();
    else
        link += CSerialPort::Describe(m_link.SerialPort());
    SetDlgItemText(IDC_RECEIVER_STATUS_LINK, link + " >");
    UpdatePrintGroup();
}

void CReceiverDlg::UpdatePrintGroup()
{
    const PrintLine* lines = m_printSettings.m_lines;
    const bool serial = lines[CPrintSettings::SerialNumberLine].enabled != 0;
    const bool op = lines[CPrintSettings::OperatorLine].enabled != 0;
    const bool comment = lines[CPrintSettings::CommentLine].enabled != 0;
    const bool printing = m_settings.m_printOut && (serial || op || comment);
    EnableDlgItem(IDC_RECEIVER_PRINT_GROUP, false);
    m_printGroup.SetCheck(printing);
    if (!printing) {
        OnClearFields();
        return;
    }
    EnableDlgItem(IDC_RECEIVER_COMMENT, comment);
    EnableDlgItem(IDC_RECEIVER_OPERATOR, op);
    EnableDlgItem(IDC_RECEIVER_SERIAL_NUMBER, serial);
}

void CReceiverDlg::OnSetup()
{
    // Pressed while a printout is printed (a message box of the printer is
    // up): the print settings must not change under it.
    if (m_printing) {
        m_setupDeferred = true;
        return;
    }
    ::KillTimer(m_hWnd, kLinkTimer);
    StopSerialReceiver();
    const std::string link = CStationLink::Identity(m_settings);
    const std::string database = DatabaseIdentity();
    // The link goes on storing with the settings as they were until OK.
    CReceiverSettings edited = m_settings;
    if (edited.RunSetupDialog(&m_printSettings) == IDOK) {
        m_pipeline.ApplySettings(edited);
        if (!m_startPending && DatabaseIdentity() != database)
            ConfigureDatabase();
        if (m_startPending || CStationLink::Identity(m_settings) != link || !m_link.IsUp(m_settings))
            RestartLink();
        EnableHideButton();
        UpdateStatusText();
    }
    // Before the first tick the tick starts the link and the receiver.
    if (m_startPending)
        ::SetTimer(m_hWnd, kLinkTimer, kTickAfterSetupMs, nullptr);
    else
        m_link.StartSerialReceiver();
}

// The password is in clear only here, on its way to the sender.
void CReceiverDlg::ConfigureDatabase()
{
    std::string password;
    SecretText::Unprotect(m_settings.m_database.protectedPassword, password);
    char computer[MAX_COMPUTERNAME_LENGTH + 1] = "";
    DWORD size = sizeof computer;
    ::GetComputerNameA(computer, &size);
    m_database.Configure(m_settings.m_database, password, computer);
    std::fill(password.begin(), password.end(), '\0');
    ShowDatabaseStatus();
}

void CReceiverDlg::ShowDatabaseStatus()
{
    const UINT text = m_database.Reached() ? IDS_DB_STATUS_CONNECTED : IDS_DB_STATUS_NOT_REACHED;
    SetDlgItemText(IDC_RECEIVER_STATUS_DATABASE,
                   m_database.Enabled()
                       ? NoticeText::Filled(CApplication::LoadString(text), std::to_string(m_database.Waiting()))
                       : std::string());
}

std::string CReceiverDlg::DatabaseIdentity() const
{
    const CReceiverSettings::Database& db = m_settings.m_database;
    return std::to_string(db.enabled) + '\n' + db.connectionString + '\n' + db.table + '\n' + db.station + '\n' +
           db.protectedPassword;
}

void CReceiverDlg::RestartLink()
{
    const CWaitCursor wait;
    m_startPending = false;
    // The link stores what has reached the station before it closes.
    m_link.Stop();
    if (m_settings.GetLinkType() == CReceiverSettings::LinkSerial)
        ::Sleep(kSerialSettleMs);
    StartLink();
}

void CReceiverDlg::EnableHideButton()
{
    EnableDlgItem(IDC_RECEIVER_HIDE, m_settings.m_hideButton == 0);
}

void CReceiverDlg::OnClearFields()
{
    for (int id : kPrintFieldIds)
        SetDlgItemText(id, "");
}

void CReceiverDlg::OnClearList()
{
    // What waits to be shown is cleared too, not shown a moment later.
    m_pipeline.Updates().Take();
    m_pipeline.ResetFrameCounter();
    m_shownCounter = 0;
    ShowCounter();
    SetDlgItemText(IDC_RECEIVER_STORED_FRAME, "");
    m_frameList.Clear();
}

void CReceiverDlg::StopSerialReceiver()
{
    const CWaitCursor wait;
    m_link.StopSerialReceiver();
}

bool CReceiverDlg::OnCommand(int id, int code, HWND)
{
    if (code == EN_CHANGE &&
        std::find(std::begin(kPrintFieldIds), std::end(kPrintFieldIds), id) != std::end(kPrintFieldIds)) {
        TakePrintFields();
        return true;
    }
    if (code != BN_CLICKED && code != 0)
        return false;
    switch (id) {
    case IDC_RECEIVER_HIDE:
        ::ShowWindow(m_hWnd, SW_HIDE);
        return true;
    case ID_TRAY_ABOUT:
        RunAboutBox();
        return true;
    case ID_TRAY_SHOW_DIALOG:
        ::ShowWindow(m_hWnd, SW_SHOW);
        return true;
    case ID_TRAY_EXIT:
        OnCancel();
        return true;
    case IDC_RECEIVER_CLEAR_LIST:
        OnClearList();
        return true;
    case IDC_RECEIVER_SETUP:
        OnSetup();
        return true;
    case IDC_RECEIVER_CLEAR_FIELDS:
        OnClearFields();
        return true;
    default:
        return false;
    }
}

void CReceiverDlg::RunAboutBox()
{
    CAboutDlg about(m_hWnd);
    about.DoModal();
}

bool CReceiverDlg::OnSysCommand(UINT command, LPARAM)
{
    if ((command & 0xFFF0) == IDM_ABOUTBOX) {
        RunAboutBox();
        return true;
    }
    if ((command & 0xFFF0) == SC_MINIMIZE) {
        // The window lives on in the notification area instead.
        ::ShowWindow(m_hWnd, SW_HIDE);
        return true;
    }
    return false;
}

bool CReceiverDlg::OnPaint()
{
    if (!::IsIconic(m_hWnd))
        return false;
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(m_hWnd, &paint);
    ::SendMessageA(m_hWnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    const int x = (client.right - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
    ::DrawIcon(dc, x, y, m_icon);
    ::EndPaint(m_hWnd, &paint);
    return true;
}

bool CReceiverDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    result = 0;
    if (message == WM_ENDSESSION) {
        if (wParam)
            OnEndSession();
        return true;
    }
    if (message == WM_QUERYDRAGICON) {
        result = reinterpret_cast<LRESULT>(m_icon);
        return true;
    }
    if (message == CTrayIcon::TaskbarCreatedMessage()) {
        if (m_trayIcon)
            m_trayIcon->OnTaskbarCreated(wParam, lParam);
        return true;
    }
    if (message == CTrayIcon::NotifyIconMessage()) {
        if (m_trayIcon)
            m_trayIcon->OnTrayNotify(wParam, lParam);
        return true;
    }
    return CLayoutDialog::OnMessage(message, wParam, lParam, result);
}

// Windows ends the process after this returns, without WM_DESTROY: the
// links stop (storing what has arrived) before the waiting lines are
// saved, as at exit, so that no line is half way when the process goes.
void CReceiverDlg::OnEndSession()
{
    StopSerialReceiver();
    m_link.Stop();
    m_pipeline.SaveWaitingLines();
    SavePlacement(kPlacementSection);
}

void CReceiverDlg::OnCancel()
{
    m_closing = true;
    CLayoutDialog::OnCancel();
}

void CReceiverDlg::OnDestroy()
{
    ::KillTimer(m_hWnd, kLinkTimer);
    StopSerialReceiver();
    m_trayIcon.reset();
    m_showAction.reset();
    m_menuAction.reset();
    m_link.Stop();
    m_database.Stop();
    m_pipeline.SaveWaitingLines();
    m_pipeline.DropWaitingPrintouts();
    SavePlacement(kPlacementSection);
    CApplication::SetMainWindow(nullptr);
    CLayoutDialog::OnDestroy();
}

void CReceiverDlg::RestorePlacement(const char* section)
{
    const std::vector<unsigned char> data = CApplication::GetProfileBinary(section, kPlacementEntry);
    WINDOWPLACEMENT placement;
    if (data.size() != sizeof placement)
        return;
    std::memcpy(&placement, data.data(), sizeof placement);
    placement.length = sizeof placement;
    ::SetWindowPlacement(m_hWnd, &placement);
}

void CReceiverDlg::SavePlacement(const char* section)
{
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (!::GetWindowPlacement(m_hWnd, &placement))
        return;
    const auto* bytes = reinterpret_cast<const unsigned char*>(&placement);
    CApplication::WriteProfileBinary(section, kPlacementEntry,
                                     std::vector<unsigned char>(bytes, bytes + sizeof placement));
}

void CReceiverDlg::PrintJobFile(const std::string& fileName)
{
    m_printer.PrintTextFile(fileName.c_str());
}
