// Tests of COXBitmapMenuOrganizer: the conversion of popups into owner-drawn
// bitmap menus and back, shortened menus with their show-all entry, mnemonics,
// images from icons and toolbars, the record of rarely used submenus in the
// profile (and what damaged profile data does), the popup trace of a chosen
// command, the frame's system commands, and a converted popup on the screen.
#include "native/gtest.h"

#include "toolkit/OXBitmapMenu.h"
#include "toolkit/OXBitmapMenuOrganizer.h"
#include "toolkit/OXSkinnedApp.h"

#include "Common/TraceLog.h"

#include "framework/Archive.h"
#include "framework/File.h"
#include "framework/FrameWnd.h"
#include "framework/ToolBar.h"

#include "tests/support/Canvas.h"
#include "tests/support/SyntheticInput.h"
#include "tests/support/TempFolder.h"
#include "tests/support/UiScript.h"

#include <commctrl.h>

#include <string>
#include <vector>

namespace {

COXSkinnedApp theApp("OrganizerTest");

const UINT kShowAll = ID_OX_SHOWALLITEMS;
const UINT kSubmenuKey = 0xFFFFFFFF;

// The organizer's tables, opened up for the checks.
class CTestOrganizer : public COXBitmapMenuOrganizer {
public:
    using COXBitmapMenuOrganizer::m_arrCreatedMenus;
    using COXBitmapMenuOrganizer::m_arrPopupTrace;
    using COXBitmapMenuOrganizer::m_listBitmapMenus;
    using COXBitmapMenuOrganizer::m_mapHiddenSubmenus;
    using COXBitmapMenuOrganizer::m_mapImageInfos;
    using COXBitmapMenuOrganizer::m_mapImageLists;
    using COXBitmapMenuOrganizer::m_pPendingMenu;

    COXImageInfo* Record(UINT nKey) const {
        COXImageInfo* pInfo = nullptr;
        return m_mapImageInfos.Lookup(nKey, pInfo) ? pInfo : nullptr;
    }
    CImageList* List(const CString& strKey) const {
        CImageList* pList = nullptr;
        return m_mapImageLists.Lookup(strKey, pList) ? pList : nullptr;
    }
    // Keys of the image-list table that start and end with these characters.
    int CountKeys(char chFirst, char chLast) const {
        int nCount = 0;
        POSITION pos = m_mapImageLists.GetStartPosition();
        while (pos != nullptr) {
            CString strKey;
            CImageList* pList = nullptr;
            m_mapImageLists.GetNextAssoc(pos, strKey, pList);
            if (strKey.GetLength() > 1 && strKey[0] == chFirst &&
                strKey[strKey.GetLength() - 1] == chLast)
                ++nCount;
        }
        return nCount;
    }
    COXBitmapMenu* BitmapMenuOf(HMENU hMenu) const {
        POSITION pos = m_listBitmapMenus.GetHeadPosition();
        while (pos != nullptr) {
            COXBitmapMenu* pMenu = m_listBitmapMenus.GetNext(pos);
            if (pMenu->GetSafeHmenu() == hMenu)
                return pMenu;
        }
        return nullptr;
    }
};

// A frame that counts the organizer's change notices.
class CCountingFrame : public CFrameWnd {
public:
    int m_nStateChanged = 0;

protected:
    LRESULT OnMenuStateChanged(WPARAM, LPARAM) {
        ++m_nStateChanged;
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CCountingFrame, CFrameWnd)
ON_MESSAGE(WM_OX_MENUSTATECHANGED, &CCountingFrame::OnMenuStateChanged)
END_MESSAGE_MAP()

// One item of a menu to build: a separator (id 0, no text), a command, or a
// submenu (hSub set).
struct ItemSpec {
    UINT nID;
    const char* pszText;
    HMENU hSub;
};

HMENU MakePopup(const std::vector<ItemSpec>& items) {
    HMENU hMenu = ::CreatePopupMenu();
    for (const ItemSpec& item : items) {
        if (item.hSub != nullptr)
            ::AppendMenuA(hMenu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(item.hSub),
                          item.pszText);
        else if (item.nID == 0)
            ::AppendMenuA(hMenu, MF_SEPARATOR, 0, nullptr);
        else
            ::AppendMenuA(hMenu, MF_STRING, item.nID, item.pszText);
    }
    return hMenu;
}

// An item as the platform holds it; the text of an owner-drawn item is its record's.
struct ItemView {
    UINT nID;
    bool bOwnerDraw;
    bool bSeparator;
    ULONG_PTR nData;
    HMENU hSub;
    std::string text;
};

std::vector<ItemView> ReadMenu(HMENU hMenu) {
    std::vector<ItemView> items;
    for (int i = 0; i < ::GetMenuItemCount(hMenu); ++i) {
        MENUITEMINFOA info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_DATA | MIIM_SUBMENU;
        ::GetMenuItemInfoA(hMenu, static_cast<UINT>(i), TRUE, &info);
        ItemView view{info.wID,
                      (info.fType & MFT_OWNERDRAW) != 0,
                      (info.fType & MFT_SEPARATOR) != 0,
                      info.dwItemData,
                      info.hSubMenu,
                      ""};
        if (view.bOwnerDraw && view.nData != 0) {
            view.text = reinterpret_cast<COXItemInfo*>(view.nData)->GetText().GetString();
        } else {
            char text[256] = "";
            ::GetMenuStringA(hMenu, static_cast<UINT>(i), text, sizeof(text), MF_BYPOSITION);
            view.text = text;
        }
        items.push_back(view);
    }
    return items;
}

// Ids of the items in order; a submenu shows as its first item's id plus 10000.
std::vector<UINT> IdsOf(HMENU hMenu) {
    std::vector<UINT> ids;
    for (const ItemView& item : ReadMenu(hMenu))
        ids.push_back(item.hSub != nullptr ? 10000 + ::GetMenuItemID(item.hSub, 0) : item.nID);
    return ids;
}

HICON MakeIcon(COLORREF color) {
    CCanvas canvas(16, 16, color);
    canvas.Release();
    CCanvas mask(16, 16, RGB(0, 0, 0));
    mask.Release();
    ICONINFO info = {TRUE, 0, 0, static_cast<HBITMAP>(mask.bitmap.GetSafeHandle()),
                     static_cast<HBITMAP>(canvas.bitmap.GetSafeHandle())};
    return ::CreateIconIndirect(&info);
}

class OrganizerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(theApp.SetCurrentSkin("Office 2003"));
        theApp.SetRegistryKey("BrennixOrganizerTest");
        m_pFrame = new CCountingFrame;
        ASSERT_TRUE(m_pFrame->Create(nullptr, "Organizer", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                     CRect(40, 40, 640, 480)));
        m_hFrame = m_pFrame->GetSafeHwnd();
        // Commands nobody handles stay enabled, so the popups show as built.
        m_pFrame->m_bAutoMenuEnable = FALSE;
        theApp.m_pMainWnd = m_pFrame;
        m_pOrganizer = new CTestOrganizer;
        ASSERT_TRUE(m_pOrganizer->AttachFrameWnd(m_pFrame));
    }
    void TearDown() override {
        delete m_pOrganizer;
        if (::IsWindow(m_hFrame))
            m_pFrame->DestroyWindow();
        theApp.m_pMainWnd = nullptr;
        for (HMENU hMenu : m_menus)
            ::DestroyMenu(hMenu);
        for (HICON hIcon : m_icons)
            ::DestroyIcon(hIcon);
    }

    // The menu outlives the organizer; the fixture destroys it.
    HMENU Keep(HMENU hMenu) {
        m_menus.push_back(hMenu);
        return hMenu;
    }
    HICON Icon(COLORREF color) {
        m_icons.push_back(MakeIcon(color));
        return m_icons.back();
    }
    // What the frame's procedure does when the popup opens.
    void InitPopup(HMENU hMenu, UINT nIndex = 0) {
        m_pFrame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(hMenu),
                              MAKELPARAM(nIndex, FALSE));
    }
    COXBitmapMenu* Converted(HMENU hMenu) { return m_pOrganizer->BitmapMenuOf(hMenu); }

    CCountingFrame* m_pFrame = nullptr; // deletes itself with its window
    HWND m_hFrame = nullptr;
    CTestOrganizer* m_pOrganizer = nullptr;
    std::vector<HMENU> m_menus;
    std::vector<HICON> m_icons;
};

} // namespace

// --- Attaching -------------------------------------------------------------------

TEST_F(OrganizerTest, AttachRefusesASecondFrameAndNullAndIsFoundThroughTheMap) {
    EXPECT_EQ(COXBitmapMenuOrganizer::FindOrganizer(m_hFrame), m_pOrganizer);
    EXPECT_FALSE(m_pOrganizer->AttachFrameWnd(m_pFrame));
    CTestOrganizer second;
    EXPECT_FALSE(second.AttachFrameWnd(nullptr));
    // One frame, one organizer: a second one would call itself as the frame's
    // previous procedure.
    EXPECT_FALSE(second.AttachFrameWnd(m_pFrame));
    EXPECT_EQ(COXBitmapMenuOrganizer::FindOrganizer(m_hFrame), m_pOrganizer);
    EXPECT_FALSE(second.AutoSetMenuImage());
    EXPECT_FALSE(second.SetMenuIcon(101, Icon(RGB(255, 0, 0))));
}

// --- Conversion ------------------------------------------------------------------

TEST_F(OrganizerTest, ConversionMakesEveryItemOwnerDrawnWithItsRecord) {
    HICON hIcon = Icon(RGB(200, 0, 0));
    ASSERT_TRUE(m_pOrganizer->SetMenuIcon(101, hIcon));
    HMENU hRecent = MakePopup({{201, "File &1", nullptr}});
    HMENU hPopup = Keep(MakePopup({{101, "&Open\tCtrl+O", nullptr},
                                   {0, nullptr, nullptr},
                                   {102, "Save && E&xit", nullptr},
                                   {0, "&Recent", hRecent}}));
    InitPopup(hPopup);
    ASSERT_NE(Converted(hPopup), nullptr);

    struct Row {
        UINT nKey;
        const char* pszText;
        bool bDefaultImage;
    };
    const Row rows[] = {
        {101, "&Open\tCtrl+O", false},
        {0, "", true},
        {102, "Save && E&xit", true},
        {kSubmenuKey, "&Recent", true},
    };
    const std::vector<ItemView> items = ReadMenu(hPopup);
    ASSERT_EQ(items.size(), std::size(rows));
    for (size_t i = 0; i < items.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_TRUE(items[i].bOwnerDraw);
        ASSERT_NE(items[i].nData, 0u);
        auto* pItemInfo = reinterpret_cast<COXItemInfo*>(items[i].nData);
        EXPECT_EQ(pItemInfo->GetText(), CString(rows[i].pszText));
        COXImageInfo* pRecord = m_pOrganizer->Record(rows[i].nKey);
        ASSERT_NE(pRecord, nullptr);
        EXPECT_EQ(pItemInfo->GetImageInfo(), pRecord);
        EXPECT_EQ(pRecord->IsDefaultImage() != FALSE, rows[i].bDefaultImage);
        EXPECT_EQ(pRecord->GetIndex(), 0);
        EXPECT_EQ(pRecord->GetHotIndex(), -1);
    }
    // Items without an image share the default list, entered once per key.
    for (UINT nKey : {0u, 102u, kSubmenuKey}) {
        CString strKey;
        strKey.Format("\x7F%u\x80", nKey);
        CImageList* pDefault = m_pOrganizer->List(strKey);
        ASSERT_NE(pDefault, nullptr) << nKey;
        EXPECT_EQ(pDefault, m_pOrganizer->Record(nKey)->GetImageList());
        EXPECT_EQ(pDefault->GetImageCount(), 2); // check mark and bullet
    }
    EXPECT_NE(m_pOrganizer->Record(101)->GetImageList(), m_pOrganizer->Record(102)->GetImageList());
    // The submenu and its own commands are the submenu's business.
    EXPECT_EQ(Converted(hRecent), nullptr);
    EXPECT_EQ(items[3].hSub, hRecent);
}

TEST_F(OrganizerTest, ShortenedMenusLeaveOutRareItemsAndTheirSeparatorsBehindAShowAllEntry) {
    struct Case {
        const char* name;
        std::vector<UINT> items; // 0 a separator; 9xx a submenu holding command 9xx
        std::vector<UINT> hiddenCommands;
        std::vector<UINT> hiddenSubmenus; // by their command
        std::vector<UINT> shown;          // submenus as 10000 + their command
    };
    const Case cases[] = {
        {"FirstItemSeparator", {0, 11, 12}, {}, {}, {11, 12, kShowAll}},
        {"TwoSeparatorsAroundHiddenItems",
         {11, 0, 12, 13, 0, 14},
         {12, 13},
         {},
         {11, 0, 14, kShowAll}},
        {"SeparatorsBetweenHiddenRuns",
         {11, 0, 12, 0, 13, 0, 14},
         {12, 13},
         {},
         {11, 0, 14, kShowAll}},
        {"HiddenSubmenu", {11, 901, 12}, {}, {901}, {11, 12, kShowAll}},
        {"NothingHidden", {11, 0, 12, 902}, {99}, {}, {11, 0, 12, 10902}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<ItemSpec> specs;
        std::vector<HMENU> subs;
        for (UINT nID : c.items) {
            if (nID >= 900) {
                subs.push_back(MakePopup({{nID, "Nested", nullptr}}));
                specs.push_back({0, "Sub", subs.back()});
            } else {
                specs.push_back({nID, nID == 0 ? nullptr : "Item", nullptr});
            }
        }
        HMENU hPopup = Keep(MakePopup(specs));
        const std::vector<UINT> original = IdsOf(hPopup);
        for (UINT nID : c.hiddenCommands)
            m_pOrganizer->AddHiddenCommand(nID);
        for (size_t i = 0; i < subs.size(); ++i)
            for (UINT nID : c.hiddenSubmenus)
                if (::GetMenuItemID(subs[i], 0) == nID)
                    m_pOrganizer->AddHiddenSubmenu(subs[i]);

        InitPopup(hPopup);
        EXPECT_EQ(IdsOf(hPopup), c.shown);
        // The show-all entry has a default record of its own.
        if (c.shown.back() == kShowAll) {
            EXPECT_NE(m_pOrganizer->List("\x7F"
                                         "65366"
                                         "\x80"),
                      nullptr);
        }

        // Restoring puts every item back where it was, as a plain item.
        m_pOrganizer->RestoreBitmapMenu(Converted(hPopup), TRUE);
        EXPECT_EQ(Converted(hPopup), nullptr);
        EXPECT_EQ(IdsOf(hPopup), original);
        for (const ItemView& item : ReadMenu(hPopup)) {
            EXPECT_FALSE(item.bOwnerDraw);
            EXPECT_EQ(item.nData, 0u);
            if (!item.bSeparator) {
                EXPECT_EQ(item.text, item.hSub != nullptr ? "Sub" : "Item");
            }
        }
        for (UINT nID : c.hiddenCommands)
            m_pOrganizer->RemoveHiddenCommand(nID);
        m_pOrganizer->m_mapHiddenSubmenus.RemoveAll();
    }
}

TEST_F(OrganizerTest, ARestoredHiddenSubmenuIsItsCopyAndBelongsToTheMenuAgain) {
    HMENU hNested = MakePopup({{301, "Deep", nullptr}});
    HMENU hSub = MakePopup({{201, "&First", nullptr}, {0, "&Nested", hNested}});
    HMENU hPopup = Keep(MakePopup({{101, "One", nullptr}, {0, "&Tools", hSub}}));
    m_pOrganizer->AddHiddenSubmenu(hSub);
    m_pOrganizer->AddHiddenSubmenu(hNested);

    InitPopup(hPopup);
    EXPECT_EQ(IdsOf(hPopup), (std::vector<UINT>{101, kShowAll}));
    // Deleting the item destroyed the submenu: its copy takes its place in the
    // record, nested copies included.
    EXPECT_FALSE(::IsMenu(hSub));
    ASSERT_EQ(m_pOrganizer->m_mapHiddenSubmenus.GetCount(), 2);
    ASSERT_EQ(m_pOrganizer->m_arrCreatedMenus.GetSize(), 1);
    const HMENU hCopy = m_pOrganizer->m_arrCreatedMenus[0];
    EXPECT_TRUE(m_pOrganizer->IsHiddenSubmenu(hCopy));
    EXPECT_TRUE(m_pOrganizer->IsHiddenSubmenu(::GetSubMenu(hCopy, 1)));

    m_pOrganizer->RestoreBitmapMenu(Converted(hPopup), TRUE);
    ASSERT_EQ(::GetSubMenu(hPopup, 1), hCopy);
    EXPECT_EQ(ReadMenu(hPopup)[1].text, "&Tools");
    EXPECT_EQ(ReadMenu(hCopy)[0].text, "&First");
    EXPECT_EQ(ReadMenu(::GetSubMenu(hCopy, 1))[0].text, "Deep");
    // The menu owns the copy again: the organizer must not destroy it.
    EXPECT_EQ(m_pOrganizer->m_arrCreatedMenus.GetSize(), 0);
    delete m_pOrganizer;
    m_pOrganizer = nullptr;
    EXPECT_TRUE(::IsMenu(hCopy));
}

TEST_F(OrganizerTest, DestroyingTheOrganizerLeavesPlainItemsAndTheWholeMenu) {
    HMENU hPopup = Keep(MakePopup({{101, "&Open", nullptr},
                                   {102, "&Rare", nullptr},
                                   {0, nullptr, nullptr},
                                   {103, "&Close", nullptr}}));
    m_pOrganizer->AddHiddenCommand(102);
    InitPopup(hPopup);
    ASSERT_EQ(IdsOf(hPopup), (std::vector<UINT>{101, 0, 103, kShowAll}));
    const WNDPROC pfnSubclass =
        reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(m_hFrame, GWLP_WNDPROC));

    delete m_pOrganizer;
    m_pOrganizer = nullptr;
    EXPECT_EQ(IdsOf(hPopup), (std::vector<UINT>{101, 102, 0, 103}));
    const char* texts[] = {"&Open", "&Rare", "", "&Close"};
    const std::vector<ItemView> items = ReadMenu(hPopup);
    for (size_t i = 0; i < items.size(); ++i) {
        EXPECT_FALSE(items[i].bOwnerDraw) << i;
        EXPECT_EQ(items[i].nData, 0u) << i;
        EXPECT_EQ(items[i].text, texts[i]) << i;
    }
    EXPECT_EQ(COXBitmapMenuOrganizer::FindOrganizer(m_hFrame), nullptr);
    EXPECT_NE(reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(m_hFrame, GWLP_WNDPROC)), pfnSubclass);
    // The frame goes on working with its own procedure.
    InitPopup(hPopup);
    EXPECT_FALSE(ReadMenu(hPopup)[0].bOwnerDraw);
}

TEST_F(OrganizerTest, TheSystemCommandsOfAWindowMenuKeepTheirIds) {
    HMENU hPopup = Keep(MakePopup({{SC_RESTORE, "&Restore", nullptr},
                                   {SC_MINIMIZE, "Mi&nimize", nullptr},
                                   {0, nullptr, nullptr},
                                   {SC_CLOSE, "&Close\tCtrl+F4", nullptr}}));
    m_pOrganizer->OnInitMenuPopup(CMenu::FromHandle(hPopup), 0, FALSE);
    ASSERT_NE(Converted(hPopup), nullptr);
    EXPECT_EQ(IdsOf(hPopup), (std::vector<UINT>{SC_RESTORE, SC_MINIMIZE, 0, SC_CLOSE}));
    EXPECT_TRUE(ReadMenu(hPopup)[3].bOwnerDraw);
}

TEST_F(OrganizerTest, ASecondOpeningKeepsTheRecordsAndTakesANewTextFromAStringItem) {
    HMENU hPopup = Keep(MakePopup({{101, "&Open", nullptr}, {102, "&Save", nullptr}}));
    InitPopup(hPopup);
    COXBitmapMenu* pMenu = Converted(hPopup);
    ASSERT_NE(pMenu, nullptr);
    const ULONG_PTR nFirstData = ReadMenu(hPopup)[0].nData;
    // A handler that sets a text the framework's way makes the item a string again.
    ::ModifyMenuA(hPopup, 1, MF_BYPOSITION | MF_STRING, 102, "Save &As");
    InitPopup(hPopup);
    EXPECT_EQ(Converted(hPopup), pMenu);
    const std::vector<ItemView> items = ReadMenu(hPopup);
    EXPECT_EQ(items[0].nData, nFirstData);
    EXPECT_TRUE(items[1].bOwnerDraw);
    EXPECT_EQ(items[1].text, "Save &As");
    int nPos = -1;
    EXPECT_TRUE(pMenu->GetMnemonicTable().Lookup('a', nPos));
    EXPECT_EQ(nPos, 1);
    EXPECT_FALSE(pMenu->GetMnemonicTable().Lookup('s', nPos));
}

// --- Mnemonics ------------------------------------------------------------------

TEST_F(OrganizerTest, MnemonicsTakeTheFirstSingleAmpersandAndThePositionAsShown) {
    HMENU hPopup = Keep(MakePopup({{101, "&File", nullptr},
                                   {102, "Rare &Item", nullptr},
                                   {103, "Save && E&xit", nullptr},
                                   {104, "Tom && Jerry", nullptr},
                                   {105, "&&&Quote", nullptr},
                                   {106, "Trailing&", nullptr}}));
    m_pOrganizer->AddHiddenCommand(102);
    InitPopup(hPopup);
    COXBitmapMenu* pMenu = Converted(hPopup);
    ASSERT_NE(pMenu, nullptr);
    EXPECT_EQ(pMenu->GetMnemonicTable().GetCount(), 3);

    struct Case {
        char ch;
        LRESULT lExpected;
    };
    const Case cases[] = {
        {'f', MAKELRESULT(0, MNC_EXECUTE)},
        {'F', MAKELRESULT(0, MNC_EXECUTE)},
        {'x', MAKELRESULT(1, MNC_EXECUTE)}, // after the left-out item
        {'q', MAKELRESULT(3, MNC_EXECUTE)},
        {'i', 0}, // the left-out item's
        {'e', 0}, // after "&&"
        {'&', 0},
        {'z', 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ch);
        const LRESULT lResult =
            m_pFrame->SendMessage(WM_MENUCHAR, MAKEWPARAM(static_cast<BYTE>(c.ch), MF_POPUP),
                                  reinterpret_cast<LPARAM>(hPopup));
        EXPECT_EQ(lResult, c.lExpected);
        if (c.lExpected != 0) {
            EXPECT_EQ(static_cast<DWORD>(lResult) & 0xFFFF0000u, 0x20000u);
        }
    }
    // A plain popup has no table.
    HMENU hPlain = Keep(MakePopup({{107, "&Plain", nullptr}}));
    EXPECT_EQ(m_pFrame->SendMessage(WM_MENUCHAR, MAKEWPARAM('p', MF_POPUP),
                                    reinterpret_cast<LPARAM>(hPlain)),
              0);
}

// --- Measuring --------------------------------------------------------------------

TEST_F(OrganizerTest, MeasureItemFindsTheBitmapMenuThroughTheWindowMenu) {
    HMENU hPopup = MakePopup({{101, "&Open\tCtrl+O", nullptr}, {102, "&Save", nullptr}});
    HMENU hBar = ::CreateMenu();
    ::AppendMenuA(hBar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(hPopup), "&File");
    ::SetMenu(m_hFrame, hBar);
    Keep(hBar);
    // Before the popup is converted no permanent menu holds the item.
    MEASUREITEMSTRUCT plain = {ODT_MENU, 0, 101, 0, 0, 0};
    EXPECT_EQ(m_pFrame->SendMessage(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&plain)), FALSE);

    InitPopup(hPopup);
    ASSERT_NE(Converted(hPopup), nullptr);

    MEASUREITEMSTRUCT measure = {ODT_MENU, 0, 101, 0, 0, ReadMenu(hPopup)[0].nData};
    EXPECT_EQ(m_pFrame->SendMessage(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure)), TRUE);
    EXPECT_GT(measure.itemWidth, 0u);
    EXPECT_GT(measure.itemHeight, 0u);

    // An item no menu holds is measured by the popup opened last.
    MEASUREITEMSTRUCT unknown = {ODT_MENU, 0, 999, 0, 0, 0};
    EXPECT_EQ(m_pFrame->SendMessage(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&unknown)), TRUE);
    ::SetMenu(m_hFrame, nullptr);
}

// --- Images ------------------------------------------------------------------------

TEST_F(OrganizerTest, SetMenuIconTwiceWithOneIconReusesOneList) {
    HICON hIcon = Icon(RGB(0, 160, 0));
    // A command shown before it got an icon has a default record already.
    HMENU hPopup = Keep(MakePopup({{102, "Two", nullptr}}));
    InitPopup(hPopup);
    ASSERT_TRUE(m_pOrganizer->Record(102)->IsDefaultImage());

    ASSERT_TRUE(m_pOrganizer->SetMenuIcon(101, hIcon));
    ASSERT_TRUE(m_pOrganizer->SetMenuIcon(102, hIcon));
    ASSERT_TRUE(m_pOrganizer->SetMenuIcon(101, hIcon));
    EXPECT_EQ(m_pOrganizer->CountKeys('\x7F', '\x7F'), 1);
    CImageList* pList = m_pOrganizer->Record(101)->GetImageList();
    ASSERT_NE(pList, nullptr);
    EXPECT_EQ(m_pOrganizer->Record(102)->GetImageList(), pList);
    EXPECT_EQ(pList->GetImageCount(), 1);
    for (UINT nID : {101u, 102u}) {
        COXImageInfo* pRecord = m_pOrganizer->Record(nID);
        EXPECT_EQ(pRecord->GetIndex(), 0) << nID;
        EXPECT_FALSE(pRecord->IsDefaultImage()) << nID;
    }
    // Another icon, another list.
    ASSERT_TRUE(m_pOrganizer->SetMenuIcon(103, Icon(RGB(0, 0, 160))));
    EXPECT_EQ(m_pOrganizer->CountKeys('\x7F', '\x7F'), 2);
}

TEST_F(OrganizerTest, AutoSetMenuImageTakesTheToolbarImagesAndTheirHotImages) {
    const int kImages = 3;
    CToolBar* pToolBar = new CToolBar;
    ASSERT_TRUE(pToolBar->Create(m_pFrame));
    const UINT ids[] = {301, ID_SEPARATOR, 302, 303};
    ASSERT_TRUE(pToolBar->SetButtons(ids, 4));
    pToolBar->SendMessage(TB_SETBITMAPSIZE, 0, MAKELPARAM(16, 15));
    CCanvas strip(16 * kImages, 15, RGB(10, 120, 200));
    strip.Release();
    TBADDBITMAP bitmap = {nullptr, reinterpret_cast<UINT_PTR>(strip.bitmap.GetSafeHandle())};
    ASSERT_EQ(pToolBar->SendMessage(TB_ADDBITMAP, kImages, reinterpret_cast<LPARAM>(&bitmap)), 0);
    ASSERT_NE(pToolBar->SendMessage(TB_GETIMAGELIST), 0);
    CImageList hot;
    ASSERT_TRUE(hot.Create(16, 15, ILC_COLOR24 | ILC_MASK, kImages, 0));
    for (int i = 0; i < kImages; ++i)
        hot.Add(Icon(RGB(250, 200, 0)));
    pToolBar->SendMessage(TB_SETHOTIMAGELIST, 0, reinterpret_cast<LPARAM>(hot.GetSafeHandle()));

    // A menu converted before goes back to plain items, its records rebuilt.
    HMENU hPopup = Keep(MakePopup({{302, "Two", nullptr}}));
    InitPopup(hPopup);
    ASSERT_TRUE(m_pOrganizer->Record(302)->IsDefaultImage());

    ASSERT_TRUE(m_pOrganizer->AutoSetMenuImage());
    // Rebuilding the tables restored every converted menu.
    EXPECT_EQ(Converted(hPopup), nullptr);
    EXPECT_FALSE(ReadMenu(hPopup)[0].bOwnerDraw);

    CImageList* pList = m_pOrganizer->List("1");
    ASSERT_NE(pList, nullptr);
    EXPECT_EQ(pList->GetImageCount(), 2 * kImages);
    struct Row {
        UINT nID;
        int nIndex;
    };
    for (const Row& row : {Row{301, 0}, Row{302, 1}, Row{303, 2}}) {
        SCOPED_TRACE(row.nID);
        COXImageInfo* pRecord = m_pOrganizer->Record(row.nID);
        ASSERT_NE(pRecord, nullptr);
        EXPECT_EQ(pRecord->GetImageList(), pList);
        EXPECT_EQ(pRecord->GetIndex(), row.nIndex);
        EXPECT_EQ(pRecord->GetHotIndex(), row.nIndex + kImages);
        EXPECT_FALSE(pRecord->IsDefaultImage());
    }
    EXPECT_EQ(m_pOrganizer->Record(0), nullptr); // the separator has no image
    pToolBar->SendMessage(TB_SETHOTIMAGELIST, 0, 0);
    pToolBar->DestroyWindow();
    delete pToolBar;
}

// --- The record of rarely used submenus ---------------------------------------------

namespace {

// Root: "A" (a command), "B" (submenu with "B0" and the submenu "B1"), "C" (a submenu).
struct RootMenu {
    HMENU hRoot, hB, hB1, hC;
    RootMenu() {
        hB1 = MakePopup({{311, "B1x", nullptr}});
        hB = MakePopup({{301, "B0", nullptr}, {0, "B1", hB1}});
        hC = MakePopup({{401, "C0", nullptr}});
        hRoot = ::CreateMenu();
        ::AppendMenuA(hRoot, MF_STRING, 201, "A");
        ::AppendMenuA(hRoot, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(hB), "B");
        ::AppendMenuA(hRoot, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(hC), "C");
    }
    ~RootMenu() { ::DestroyMenu(hRoot); }
};

std::string Ints(std::initializer_list<int> values) {
    std::string bytes;
    for (int v : values)
        bytes.append(reinterpret_cast<const char*>(&v), sizeof(v));
    return bytes;
}

} // namespace

TEST_F(OrganizerTest, RareSubmenusMakeTheRoundTripThroughTheProfile) {
    const char* pszSection = "Menu_RoundTrip";
    const CString strSection = CString(pszSection) + "_RecentlyUsedSubmenuItems";
    theApp.WriteProfileString(strSection, nullptr, nullptr);
    RootMenu menu;
    m_pOrganizer->AddHiddenSubmenu(menu.hB1);
    m_pOrganizer->AddHiddenSubmenu(menu.hC);

    m_pFrame->SendMessage(WM_OX_SAVEMENUSTATE, reinterpret_cast<WPARAM>(menu.hRoot),
                          reinterpret_cast<LPARAM>(pszSection));
    const int nSize = static_cast<int>(theApp.GetProfileInt(strSection, "RUItemsDataSize", -1));
    LPBYTE pData = nullptr;
    UINT nBytes = 0;
    ASSERT_TRUE(theApp.GetProfileBinary(strSection, "RUContents", &pData, &nBytes));
    const std::string contents(reinterpret_cast<char*>(pData), nBytes);
    delete[] pData;
    EXPECT_EQ(nSize, static_cast<int>(nBytes));
    // Two entries; their order follows the set.
    const std::string b1 = Ints({1, 1, -1}), c = Ints({2, -1});
    EXPECT_TRUE(contents == Ints({2}) + b1 + c || contents == Ints({2}) + c + b1);

    m_pOrganizer->m_mapHiddenSubmenus.RemoveAll();
    m_pOrganizer->AddHiddenSubmenu(menu.hB); // emptied by the load
    m_pFrame->SendMessage(WM_OX_LOADMENUSTATE, reinterpret_cast<WPARAM>(menu.hRoot),
                          reinterpret_cast<LPARAM>(pszSection));
    EXPECT_EQ(m_pOrganizer->m_mapHiddenSubmenus.GetCount(), 2);
    EXPECT_TRUE(m_pOrganizer->IsHiddenSubmenu(menu.hB1));
    EXPECT_TRUE(m_pOrganizer->IsHiddenSubmenu(menu.hC));

    // Without values nothing changes.
    theApp.WriteProfileString(strSection, nullptr, nullptr);
    m_pFrame->SendMessage(WM_OX_LOADMENUSTATE, reinterpret_cast<WPARAM>(menu.hRoot),
                          reinterpret_cast<LPARAM>(pszSection));
    EXPECT_EQ(m_pOrganizer->m_mapHiddenSubmenus.GetCount(), 2);
}

TEST_F(OrganizerTest, DamagedProfileDataIsTracedAndLeavesTheRecordAsItWas) {
    const char* pszSection = "Menu_Damaged";
    const CString strSection = CString(pszSection) + "_RecentlyUsedSubmenuItems";
    CTempFolder folder;
    const std::string log = folder.File("trace.log");
    g_TraceLog.SetPath(log.c_str(), "");
    g_TraceLog.SetLevel(CTraceLog::LEVEL_ERRORS);
    RootMenu menu;

    std::string deepPath;
    for (int i = 0; i < 40; ++i)
        deepPath += Ints({0});
    struct Case {
        const char* name;
        std::string contents;
        int nStoredSize; // -2: the real size
        bool bLoaded;    // the record is replaced
        const char* pszTrace;
    };
    const Case cases[] = {
        {"Truncated", Ints({1, 2}).substr(0, 6), -2, false, "ends before its last entry"},
        {"SizeDiffersFromValue", Ints({1, 2, -1}), 8, false, "not the 8 recorded"},
        {"CountLargerThanData", Ints({0x7FFFFFFF, 2, -1}), -2, false, "ends before"},
        {"NegativeCount", Ints({-3, 2, -1}), -2, false, "negative count"},
        {"PathTooDeep", Ints({1}) + deepPath + Ints({-1}), -2, false, "deeper than"},
        {"NoEndMark", Ints({1, 1, 1, 1}), -2, false, "ends before"},
        {"MissingSubmenu", Ints({3, 7, -1, 0, -1, 1, 1, -1}), -2, true,
         "failed to load RU submenu"},
        {"EmptyPath", Ints({1, -1}), -2, true, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_pOrganizer->m_mapHiddenSubmenus.RemoveAll();
        m_pOrganizer->AddHiddenSubmenu(menu.hC);
        WriteWholeFile(log, "");
        theApp.WriteProfileBinary(strSection, "RUContents",
                                  reinterpret_cast<LPBYTE>(const_cast<char*>(c.contents.data())),
                                  static_cast<UINT>(c.contents.size()));
        theApp.WriteProfileInt(strSection, "RUItemsDataSize",
                               c.nStoredSize == -2 ? static_cast<int>(c.contents.size())
                                                   : c.nStoredSize);
        m_pFrame->SendMessage(WM_OX_LOADMENUSTATE, reinterpret_cast<WPARAM>(menu.hRoot),
                              reinterpret_cast<LPARAM>(pszSection));
        if (c.bLoaded) {
            EXPECT_FALSE(m_pOrganizer->IsHiddenSubmenu(menu.hC));
        } else {
            EXPECT_EQ(m_pOrganizer->m_mapHiddenSubmenus.GetCount(), 1);
            EXPECT_TRUE(m_pOrganizer->IsHiddenSubmenu(menu.hC));
        }
        if (c.pszTrace != nullptr) {
            EXPECT_NE(ReadWholeFile(log).find(c.pszTrace), std::string::npos);
        }
    }
    // The submenu that is there was taken, the missing ones skipped.
    const std::string contents = Ints({2, 9, 9, -1, 1, 1, -1});
    theApp.WriteProfileBinary(strSection, "RUContents",
                              reinterpret_cast<LPBYTE>(const_cast<char*>(contents.data())),
                              static_cast<UINT>(contents.size()));
    theApp.WriteProfileInt(strSection, "RUItemsDataSize", static_cast<int>(contents.size()));
    m_pFrame->SendMessage(WM_OX_LOADMENUSTATE, reinterpret_cast<WPARAM>(menu.hRoot),
                          reinterpret_cast<LPARAM>(pszSection));
    EXPECT_EQ(m_pOrganizer->m_mapHiddenSubmenus.GetCount(), 1);
    EXPECT_TRUE(m_pOrganizer->IsHiddenSubmenu(menu.hB1));
    g_TraceLog.SetLevel(CTraceLog::LEVEL_OFF);
    g_TraceLog.SetPath("", "");
    theApp.WriteProfileString(strSection, nullptr, nullptr);
}

TEST_F(OrganizerTest, HiddenCommandsMakeTheRoundTripThroughAnArchive) {
    for (UINT nID : {11u, 12u, 13u})
        EXPECT_TRUE(m_pOrganizer->AddHiddenCommand(nID));
    EXPECT_FALSE(m_pOrganizer->AddHiddenCommand(12));
    EXPECT_FALSE(m_pOrganizer->AddHiddenCommand(0));
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        m_pOrganizer->SaveHiddenCommands(ar);
    }
    EXPECT_EQ(file.GetLength(), 16u);
    m_pOrganizer->RemoveHiddenCommand(11);
    m_pOrganizer->AddHiddenCommand(99);
    file.Seek(0, CFile::begin);
    {
        CArchive ar(&file, CArchive::load);
        m_pOrganizer->LoadHiddenCommands(ar);
    }
    for (UINT nID : {11u, 12u, 13u})
        EXPECT_TRUE(m_pOrganizer->IsHiddenCommand(nID)) << nID;
    EXPECT_FALSE(m_pOrganizer->IsHiddenCommand(99));
    EXPECT_TRUE(m_pOrganizer->RemoveHiddenCommand(13));
    EXPECT_FALSE(m_pOrganizer->RemoveHiddenCommand(13));
}

// --- The popup trace and chosen commands ---------------------------------------------

namespace {

// The visible popup-menu windows of this thread.
BOOL CALLBACK CollectPopupMenuWindow(HWND hWnd, LPARAM lParam) {
    char szClass[16] = "";
    ::GetClassNameA(hWnd, szClass, sizeof(szClass));
    if (std::string(szClass) == "#32768" && ::IsWindowVisible(hWnd))
        reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hWnd);
    return TRUE;
}

std::vector<HWND> PopupMenuWindows() {
    std::vector<HWND> windows;
    ::EnumThreadWindows(::GetCurrentThreadId(), CollectPopupMenuWindow,
                        reinterpret_cast<LPARAM>(&windows));
    return windows;
}

// Once nShown popups are open, types the character into the menu's loop.
bool PostKeyWhenPopupsShown(size_t nShown, char ch) {
    const std::vector<HWND> windows = PopupMenuWindows();
    if (windows.size() < nShown)
        return false;
    ::PostMessageA(windows.front(), WM_CHAR, static_cast<WPARAM>(ch), 1);
    return true;
}

} // namespace

TEST_F(OrganizerTest, InputACommandChosenInANestedPopupMarksItsPopupsUsedAndTellsTheFrameOnce) {
    HMENU hInner = MakePopup({{501, "&Deep", nullptr}});
    HMENU hMiddle = MakePopup({{401, "M", nullptr}, {0, "&Inner", hInner}});
    HMENU hOuter = Keep(MakePopup({{301, "O", nullptr}, {0, "&Middle", hMiddle}}));
    // The show-all entry was chosen: the popups open whole although rarely used.
    m_pFrame->SendMessage(WM_COMMAND, kShowAll, 0);
    for (HMENU hMenu : {hOuter, hMiddle, hInner})
        m_pOrganizer->AddHiddenSubmenu(hMenu);
    m_pOrganizer->AddHiddenCommand(501);
    m_pOrganizer->AddHiddenCommand(301);

    // The mnemonics of the owner-drawn items go through WM_MENUCHAR.
    CUiScript script([] { ::EndMenu(); }, {
                                              [] { return PostKeyWhenPopupsShown(1, 'm'); },
                                              [] { return PostKeyWhenPopupsShown(2, 'i'); },
                                              [] { return PostKeyWhenPopupsShown(3, 'd'); },
                                          });
    CMenuHandle(hOuter).TrackPopupMenu(TPM_LEFTALIGN | TPM_TOPALIGN, 120, 120, m_pFrame);
    PumpPending();
    ASSERT_TRUE(script.Finished());
    ASSERT_EQ(m_pOrganizer->m_arrPopupTrace.GetSize(), 3);
    EXPECT_EQ(m_pOrganizer->m_arrPopupTrace[0].hPopupMenu, hOuter);
    EXPECT_EQ(m_pOrganizer->m_arrPopupTrace[2].hPopupMenu, hInner);

    EXPECT_EQ(m_pFrame->m_nStateChanged, 1);
    EXPECT_FALSE(m_pOrganizer->IsHiddenCommand(501));
    EXPECT_FALSE(m_pOrganizer->IsHiddenSubmenu(hMiddle));
    EXPECT_FALSE(m_pOrganizer->IsHiddenSubmenu(hInner));
    // The outermost popup and other commands are not on the way to it.
    EXPECT_TRUE(m_pOrganizer->IsHiddenSubmenu(hOuter));
    EXPECT_TRUE(m_pOrganizer->IsHiddenCommand(301));

    // Nothing more to remove: no second notice; nor for a control's notification.
    m_pFrame->SendMessage(WM_COMMAND, 501, 0);
    m_pFrame->SendMessage(WM_COMMAND, MAKEWPARAM(301, BN_CLICKED),
                          reinterpret_cast<LPARAM>(m_hFrame));
    EXPECT_EQ(m_pFrame->m_nStateChanged, 1);
    EXPECT_TRUE(m_pOrganizer->IsHiddenCommand(301));
}

TEST_F(OrganizerTest, TheShowAllCommandRestoresEveryMenuAndShowsTheNextOnesWhole) {
    HMENU hPopup = Keep(MakePopup({{101, "One", nullptr}, {102, "Rare", nullptr}}));
    m_pOrganizer->AddHiddenCommand(102);
    m_pFrame->SendMessage(WM_ENTERMENULOOP, 0, 0);
    InitPopup(hPopup);
    ASSERT_EQ(IdsOf(hPopup), (std::vector<UINT>{101, kShowAll}));
    COXBitmapMenu* pShortened = Converted(hPopup);

    m_pFrame->SendMessage(WM_COMMAND, kShowAll, 0);
    EXPECT_EQ(Converted(hPopup), nullptr);
    EXPECT_EQ(IdsOf(hPopup), (std::vector<UINT>{101, 102}));
    // It had the show-all entry: its object waits until the next such restore.
    EXPECT_EQ(m_pOrganizer->m_pPendingMenu, pShortened);

    InitPopup(hPopup);
    EXPECT_EQ(IdsOf(hPopup), (std::vector<UINT>{101, 102}));
    EXPECT_TRUE(ReadMenu(hPopup)[1].bOwnerDraw);
    // The end of the window menu's loop makes the next opening short again.
    m_pFrame->SendMessage(WM_EXITMENULOOP, 0, 0);
    EXPECT_EQ(Converted(hPopup), nullptr);
    EXPECT_FALSE(ReadMenu(hPopup)[1].bOwnerDraw);
    InitPopup(hPopup);
    EXPECT_EQ(IdsOf(hPopup), (std::vector<UINT>{101, kShowAll}));
}

namespace {

void MouseInput(DWORD dwFlags, POINT pt) {
    ::SetCursorPos(pt.x, pt.y);
    SendMouseMove(pt, dwFlags);
}

POINT ItemCentre(HMENU hMenu, int nPos) {
    RECT rect = {};
    ::GetMenuItemRect(nullptr, hMenu, static_cast<UINT>(nPos), &rect);
    return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

} // namespace

// The menu itself ignores the right button here; the organizer's mouse hook
// takes a right click on the show-all entry as that entry's command.
TEST_F(OrganizerTest, InputCursorARightClickOnTheShowAllEntryShowsTheMenuWhole) {
    HMENU hPopup =
        Keep(MakePopup({{101, "One", nullptr}, {102, "Rare", nullptr}, {103, "Three", nullptr}}));
    m_pOrganizer->AddHiddenCommand(102);
    int nTicks = 0;
    bool bRestoredWhileOpen = false;
    CUiScript script([] { ::EndMenu(); }, {
                                              [&] {
                                                  if (PopupMenuWindows().empty())
                                                      return false;
                                                  // A selection names the popup's window and hooks
                                                  // the mouse.
                                                  MouseInput(0, ItemCentre(hPopup, 0));
                                                  return true;
                                              },
                                              [&] { return ++nTicks > 10; },
                                              [&] {
                                                  const POINT pt = ItemCentre(hPopup, 2);
                                                  MouseInput(0, pt);
                                                  MouseInput(MOUSEEVENTF_RIGHTDOWN, pt);
                                                  MouseInput(MOUSEEVENTF_RIGHTUP, pt);
                                                  return true;
                                              },
                                              [&] { return Converted(hPopup) == nullptr; },
                                              [&] {
                                                  bRestoredWhileOpen = !PopupMenuWindows().empty();
                                                  ::EndMenu();
                                                  return true;
                                              },
                                          });
    ASSERT_EQ(IdsOf(hPopup), (std::vector<UINT>{101, 102, 103}));
    CMenuHandle(hPopup).TrackPopupMenu(TPM_LEFTALIGN | TPM_TOPALIGN, 200, 200, m_pFrame);
    PumpPending();
    EXPECT_TRUE(script.Finished());
    EXPECT_TRUE(bRestoredWhileOpen);
    EXPECT_EQ(IdsOf(hPopup), (std::vector<UINT>{101, 102, 103}));
    EXPECT_FALSE(ReadMenu(hPopup)[1].bOwnerDraw);
    ::SetCursorPos(1270, 1010);
}

// --- On the screen -------------------------------------------------------------------

TEST_F(OrganizerTest, ScreenShowsAConvertedPopupInOffice2003) {
    ASSERT_TRUE(m_pOrganizer->SetMenuIcon(101, Icon(RGB(220, 40, 40))));
    ASSERT_TRUE(m_pOrganizer->SetMenuIcon(103, Icon(RGB(40, 120, 220))));
    HMENU hRecent = MakePopup({{201, "&1 call.zel", nullptr}, {202, "&2 other.zel", nullptr}});
    HMENU hPopup = Keep(MakePopup({{101, "&Open...\tCtrl+O", nullptr},
                                   {102, "&Checked item", nullptr},
                                   {0, nullptr, nullptr},
                                   {0, "&Recent files", hRecent},
                                   {103, "E&xport\tF5", nullptr},
                                   {104, "Rarely used", nullptr},
                                   {105, "&Quit", nullptr}}));
    ::CheckMenuItem(hPopup, 102, MF_BYCOMMAND | MF_CHECKED);
    m_pOrganizer->AddHiddenCommand(104);
    Settle();

    RECT rectPopup = {};
    bool bSaved = false;
    HWND hPopupWnd = nullptr;
    int nTicks = 0;
    CUiScript script([] { ::EndMenu(); },
                     {
                         [&] {
                             const std::vector<HWND> windows = PopupMenuWindows();
                             hPopupWnd = windows.empty() ? nullptr : windows.front();
                             return hPopupWnd != nullptr;
                         },
                         // Let it paint (the skin draws its border and shadow).
                         [&] { return ++nTicks > 30; },
                         [&] {
                             ::GetWindowRect(hPopupWnd, &rectPopup);
                             bSaved = SaveScreenPng(rectPopup, "organizer_popup_2003.png");
                             ::PostMessageA(hPopupWnd, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
                             return true;
                         },
                     });
    CMenuHandle menu(hPopup);
    menu.TrackPopupMenu(TPM_LEFTALIGN | TPM_TOPALIGN, 100, 100, m_pFrame);
    EXPECT_TRUE(script.Finished());
    EXPECT_TRUE(bSaved);
    // It showed the converted menu: owner-drawn, the rare item behind "show all".
    EXPECT_EQ(IdsOf(hPopup), (std::vector<UINT>{101, 102, 0, 10201, 103, 105, kShowAll}));
    EXPECT_TRUE(ReadMenu(hPopup)[0].bOwnerDraw);
    EXPECT_GT(rectPopup.right - rectPopup.left, 100);
}
