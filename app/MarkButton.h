// MarkButton.h: CMarkButton, the star-rating radio button of a scaled
// question in the scoring dialog. Its picture shows the mark (0, 2, 4, 6, 8 or
// 10) as five stars and a word; a click sets the mark from where on the stars
// it landed, the Right arrow key raises it by 2 (past 10 back to 0).
#pragma once

#include "framework/Button.h"

class CMarkButton : public CButton {
public:
    enum { MARK_NONE = -1 };

    CMarkButton();
    ~CMarkButton() override;

    // Stores the mark and shows its picture.
    void SetMark(int mark);
    int GetMark() const { return m_mark; }
    // Shows the picture of the mark held; a mark without one (anything but
    // -1 and 0 to 10 in steps of 2) leaves the picture as it is.
    void ShowMarkBitmap();

    // The mark a click x pixels from the button's left edge gives: the radio
    // circle gives 0, then each star (about 13 pixels) the next mark up.
    static int MarkFromX(int x);
    // The bitmap resource of a mark; 0 for a mark without a picture.
    static UINT BitmapIdOf(int mark);

    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    afx_msg BOOL OnClicked(); // FALSE: the dialog handles the click too
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    int m_mark;
    int m_inKeyChange; // the key's own click notification is not a mouse click
    HBITMAP m_hBitmap; // owned; the picture the button shows
    UINT m_bitmapId;   // the resource m_hBitmap was loaded from
};
