// Tests of CCmdTarget's message maps and command dispatch, and of CCmdUI on menus
// and in DoUpdate.
#include "native/gtest.h"

#include "framework/CmdTarget.h"
#include "framework/CmdUI.h"
#include "framework/Menu.h"

#include <windows.h>

#include <string>

namespace {

const UINT ID_BASE_ONLY = 0x8100;
const UINT ID_OVERRIDDEN = 0x8101;
const UINT ID_EX_DECLINES = 0x8102;
const UINT ID_RANGE_FIRST = 0x8110;
const UINT ID_RANGE_LAST = 0x8114;
const UINT ID_UPDATE_CONTINUES = 0x8120;
const UINT IDC_EDIT = 1001;
const UINT IDC_LIST_FIRST = 1010;
const UINT IDC_LIST_LAST = 1012;

std::string g_calls;

class CBaseTarget : public CCmdTarget {
protected:
    afx_msg void OnBaseOnly() { g_calls += "base-only,"; }
    afx_msg void OnOverriddenInBase() { g_calls += "base-overridden,"; }
    DECLARE_MESSAGE_MAP()
};

// clang-format off
BEGIN_MESSAGE_MAP(CBaseTarget, CCmdTarget)
    ON_COMMAND(ID_BASE_ONLY, &CBaseTarget::OnBaseOnly)
    ON_COMMAND(ID_OVERRIDDEN, &CBaseTarget::OnOverriddenInBase)
END_MESSAGE_MAP()
// clang-format on

class CDerivedTarget : public CBaseTarget {
protected:
    afx_msg void OnOverridden() { g_calls += "derived-overridden,"; }
    afx_msg BOOL OnExDeclines(UINT nID) {
        g_calls += "derived-ex-" + std::to_string(nID - ID_EX_DECLINES) + ",";
        return FALSE;
    }
    afx_msg void OnRange(UINT nID) {
        g_calls += "range-" + std::to_string(nID - ID_RANGE_FIRST) + ",";
    }
    afx_msg void OnUpdateContinues(CCmdUI* pCmdUI) {
        g_calls += "update-continues,";
        pCmdUI->ContinueRouting();
    }
    afx_msg void OnEditChange() { g_calls += "edit-change,"; }
    afx_msg void OnListNotify(UINT nID, NMHDR* pNMHDR, LRESULT* pResult) {
        g_calls += "list-" + std::to_string(nID - IDC_LIST_FIRST) + "-" +
                   std::to_string(static_cast<int>(pNMHDR->code)) + ",";
        *pResult = 9;
    }
    DECLARE_MESSAGE_MAP()
};

// clang-format off
BEGIN_MESSAGE_MAP(CDerivedTarget, CBaseTarget)
    ON_EN_CHANGE(IDC_EDIT, &CDerivedTarget::OnEditChange)
    ON_NOTIFY_RANGE(NM_DBLCLK, IDC_LIST_FIRST, IDC_LIST_LAST, &CDerivedTarget::OnListNotify)
    ON_COMMAND(ID_OVERRIDDEN, &CDerivedTarget::OnOverridden)
    ON_COMMAND_EX(ID_EX_DECLINES, &CDerivedTarget::OnExDeclines)
    ON_COMMAND_RANGE(ID_RANGE_FIRST, ID_RANGE_LAST, &CDerivedTarget::OnRange)
    ON_UPDATE_COMMAND_UI(ID_UPDATE_CONTINUES, &CDerivedTarget::OnUpdateContinues)
END_MESSAGE_MAP()
// clang-format on

TEST(CmdTargetMap, LookupTable) {
    struct SCase {
        const char* name;
        UINT nID;
        int nCode;
        BOOL bHandled;
        const char* calls;
    };
    const SCase cases[] = {
        {"base entry reached through the chain", ID_BASE_ONLY, CN_COMMAND, TRUE, "base-only,"},
        {"derived entry hides the base's", ID_OVERRIDDEN, CN_COMMAND, TRUE, "derived-overridden,"},
        {"extended handler declines", ID_EX_DECLINES, CN_COMMAND, FALSE, "derived-ex-0,"},
        {"range, first", ID_RANGE_FIRST, CN_COMMAND, TRUE, "range-0,"},
        {"range, last", ID_RANGE_LAST, CN_COMMAND, TRUE, "range-4,"},
        {"range, one past", ID_RANGE_LAST + 1, CN_COMMAND, FALSE, ""},
        {"control notification", IDC_EDIT, EN_CHANGE, TRUE, "edit-change,"},
        {"other code of that control", IDC_EDIT, EN_UPDATE, FALSE, ""},
        {"a command with the control's id", IDC_EDIT, CN_COMMAND, FALSE, ""},
        {"update handler continuing the routing", ID_UPDATE_CONTINUES,
         static_cast<int>(CN_UPDATE_COMMAND_UI), FALSE, "update-continues,"},
        {"update without an update handler", ID_BASE_ONLY, static_cast<int>(CN_UPDATE_COMMAND_UI),
         FALSE, ""},
    };
    CDerivedTarget target;
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.name);
        g_calls.clear();
        CCmdUI state;
        state.m_nID = c.nID;
        EXPECT_EQ(c.bHandled, target.OnCmdMsg(c.nID, c.nCode, &state, nullptr));
        EXPECT_EQ(c.calls, g_calls);
    }
}

TEST(CmdTargetMap, NotificationsByIdRangeAndCode) {
    CDerivedTarget target;
    struct SCase {
        UINT nID;
        UINT code;
        BOOL bHandled;
        const char* calls;
    };
    const SCase cases[] = {
        {IDC_LIST_FIRST, NM_DBLCLK, TRUE, "list-0--3,"},
        {IDC_LIST_LAST, NM_DBLCLK, TRUE, "list-2--3,"},
        {IDC_LIST_LAST + 1, NM_DBLCLK, FALSE, ""},
        {IDC_LIST_FIRST, NM_CLICK, FALSE, ""},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.nID << " " << static_cast<int>(c.code));
        g_calls.clear();
        NMHDR nmhdr = {nullptr, c.nID, c.code};
        LRESULT lResult = 0;
        AFX_NOTIFY notify = {&lResult, &nmhdr};
        EXPECT_EQ(c.bHandled,
                  target.OnCmdMsg(c.nID, MAKELONG(c.code, WM_NOTIFY), &notify, nullptr));
        EXPECT_EQ(c.calls, g_calls);
        EXPECT_EQ(c.bHandled ? 9 : 0, lResult);
    }
}

TEST(CmdTargetMap, HandlerInfoFindsWithoutCalling) {
    CDerivedTarget target;
    g_calls.clear();
    AFX_CMDHANDLERINFO info = {nullptr, nullptr};
    EXPECT_TRUE(target.OnCmdMsg(ID_OVERRIDDEN, CN_COMMAND, nullptr, &info));
    EXPECT_EQ(&target, info.pTarget);
    ASSERT_NE(nullptr, info.pEntry);
    EXPECT_EQ(ID_OVERRIDDEN, info.pEntry->nID);
    // The extended handler counts as a handler even though it would decline.
    EXPECT_TRUE(target.OnCmdMsg(ID_EX_DECLINES, CN_COMMAND, nullptr, &info));
    EXPECT_FALSE(target.OnCmdMsg(ID_RANGE_LAST + 1, CN_COMMAND, nullptr, &info));
    EXPECT_EQ("", g_calls);
}

// A mix-in over any command target, with its own map chained to its base's.
template <class TBase> class CCountingMixin : public TBase {
public:
    int m_nCount = 0;

protected:
    afx_msg void OnCount() { ++m_nCount; }
    DECLARE_MESSAGE_MAP()
};

// clang-format off
BEGIN_TEMPLATE_MESSAGE_MAP(CCountingMixin, TBase, TBase)
    ON_COMMAND(0x8200, &CCountingMixin::OnCount)
END_MESSAGE_MAP()
// clang-format on

TEST(CmdTargetMap, TemplateMapChainsToItsBase) {
    CCountingMixin<CBaseTarget> target;
    g_calls.clear();
    EXPECT_TRUE(target.OnCmdMsg(0x8200, CN_COMMAND, nullptr, nullptr));
    EXPECT_TRUE(target.OnCmdMsg(ID_BASE_ONLY, CN_COMMAND, nullptr, nullptr));
    EXPECT_EQ(1, target.m_nCount);
    EXPECT_EQ("base-only,", g_calls);
}

// ---------------------------------------------------------------------------
// CCmdUI.

const UINT ID_UPDATE_ENABLES = 0x8300;
const UINT ID_UPDATE_DISABLES = 0x8301;
const UINT ID_UPDATE_CHECKS_ONLY = 0x8302;
const UINT ID_COMMAND_ONLY = 0x8303;
const UINT ID_NOTHING = 0x8304;

class CUpdateTarget : public CCmdTarget {
protected:
    afx_msg void OnUpdateEnables(CCmdUI* pCmdUI) { pCmdUI->Enable(TRUE); }
    afx_msg void OnUpdateDisables(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }
    afx_msg void OnUpdateChecksOnly(CCmdUI* pCmdUI) { pCmdUI->SetCheck(1); }
    afx_msg void OnCommand() {}
    DECLARE_MESSAGE_MAP()
};

// clang-format off
BEGIN_MESSAGE_MAP(CUpdateTarget, CCmdTarget)
    ON_UPDATE_COMMAND_UI(ID_UPDATE_ENABLES, &CUpdateTarget::OnUpdateEnables)
    ON_UPDATE_COMMAND_UI(ID_UPDATE_DISABLES, &CUpdateTarget::OnUpdateDisables)
    ON_UPDATE_COMMAND_UI(ID_UPDATE_CHECKS_ONLY, &CUpdateTarget::OnUpdateChecksOnly)
    ON_COMMAND(ID_UPDATE_CHECKS_ONLY, &CUpdateTarget::OnCommand)
    ON_COMMAND(ID_COMMAND_ONLY, &CUpdateTarget::OnCommand)
END_MESSAGE_MAP()
// clang-format on

// Records what the handlers and DoUpdate asked for.
class CRecordingCmdUI : public CCmdUI {
public:
    std::string m_log;
    void Enable(BOOL bOn) override {
        m_log += bOn ? "enable," : "disable,";
        CCmdUI::Enable(bOn);
    }
    void SetCheck(int nCheck) override { m_log += "check" + std::to_string(nCheck) + ","; }
};

TEST(CmdUI, DoUpdateTable) {
    struct SCase {
        UINT nID;
        BOOL bDisableIfNoHndler;
        BOOL bResult;
        const char* log;
    };
    const SCase cases[] = {
        {ID_UPDATE_ENABLES, TRUE, TRUE, "enable,"},
        {ID_UPDATE_DISABLES, TRUE, TRUE, "disable,"},
        // The handler left the enable alone: the command handler's existence decides.
        {ID_UPDATE_CHECKS_ONLY, TRUE, TRUE, "check1,enable,"},
        {ID_COMMAND_ONLY, TRUE, FALSE, "enable,"},
        {ID_NOTHING, TRUE, FALSE, "disable,"},
        {ID_NOTHING, FALSE, FALSE, ""},
        // System commands are the system's to enable.
        {SC_CLOSE, TRUE, FALSE, ""},
        // Separators and static controls carry no command.
        {0, TRUE, TRUE, ""},
        {0xFFFF, TRUE, TRUE, ""},
    };
    CUpdateTarget target;
    for (const SCase& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.nID << " " << c.bDisableIfNoHndler);
        CRecordingCmdUI state;
        state.m_nID = c.nID;
        EXPECT_EQ(c.bResult, state.DoUpdate(&target, c.bDisableIfNoHndler));
        EXPECT_EQ(c.log, state.m_log);
    }
    CRecordingCmdUI orphan;
    orphan.m_nID = ID_NOTHING;
    EXPECT_FALSE(orphan.DoUpdate(nullptr, TRUE));
}

TEST(CmdUI, MenuItemsByPosition) {
    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    ASSERT_TRUE(menu.AppendMenu(MF_STRING, 0x8400, "First"));
    ASSERT_TRUE(menu.AppendMenu(MF_STRING, 0x8401, "Second"));
    CMenu sub;
    ASSERT_TRUE(sub.CreatePopupMenu());
    ASSERT_TRUE(sub.AppendMenu(MF_STRING, 0x8402, "Inner"));
    HMENU hSub = sub.Detach();
    ASSERT_TRUE(menu.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(hSub), "Sub"));

    CCmdUI state;
    state.m_pMenu = &menu;
    state.m_nIndex = 1;
    state.m_nID = 0x8401;
    state.Enable(FALSE);
    state.SetCheck(1);
    EXPECT_EQ(static_cast<UINT>(MF_GRAYED | MF_CHECKED),
              menu.GetMenuState(1, MF_BYPOSITION) & (MF_GRAYED | MF_CHECKED));
    // New text, same state.
    state.SetText("Renamed");
    CString strText;
    menu.GetMenuString(1, strText, MF_BYPOSITION);
    EXPECT_STREQ("Renamed", strText);
    EXPECT_EQ(static_cast<UINT>(MF_GRAYED | MF_CHECKED),
              menu.GetMenuState(1, MF_BYPOSITION) & (MF_GRAYED | MF_CHECKED));
    EXPECT_EQ(0x8401u, menu.GetMenuItemID(1));

    state.SetRadio(TRUE);
    MENUITEMINFOA mii = {};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_FTYPE | MIIM_STATE;
    ASSERT_TRUE(menu.GetMenuItemInfo(1, &mii, TRUE));
    EXPECT_TRUE(mii.fType & MFT_RADIOCHECK);
    EXPECT_TRUE(mii.fState & MFS_CHECKED);
    state.SetCheck(0);
    EXPECT_EQ(0u, menu.GetMenuState(1, MF_BYPOSITION) & MF_CHECKED);

    // An item that opens a submenu is left alone.
    state.m_nIndex = 2;
    state.m_pSubMenu = menu.GetSubMenu(2);
    state.Enable(FALSE);
    EXPECT_EQ(0u, menu.GetMenuState(2, MF_BYPOSITION) & MF_GRAYED);
}

} // namespace
