#include "framework/DataExchange.h"

#include "framework/Application.h"
#include "framework/IntegerText.h"

CDataExchange::CDataExchange(const CWindow& dialog, bool saveAndValidate)
    : m_dialog(dialog), m_saving(saveAndValidate)
{
}

void CDataExchange::Fail(int id, const std::string& prompt)
{
    m_failed = true;
    CApplication::MessageBox(prompt, MB_OK | MB_ICONEXCLAMATION, m_dialog.GetSafeHwnd());
    const HWND control = m_dialog.GetDlgItem(id);
    ::SetFocus(control);
    ::SendMessageA(control, EM_SETSEL, 0, -1);
}

void CDataExchange::Check(int id, int& value)
{
    if (!Active())
        return;
    if (m_saving)
        value = m_dialog.SendDlgItemMessage(id, BM_GETCHECK) == BST_CHECKED ? 1 : 0;
    else
        m_dialog.SendDlgItemMessage(id, BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED);
}

void CDataExchange::Radio(std::initializer_list<int> ids, int& value)
{
    if (!Active())
        return;
    int index = 0;
    if (m_saving)
        value = -1;
    for (const int id : ids) {
        if (m_saving && m_dialog.SendDlgItemMessage(id, BM_GETCHECK) == BST_CHECKED)
            value = index;
        else if (!m_saving)
            m_dialog.SendDlgItemMessage(id, BM_SETCHECK,
                                        index == value ? BST_CHECKED : BST_UNCHECKED);
        ++index;
    }
}

void CDataExchange::Text(int id, std::string& value, int maximumLength)
{
    if (!Active())
        return;
    if (!m_saving) {
        if (maximumLength > 0)
            m_dialog.SendDlgItemMessage(id, EM_LIMITTEXT, static_cast<WPARAM>(maximumLength));
        m_dialog.SetDlgItemText(id, value);
        return;
    }
    const std::string text = m_dialog.GetDlgItemText(id);
    if (maximumLength > 0 && text.size() > static_cast<size_t>(maximumLength))
        Fail(id, IntegerText::LengthPrompt(maximumLength));
    else
        value = text;
}

void CDataExchange::Int(int id, int& value)
{
    if (!Active())
        return;
    if (!m_saving) {
        m_dialog.SetDlgItemText(id, std::to_string(value));
        return;
    }
    int parsed = 0;
    if (IntegerText::Parse(m_dialog.GetDlgItemText(id), parsed))
        value = parsed;
    else
        Fail(id, IntegerText::IntegerPrompt());
}

void CDataExchange::IntRange(int id, int& value, int minimum, int maximum)
{
    Int(id, value);
    if (Active() && m_saving && (value < minimum || value > maximum))
        Fail(id, IntegerText::RangePrompt(minimum, maximum));
}

void CDataExchange::ComboIndex(int id, int& value)
{
    if (!Active())
        return;
    if (m_saving)
        value = static_cast<int>(m_dialog.SendDlgItemMessage(id, CB_GETCURSEL));
    else
        m_dialog.SendDlgItemMessage(id, CB_SETCURSEL, static_cast<WPARAM>(value));
}
