#include "dialogs/DatabaseGroup.h"

#include "processing/NoticeText.h"
#include "database/DatabaseConnection.h"
#include "database/SecretText.h"
#include "framework/Application.h"
#include "framework/Dialog.h"
#include "res/resource.h"

#include <algorithm>
#include <mutex>
#include <thread>

// The dialog, as long as it exists: the testing thread posts its answer
// only then.
struct CDatabaseGroup::Test
{
    std::mutex mutex;
    CDialog* dialog = nullptr;
    bool running = false;
};

namespace
{
const unsigned kTestTimeoutSeconds = 15;
}

CDatabaseGroup::CDatabaseGroup(CDialog& dialog) : m_dialog(dialog), m_test(std::make_shared<Test>())
{
    m_test->dialog = &dialog;
}

CDatabaseGroup::~CDatabaseGroup()
{
    const std::lock_guard<std::mutex> lock(m_test->mutex);
    m_test->dialog = nullptr;
}

void CDatabaseGroup::Show(const CReceiverSettings::Database& settings)
{
    ::CheckDlgButton(m_dialog.GetSafeHwnd(), IDC_SETUP_DB_ENABLED, settings.enabled ? BST_CHECKED : BST_UNCHECKED);
    m_dialog.SetDlgItemText(IDC_SETUP_DB_CONNECTION, settings.connectionString);
    std::string password;
    m_passwordShown = SecretText::Unprotect(settings.protectedPassword, password);
    m_dialog.SetDlgItemText(IDC_SETUP_DB_PASSWORD, password);
    std::fill(password.begin(), password.end(), '\0');
    m_dialog.SetDlgItemText(IDC_SETUP_DB_TABLE, settings.table);
    m_dialog.SetDlgItemText(IDC_SETUP_DB_STATION, settings.station);
}

bool CDatabaseGroup::Read(CReceiverSettings::Database& settings) const
{
    const std::string table = m_dialog.GetDlgItemText(IDC_SETUP_DB_TABLE);
    if (!CDatabaseConnection::IsPlainIdentifier(table))
    {
        CApplication::MessageBox(IDS_DB_TABLE_REFUSED, MB_OK | MB_ICONEXCLAMATION, m_dialog.GetSafeHwnd());
        ::SetFocus(m_dialog.GetDlgItem(IDC_SETUP_DB_TABLE));
        return false;
    }
    settings.enabled = ::IsDlgButtonChecked(m_dialog.GetSafeHwnd(), IDC_SETUP_DB_ENABLED) == BST_CHECKED ? 1 : 0;
    settings.connectionString = m_dialog.GetDlgItemText(IDC_SETUP_DB_CONNECTION);
    settings.table = table;
    settings.station = m_dialog.GetDlgItemText(IDC_SETUP_DB_STATION);
    std::string password = Password();
    if (!password.empty() || m_passwordShown)
        settings.protectedPassword = password.empty() ? std::string() : SecretText::Protect(password);
    std::fill(password.begin(), password.end(), '\0');
    return true;
}

std::string CDatabaseGroup::Password() const
{
    return m_dialog.GetDlgItemText(IDC_SETUP_DB_PASSWORD);
}

bool CDatabaseGroup::OnCommand(int id, int code)
{
    if (id != IDC_SETUP_DB_TEST || code != BN_CLICKED)
        return false;
    TestConnection();
    return true;
}

// A server that does not answer takes the login time-out: the dialog
// stays usable meanwhile, and may even close.
void CDatabaseGroup::TestConnection()
{
    {
        const std::lock_guard<std::mutex> lock(m_test->mutex);
        if (m_test->running)
            return;
        m_test->running = true;
    }
    m_dialog.SetDlgItemText(IDC_SETUP_DB_RESULT, CApplication::LoadString(IDS_DB_TESTING));
    const std::string connection = m_dialog.GetDlgItemText(IDC_SETUP_DB_CONNECTION);
    const std::string password = Password();
    const std::string connected = CApplication::LoadString(IDS_DB_TEST_CONNECTED);
    const std::string failed = CApplication::LoadString(IDS_DB_TEST_FAILED);
    std::thread([test = m_test, connection, password, connected, failed] {
        CDatabaseConnection database;
        const bool open = database.Open(connection, password, kTestTimeoutSeconds);
        const std::string answer = open
            ? NoticeText::Filled(connected, database.ServerName() + " " + database.ServerVersion(), "")
            : NoticeText::Filled(failed, database.Error(), "");
        const std::lock_guard<std::mutex> lock(test->mutex);
        test->running = false;
        if (test->dialog)
        {
            CDialog* dialog = test->dialog;
            dialog->Post([dialog, answer] { dialog->SetDlgItemText(IDC_SETUP_DB_RESULT, answer); });
        }
    }).detach();
}
