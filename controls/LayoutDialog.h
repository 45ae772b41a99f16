#pragma once
#include "framework/Dialog.h"

#include <vector>

// Where a corner of a control goes when the dialog grows: x and y are the
// percentages of the dialog's growth in width and height that the corner
// follows.  None, as the second anchor, keeps the control's size.
struct Anchor
{
    int x;
    int y;
    bool none;

    static const Anchor TopLeft;
    static const Anchor TopRight;
    static const Anchor BottomLeft;
    static const Anchor BottomRight;
    static const Anchor None;
};

// A resizable dialog: a size grip in the bottom-right corner, never smaller
// than it was when it opened, and controls that move and stretch with it by
// their anchors.  The template needs a sizing border (WS_THICKFRAME).
// A derived dialog registers its anchors after this class's OnInitDialog
// and calls this class's OnSize and OnGetMinMaxInfo from its own.
class CLayoutDialog : public CDialog
{
public:
    using CDialog::CDialog;

protected:
    BOOL OnInitDialog() override;
    void OnSize(UINT type, int cx, int cy) override;
    void OnGetMinMaxInfo(MINMAXINFO& info) override;

    // The control's top-left corner follows `topLeft` and its bottom-right
    // corner `bottomRight`, from the place it has now.
    bool AddAnchor(int controlId, Anchor topLeft, Anchor bottomRight = Anchor::None);

private:
    struct AnchoredControl
    {
        HWND control;
        RECT start;        // in client coordinates when it was registered
        SIZE startClient;  // the client size at that moment
        Anchor topLeft;
        Anchor bottomRight;
    };
    void CreateSizeGrip();
    SIZE ClientSize() const;

    std::vector<AnchoredControl> m_anchors;
    SIZE m_minimumSize{0, 0};
    HWND m_sizeGrip = nullptr;
};
