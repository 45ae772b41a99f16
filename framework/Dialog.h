#pragma once
#include "framework/Window.h"

class CDataExchange;

// A dialog over a dialog template of the current resource handle, run
// modally (DoModal) or created modeless (Create).  The system's dialog
// manager owns the window procedure; `this` travels as the creation
// parameter of WM_INITDIALOG, is kept in DWLP_USER, and every later
// message is handed to the virtual handlers below.  A modal dialog's window
// is gone when DoModal returns; a modeless one ends with EndDialog or the
// owner's DestroyWindow (see CWindow).
class CDialog : public CWindow
{
public:
    CDialog(int templateId, HWND parent);

    INT_PTR DoModal();
    bool Create();
    // Ends a modal run with `result`, or destroys a modeless dialog and
    // keeps `result` for GetResult.
    void EndDialog(int result);
    // -1 until a modeless dialog has ended.
    int GetResult() const { return m_result; }

    // Saving reads the controls into the members and validates them; a
    // failed validation has already shown its prompt and focused the
    // control, and the members read so far keep their new values.
    bool UpdateData(bool saveAndValidate);

protected:
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange& dx);
    // Return true when the command was handled.
    virtual bool OnCommand(int id, int code, HWND control);
    // Return true when handled; `result` becomes the message result.
    virtual bool OnNotify(const NMHDR& header, LRESULT& result);
    virtual void OnTimer(UINT_PTR id);
    virtual void OnDestroy();
    virtual void OnSize(UINT type, int cx, int cy);
    virtual void OnGetMinMaxInfo(MINMAXINFO& info);
    // Return true when handled; false gives the system's handling.
    virtual bool OnSysCommand(UINT command, LPARAM lParam);
    // Return true when the dialog painted itself.
    virtual bool OnPaint();
    // The brush for a control's background (WM_CTLCOLOR*), or null for
    // the system's colours.
    virtual HBRUSH OnCtlColor(HDC dc, HWND control, UINT message);
    // Any other message; return true when handled.
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

private:
    static INT_PTR CALLBACK StaticDialogProc(HWND hWnd, UINT message, WPARAM wParam,
                                             LPARAM lParam);
    INT_PTR DialogProc(UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR AnswerOtherMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void RouteCommand(int id, int code, HWND control);

    int m_templateId;
    HWND m_parent;
    bool m_modal = false;
    int m_result = -1;
};
