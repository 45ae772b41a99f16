#pragma once
#include "controls/CheckGroupBox.h"
#include "controls/IconButton.h"
#include "dialogs/DatabaseGroup.h"
#include "framework/Dialog.h"

#include <string>

class CReceiverSettings;
class CPrintSettings;
class CSerialPortList;

// "Quorbel setup": every setting of the configuration store.  The store
// changes only when OK is accepted; the serial port record and the print
// settings are saved by their own dialogs at once.
class CSetupDlg : public CDialog
{
public:
    explicit CSetupDlg(HWND parent);

    // Set by the caller before DoModal.  Without print settings the
    // "Print setup" button stays disabled.
    CReceiverSettings* m_settings = nullptr;
    CPrintSettings* m_printSettings = nullptr;
    // The ports to offer; null discovers the workstation's own when the
    // dialog opens.
    const CSerialPortList* m_portList = nullptr;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void DoDataExchange(CDataExchange& dx) override;
    bool OnCommand(int id, int code, HWND control) override;
    bool OnNotify(const NMHDR& header, LRESULT& result) override;

private:
    void AttachControls();
    void FillStaticLists() const;
    void CopyFromSettings();
    void FillComPortList();
    void SelectConfiguredComPort() const;
    void SetUpFieldList() const;
    void FillFieldList() const;
    void UpdateStoreTypeControls(bool selectedFields);
    void UpdateInputPortControls() const;
    void UpdatePrintSetupButton() const;
    int SelectedComPortIndex() const;
    int CountCheckedFields() const;
    void RunSerialSetup();
    void RunPrintSetup();
    void EditSelectedFieldName();
    void BrowseForDirectory();
    void WriteSettings();
    void ShowServerIp();
    bool ServerPortIsValid();
    std::string ServerIpText() const;
    std::string FieldListText(int row, int column) const;
    bool IsFieldChecked(int row) const;

    int m_hideAtStart = 0;
    int m_storeType = -1;
    int m_hideButton = 0;
    std::string m_directory;
    int m_fileExtCode = -1;
    int m_inputPort = -1;
    int m_printOut = 0;
    int m_reconnect = 1;
    std::string m_serverPort = "10001";
    std::string m_unshownServerIp;
    int m_discoveredPortCount = 0;

    CCheckGroupBox m_fieldsGroup;
    CIconButton m_okButton;
    CIconButton m_cancelButton;
    CIconButton m_serialSetupButton;
    CIconButton m_printSetupButton;
    CDatabaseGroup m_databaseGroup{*this};
};
