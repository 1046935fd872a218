// Tests of CDialog and the dialog data exchange: modal and modeless dialogs
// from the templates of test_Dialog.rc, driven by a thread timer that plays a
// script of steps while the dialog's own loop runs.
#include "native/gtest.h"

#include "framework/DataExchange.h"
#include "framework/Dialog.h"
#include "framework/Edit.h"
#include "framework/Exception.h"

#include "test_Dialog_res.h"
#include "tests/support/UiScript.h"

#include <functional>
#include <string>
#include <vector>

namespace {

// A step that waits for a message box of this thread, keeps its text and closes
// it.
CUiScript::Step CloseMessageBox(HWND& hWndDialog, std::string& text) {
    return [&hWndDialog, &text]() {
        HWND hWndBox = FindThreadDialog(hWndDialog, true);
        if (hWndBox == nullptr)
            return false;
        char szText[256] = "";
        ::GetDlgItemTextA(hWndBox, 0xFFFF, szText, sizeof szText);
        text = szText;
        ::PostMessageA(hWndBox, WM_COMMAND, IDOK, 0);
        return true;
    };
}

std::string ItemText(HWND hWndDialog, int nID) {
    char szText[256] = "";
    ::GetDlgItemTextA(hWndDialog, nID, szText, sizeof szText);
    return szText;
}

// ---------------------------------------------------------------------------
// The dialog under test: every exchange kind on one form.

class CFormDialog : public CDialog {
public:
    CFormDialog() : CDialog(IDD_FORM) {}
    explicit CFormDialog(UINT nIDTemplate) : CDialog(nIDTemplate) {}

    BOOL OnInitDialog() override {
        ++m_nInitCalls;
        for (LPCSTR psz : {"zero", "one", "two"}) {
            SendDlgItemMessage(IDC_COMBO, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(psz));
            SendDlgItemMessage(IDC_LIST, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(psz));
        }
        BOOL bResult = CDialog::OnInitDialog();
        if (m_onInit)
            m_onInit(*this);
        return bResult;
    }
    // Focus moves asked of the dialog manager: the X display is shared by
    // tests running at once, so the real focus may be another program's.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_NEXTDLGCTL)
            m_focusMoves.push_back(LOWORD(lParam) ? ::GetDlgCtrlID(reinterpret_cast<HWND>(wParam))
                                                  : (wParam ? -1 : -2));
        return CDialog::WindowProc(message, wParam, lParam);
    }
    void OnCancel() override {
        ++m_nCancelCalls;
        CDialog::OnCancel();
    }
    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Control(pDX, IDC_NAME, m_editName);
        DDX_Text(pDX, IDC_NAME, m_strName);
        DDV_MaxChars(pDX, m_strName, 10);
        DDX_Text(pDX, IDC_COUNT, m_nCount);
        DDV_MinMaxInt(pDX, m_nCount, 0, 100);
        DDX_Text(pDX, IDC_RATIO, m_dRatio);
        DDX_Text(pDX, IDC_BYTES, m_nSize);
        DDV_MinMaxUInt(pDX, m_nSize, 1, 99999);
        DDX_Check(pDX, IDC_FLAG, m_nFlag);
        DDX_Radio(pDX, IDC_RADIO_A, m_nRadio);
        DDX_CBIndex(pDX, IDC_COMBO, m_nCombo);
        DDX_LBString(pDX, IDC_LIST, m_strListItem);
        DDX_Text(pDX, IDC_AFTER, m_strAfter);
    }

    CString m_strName = "alpha";
    int m_nCount = 5;
    double m_dRatio = 0.25;
    UINT m_nSize = 700;
    int m_nFlag = BST_CHECKED;
    int m_nRadio = 1;
    int m_nCombo = 2;
    CString m_strListItem = "one";
    CString m_strAfter = "after";
    CEdit m_editName;
    int m_nInitCalls = 0;
    int m_nCancelCalls = 0;
    // One entry per WM_NEXTDLGCTL: the control's id, -1 previous, -2 next.
    std::vector<int> m_focusMoves;
    std::function<void(CFormDialog&)> m_onInit;
};

// ---------------------------------------------------------------------------

TEST(Dialog, ModalLoadsControlsAndSavesThemOnOK) {
    CFormDialog dlg;
    HWND hWnd = nullptr;
    std::string name, count, ratio, size, after;
    LRESULT flag = -1, radioB = -1, combo = -1, list = -1;
    CUiScript script({[&]() {
        if (dlg.m_hWnd == nullptr || !::IsWindowVisible(dlg.m_hWnd))
            return false;
        hWnd = dlg.m_hWnd;
        name = ItemText(hWnd, IDC_NAME);
        count = ItemText(hWnd, IDC_COUNT);
        ratio = ItemText(hWnd, IDC_RATIO);
        size = ItemText(hWnd, IDC_BYTES);
        after = ItemText(hWnd, IDC_AFTER);
        flag = ::SendDlgItemMessageA(hWnd, IDC_FLAG, BM_GETCHECK, 0, 0);
        radioB = ::SendDlgItemMessageA(hWnd, IDC_RADIO_B, BM_GETCHECK, 0, 0);
        combo = ::SendDlgItemMessageA(hWnd, IDC_COMBO, CB_GETCURSEL, 0, 0);
        list = ::SendDlgItemMessageA(hWnd, IDC_LIST, LB_GETCURSEL, 0, 0);
        // The user's edits.
        ::SetDlgItemTextA(hWnd, IDC_NAME, "beta");
        ::SetDlgItemTextA(hWnd, IDC_COUNT, " 42 ");
        ::SetDlgItemTextA(hWnd, IDC_RATIO, "-1.5e2");
        ::SetDlgItemTextA(hWnd, IDC_BYTES, "99999");
        ::SendDlgItemMessageA(hWnd, IDC_FLAG, BM_SETCHECK, BST_INDETERMINATE, 0);
        ::CheckRadioButton(hWnd, IDC_RADIO_A, IDC_RADIO_C, IDC_RADIO_C);
        ::SendDlgItemMessageA(hWnd, IDC_COMBO, CB_SETCURSEL, 0, 0);
        ::SendDlgItemMessageA(hWnd, IDC_LIST, LB_SETCURSEL, 2, 0);
        ::PostMessageA(hWnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        return true;
    }});

    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(1, dlg.m_nInitCalls);
    // Loaded into the controls.
    EXPECT_EQ("alpha", name);
    EXPECT_EQ("5", count);
    EXPECT_EQ("0.25", ratio);
    EXPECT_EQ("700", size);
    EXPECT_EQ("after", after);
    EXPECT_EQ(BST_CHECKED, flag);
    EXPECT_EQ(BST_CHECKED, radioB);
    EXPECT_EQ(2, combo);
    EXPECT_EQ(1, list);
    // Saved back.
    EXPECT_STREQ("beta", dlg.m_strName);
    EXPECT_EQ(42, dlg.m_nCount);
    EXPECT_DOUBLE_EQ(-150.0, dlg.m_dRatio);
    EXPECT_EQ(99999u, dlg.m_nSize);
    EXPECT_EQ(BST_INDETERMINATE, dlg.m_nFlag);
    EXPECT_EQ(2, dlg.m_nRadio);
    EXPECT_EQ(0, dlg.m_nCombo);
    EXPECT_STREQ("two", dlg.m_strListItem);
    // The window and its control binding are gone with the dialog.
    EXPECT_EQ(nullptr, dlg.m_hWnd);
    EXPECT_EQ(nullptr, dlg.m_editName.m_hWnd);
    EXPECT_FALSE(::IsWindow(hWnd));
}

TEST(Dialog, CancelAndCloseBoxKeepTheMembers) {
    for (UINT message : {UINT(WM_COMMAND), UINT(WM_CLOSE)}) {
        CFormDialog dlg;
        CUiScript script({[&]() {
            if (dlg.m_hWnd == nullptr)
                return false;
            ::SetDlgItemTextA(dlg.m_hWnd, IDC_NAME, "changed");
            ::PostMessageA(dlg.m_hWnd, message, message == WM_COMMAND ? IDCANCEL : 0, 0);
            return true;
        }});
        EXPECT_EQ(IDCANCEL, dlg.DoModal()) << message;
        EXPECT_EQ(1, dlg.m_nCancelCalls) << message;
        EXPECT_STREQ("alpha", dlg.m_strName) << message;
    }
}

TEST(Dialog, ValidationFailureWarnsFocusesTheFieldAndKeepsTheDialogOpen) {
    struct Case {
        int nID;
        const char* pszBad;
        const char* pszMessage;
    };
    const Case cases[] = {
        {IDC_COUNT, "abc", "Please enter an integer."},
        {IDC_COUNT, "12x", "Please enter an integer."},
        {IDC_COUNT, "99999999999", "Please enter an integer."},
        {IDC_COUNT, "101", "Please enter an integer between 0 and 100."},
        {IDC_BYTES, "-1", "Please enter a positive integer."},
        {IDC_BYTES, "0", "Please enter an integer between 1 and 99999."},
        {IDC_RATIO, "", "Please enter a number."},
        {IDC_NAME, "eleven char", "Please enter no more than 10 characters."},
    };
    for (const Case& c : cases) {
        CFormDialog dlg;
        HWND hWnd = nullptr;
        std::string message;
        std::vector<int> focusMoves;
        DWORD dwSelection = 0;
        int nOkCalls = 0;
        CUiScript script({[&]() {
                              if (dlg.m_hWnd == nullptr)
                                  return false;
                              hWnd = dlg.m_hWnd;
                              // Set through the edit message: DDV_MaxChars limited the typing.
                              ::SendDlgItemMessageA(hWnd, c.nID, WM_SETTEXT, 0,
                                                    reinterpret_cast<LPARAM>(c.pszBad));
                              ::SetDlgItemTextA(hWnd, IDC_AFTER, "not saved");
                              ::PostMessageA(hWnd, WM_COMMAND, IDOK, 0);
                              return true;
                          },
                          CloseMessageBox(hWnd, message),
                          [&]() {
                              // Wait until the message box has gone and OnOK returned.
                              if (FindThreadDialog(hWnd, true) != nullptr)
                                  return false;
                              focusMoves = dlg.m_focusMoves;
                              dwSelection =
                                  (DWORD)::SendDlgItemMessageA(hWnd, c.nID, EM_GETSEL, 0, 0);
                              ++nOkCalls;
                              ::PostMessageA(hWnd, WM_COMMAND, IDCANCEL, 0);
                              return true;
                          }});
        EXPECT_EQ(IDCANCEL, dlg.DoModal()) << c.pszBad;
        EXPECT_TRUE(script.Finished()) << c.pszBad;
        EXPECT_EQ(c.pszMessage, message) << c.pszBad;
        EXPECT_EQ(std::vector<int>{c.nID}, focusMoves) << c.pszBad;
        EXPECT_EQ(MAKELONG(0, lstrlenA(c.pszBad)), (LONG)dwSelection) << c.pszBad;
        // The members after the failing one were not touched.
        EXPECT_STREQ("after", dlg.m_strAfter) << c.pszBad;
        EXPECT_EQ(1, nOkCalls);
    }
}

TEST(Dialog, ModelessDialogExchangesBothWaysAndUnbindsOnDestroy) {
    CFormDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_FORM));
    ASSERT_NE(nullptr, dlg.m_hWnd);
    EXPECT_EQ(&dlg, CWnd::FromHandlePermanent(dlg.m_hWnd));
    EXPECT_EQ(1, dlg.m_nInitCalls);
    // DDX_Control bound the edit object to the template's control.
    EXPECT_EQ(::GetDlgItem(dlg.m_hWnd, IDC_NAME), dlg.m_editName.m_hWnd);
    EXPECT_EQ(&dlg.m_editName, CWnd::FromHandlePermanent(dlg.m_editName.m_hWnd));
    // DDV_MaxChars limited the edit while loading.
    EXPECT_EQ(10, dlg.m_editName.GetLimitText());

    dlg.m_dRatio = -7.5;
    dlg.m_nRadio = -1;
    dlg.m_nCombo = -1;
    dlg.m_strListItem = "T"; // a prefix, case-insensitive
    ASSERT_TRUE(dlg.UpdateData(FALSE));
    EXPECT_EQ("-7.5", ItemText(dlg.m_hWnd, IDC_RATIO));
    for (int nID : {IDC_RADIO_A, IDC_RADIO_B, IDC_RADIO_C})
        EXPECT_EQ(BST_UNCHECKED, ::SendDlgItemMessageA(dlg.m_hWnd, nID, BM_GETCHECK, 0, 0));
    EXPECT_EQ(CB_ERR, dlg.SendDlgItemMessage(IDC_COMBO, CB_GETCURSEL));
    EXPECT_EQ(2, dlg.SendDlgItemMessage(IDC_LIST, LB_GETCURSEL));

    dlg.m_strListItem = "none of them";
    ASSERT_TRUE(dlg.UpdateData(FALSE));
    EXPECT_EQ(LB_ERR, dlg.SendDlgItemMessage(IDC_LIST, LB_GETCURSEL));
    ASSERT_TRUE(dlg.UpdateData(TRUE));
    EXPECT_EQ(-1, dlg.m_nRadio);
    EXPECT_STREQ("", dlg.m_strListItem);

    // EndDialog hides a modeless dialog; the window stays until destroyed.
    HWND hWnd = dlg.m_hWnd;
    dlg.ShowWindow(SW_SHOW);
    dlg.EndDialog(IDOK);
    EXPECT_FALSE(::IsWindowVisible(hWnd));
    EXPECT_TRUE(::IsWindow(hWnd));
    EXPECT_TRUE(dlg.DestroyWindow());
    EXPECT_EQ(nullptr, dlg.m_hWnd);
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hWnd));
}

// The other exchange forms of combo and list boxes, on the same template.
class CSelectionDialog : public CFormDialog {
public:
    void DoDataExchange(CDataExchange* pDX) override {
        DDX_CBString(pDX, IDC_COMBO, m_strCombo);
        DDX_LBIndex(pDX, IDC_LIST, m_nList);
    }
    CString m_strCombo = "O"; // a prefix, case-insensitive
    int m_nList = 2;
};

TEST(Dialog, ComboTextAndListIndexExchange) {
    CSelectionDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_FORM));
    EXPECT_EQ(1, dlg.SendDlgItemMessage(IDC_COMBO, CB_GETCURSEL));
    EXPECT_EQ(2, dlg.SendDlgItemMessage(IDC_LIST, LB_GETCURSEL));
    dlg.SendDlgItemMessage(IDC_COMBO, CB_SETCURSEL, 2);
    dlg.SendDlgItemMessage(IDC_LIST, LB_SETCURSEL, (WPARAM)-1);
    ASSERT_TRUE(dlg.UpdateData(TRUE));
    EXPECT_STREQ("two", dlg.m_strCombo);
    EXPECT_EQ(-1, dlg.m_nList);
    // A drop-down list without a match keeps no stale selection text.
    dlg.SendDlgItemMessage(IDC_COMBO, CB_SETCURSEL, (WPARAM)-1);
    ASSERT_TRUE(dlg.UpdateData(TRUE));
    EXPECT_STREQ("", dlg.m_strCombo);
    dlg.DestroyWindow();
}

TEST(Dialog, ChildDialogIsCreatedInsideItsParent) {
    CFormDialog parent;
    ASSERT_TRUE(parent.Create(IDD_FORM));
    CDialog child(IDD_CHILD);
    ASSERT_TRUE(child.Create(IDD_CHILD, &parent));
    EXPECT_EQ(parent.m_hWnd, ::GetParent(child.m_hWnd));
    EXPECT_TRUE(child.GetStyle() & WS_CHILD);
    parent.DestroyWindow();
    // The child went with its parent and let go of its object.
    EXPECT_EQ(nullptr, child.m_hWnd);
}

TEST(Dialog, MissingTemplateFailsCleanly) {
    CDialog modal(4242);
    EXPECT_EQ(-1, modal.DoModal());
    CDialog modeless;
    EXPECT_FALSE(modeless.Create(4242));
    EXPECT_FALSE(modeless.Create("NO_SUCH_TEMPLATE"));
    EXPECT_EQ(nullptr, modeless.m_hWnd);
}

TEST(Dialog, EndDialogDuringInitEndsBeforeTheLoop) {
    CFormDialog dlg;
    dlg.m_onInit = [](CFormDialog& d) { d.EndDialog(77); };
    EXPECT_EQ(77, dlg.DoModal());
    EXPECT_EQ(nullptr, dlg.m_hWnd);
}

TEST(Dialog, ExceptionFromInitDialogEndsTheDialogWithMinusOne) {
    CFormDialog dlg;
    dlg.m_onInit = [](CFormDialog&) { AfxThrowUserException(); };
    EXPECT_EQ(-1, dlg.DoModal());
    EXPECT_EQ(nullptr, dlg.m_hWnd);
}

TEST(Dialog, FocusDefaultButtonAndDialogUnits) {
    CFormDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_FORM));
    dlg.ShowWindow(SW_SHOW);
    ::SetForegroundWindow(dlg.m_hWnd);

    CWnd* pCount = dlg.GetDlgItem(IDC_COUNT);
    dlg.m_focusMoves.clear();
    dlg.GotoDlgCtrl(pCount);
    dlg.NextDlgCtrl();
    dlg.PrevDlgCtrl();
    dlg.GotoDlgCtrl(nullptr); // nothing to go to: no message
    EXPECT_EQ((std::vector<int>{IDC_COUNT, -2, -1}), dlg.m_focusMoves);

    EXPECT_EQ((DWORD)MAKELONG(IDOK, DC_HASDEFID), dlg.GetDefID());
    dlg.SetDefID(IDCANCEL);
    EXPECT_EQ((DWORD)MAKELONG(IDCANCEL, DC_HASDEFID), dlg.GetDefID());

    // Dialog units scale by the font: 4 horizontal units are one average
    // character.
    RECT rc = {0, 0, 40, 80};
    dlg.MapDialogRect(&rc);
    RECT rcTwice = {0, 0, 80, 160};
    dlg.MapDialogRect(&rcTwice);
    EXPECT_GT(rc.right, 0);
    EXPECT_GT(rc.bottom, 0);
    EXPECT_NEAR(2 * rc.right, rcTwice.right, 1);
    EXPECT_NEAR(2 * rc.bottom, rcTwice.bottom, 1);
    dlg.DestroyWindow();
}

TEST(Dialog, PreTranslateMessageGivesTheDialogItsKeyboard) {
    CFormDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_FORM));
    dlg.ShowWindow(SW_SHOW);
    HWND hEdit = ::GetDlgItem(dlg.m_hWnd, IDC_NAME);
    ::SetFocus(hEdit);

    // Escape in a control becomes the dialog's Cancel.
    MSG msg = {hEdit, WM_KEYDOWN, VK_ESCAPE, 0, 0, {0, 0}};
    EXPECT_TRUE(dlg.PreTranslateMessage(&msg));
    EXPECT_EQ(1, dlg.m_nCancelCalls);

    // A message for a window outside the dialog is left alone.
    CFormDialog other;
    ASSERT_TRUE(other.Create(IDD_FORM));
    MSG foreign = {::GetDlgItem(other.m_hWnd, IDC_NAME), WM_KEYDOWN, VK_ESCAPE, 0, 0, {0, 0}};
    EXPECT_FALSE(dlg.PreTranslateMessage(&foreign));
    EXPECT_EQ(1, dlg.m_nCancelCalls);
    other.DestroyWindow();
    dlg.DestroyWindow();
}

} // namespace
