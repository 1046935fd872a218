// Tests of Menu.h: menus built, changed and read back; ownership; popup tracking.
#include "native/gtest.h"
#include "tests/support/Misuse.h"

#include "framework/AfxResource.h"
#include "framework/AfxString.h"
#include "framework/HandleMap.h"
#include "framework/Menu.h"
#include "framework/Wnd.h"

#include <string>
#include <vector>

namespace {

// One item as read back: id (or -1 for a submenu), text, the MF_ state bits that
// matter here.
struct SItem {
    UINT id;
    std::string text;
    UINT state;
    bool operator==(const SItem& o) const {
        return id == o.id && text == o.text && state == o.state;
    }
};

std::ostream& operator<<(std::ostream& os, const SItem& item) {
    return os << "{" << static_cast<int>(item.id) << ", \"" << item.text << "\", 0x" << std::hex
              << item.state << std::dec << "}";
}

const UINT kStateBits = MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_SEPARATOR | MF_POPUP;

std::vector<SItem> Items(const CMenu& menu) {
    std::vector<SItem> items;
    for (int i = 0; i < menu.GetMenuItemCount(); ++i) {
        CString text;
        menu.GetMenuString(i, text, MF_BYPOSITION);
        UINT state = menu.GetMenuState(i, MF_BYPOSITION);
        // The platform reports separators greyed as well.
        state &= (state & MF_SEPARATOR) != 0 ? MF_SEPARATOR : kStateBits;
        items.push_back({menu.GetMenuItemID(i), static_cast<LPCSTR>(text), state});
    }
    return items;
}

// A menu class of its own, as the toolkit's bitmap menus are.
class COwnMenu : public CMenu {
    DECLARE_DYNAMIC(COwnMenu)
};
IMPLEMENT_DYNAMIC(COwnMenu, CMenu)

class MenuTest : public ::testing::Test {
protected:
    void TearDown() override { AfxDeleteTempGdiObjects(); }
};

} // namespace

// ---- building and reading -------------------------------------------------------

TEST_F(MenuTest, LoadedMenuReadsBackItsStructure) {
    CMenu bar;
    ASSERT_TRUE(bar.LoadMenu(200));
    EXPECT_EQ((std::vector<SItem>{{UINT(-1), "&File", MF_POPUP}, {UINT(-1), "&View", MF_POPUP}}),
              Items(bar));
    CMenu* pFile = bar.GetSubMenu(0);
    ASSERT_NE(nullptr, pFile);
    EXPECT_EQ((std::vector<SItem>{
                  {101, "&Open...\tCtrl+O", 0}, {0, "", MF_SEPARATOR}, {102, "E&xit", MF_GRAYED}}),
              Items(*pFile));
    // By command, a state is found in the submenus too.
    EXPECT_EQ(static_cast<UINT>(MF_CHECKED), bar.GetMenuState(201, MF_BYCOMMAND) & MF_CHECKED);
    CMenu* pQuarrit = bar.GetSubMenu(1)->GetSubMenu(1);
    ASSERT_NE(nullptr, pQuarrit);
    EXPECT_EQ(301u, pQuarrit->GetMenuItemID(0));
    EXPECT_EQ(nullptr, bar.GetSubMenu(5));
    EXPECT_EQ(nullptr, pFile->GetSubMenu(0)); // a command, not a submenu

    CMenu missing;
    EXPECT_FALSE(missing.LoadMenu(999));
    EXPECT_FALSE(missing.LoadMenu(static_cast<LPCTSTR>(nullptr)));
    AfxSetResourceHandle(::GetModuleHandle("user32.dll"));
    EXPECT_FALSE(missing.LoadMenu(200)); // loading follows the resource handle
    AfxSetResourceHandle(nullptr);
    EXPECT_EQ(nullptr, missing.m_hMenu);
}

TEST_F(MenuTest, AppendInsertModifyAndRemoveItems) {
    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    CMenu sub;
    ASSERT_TRUE(sub.CreatePopupMenu());
    ASSERT_TRUE(sub.AppendMenu(MF_STRING, 31, "Deep"));
    EXPECT_TRUE(menu.AppendMenu(MF_STRING, 10, "Play\tCtrl+P"));
    EXPECT_TRUE(menu.AppendMenu(MF_SEPARATOR));
    EXPECT_TRUE(menu.AppendMenu(MF_STRING | MF_GRAYED, 12, "Trim"));
    EXPECT_TRUE(menu.InsertMenu(0, MF_BYPOSITION | MF_STRING | MF_CHECKED, 9, "Copy"));
    EXPECT_TRUE(menu.InsertMenu(12, MF_BYCOMMAND | MF_STRING, 11, "Paste"));
    EXPECT_TRUE(menu.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(sub.Detach()), "More"));
    EXPECT_TRUE(menu.ModifyMenu(10, MF_BYCOMMAND | MF_STRING, 20, "Play now"));
    EXPECT_EQ((std::vector<SItem>{{9, "Copy", MF_CHECKED},
                                  {20, "Play now", 0},
                                  {0, "", MF_SEPARATOR},
                                  {11, "Paste", 0},
                                  {12, "Trim", MF_GRAYED},
                                  {UINT(-1), "More", MF_POPUP}}),
              Items(menu));

    HMENU hSub = menu.GetSubMenu(5)->m_hMenu;
    EXPECT_TRUE(menu.RemoveMenu(5, MF_BYPOSITION)); // a removed submenu survives
    EXPECT_TRUE(::IsMenu(hSub));
    EXPECT_TRUE(menu.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(hSub), "More"));
    EXPECT_TRUE(menu.DeleteMenu(5, MF_BYPOSITION)); // a deleted one does not
    EXPECT_FALSE(::IsMenu(hSub));
    EXPECT_TRUE(menu.DeleteMenu(2, MF_BYPOSITION));
    EXPECT_FALSE(menu.DeleteMenu(99, MF_BYCOMMAND));
    EXPECT_FALSE(menu.ModifyMenu(99, MF_BYCOMMAND | MF_STRING, 1, "x"));
    EXPECT_EQ(4, menu.GetMenuItemCount());

    char buffer[5];
    EXPECT_EQ(4, menu.GetMenuString(20, buffer, sizeof(buffer), MF_BYCOMMAND));
    EXPECT_STREQ("Play", buffer); // cut to the buffer
    CString text("stale");
    EXPECT_EQ(0, menu.GetMenuString(99, text, MF_BYCOMMAND));
    EXPECT_TRUE(text.IsEmpty());
}

TEST_F(MenuTest, EnableCheckAndRadioAnswerThePreviousState) {
    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    for (UINT id = 1; id <= 3; ++id)
        menu.AppendMenu(MF_STRING, id, "Item");
    EXPECT_EQ(static_cast<UINT>(MF_ENABLED), menu.EnableMenuItem(2, MF_BYCOMMAND | MF_GRAYED));
    EXPECT_EQ(static_cast<UINT>(MF_GRAYED), menu.EnableMenuItem(2, MF_BYCOMMAND | MF_ENABLED));
    EXPECT_EQ(static_cast<UINT>(-1), menu.EnableMenuItem(9, MF_BYCOMMAND | MF_GRAYED));
    EXPECT_EQ(static_cast<UINT>(MF_UNCHECKED), menu.CheckMenuItem(1, MF_BYCOMMAND | MF_CHECKED));
    EXPECT_EQ(static_cast<UINT>(MF_CHECKED), menu.CheckMenuItem(1, MF_BYCOMMAND | MF_UNCHECKED));
    EXPECT_EQ(static_cast<UINT>(-1), menu.CheckMenuItem(9, MF_BYCOMMAND | MF_CHECKED));

    menu.CheckMenuItem(1, MF_BYCOMMAND | MF_CHECKED);
    EXPECT_TRUE(menu.CheckMenuRadioItem(1, 3, 3, MF_BYCOMMAND));
    EXPECT_EQ(0u, menu.GetMenuState(1, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_NE(0u, menu.GetMenuState(3, MF_BYCOMMAND) & MF_CHECKED);
    MENUITEMINFO info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE;
    ASSERT_TRUE(menu.GetMenuItemInfo(3, &info));
    EXPECT_NE(0u, info.fType & MFT_RADIOCHECK);
    EXPECT_EQ(static_cast<UINT>(-1), menu.GetMenuState(9, MF_BYCOMMAND));
}

TEST_F(MenuTest, ItemInfoAndTheDefaultItem) {
    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendMenu(MF_STRING, 7, "Seven");
    MENUITEMINFO info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_ID | MIIM_DATA | MIIM_STRING;
    info.wID = 5;
    info.dwItemData = 0x5A5A;
    info.dwTypeData = const_cast<LPSTR>("Five");
    EXPECT_TRUE(menu.InsertMenuItem(0, &info, TRUE));

    MENUITEMINFO read = {};
    read.cbSize = sizeof(read);
    read.fMask = MIIM_ID | MIIM_DATA;
    ASSERT_TRUE(menu.GetMenuItemInfo(5, &read));
    EXPECT_EQ(5u, read.wID);
    EXPECT_EQ(static_cast<ULONG_PTR>(0x5A5A), read.dwItemData);

    // Owner-drawn with item data, as the toolkit converts its popups.
    MENUITEMINFO change = {};
    change.cbSize = sizeof(change);
    change.fMask = MIIM_FTYPE | MIIM_DATA;
    change.fType = MFT_OWNERDRAW;
    change.dwItemData = 0x77;
    EXPECT_TRUE(menu.SetMenuItemInfo(1, &change, TRUE));
    read.fMask = MIIM_FTYPE | MIIM_DATA;
    ASSERT_TRUE(menu.GetMenuItemInfo(7, &read));
    EXPECT_NE(0u, read.fType & MFT_OWNERDRAW);
    EXPECT_EQ(static_cast<ULONG_PTR>(0x77), read.dwItemData);
    EXPECT_FALSE(menu.GetMenuItemInfo(9, &read));
    EXPECT_FALSE(menu.GetMenuItemInfo(7, nullptr));

    EXPECT_EQ(static_cast<UINT>(-1), menu.GetDefaultItem(0));
    EXPECT_TRUE(menu.SetDefaultItem(7));
    EXPECT_EQ(7u, menu.GetDefaultItem(0));
    EXPECT_EQ(1u, menu.GetDefaultItem(0, TRUE));
}

// ---- ownership ------------------------------------------------------------------

TEST_F(MenuTest, AnOwnedMenuIsDestroyedWithItsWrapperAndAViewNever) {
    HMENU hCreated = nullptr;
    HMENU hSubMenu = nullptr;
    {
        CMenu bar;
        ASSERT_TRUE(bar.LoadMenu(200));
        hCreated = bar.m_hMenu;
        EXPECT_EQ(&bar, CMenu::FromHandle(hCreated));
        EXPECT_EQ(&bar, CMenu::FromHandlePermanent(hCreated));
        CMenu* pView = bar.GetSubMenu(0);
        hSubMenu = pView->m_hMenu;
        EXPECT_EQ(nullptr, CMenu::FromHandlePermanent(hSubMenu));
        EXPECT_EQ(pView, CMenu::FromHandle(hSubMenu)); // kept until the clean-up
        AfxDeleteTempGdiObjects();
        EXPECT_TRUE(::IsMenu(hSubMenu));
        EXPECT_MISUSE_REFUSED(bar.CreateMenu()); // would lose the loaded menu
    }
    EXPECT_FALSE(::IsMenu(hCreated));
    EXPECT_FALSE(::IsMenu(hSubMenu)); // destroyed along with its menu

    HMENU hKept = ::CreatePopupMenu();
    {
        CMenu menu;
        ASSERT_TRUE(menu.Attach(hKept));
        EXPECT_EQ(hKept, menu.Detach());
    }
    EXPECT_TRUE(::IsMenu(hKept));
    {
        CMenuHandle view(hKept);
        EXPECT_TRUE(view.AppendMenu(MF_STRING, 1, "One"));
    }
    EXPECT_EQ(1, ::GetMenuItemCount(hKept));
    ::DestroyMenu(hKept);
}

TEST_F(MenuTest, ADerivedMenuTakesOverAPopupHandle) {
    CMenu bar;
    ASSERT_TRUE(bar.LoadMenu(200));
    CMenu* pPopup = bar.GetSubMenu(1);
    ASSERT_NE(nullptr, pPopup);
    EXPECT_FALSE(pPopup->IsKindOf(RUNTIME_CLASS(COwnMenu)));

    COwnMenu* pOwn = new COwnMenu;
    ASSERT_TRUE(pOwn->Attach(pPopup->m_hMenu));
    CMenu* pFound = bar.GetSubMenu(1);
    EXPECT_EQ(pOwn, pFound);
    EXPECT_TRUE(pFound->IsKindOf(RUNTIME_CLASS(COwnMenu)));
    EXPECT_EQ(pOwn, CMenu::FromHandlePermanent(pOwn->m_hMenu));

    // A second owner is refused; the owner lets go before it is deleted, as the
    // popup belongs to the menu bar.
    CMenu thief;
    EXPECT_FALSE(thief.Attach(pOwn->m_hMenu));
    HMENU hPopup = pOwn->Detach();
    delete pOwn;
    EXPECT_TRUE(::IsMenu(hPopup));
    EXPECT_EQ(nullptr, CMenu::FromHandlePermanent(hPopup));
}

TEST_F(MenuTest, DeletingAnItemReleasesTheWrapperOfItsSubmenu) {
    CMenu bar;
    ASSERT_TRUE(bar.LoadMenu(200));
    COwnMenu own;
    ASSERT_TRUE(own.Attach(bar.GetSubMenu(0)->m_hMenu));
    EXPECT_TRUE(bar.DeleteMenu(0, MF_BYPOSITION));
    // The platform destroyed the submenu; its wrapper must not destroy it again.
    EXPECT_EQ(nullptr, own.m_hMenu);
}

TEST_F(MenuTest, DestroyingAMenuReleasesTheWrappersOfNestedSubmenus) {
    COwnMenu nested;
    {
        CMenu bar;
        ASSERT_TRUE(bar.LoadMenu(200));
        ASSERT_TRUE(nested.Attach(bar.GetSubMenu(1)->GetSubMenu(1)->m_hMenu));
    }
    EXPECT_EQ(nullptr, nested.m_hMenu);
    EXPECT_FALSE(nested.DestroyMenu());
}

TEST_F(MenuTest, AnEmptyWrapperAndBadHandlesFailCleanly) {
    CMenu menu;
    EXPECT_EQ(-1, menu.GetMenuItemCount());
    EXPECT_EQ(static_cast<UINT>(-1), menu.GetMenuItemID(0));
    EXPECT_EQ(nullptr, menu.GetSubMenu(0));
    EXPECT_FALSE(menu.AppendMenu(MF_STRING, 1, "x"));
    EXPECT_FALSE(menu.DeleteMenu(0, MF_BYPOSITION));
    EXPECT_FALSE(menu.DestroyMenu());
    EXPECT_FALSE(menu.TrackPopupMenu(0, 0, 0, nullptr));
    EXPECT_FALSE(menu.Attach(nullptr));
    EXPECT_FALSE(menu.Attach(reinterpret_cast<HMENU>(static_cast<ULONG_PTR>(0xBAD0))));
    EXPECT_EQ(nullptr, CMenu::FromHandle(reinterpret_cast<HMENU>(static_cast<ULONG_PTR>(0xBAD0))));
    EXPECT_EQ(nullptr, CMenu::FromHandle(nullptr));
}

// ---- tracking -------------------------------------------------------------------

namespace {

HMENU g_hMenuSeenWhileTracking = nullptr;
HWND g_hWindowSeenWhileTracking = nullptr;

LRESULT CALLBACK TrackingOwnerProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITMENUPOPUP) {
        g_hMenuSeenWhileTracking = CMenu::GetTrackingMenu();
        g_hWindowSeenWhileTracking = CMenu::GetTrackingWindow();
    }
    return ::DefWindowProc(hWnd, message, wParam, lParam);
}

} // namespace

TEST_F(MenuTest, TrackPopupMenuReturnsTheChosenCommandAndRecordsTheTracking) {
    WNDCLASS wc = {};
    wc.lpfnWndProc = &TrackingOwnerProc;
    wc.hInstance = ::GetModuleHandle(nullptr);
    wc.lpszClassName = "ZmMenuTestOwner";
    ::RegisterClass(&wc);
    HWND hOwner = ::CreateWindow("ZmMenuTestOwner", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200,
                                 200, nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(nullptr, hOwner);
    ::SetForegroundWindow(hOwner);
    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendMenu(MF_STRING, 41, "First");
    menu.AppendMenu(MF_STRING, 42, "Second");
    CWnd* pOwner = CWnd::FromHandle(hOwner);

    // The keys wait in the queue and reach the menu's modal loop.
    ::PostMessage(hOwner, WM_KEYDOWN, VK_DOWN, 0);
    ::PostMessage(hOwner, WM_KEYDOWN, VK_DOWN, 0);
    ::PostMessage(hOwner, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(42, menu.TrackPopupMenu(TPM_RETURNCMD | TPM_LEFTALIGN, 10, 10, pOwner));
    EXPECT_EQ(menu.m_hMenu, g_hMenuSeenWhileTracking);
    EXPECT_EQ(hOwner, g_hWindowSeenWhileTracking);
    EXPECT_EQ(nullptr, CMenu::GetTrackingMenu());

    ::PostMessage(hOwner, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(0, menu.TrackPopupMenu(TPM_RETURNCMD, 10, 10, pOwner));

    EXPECT_FALSE(menu.TrackPopupMenu(TPM_RETURNCMD, 10, 10, nullptr));
    ::DestroyWindow(hOwner);
}
