#pragma once
#include "framework/Window.h"

#include <initializer_list>
#include <string>

// One pass of data exchange between a dialog's controls and its members:
// loading puts the members into the controls, saving reads them back and
// validates them.  The first failed validation shows the prompt, puts the
// focus on the control and turns every later exchange of the pass into a
// no-op, so the members after it keep their values.
class CDataExchange
{
public:
    CDataExchange(const CWindow& dialog, bool saveAndValidate);
    virtual ~CDataExchange() = default;

    bool Failed() const { return m_failed; }

    void Check(int id, int& value);
    // The radio buttons of one group in value order: the first is 0.  A
    // group without a checked button saves -1.
    void Radio(std::initializer_list<int> ids, int& value);
    // maximumLength > 0 limits what can be typed and refuses longer texts.
    void Text(int id, std::string& value, int maximumLength = 0);
    void Int(int id, int& value);
    void IntRange(int id, int& value, int minimum, int maximum);
    // The selected item of a combo box; -1 when none is selected.
    void ComboIndex(int id, int& value);

private:
    bool Active() const { return !m_failed; }
    void Fail(int id, const std::string& prompt);

    const CWindow& m_dialog;
    bool m_saving;
    bool m_failed = false;
};
