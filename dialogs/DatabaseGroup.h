#pragma once
#include "processing/ReceiverSettings.h"

#include <memory>

class CDialog;

// The "Central database" group of the setup dialog: whether every result
// also goes to the central SQL server, the ODBC connection string, the
// password (shown as dots, kept protected for the Windows user), the table
// and the station's name.  "Test connection" tries the connection on a
// thread of its own and says what happened in the group.
class CDatabaseGroup
{
public:
    explicit CDatabaseGroup(CDialog& dialog);
    ~CDatabaseGroup();
    CDatabaseGroup(const CDatabaseGroup&) = delete;
    CDatabaseGroup& operator=(const CDatabaseGroup&) = delete;

    void Show(const CReceiverSettings::Database& settings);
    // Into the settings shown; false, said to the operator, when the table
    // name cannot be used.
    bool Read(CReceiverSettings::Database& settings) const;
    bool OnCommand(int id, int code);

private:
    void TestConnection();
    std::string Password() const;

    struct Test;
    CDialog& m_dialog;
    // A password kept for another Windows user (or another computer) cannot
    // be shown; left empty, it stays as it was.
    bool m_passwordShown = false;
    // Shared with the testing thread, which outlives the dialog when the
    // operator closes it first.
    std::shared_ptr<Test> m_test;
};
