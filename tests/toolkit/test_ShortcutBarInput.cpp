// Tests of COXShortcutBar's input: hot, pressed and dragged headers, expansion
// by click and by hovering, the header drag that exchanges two groups, OLE drags
// over the bar, tooltips, command routing, the context menu and its commands,
// and the in-place editing of header texts.
//
// The bar lives in an owner window that records every notification the bar
// sends it and answers some of them from a table (a veto is a nonzero answer).
// Most groups show plain content windows of the test, so that the tests do not
// depend on the group lists; the item commands use the lists. Tests named
// Input send real clicks and keys, Cursor tests move the cursor, Screen tests
// keep screenshots in the working folder, Focus tests open an editor, which
// takes the keyboard focus.
#include "native/gtest.h"

#include "toolkit/OXSHBListCtrl.h"
#include "toolkit/OXShortcutBar.h"
#include "toolkit/OXSkinnedApp.h"

#include "tests/support/Canvas.h"
#include "tests/support/SyntheticInput.h"
#include "tests/support/TraceCapture.h"
#include "tests/support/UiScript.h"
#include "tests/toolkit/ShortcutBarOwner.h"

#include "framework/CmdUI.h"
#include "framework/ImageList.h"
#include "framework/Menu.h"
#include "framework/Wnd.h"

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

// The route of a command through the targets of the test, by their names.
std::vector<std::string> g_route;

// Commands of the routing tests that the bar does not know.
const UINT kTestCommand = 40001;

bool IsLoggedCommand(UINT nID, int nCode, AFX_CMDHANDLERINFO* pHandlerInfo) {
    return nCode == CN_COMMAND && pHandlerInfo == nullptr &&
           (nID == kTestCommand || (nID >= SHB_IDMLARGEICON && nID <= SHB_IDMRENAMEITEM));
}

// The application object: the last target of a command's route.
class CInputTestApp : public COXSkinnedApp {
public:
    std::set<UINT> m_commands; // the commands it takes

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override {
        if (IsLoggedCommand(nID, nCode, pHandlerInfo)) {
            g_route.push_back("app");
            if (m_commands.count(nID) != 0)
                return TRUE;
        }
        return COXSkinnedApp::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
    }
};

CInputTestApp theApp;

typedef CShortcutBarOwner::Seen Seen;

// The bar's parent and owner: records the notifications as every shortcut-bar
// owner of the tests does, and beside each record the items of a context menu
// and the bar's drag-image flag; logs the commands that reach it and takes the
// ones it is given.
class COwnerWnd : public CShortcutBarOwner {
public:
    BOOL Make() {
        return CShortcutBarOwner::Make(CRect(100, 100, 520, 460),
                                       ::GetSysColorBrush(COLOR_BTNFACE));
    }

    // SHBN_CONTEXTMENU: the menu's items, "text", "text*" when checked, "-";
    // empty for the other codes.
    const std::vector<std::string>& MenuItems(const Seen& seen) const { return Extra(seen).items; }
    // The bar's IsDrawingDragImage during the notification.
    BOOL DrawingDragImage(const Seen& seen) const { return Extra(seen).bDrawingDragImage; }

    std::set<UINT> m_commands; // the commands it takes

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override {
        if (IsLoggedCommand(nID, nCode, pHandlerInfo)) {
            g_route.push_back("parent");
            if (m_commands.count(nID) != 0)
                return TRUE;
        }
        return CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
    }

protected:
    void OnSeen(const NMSHORTCUTBAR& nmshb) override {
        SeenExtra extra;
        CWnd* pBar = FromHandlePermanent(nmshb.hdr.hwndFrom);
        if (pBar != nullptr && pBar->IsKindOf(RUNTIME_CLASS(COXShortcutBar)))
            extra.bDrawingDragImage = static_cast<COXShortcutBar*>(pBar)->IsDrawingDragImage();
        if (nmshb.hdr.code == SHBN_CONTEXTMENU)
            extra.items = ReadMenuItems(reinterpret_cast<const SHBCONTEXTMENU*>(nmshb.lParam));
        // The new record is the last of All(); a Clear() may have dropped the
        // records the older extras belonged to.
        m_extras.resize(All().size() - 1);
        m_extras.push_back(extra);
    }

private:
    // What the owner notes beside a record, at the record's index in All().
    struct SeenExtra {
        std::vector<std::string> items;
        BOOL bDrawingDragImage = FALSE;
    };

    const SeenExtra& Extra(const Seen& seen) const {
        return m_extras.at(static_cast<size_t>(&seen - All().data()));
    }

    static std::vector<std::string> ReadMenuItems(const SHBCONTEXTMENU* pContextMenu) {
        std::vector<std::string> items;
        HMENU hMenu = pContextMenu->pMenu->GetSafeHmenu();
        for (int i = 0; i < ::GetMenuItemCount(hMenu); ++i) {
            UINT nState = ::GetMenuState(hMenu, static_cast<UINT>(i), MF_BYPOSITION);
            if (nState & MF_SEPARATOR) {
                items.push_back("-");
                continue;
            }
            char szText[64] = {};
            ::GetMenuStringA(hMenu, static_cast<UINT>(i), szText, sizeof(szText), MF_BYPOSITION);
            items.push_back(std::string(szText) + ((nState & MF_CHECKED) ? "*" : ""));
        }
        return items;
    }

    std::vector<SeenExtra> m_extras;
};

// A content window of a group: records the bar's private messages, adds an
// item command when asked to, takes the commands it is given.
class CContentWnd : public CWnd {
public:
    BOOL Make(CWnd* pBar, UINT nID) {
        return CreateEx(0, AfxRegisterWndClass(0, nullptr, ::GetSysColorBrush(COLOR_WINDOW)),
                        "content", WS_CHILD, CRect(0, 0, 10, 10), pBar, nID);
    }
    int Count(UINT message) const {
        int n = 0;
        for (UINT seen : m_messages)
            n += seen == message ? 1 : 0;
        return n;
    }

    std::vector<UINT> m_messages;
    std::set<UINT> m_commands;
    SHBCONTEXTMENU m_lastMenu;

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override {
        if (IsLoggedCommand(nID, nCode, pHandlerInfo)) {
            g_route.push_back("child");
            if (m_commands.count(nID) != 0)
                return TRUE;
        }
        return CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message >= SHBM_POPULATECONTEXTMENU && message <= SHBM_STARTDRAGDROP) {
            m_messages.push_back(message);
            if (message == SHBM_POPULATECONTEXTMENU) {
                m_lastMenu = *reinterpret_cast<SHBCONTEXTMENU*>(lParam);
                m_lastMenu.pMenu->AppendMenu(MF_STRING, kTestCommand, "Content command");
            }
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

// ---- Pumping and real input.

void Pump(int nMilliseconds) {
    const DWORD dwEnd = ::GetTickCount() + static_cast<DWORD>(nMilliseconds);
    while (static_cast<int>(dwEnd - ::GetTickCount()) > 0) {
        PumpPending();
        ::Sleep(10);
    }
}

// Pumps like the application's loop, with the windows' PreTranslateMessage
// (which relays the mouse to the tooltip control).
void PumpTranslated(int nMilliseconds) {
    const DWORD dwEnd = ::GetTickCount() + static_cast<DWORD>(nMilliseconds);
    while (static_cast<int>(dwEnd - ::GetTickCount()) > 0) {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!theApp.PreTranslateMessage(&msg)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageA(&msg);
            }
        }
        ::Sleep(10);
    }
}

// Runs the messages until pred holds or nMilliseconds pass; the time it took.
DWORD PumpUntilOr(const std::function<bool()>& pred, int nMilliseconds) {
    const DWORD dwStart = ::GetTickCount();
    while (!pred() && static_cast<int>(::GetTickCount() - dwStart) < nMilliseconds) {
        PumpPending();
        ::Sleep(5);
    }
    return ::GetTickCount() - dwStart;
}

void MoveTo(CPoint ptScreen, int nPumpMs = 60) {
    SendMouseMove(ptScreen);
    Pump(nPumpMs);
}

void TapKey(WORD wVk) {
    SendKeyTap(wVk);
    Pump(60);
}

void TypeKeys(const char* pszLetters) {
    TypeLetters(pszLetters, TapKey);
}

// The visible popup menu window, or null.
HWND FindPopupMenu() {
    for (HWND hWnd = ::FindWindowExA(nullptr, nullptr, "#32768", nullptr); hWnd != nullptr;
         hWnd = ::FindWindowExA(nullptr, hWnd, "#32768", nullptr)) {
        if (::IsWindowVisible(hWnd))
            return hWnd;
    }
    return nullptr;
}

// The screen rectangle of the item of the tracked menu that has the command.
bool TrackedItemRect(UINT nCommand, CRect* pRect) {
    HMENU hMenu = CMenu::GetTrackingMenu();
    if (hMenu == nullptr)
        return false;
    for (int i = 0; i < ::GetMenuItemCount(hMenu); ++i) {
        // Without a window the popup's own window places the rectangle.
        if (::GetMenuItemID(hMenu, i) == nCommand)
            return ::GetMenuItemRect(nullptr, hMenu, static_cast<UINT>(i), pRect) != FALSE;
    }
    return false;
}

// ---- The fixture: an owner window and a bar of three groups.

const char* const kGroupTexts[] = {"Calls", "Bookmarks", "Scores"};

class ShortcutBarInputTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_route.clear();
        theApp.m_commands.clear();
        ASSERT_TRUE(theApp.SetCurrentSkin("Office XP"));
        ASSERT_TRUE(m_owner.Make());
    }
    void TearDown() override {
        // The bar tells its owner of its groups while it goes.
        m_pBar.reset();
        m_owner.DestroyWindow();
        PumpPending();
    }

    // The bar at (10, 10) in the owner, size cx by cy, with the three groups,
    // each showing a content window of the test; the first is expanded.
    void MakeBar(DWORD dwBarStyle, int cx = 200, int cy = 300) {
        ASSERT_TRUE(Bar().Create(&m_owner, CRect(10, 10, 10 + cx, 10 + cy), dwBarStyle, 7));
        for (int i = 0; i < 3; ++i) {
            ASSERT_TRUE(m_content[i].Make(&Bar(), 100 + i));
            SHB_GROUPINFO info;
            info.nMask = SHBIF_TEXT | SHBIF_CHILDWND;
            info.pszText = const_cast<LPTSTR>(kGroupTexts[i]);
            info.nTextMax = lstrlenA(kGroupTexts[i]);
            info.hwndChild = m_content[i].m_hWnd;
            m_groups[i] = Bar().InsertGroup(&info);
            ASSERT_NE(m_groups[i], nullptr);
        }
        Bar().ExpandGroup(m_groups[0]);
        Bar().UpdateBar();
        // Each test sees only what follows the set-up.
        m_owner.Clear();
    }

    CRect HeaderRect(HSHBGROUP hGroup) const {
        CRect rect;
        EXPECT_TRUE(Bar().GetGroupHeaderRect(hGroup, &rect));
        return rect;
    }
    CPoint HeaderCenter(HSHBGROUP hGroup) const { return HeaderRect(hGroup).CenterPoint(); }
    CPoint ToScreen(CPoint point) const {
        Bar().ClientToScreen(&point);
        return point;
    }
    void SendButton(UINT message, CPoint point, WPARAM wKeys = 0) {
        Bar().SendMessage(message, wKeys, MAKELPARAM(point.x, point.y));
    }
    // The groups by position, top first.
    std::vector<HSHBGROUP> Order() const {
        std::vector<HSHBGROUP> order;
        for (int i = 0; i < Bar().GetGroupCount(); ++i)
            order.push_back(Bar().FindGroupByOrder(i));
        return order;
    }
    // Moves the cursor onto the owner, away from the bar, so that the bar
    // appears under no cursor.
    void ParkCursor() {
        CPoint point(400, 340);
        m_owner.ClientToScreen(&point);
        MoveTo(point);
    }
    // Brings the owner to the front for real input.
    void TakeForeground() {
        m_owner.SetForegroundWindow();
        Pump(200);
    }

    // A bar object of its own for each bar a test makes: a destroyed window
    // leaves its groups in the object.
    COXShortcutBar& Bar() const { return *m_pBar; }
    void ResetBar() {
        if (::IsWindow(m_pBar->m_hWnd))
            m_pBar->DestroyWindow();
        m_pBar.reset(new COXShortcutBar);
        PumpPending();
    }

    COwnerWnd m_owner;
    std::unique_ptr<COXShortcutBar> m_pBar{new COXShortcutBar};
    CContentWnd m_content[3];
    HSHBGROUP m_groups[3] = {};
};

// ---- Hot, dragged and drop-target groups.

TEST_F(ShortcutBarInputTest, DragGroupTellsTheOwnerOnlyOfChanges) {
    MakeBar(0);
    EXPECT_EQ(Bar().SetDragGroup(m_groups[1]), nullptr);
    EXPECT_EQ(Bar().GetDragGroup(), m_groups[1]);
    EXPECT_EQ(Bar().SetDragGroup(m_groups[1]), m_groups[1]);
    EXPECT_EQ(Bar().SetDragGroup(nullptr), m_groups[1]);
    ASSERT_EQ(m_owner.Count(SHBN_DRAGHEADER), 2);
    const Seen& first = m_owner.All()[0];
    EXPECT_EQ(first.code, static_cast<UINT>(SHBN_DRAGHEADER));
    EXPECT_EQ(first.hGroup, m_groups[1]);
    EXPECT_EQ(first.nItem, -1);
    EXPECT_NE(first.lParam, 0); // the press offset
    EXPECT_EQ(m_owner.Last(SHBN_DRAGHEADER)->hGroup, nullptr);

    EXPECT_EQ(Bar().SetDropTargetGroup(m_groups[2]), nullptr);
    EXPECT_EQ(Bar().SetDropTargetGroup(nullptr), m_groups[2]);
    EXPECT_EQ(Bar().GetDropTargetGroup(), nullptr);
}

TEST_F(ShortcutBarInputTest, HotGroupRepaintsHeadersOnlyForButtonHeaders) {
    struct Case {
        DWORD dwStyle;
        int nRepaints; // headers drawn again when the hot group moves from 1 to 2
    } const cases[] = {{0, 0}, {SHBS_BUTTONHEADERS, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dwStyle);
        MakeBar(c.dwStyle);
        Bar().SetHotGroup(m_groups[1]);
        const int nBefore = m_owner.Count(SHBN_DRAWHEADER);
        Bar().SetHotGroup(m_groups[2]);
        EXPECT_EQ(Bar().GetHotGroup(), m_groups[2]);
        EXPECT_EQ(m_owner.Count(SHBN_DRAWHEADER) - nBefore, c.nRepaints);
        // Unchanged: nothing to draw.
        Bar().SetHotGroup(m_groups[2]);
        EXPECT_EQ(m_owner.Count(SHBN_DRAWHEADER) - nBefore, c.nRepaints);
        ResetBar();
    }
}

// ---- Press and release, by messages.

TEST_F(ShortcutBarInputTest, PressAndReleaseExpandAsTheStyleSays) {
    struct Case {
        DWORD dwStyle;
        bool bReleaseOnSameHeader;
        int nExpandedAfterDown; // index of the expanded group after the press
        int nExpandedAfterUp;
        bool bRepaintedAtUp; // the pressed header was drawn again at the release
    } const cases[] = {
        {0, true, 2, 2, false},
        {0, false, 2, 2, false},
        {SHBS_BUTTONHEADERS, true, 0, 2, true},
        // It loses its pressed look, though its group does not open.
        {SHBS_BUTTONHEADERS, false, 0, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "style " << c.dwStyle << " same header " << c.bReleaseOnSameHeader);
        MakeBar(c.dwStyle | SHBS_DISABLEDRAGHEADER);
        const CPoint ptDown = HeaderCenter(m_groups[2]);
        SendButton(WM_LBUTTONDOWN, ptDown, MK_LBUTTON);
        EXPECT_EQ(Bar().GetPressedGroup(), m_groups[2]);
        EXPECT_EQ(Bar().GetExpandedGroup(), m_groups[c.nExpandedAfterDown]);
        // Released on the header where it now is, or on another group's header.
        const CPoint ptUp =
            c.bReleaseOnSameHeader ? HeaderCenter(m_groups[2]) : HeaderCenter(m_groups[1]);
        m_owner.Clear();
        SendButton(WM_LBUTTONUP, ptUp);
        EXPECT_EQ(Bar().GetPressedGroup(), nullptr);
        EXPECT_EQ(Bar().GetExpandedGroup(), m_groups[c.nExpandedAfterUp]);
        const Seen* pDrawn = m_owner.Last(SHBN_DRAWHEADER);
        EXPECT_EQ(pDrawn != nullptr && pDrawn->hGroup == m_groups[2], c.bRepaintedAtUp);
        ResetBar();
    }
}

TEST_F(ShortcutBarInputTest, TheOwnerCanRefuseTheExpansionOfAClickedHeader) {
    MakeBar(0);
    m_owner.Answer(SHBN_GROUPEXPANDING, 1);
    SendButton(WM_LBUTTONDOWN, HeaderCenter(m_groups[1]), MK_LBUTTON);
    SendButton(WM_LBUTTONUP, HeaderCenter(m_groups[1]));
    EXPECT_EQ(Bar().GetExpandedGroup(), m_groups[0]);
    ASSERT_NE(m_owner.Last(SHBN_GROUPEXPANDING), nullptr);
    EXPECT_EQ(m_owner.Last(SHBN_GROUPEXPANDING)->hGroup, m_groups[1]);
    EXPECT_EQ(m_owner.Count(SHBN_GROUPEXPANDED), 0);
}

TEST_F(ShortcutBarInputTest, APressOutsideTheHeadersPressesNothing) {
    MakeBar(0);
    // The left margin beside the content window.
    const CRect rectChild = Bar().GetChildWndRect();
    SendButton(WM_LBUTTONDOWN, CPoint(rectChild.left - 2, rectChild.top + 10), MK_LBUTTON);
    EXPECT_EQ(Bar().GetPressedGroup(), nullptr);
    EXPECT_EQ(Bar().GetExpandedGroup(), m_groups[0]);
    SendButton(WM_LBUTTONUP, CPoint(rectChild.left - 2, rectChild.top + 10));
    EXPECT_EQ(m_owner.Count(SHBN_GROUPEXPANDING), 0);
}

// ---- The header's drag image.

TEST_F(ShortcutBarInputTest, TheDragImageHoldsTheHeaderDrawnAsADragImage) {
    MakeBar(0);
    const CRect rectHeader = HeaderRect(m_groups[1]);
    const size_t nBefore = m_owner.All().size();
    CImageList* pImage = Bar().CreateGroupDragImage(m_groups[1]);
    ASSERT_NE(pImage, nullptr);
    EXPECT_EQ(pImage->GetImageCount(), 1);
    IMAGEINFO info = {};
    ASSERT_TRUE(pImage->GetImageInfo(0, &info));
    EXPECT_EQ(CRect(info.rcImage).Size(), rectHeader.Size());
    delete pImage;
    // The header was drawn through the owner's hook with the flag set, and the
    // flag is down again.
    bool bDrawnAsImage = false;
    for (size_t i = nBefore; i < m_owner.All().size(); ++i) {
        const Seen& seen = m_owner.All()[i];
        if (seen.code == SHBN_DRAWHEADER && seen.hGroup == m_groups[1])
            bDrawnAsImage = bDrawnAsImage || m_owner.DrawingDragImage(seen);
    }
    EXPECT_TRUE(bDrawnAsImage);
    EXPECT_FALSE(Bar().IsDrawingDragImage());
    // No header, no image.
    EXPECT_EQ(Bar().CreateGroupDragImage(reinterpret_cast<HSHBGROUP>(99)), nullptr);
}

// ---- OLE drags over the bar.

class ShortcutBarDragOverTest : public ShortcutBarInputTest {
protected:
    SHBDROPTARGETACTION Action(CPoint point, DWORD dwKeyState = MK_LBUTTON) {
        SHBDROPTARGETACTION action;
        action.pWnd = &Bar();
        action.dwKeyState = dwKeyState;
        action.point = point;
        action.result = DROPEFFECT_COPY; // what a handler must overwrite
        return action;
    }
};

TEST_F(ShortcutBarDragOverTest, TheBarNeverAcceptsADrop) {
    MakeBar(0);
    const CRect rectChild = Bar().GetChildWndRect();
    struct Case {
        const char* pszWhere;
        CPoint point;
        DWORD dwKeyState;
    } const cases[] = {
        {"collapsed header", HeaderCenter(m_groups[1]), MK_LBUTTON},
        {"collapsed header with Ctrl", HeaderCenter(m_groups[2]), MK_LBUTTON | MK_CONTROL},
        {"expanded header", HeaderCenter(m_groups[0]), MK_LBUTTON},
        {"content", rectChild.CenterPoint(), MK_LBUTTON | MK_SHIFT},
        {"margin", CPoint(rectChild.left - 2, rectChild.top + 4), MK_LBUTTON},
        {"outside", CPoint(-20, -20), MK_LBUTTON},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszWhere);
        SHBDROPTARGETACTION action = Action(c.point, c.dwKeyState);
        EXPECT_EQ(Bar().SendMessage(SHBDTM_DRAGOVER, 0, reinterpret_cast<LPARAM>(&action)), 1);
        EXPECT_EQ(action.result, static_cast<DROPEFFECT>(DROPEFFECT_NONE));
        ASSERT_NE(m_owner.Last(SHBN_DRAGOVER), nullptr);
        EXPECT_EQ(m_owner.Last(SHBN_DRAGOVER)->lParam, reinterpret_cast<LPARAM>(&action));
        EXPECT_EQ(m_owner.Last(SHBN_DRAGOVER)->hGroup, nullptr);
    }
    // Through the bar's own drop target, as OLE calls it.
    COleDropTarget* pTarget = Bar().GetDropTarget();
    ASSERT_NE(pTarget, nullptr);
    EXPECT_EQ(pTarget->OnDragOver(&Bar(), nullptr, MK_LBUTTON, HeaderCenter(m_groups[1])),
              static_cast<DROPEFFECT>(DROPEFFECT_NONE));
    Bar().SendMessage(SHBDTM_DRAGLEAVE, 0, 0);
}

TEST_F(ShortcutBarDragOverTest, TheOwnerOrTheStyleDecideFirst) {
    struct Case {
        const char* pszCase;
        DWORD dwStyle;
        LRESULT lOwnerAnswer;
        LRESULT lExpected;
        DROPEFFECT expectedResult;
        int nNotices;
    } const cases[] = {
        {"owner decides", 0, 1, 1, DROPEFFECT_COPY, 1},
        {"drag and drop disabled", SHBS_DISABLEDRAGDROP, 0, 0, DROPEFFECT_COPY, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszCase);
        MakeBar(c.dwStyle);
        m_owner.Answer(SHBN_DRAGOVER, c.lOwnerAnswer);
        m_owner.Answer(SHBN_DRAGLEAVE, c.lOwnerAnswer);
        SHBDROPTARGETACTION action = Action(HeaderCenter(m_groups[1]));
        EXPECT_EQ(Bar().OnDragOver(&action), c.lExpected);
        EXPECT_EQ(action.result, c.expectedResult);
        EXPECT_EQ(Bar().OnDragLeave(&action), c.lExpected);
        EXPECT_EQ(m_owner.Count(SHBN_DRAGOVER), c.nNotices);
        EXPECT_EQ(m_owner.Count(SHBN_DRAGLEAVE), c.nNotices);
        // Nothing is pending: the group stays collapsed.
        Pump(400);
        EXPECT_EQ(Bar().GetExpandedGroup(), m_groups[0]);
        ResetBar();
        m_owner.Clear();
    }
}

TEST_F(ShortcutBarDragOverTest, TheOwnerCanNameAnotherDropTarget) {
    MakeBar(0);
    COXSHBDropTarget other;
    m_owner.Answer(SHBN_GETDROPTARGET, 1);
    m_owner.m_onNotify = [&other](NMSHORTCUTBAR& nmshb) -> LRESULT {
        if (nmshb.hdr.code == SHBN_GETDROPTARGET)
            nmshb.lParam = reinterpret_cast<LPARAM>(&other);
        return 0; // the answer set above
    };
    EXPECT_EQ(Bar().GetDropTarget(), &other);
    // Answering without naming one leaves the bar's own.
    m_owner.m_onNotify = nullptr;
    COleDropTarget* pOwn = Bar().GetDropTarget();
    EXPECT_NE(pOwn, &other);
    EXPECT_NE(pOwn, nullptr);
    m_owner.Answer(SHBN_GETDROPTARGET, 0);
    EXPECT_EQ(Bar().GetDropTarget(), pOwn);
}

TEST_F(ShortcutBarDragOverTest, ADragRestingOnACollapsedHeaderExpandsItAfter200MsCursor) {
    MakeBar(0);
    const CPoint point = HeaderCenter(m_groups[2]);
    ::SetCursorPos(ToScreen(point).x, ToScreen(point).y);
    SHBDROPTARGETACTION action = Action(point);
    const DWORD dwStart = ::GetTickCount();
    ASSERT_EQ(Bar().OnDragOver(&action), 1);
    // More drag-over events on the same header do not restart the delay.
    Pump(100);
    EXPECT_EQ(Bar().OnDragOver(&action), 1);
    EXPECT_EQ(Bar().GetExpandedGroup(), m_groups[0]);
    PumpUntilOr([this] { return Bar().GetExpandedGroup() == m_groups[2]; }, 2000);
    const DWORD dwTook = ::GetTickCount() - dwStart;
    EXPECT_EQ(Bar().GetExpandedGroup(), m_groups[2]);
    EXPECT_GE(dwTook, 190u);
    EXPECT_LT(dwTook, 700u);
    EXPECT_EQ(action.result, static_cast<DROPEFFECT>(DROPEFFECT_NONE));
}

TEST_F(ShortcutBarDragOverTest, ADragThatLeavesSoonerExpandsNothingCursor) {
    struct Case {
        const char* pszCase;
        std::function<void(SHBDROPTARGETACTION&)> leave;
    } const cases[] = {
        {"drag leaves the bar",
         [this](SHBDROPTARGETACTION& action) { Bar().OnDragLeave(&action); }},
        {"drag moves onto the content",
         [this](SHBDROPTARGETACTION& action) {
             action.point = Bar().GetChildWndRect().CenterPoint();
             ::SetCursorPos(ToScreen(action.point).x, ToScreen(action.point).y);
             Bar().OnDragOver(&action);
         }},
        {"cursor is elsewhere when the delay ends",
         [this](SHBDROPTARGETACTION&) {
             const CPoint point = ToScreen(HeaderCenter(m_groups[1]));
             ::SetCursorPos(point.x, point.y);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszCase);
        MakeBar(0);
        const CPoint point = HeaderCenter(m_groups[2]);
        ::SetCursorPos(ToScreen(point).x, ToScreen(point).y);
        SHBDROPTARGETACTION action = Action(point);
        Bar().OnDragOver(&action);
        Pump(80);
        c.leave(action);
        Pump(500);
        EXPECT_EQ(Bar().GetExpandedGroup(), m_groups[0]);
        ResetBar();
    }
}

// ---- Tooltips.

TEST_F(ShortcutBarInputTest, ToolHitTestFindsHeadersOnlyWithInfoTips) {
    MakeBar(SHBS_INFOTIP);
    const CRect rectHeader = HeaderRect(m_groups[1]);
    TOOLINFO info = {};
    info.cbSize = sizeof(info);
    EXPECT_EQ(Bar().OnToolHitTest(rectHeader.CenterPoint(), &info),
              reinterpret_cast<INT_PTR>(m_groups[1]));
    EXPECT_EQ(info.hwnd, Bar().m_hWnd);
    EXPECT_EQ(info.uId, reinterpret_cast<UINT_PTR>(m_groups[1]));
    EXPECT_EQ(CRect(info.rect), rectHeader);
    EXPECT_EQ(info.lpszText, LPSTR_TEXTCALLBACK);
    EXPECT_EQ(info.uFlags & TTF_IDISHWND, 0u);
    // Off the headers, and without the style, no tool.
    EXPECT_EQ(Bar().OnToolHitTest(Bar().GetChildWndRect().CenterPoint(), nullptr), -1);
    Bar().SetBarStyle(0);
    EXPECT_EQ(Bar().OnToolHitTest(rectHeader.CenterPoint(), nullptr), -1);
}

TEST_F(ShortcutBarInputTest, TheTooltipTextComesFromTheOwner) {
    MakeBar(SHBS_INFOTIP);
    // The requests come from a tooltip control, as the framework's would.
    HWND hTip = ::CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP, 0, 0, 0, 0, m_owner.m_hWnd,
                                  nullptr, nullptr, nullptr);
    ASSERT_NE(hTip, nullptr);
    static char s_szOwnText[] = "Calls kept by the owner";
    const std::string sLong(100, 'x'); // more than the record holds, unterminated
    struct Case {
        const char* pszCase;
        UINT code;
        const char* pszOwnerText; // into pszText, or null
        bool bFillBuffer;         // all 80 characters of szText
        LRESULT lAnswer;
        std::string sExpected;
        bool bPointsToOwnText; // the 8-bit form points to the owner's text
    } const cases[] = {
        {"buffer, 8-bit", TTN_NEEDTEXTA, nullptr, false, 0, "Calls of today", false},
        {"owner's text, 8-bit", TTN_NEEDTEXTA, s_szOwnText, false, 5, s_szOwnText, true},
        {"full buffer, 8-bit", TTN_NEEDTEXTA, nullptr, true, 0, std::string(79, 'x'), false},
        {"buffer, 16-bit", TTN_NEEDTEXTW, nullptr, false, 0, "Calls of today", false},
        {"owner's text, 16-bit", TTN_NEEDTEXTW, s_szOwnText, false, 0, s_szOwnText, false},
        {"full buffer, 16-bit", TTN_NEEDTEXTW, nullptr, true, 0, std::string(79, 'x'), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszCase);
        m_owner.Answer(SHBN_GETHEADERINFOTIP, c.lAnswer);
        m_owner.m_onNotify = [&c, &sLong](NMSHORTCUTBAR& nmshb) -> LRESULT {
            if (nmshb.hdr.code != SHBN_GETHEADERINFOTIP)
                return 0;
            SHBINFOTIP* pTip = reinterpret_cast<SHBINFOTIP*>(nmshb.lParam);
            if (c.bFillBuffer)
                memcpy(pTip->szText, sLong.data(), sizeof(pTip->szText));
            else
                lstrcpyA(pTip->szText, "Calls of today");
            pTip->pszText = const_cast<LPTSTR>(c.pszOwnerText);
            return 0; // the case's answer, set above
        };
        LRESULT lResult = -7;
        std::string sShown;
        if (c.code == TTN_NEEDTEXTA) {
            NMTTDISPINFOA dispInfo = {};
            dispInfo.hdr.hwndFrom = hTip;
            dispInfo.hdr.idFrom = reinterpret_cast<UINT_PTR>(m_groups[1]);
            dispInfo.hdr.code = c.code;
            lResult = Bar().SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&dispInfo));
            sShown = dispInfo.lpszText != nullptr ? dispInfo.lpszText : "";
            EXPECT_EQ(dispInfo.lpszText == s_szOwnText, c.bPointsToOwnText);
        } else {
            NMTTDISPINFOW dispInfo = {};
            dispInfo.hdr.hwndFrom = hTip;
            dispInfo.hdr.idFrom = reinterpret_cast<UINT_PTR>(m_groups[1]);
            dispInfo.hdr.code = c.code;
            lResult = Bar().SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&dispInfo));
            ASSERT_NE(dispInfo.lpszText, nullptr);
            for (const WCHAR* p = dispInfo.lpszText; *p != 0; ++p)
                sShown += static_cast<char>(*p);
        }
        EXPECT_EQ(lResult, c.lAnswer);
        EXPECT_EQ(sShown, c.sExpected);
        ASSERT_NE(m_owner.Last(SHBN_GETHEADERINFOTIP), nullptr);
        EXPECT_EQ(m_owner.Last(SHBN_GETHEADERINFOTIP)->hGroup, m_groups[1]);
    }
    // A tool that is no group of the bar is not the bar's to answer.
    const int nAsked = m_owner.Count(SHBN_GETHEADERINFOTIP);
    NMTTDISPINFOA dispInfo = {};
    dispInfo.hdr.hwndFrom = hTip;
    dispInfo.hdr.idFrom = 12345;
    dispInfo.hdr.code = TTN_NEEDTEXTA;
    Bar().SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&dispInfo));
    EXPECT_EQ(m_owner.Count(SHBN_GETHEADERINFOTIP), nAsked);
    ::DestroyWindow(hTip);
}

TEST_F(ShortcutBarInputTest, RestingOnAHeaderShowsTheOwnersTooltipCursor) {
    MakeBar(SHBS_INFOTIP);
    m_owner.m_onNotify = [](NMSHORTCUTBAR& nmshb) -> LRESULT {
        if (nmshb.hdr.code == SHBN_GETHEADERINFOTIP)
            lstrcpyA(reinterpret_cast<SHBINFOTIP*>(nmshb.lParam)->szText, "Scored calls");
        return 0;
    };
    ParkCursor();
    TakeForeground();
    // The moves must pass the windows' PreTranslateMessage to reach the tooltip.
    SendMouseMove(ToScreen(HeaderCenter(m_groups[2])));
    PumpTranslated(60);
    SendMouseMove(ToScreen(HeaderCenter(m_groups[2]) + CSize(1, 0)));
    HWND hTip = nullptr;
    for (int i = 0; i < 30 && hTip == nullptr; ++i) {
        PumpTranslated(100);
        HWND hWnd = ::FindWindowA(TOOLTIPS_CLASSA, nullptr);
        if (hWnd != nullptr && ::IsWindowVisible(hWnd))
            hTip = hWnd;
    }
    ASSERT_NE(m_owner.Last(SHBN_GETHEADERINFOTIP), nullptr);
    EXPECT_EQ(m_owner.Last(SHBN_GETHEADERINFOTIP)->hGroup, m_groups[2]);
    EXPECT_NE(hTip, nullptr);
}

// ---- Command routing.

TEST_F(ShortcutBarInputTest, CommandsGoToTheParentTheBarTheContentAndTheApplication) {
    struct Case {
        const char* pszCase;
        UINT nID;
        bool bParent, bChild, bApp, bExpanded;
        std::vector<std::string> route;
        BOOL bHandled;
        int nViewAfter; // of the first group, which starts in view 2
    } const cases[] = {
        {"nobody", kTestCommand, false, false, false, true, {"parent", "child", "app"}, FALSE, 2},
        {"everybody", kTestCommand, true, true, true, true, {"parent"}, TRUE, 2},
        {"content and application",
         kTestCommand,
         false,
         true,
         true,
         true,
         {"parent", "child"},
         TRUE,
         2},
        {"application",
         kTestCommand,
         false,
         false,
         true,
         true,
         {"parent", "child", "app"},
         TRUE,
         2},
        {"no expanded group", kTestCommand, false, true, true, false, {"parent", "app"}, TRUE, 2},
        {"bar before content", SHB_IDMLARGEICON, false, true, true, true, {"parent"}, TRUE, 1},
        {"parent before bar", SHB_IDMLARGEICON, true, false, false, true, {"parent"}, TRUE, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszCase);
        MakeBar(0);
        ASSERT_TRUE(Bar().SetGroupView(m_groups[0], SHB_SMALLICON));
        if (!c.bExpanded) {
            // A fresh bar whose one group was never expanded.
            ResetBar();
            ASSERT_TRUE(Bar().Create(&m_owner, CRect(10, 10, 210, 310), 0, 7));
            ASSERT_TRUE(m_content[0].Make(&Bar(), 100));
            SHB_GROUPINFO info;
            info.nMask = SHBIF_CHILDWND | SHBIF_VIEW;
            info.hwndChild = m_content[0].m_hWnd;
            info.nView = SHB_SMALLICON;
            m_groups[0] = Bar().InsertGroup(&info);
            ASSERT_NE(m_groups[0], nullptr);
        }
        m_owner.m_commands.clear();
        m_content[0].m_commands.clear();
        theApp.m_commands.clear();
        if (c.bParent)
            m_owner.m_commands.insert(c.nID);
        if (c.bChild)
            m_content[0].m_commands.insert(c.nID);
        if (c.bApp)
            theApp.m_commands.insert(c.nID);
        g_route.clear();
        EXPECT_EQ(Bar().OnCmdMsg(c.nID, CN_COMMAND, nullptr, nullptr), c.bHandled);
        EXPECT_EQ(g_route, c.route);
        EXPECT_EQ(Bar().GetGroupView(m_groups[0]), c.nViewAfter);
        ResetBar();
    }
    theApp.m_commands.clear();
}

// A command-UI that only records what a handler asks of it.
class CCheckCmdUI : public CCmdUI {
public:
    explicit CCheckCmdUI(UINT nID) { m_nID = nID; }
    void SetCheck(int nCheck) override { m_nCheck = nCheck; }
    int m_nCheck = -1;
};

TEST_F(ShortcutBarInputTest, TheViewCommandsCheckTheExpandedGroupsView) {
    MakeBar(0);
    struct Case {
        int nView;
        int nLargeCheck, nSmallCheck;
    } const cases[] = {{SHB_LARGEICON, 1, 0}, {SHB_SMALLICON, 0, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nView);
        ASSERT_TRUE(Bar().SetGroupView(m_groups[0], c.nView));
        CCheckCmdUI largeIcons(SHB_IDMLARGEICON), smallIcons(SHB_IDMSMALLICON);
        EXPECT_TRUE(largeIcons.DoUpdate(&Bar(), FALSE));
        EXPECT_TRUE(smallIcons.DoUpdate(&Bar(), FALSE));
        EXPECT_EQ(largeIcons.m_nCheck, c.nLargeCheck);
        EXPECT_EQ(smallIcons.m_nCheck, c.nSmallCheck);
    }
    // The commands themselves switch the expanded group's view and tell its window.
    const int nChanges = m_content[0].Count(SHBM_SHBINFOCHANGED);
    Bar().SendMessage(WM_COMMAND, SHB_IDMLARGEICON);
    EXPECT_EQ(Bar().GetGroupView(m_groups[0]), SHB_LARGEICON);
    EXPECT_EQ(Bar().GetGroupView(m_groups[1]), 1);
    Bar().SendMessage(WM_COMMAND, SHB_IDMSMALLICON);
    EXPECT_EQ(Bar().GetGroupView(m_groups[0]), SHB_SMALLICON);
    EXPECT_EQ(m_content[0].Count(SHBM_SHBINFOCHANGED) - nChanges, 2);
    // The view the group has already changes nothing.
    Bar().SendMessage(WM_COMMAND, SHB_IDMSMALLICON);
    EXPECT_EQ(m_content[0].Count(SHBM_SHBINFOCHANGED) - nChanges, 2);
}

// ---- The context menu.

class ShortcutBarMenuTest : public ShortcutBarInputTest {
protected:
    // Opens the context menu at a client point; the owner answers 1, so the
    // menu is only built and shown to the owner.
    const Seen* OpenMenu(CPoint point) {
        m_owner.Answer(SHBN_CONTEXTMENU, 1);
        Bar().SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Bar().m_hWnd),
                          MAKELPARAM(ToScreen(point).x, ToScreen(point).y));
        return m_owner.Last(SHBN_CONTEXTMENU);
    }
};

TEST_F(ShortcutBarMenuTest, TheMenuDependsOnTheStyleAndWhereItOpens) {
    typedef std::vector<std::string> Items;
    const Items kEditing = {"New Group",    "-",           "Large Icons*", "Small Icons", "-",
                            "Remove Group", "Rename Group"};
    const Items kViews = {"Large Icons*", "Small Icons"};
    enum Where { kCollapsedHeader, kExpandedHeader, kContent, kMargin };
    struct Case {
        const char* pszCase;
        DWORD dwStyle;
        Where where;
        int nMenuGroup; // index of the group of the menu
        Items items;
        bool bPopulated; // the content window was asked to add its commands
    } const cases[] = {
        {"editing, collapsed header", SHBS_EDITHEADERS, kCollapsedHeader, 2, kEditing, false},
        {"editing, expanded header", SHBS_EDITHEADERS, kExpandedHeader, 0, kEditing, false},
        {"editing, margin", SHBS_EDITHEADERS, kMargin, 0, kEditing, false},
        {"plain, collapsed header", 0, kCollapsedHeader, 2, kViews, false},
        {"plain, content",
         0,
         kContent,
         0,
         {"Large Icons*", "Small Icons", "Content command"},
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszCase);
        MakeBar(c.dwStyle);
        const CRect rectChild = Bar().GetChildWndRect();
        CPoint point;
        switch (c.where) {
        case kCollapsedHeader:
            point = HeaderCenter(m_groups[2]);
            break;
        case kExpandedHeader:
            point = HeaderCenter(m_groups[0]);
            break;
        case kContent:
            point = rectChild.CenterPoint();
            break;
        case kMargin:
            point = CPoint(rectChild.left - 2, rectChild.top + 10);
            break;
        }
        const Seen* pSeen = OpenMenu(point);
        ASSERT_NE(pSeen, nullptr);
        EXPECT_EQ(pSeen->hGroup, m_groups[c.nMenuGroup]);
        EXPECT_EQ(m_owner.MenuItems(*pSeen), c.items);
        EXPECT_EQ(Bar().GetContextMenuGroup(), m_groups[c.nMenuGroup]);
        EXPECT_EQ(m_content[0].Count(SHBM_POPULATECONTEXTMENU), c.bPopulated ? 1 : 0);
        if (c.bPopulated) {
            EXPECT_EQ(m_content[0].m_lastMenu.pShortcutBar, &Bar());
            EXPECT_EQ(m_content[0].m_lastMenu.hGroup, m_groups[0]);
            EXPECT_EQ(CPoint(m_content[0].m_lastMenu.point), ToScreen(point));
        }
        ResetBar();
        m_owner.Clear();
    }
}

TEST_F(ShortcutBarMenuTest, TheViewChecksFollowTheExpandedGroup) {
    MakeBar(0);
    ASSERT_TRUE(Bar().SetGroupView(m_groups[0], SHB_SMALLICON));
    // Opened on another group's header, the checks still name the expanded one's view.
    const Seen* pSeen = OpenMenu(HeaderCenter(m_groups[1]));
    ASSERT_NE(pSeen, nullptr);
    EXPECT_EQ(m_owner.MenuItems(*pSeen), (std::vector<std::string>{"Large Icons", "Small Icons*"}));
}

TEST_F(ShortcutBarMenuTest, AnEmptyBarOffersOnlyNewGroup) {
    ASSERT_TRUE(Bar().Create(&m_owner, CRect(10, 10, 210, 310), SHBS_EDITHEADERS, 7));
    const Seen* pSeen = OpenMenu(CPoint(50, 50));
    ASSERT_NE(pSeen, nullptr);
    EXPECT_EQ(pSeen->hGroup, nullptr);
    EXPECT_EQ(m_owner.MenuItems(*pSeen), (std::vector<std::string>{"New Group"}));
}

// Set while a thread timer found a menu open; the timer closes it.
bool g_bMenuSeen = false;
void CALLBACK CloseAnyMenu(HWND, UINT, UINT_PTR, DWORD) {
    if (FindPopupMenu() != nullptr) {
        g_bMenuSeen = true;
        ::EndMenu();
    }
}

TEST_F(ShortcutBarMenuTest, AMenuWithoutItemsIsNotShownScreen) {
    ASSERT_TRUE(Bar().Create(&m_owner, CRect(10, 10, 210, 310), 0, 7));
    m_owner.Answer(SHBN_CONTEXTMENU, 0);
    g_bMenuSeen = false;
    UINT_PTR nTimer = ::SetTimer(nullptr, 0, 200, CloseAnyMenu);
    Bar().SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Bar().m_hWnd),
                      MAKELPARAM(ToScreen(CPoint(50, 50)).x, ToScreen(CPoint(50, 50)).y));
    Pump(300);
    ::KillTimer(nullptr, nTimer);
    EXPECT_FALSE(g_bMenuSeen);
    EXPECT_EQ(m_owner.Count(SHBN_CONTEXTMENU), 1);
}

TEST_F(ShortcutBarMenuTest, OpeningTheMenuStopsAPendingAutoExpansionCursor) {
    MakeBar(SHBS_AUTOEXPAND);
    const CPoint point = HeaderCenter(m_groups[2]);
    ::SetCursorPos(ToScreen(point).x, ToScreen(point).y);
    // The move of the cursor reaches the bar and starts the delay; the cursor
    // then rests.
    Pump(150);
    SendButton(WM_MOUSEMOVE, point);
    OpenMenu(point);
    Pump(1100);
    EXPECT_EQ(Bar().GetExpandedGroup(), m_groups[0]);
}

TEST_F(ShortcutBarMenuTest, GroupCommandsActOnTheGroupOfTheMenuFocus) {
    MakeBar(SHBS_EDITHEADERS);
    TakeForeground();
    OpenMenu(HeaderCenter(m_groups[1]));
    Bar().SendMessage(WM_COMMAND, SHB_IDMRENAMEGROUP);
    EXPECT_EQ(Bar().GetEditGroup(), m_groups[1]);
    EXPECT_TRUE(Bar().GetEditControl()->IsWindowVisible());
    ASSERT_NE(m_owner.Last(SHBN_BEGINHEADEREDIT), nullptr);
    EXPECT_EQ(m_owner.Last(SHBN_BEGINHEADEREDIT)->sText, "Bookmarks");
    Bar().GetEditControl()->FinishEdit(FALSE);

    OpenMenu(HeaderCenter(m_groups[1]));
    Bar().SendMessage(WM_COMMAND, SHB_IDMREMOVEGROUP);
    EXPECT_EQ(Bar().GetGroupCount(), 2);
    EXPECT_EQ(Bar().GetGroupOrder(m_groups[1]), -1);
    EXPECT_EQ(Order(), (std::vector<HSHBGROUP>{m_groups[0], m_groups[2]}));
    EXPECT_EQ(m_owner.Last(SHBN_DELETINGGROUP)->hGroup, m_groups[1]);
    // The menu's group is gone with it; the command again removes nothing.
    EXPECT_EQ(Bar().GetContextMenuGroup(), nullptr);
    Bar().SendMessage(WM_COMMAND, SHB_IDMREMOVEGROUP);
    EXPECT_EQ(Bar().GetGroupCount(), 2);
}

TEST_F(ShortcutBarMenuTest, NewGroupOnAnEmptyBarCreatesExpandsAndEditsItFocus) {
    ASSERT_TRUE(Bar().Create(&m_owner, CRect(10, 10, 210, 310), SHBS_EDITHEADERS, 7));
    TakeForeground();
    Bar().SendMessage(WM_COMMAND, SHB_IDMADDGROUP);
    ASSERT_EQ(Bar().GetGroupCount(), 1);
    HSHBGROUP hGroup = Bar().FindGroupByOrder(0);
    ASSERT_NE(hGroup, nullptr);
    EXPECT_EQ(Bar().GetGroupText(hGroup), CString(""));
    EXPECT_EQ(Bar().GetExpandedGroup(), hGroup);
    EXPECT_EQ(m_owner.Last(SHBN_GROUPEXPANDED)->hGroup, hGroup);
    EXPECT_EQ(Bar().GetEditGroup(), hGroup);
    COXSHBEdit* pEdit = Bar().GetEditControl();
    ASSERT_TRUE(pEdit->IsWindowVisible());
    CRect rectEdit;
    pEdit->GetWindowRect(&rectEdit);
    Bar().ScreenToClient(&rectEdit);
    EXPECT_EQ(rectEdit, HeaderRect(hGroup));
    pEdit->FinishEdit(FALSE);

    // A second one is appended below and edited, the first stays expanded.
    Bar().SendMessage(WM_COMMAND, SHB_IDMADDGROUP);
    ASSERT_EQ(Bar().GetGroupCount(), 2);
    HSHBGROUP hSecond = Bar().FindGroupByOrder(1);
    EXPECT_EQ(Bar().GetExpandedGroup(), hGroup);
    EXPECT_EQ(Bar().GetEditGroup(), hSecond);
    pEdit->FinishEdit(FALSE);
}

// ---- Header editing.

TEST_F(ShortcutBarInputTest, EditingAHeaderIsRefusedWhenItCannotBeShown) {
    struct Case {
        const char* pszCase;
        DWORD dwStyle;
        int cx, cy;
        LRESULT lOwnerAnswer;
        const char* pszTrace; // null: refused without a trace
        bool bAsked;          // the owner was asked
    } const cases[] = {
        {"no style", 0, 200, 300, 0,
         "COXShortcutBar::EditGroupHeader: cannot edit header - SHBS_EDITHEADERS style wasn't set",
         false},
        {"owner refuses", SHBS_EDITHEADERS, 200, 300, 1, nullptr, true},
        {"header cut off", SHBS_EDITHEADERS, 200, 10, 0,
         "COXShortcutBar::EditGroupHeader: failed to edit - header rectangle is not entirely "
         "visible",
         true},
        {"no width", SHBS_EDITHEADERS, 0, 300, 0,
         "COXShortcutBar::EditGroupHeader: header rect is empty", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszCase);
        CTraceCapture trace;
        MakeBar(c.dwStyle, c.cx, c.cy);
        m_owner.Answer(SHBN_BEGINHEADEREDIT, c.lOwnerAnswer);
        EXPECT_EQ(Bar().EditGroupHeader(m_groups[0]), nullptr);
        EXPECT_EQ(Bar().GetEditGroup(), nullptr);
        EXPECT_FALSE(Bar().GetEditControl()->IsWindowVisible());
        EXPECT_EQ(m_owner.Count(SHBN_BEGINHEADEREDIT), c.bAsked ? 1 : 0);
        if (c.pszTrace != nullptr) {
            EXPECT_TRUE(trace.Holds(c.pszTrace)) << trace.Text();
        }
        ResetBar();
        m_owner.Clear();
    }
}

TEST_F(ShortcutBarInputTest, AGroupTheBarDoesNotHoldIsNotEditedNorAskedFor) {
    MakeBar(SHBS_EDITHEADERS);
    CTraceCapture trace;
    EXPECT_EQ(Bar().EditGroupHeader(nullptr), nullptr);
    EXPECT_EQ(Bar().EditGroupHeader(reinterpret_cast<HSHBGROUP>(77)), nullptr);
    EXPECT_EQ(m_owner.Count(SHBN_BEGINHEADEREDIT), 0);
    EXPECT_TRUE(trace.Holds("COXShortcutBar::EditGroupHeader: failed to get header rectangle"));
}

TEST_F(ShortcutBarInputTest, TheEditOpensOverTheHeaderWithItsTextAndFontFocus) {
    MakeBar(SHBS_EDITHEADERS);
    TakeForeground();
    COXSHBEdit* pEdit = Bar().EditGroupHeader(m_groups[1]);
    ASSERT_EQ(pEdit, Bar().GetEditControl());
    EXPECT_EQ(Bar().GetEditGroup(), m_groups[1]);
    EXPECT_TRUE(pEdit->IsWindowVisible());
    CRect rectEdit;
    pEdit->GetWindowRect(&rectEdit);
    Bar().ScreenToClient(&rectEdit);
    EXPECT_EQ(rectEdit, HeaderRect(m_groups[1]));
    CString sText;
    pEdit->GetWindowText(sText);
    EXPECT_EQ(sText, CString("Bookmarks"));
    int nStart = -1, nEnd = -1;
    pEdit->GetSel(nStart, nEnd);
    EXPECT_EQ(nStart, 0);
    EXPECT_EQ(nEnd, 9);
    EXPECT_TRUE(pEdit->GetStyle() & ES_AUTOHSCROLL);
    LOGFONT expected = {}, shown = {};
    ASSERT_TRUE(Bar().GetGroupHeaderTextFont(m_groups[1], &expected));
    ASSERT_NE(pEdit->GetFont(), nullptr);
    pEdit->GetFont()->GetLogFont(&shown);
    EXPECT_EQ(shown.lfHeight, expected.lfHeight);
    EXPECT_STREQ(shown.lfFaceName, expected.lfFaceName);

    // Editing another header accepts the first edit.
    pEdit->SetWindowText("Marks");
    ASSERT_EQ(Bar().EditGroupHeader(m_groups[2]), pEdit);
    EXPECT_EQ(Bar().GetGroupText(m_groups[1]), CString("Marks"));
    EXPECT_EQ(Bar().GetEditGroup(), m_groups[2]);
    pEdit->FinishEdit(FALSE);
}

TEST_F(ShortcutBarInputTest, TheEndOfAnEditTellsTheOwnerAndAppliesAnAcceptedTextFocus) {
    struct Case {
        const char* pszCase;
        BOOL bOK;
        LRESULT lOwnerAnswer;
        std::string sNotified;
        std::string sAfter;
    } const cases[] = {
        {"accepted", TRUE, 0, "Marked calls", "Marked calls"},
        {"accepted, owner keeps the text", TRUE, 1, "Marked calls", "Bookmarks"},
        {"cancelled", FALSE, 0, "Bookmarks", "Bookmarks"},
        {"cancelled, answer ignored", FALSE, 1, "Bookmarks", "Bookmarks"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszCase);
        MakeBar(SHBS_EDITHEADERS);
        m_owner.Answer(SHBN_ENDHEADEREDIT, c.lOwnerAnswer);
        COXSHBEdit* pEdit = Bar().EditGroupHeader(m_groups[1]);
        ASSERT_NE(pEdit, nullptr);
        pEdit->SetWindowText("Marked calls");
        pEdit->FinishEdit(c.bOK);
        ASSERT_EQ(m_owner.Count(SHBN_ENDHEADEREDIT), 1);
        const Seen* pSeen = m_owner.Last(SHBN_ENDHEADEREDIT);
        EXPECT_EQ(pSeen->hGroup, m_groups[1]);
        EXPECT_EQ(pSeen->nItem, -1);
        EXPECT_EQ(pSeen->sText, c.sNotified);
        EXPECT_EQ(std::string(Bar().GetGroupText(m_groups[1]).GetString()), c.sAfter);
        EXPECT_EQ(Bar().GetEditGroup(), nullptr);
        ResetBar();
        m_owner.Clear();
    }
}

TEST_F(ShortcutBarInputTest, AnOwnerMayOpenTheNextEditFromTheEndOfOneFocus) {
    MakeBar(SHBS_EDITHEADERS);
    m_owner.m_onNotify = [this](NMSHORTCUTBAR& nmshb) -> LRESULT {
        if (nmshb.hdr.code == SHBN_ENDHEADEREDIT && nmshb.hGroup == m_groups[1])
            Bar().EditGroupHeader(m_groups[2]);
        return 0;
    };
    ASSERT_NE(Bar().EditGroupHeader(m_groups[1]), nullptr);
    Bar().GetEditControl()->FinishEdit(TRUE);
    EXPECT_EQ(Bar().GetEditGroup(), m_groups[2]);
    EXPECT_TRUE(Bar().GetEditControl()->IsWindowVisible());
    m_owner.m_onNotify = nullptr;
    Bar().GetEditControl()->FinishEdit(FALSE);
}

// ---- The item commands on a group's list.

class ShortcutBarItemCommandTest : public ShortcutBarInputTest {
protected:
    // A bar whose one group has a list of four items.
    void MakeListBar(DWORD dwBarStyle) {
        ASSERT_TRUE(Bar().Create(&m_owner, CRect(10, 10, 210, 310), dwBarStyle, 7));
        SHB_GROUPINFO info;
        info.nMask = SHBIF_TEXT;
        info.pszText = const_cast<LPTSTR>("Calls");
        info.nTextMax = 5;
        m_hListGroup = Bar().InsertGroup(&info);
        ASSERT_NE(m_hListGroup, nullptr);
        m_pList = Bar().GetGroupListCtrl(m_hListGroup);
        ASSERT_NE(m_pList, nullptr);
        const char* const texts[] = {"Monday", "Tuesday", "Wednesday", "Thursday"};
        for (int i = 0; i < 4; ++i)
            ASSERT_EQ(m_pList->InsertItem(i, texts[i]), i);
        Bar().ExpandGroup(m_hListGroup);
        Bar().UpdateBar();
    }
    std::string ItemText(int nItem) const {
        return std::string(m_pList->GetItemText(nItem, 0).GetString());
    }

    HSHBGROUP m_hListGroup = nullptr;
    COXSHBListCtrl* m_pList = nullptr;
};

TEST_F(ShortcutBarItemCommandTest, RemoveItemDeletesTheHotOrTheLastHotItem) {
    MakeListBar(SHBS_EDITITEMS);
    m_pList->SetHotItem(1);
    Bar().SendMessage(WM_COMMAND, SHB_IDMREMOVEITEM);
    ASSERT_EQ(m_pList->GetItemCount(), 3);
    EXPECT_EQ(ItemText(1), "Wednesday");
    EXPECT_EQ(m_owner.Last(SHBN_DELETEITEM)->nItem, 1);

    // The mouse left the list for the menu: the item that was hot last.
    m_pList->SetHotItem(2);
    m_pList->SetHotItem(-1);
    ASSERT_EQ(m_pList->GetLastHotItem(), 2);
    Bar().SendMessage(WM_COMMAND, SHB_IDMREMOVEITEM);
    ASSERT_EQ(m_pList->GetItemCount(), 2);
    EXPECT_EQ(ItemText(0), "Monday");
    EXPECT_EQ(ItemText(1), "Wednesday");
}

TEST_F(ShortcutBarItemCommandTest, RenameItemOpensTheListsEditorFocus) {
    MakeListBar(SHBS_EDITITEMS);
    TakeForeground();
    m_pList->SetHotItem(2);
    Bar().SendMessage(WM_COMMAND, SHB_IDMRENAMEITEM);
    EXPECT_EQ(m_pList->GetEditItem(), 2);
    EXPECT_TRUE(m_pList->GetEditControl()->IsWindowVisible());
    ASSERT_NE(m_owner.Last(SHBN_BEGINITEMEDIT), nullptr);
    EXPECT_EQ(m_owner.Last(SHBN_BEGINITEMEDIT)->nItem, 2);
    m_pList->GetEditControl()->FinishEdit(FALSE);
}

TEST_F(ShortcutBarItemCommandTest, ItemOperationsNeedAListAndTheirStyle) {
    CTraceCapture trace;
    MakeListBar(0);
    // Without SHBS_EDITITEMS no item is edited.
    EXPECT_EQ(Bar().EditLCItem(m_hListGroup, 0), nullptr);
    EXPECT_TRUE(trace.Holds(
        "COXShortcutBar::EditLCItem: cannot edit item - SHBS_EDITITEMS style wasn't set"));
    // A group with a window of its own has no list.
    ASSERT_TRUE(m_content[0].Make(&Bar(), 100));
    SHB_GROUPINFO info;
    info.nMask = SHBIF_CHILDWND;
    info.hwndChild = m_content[0].m_hWnd;
    HSHBGROUP hWindowGroup = Bar().InsertGroup(&info);
    ASSERT_NE(hWindowGroup, nullptr);
    EXPECT_FALSE(Bar().DeleteLCItem(hWindowGroup, 0));
    EXPECT_TRUE(trace.Holds("COXShortcutBar::DeleteLCItem: list control wasn't created"));
    Bar().SetBarStyle(SHBS_EDITITEMS);
    EXPECT_EQ(Bar().EditLCItem(hWindowGroup, 0), nullptr);
    EXPECT_TRUE(trace.Holds("COXShortcutBar::EditLCItem: list control wasn't created"));
    // The item commands leave such a group alone.
    Bar().ExpandGroup(hWindowGroup);
    m_pList->SetHotItem(0);
    Bar().SendMessage(WM_COMMAND, SHB_IDMREMOVEITEM);
    EXPECT_EQ(m_pList->GetItemCount(), 4);
    // DeleteLCItem on the list removes the item.
    EXPECT_TRUE(Bar().DeleteLCItem(m_hListGroup, 3));
    EXPECT_EQ(m_pList->GetItemCount(), 3);
}

// ---- Real input.

class ShortcutBarInputRealTest : public ShortcutBarInputTest {
protected:
    void MakeShownBar(DWORD dwBarStyle) {
        ParkCursor();
        MakeBar(dwBarStyle);
        TakeForeground();
        Settle(200);
    }
};

// In the split layout a header above the expanded group stays in place when
// its group opens; the tests click the middle one with the last group open.
TEST_F(ShortcutBarInputRealTest, AClickExpandsAtButtonDownWithoutButtonHeadersInput) {
    MakeShownBar(0);
    Bar().ExpandGroup(m_groups[2]);
    MoveTo(ToScreen(HeaderCenter(m_groups[1])));
    SendMouseButton(MOUSEEVENTF_LEFTDOWN);
    Pump(60);
    EXPECT_EQ(Bar().GetExpandedGroup(), m_groups[1]);
    EXPECT_EQ(Bar().GetPressedGroup(), m_groups[1]);
    SendMouseButton(MOUSEEVENTF_LEFTUP);
    Pump(100);
    EXPECT_EQ(Bar().GetExpandedGroup(), m_groups[1]);
    EXPECT_EQ(Bar().GetPressedGroup(), nullptr);
    EXPECT_TRUE(m_content[1].IsWindowVisible());
    EXPECT_FALSE(m_content[2].IsWindowVisible());
}

TEST_F(ShortcutBarInputRealTest, ButtonHeadersExpandAtButtonUpOnTheSameHeaderInput) {
    MakeShownBar(SHBS_BUTTONHEADERS);
    Bar().ExpandGroup(m_groups[2]);
    // Pressed and released over the content: no expansion. The content window
    // got the release; the hot check ends the stale pressed state.
    MoveTo(ToScreen(HeaderCenter(m_groups[1])));
    SendMouseButton(MOUSEEVENTF_LEFTDOWN);
    Pump(60);
    EXPECT_EQ(Bar().GetPressedGroup(), m_groups[1]);
    EXPECT_EQ(Bar().GetExpandedGroup(), m_groups[2]);
    MoveTo(ToScreen(Bar().GetChildWndRect().CenterPoint()));
    SendMouseButton(MOUSEEVENTF_LEFTUP);
    PumpUntilOr([this] { return Bar().GetPressedGroup() == nullptr; }, 1500);
    EXPECT_EQ(Bar().GetPressedGroup(), nullptr);
    EXPECT_EQ(Bar().GetExpandedGroup(), m_groups[2]);

    // Pressed on one header and released on another: no expansion either.
    MoveTo(ToScreen(HeaderCenter(m_groups[1])));
    SendMouseButton(MOUSEEVENTF_LEFTDOWN);
    Pump(60);
    MoveTo(ToScreen(HeaderCenter(m_groups[0])));
    SendMouseButton(MOUSEEVENTF_LEFTUP);
    Pump(100);
    EXPECT_EQ(Bar().GetExpandedGroup(), m_groups[2]);
    EXPECT_EQ(Bar().GetPressedGroup(), nullptr);
    Pump(600); // the next press is no double click

    // Pressed and released on it: expanded at the release.
    MoveTo(ToScreen(HeaderCenter(m_groups[1])));
    SendMouseButton(MOUSEEVENTF_LEFTDOWN);
    Pump(60);
    EXPECT_EQ(Bar().GetExpandedGroup(), m_groups[2]);
    SendMouseButton(MOUSEEVENTF_LEFTUP);
    Pump(100);
    EXPECT_EQ(Bar().GetExpandedGroup(), m_groups[1]);
    EXPECT_EQ(Bar().GetPressedGroup(), nullptr);
}

TEST_F(ShortcutBarInputRealTest, TheHotCheckFollowsTheCursorInput) {
    MakeShownBar(SHBS_BUTTONHEADERS);
    MoveTo(ToScreen(HeaderCenter(m_groups[1])));
    EXPECT_EQ(Bar().GetHotGroup(), m_groups[1]);
    // Off the bar no mouse move arrives; the hot check notices within 500 ms.
    CRect rectOwner;
    m_owner.GetClientRect(&rectOwner);
    CPoint ptOff(rectOwner.right - 5, rectOwner.bottom - 5);
    m_owner.ClientToScreen(&ptOff);
    MoveTo(ptOff);
    PumpUntilOr([this] { return Bar().GetHotGroup() == nullptr; }, 1500);
    EXPECT_EQ(Bar().GetHotGroup(), nullptr);
}

// Drags with the left button from one screen point to another in steps, past
// the press delay; whileHeld runs before the button goes up.
void DragHeader(CPoint ptFrom, CPoint ptTo, const std::function<void()>& whileHeld = nullptr) {
    MoveTo(ptFrom);
    SendMouseButton(MOUSEEVENTF_LEFTDOWN);
    Pump(250); // past the press delay
    // The drag starts with a move that is still on the pressed header.
    MoveTo(ptFrom + CSize(3, 1), 40);
    for (int i = 1; i <= 6; ++i)
        MoveTo(
            CPoint(ptFrom.x + (ptTo.x - ptFrom.x) * i / 6, ptFrom.y + (ptTo.y - ptFrom.y) * i / 6),
            40);
    Pump(100);
    if (whileHeld)
        whileHeld();
    SendMouseButton(MOUSEEVENTF_LEFTUP);
    Pump(150);
}

TEST_F(ShortcutBarInputRealTest, DraggingAHeaderOntoAnotherExchangesThoseTwoScreenInput) {
    MakeShownBar(SHBS_DRAWHEADERDRAGIMAGE);
    const std::vector<HSHBGROUP> before = Order();
    HSHBGROUP hDuringDrag = nullptr, hTargetDuringDrag = nullptr;
    HCURSOR hCursorDuringDrag = nullptr;
    DragHeader(ToScreen(HeaderCenter(m_groups[0])), ToScreen(HeaderCenter(m_groups[2])), [&] {
        hDuringDrag = Bar().GetDragGroup();
        hTargetDuringDrag = Bar().GetDropTargetGroup();
        hCursorDuringDrag = ::GetCursor();
        CRect rectShot;
        m_owner.GetWindowRect(&rectShot);
        EXPECT_TRUE(SaveScreenPng(rectShot, "shortcutbar_header_drag.png"));
    });
    EXPECT_EQ(hDuringDrag, m_groups[0]);
    EXPECT_EQ(hTargetDuringDrag, m_groups[2]);
    EXPECT_EQ(hCursorDuringDrag, ::LoadCursor(nullptr, IDC_ARROW));
    EXPECT_EQ(Order(), (std::vector<HSHBGROUP>{before[2], before[1], before[0]}));
    EXPECT_EQ(Bar().GetDragGroup(), nullptr);
    EXPECT_EQ(Bar().GetDropTargetGroup(), nullptr);
    EXPECT_EQ(::GetCapture(), nullptr);
    // The owner saw the drag begin and end, and the drop.
    ASSERT_EQ(m_owner.Count(SHBN_DRAGHEADER), 2);
    ASSERT_NE(m_owner.Last(SHBN_DROPGROUP), nullptr);
    EXPECT_EQ(m_owner.Last(SHBN_DROPGROUP)->hGroup, m_groups[0]);
    EXPECT_EQ(m_owner.Last(SHBN_DROPGROUP)->lParam, reinterpret_cast<LPARAM>(m_groups[2]));
}

TEST_F(ShortcutBarInputRealTest, ADropTheOwnerTakesOrOneOffTheHeadersKeepsTheOrderInput) {
    struct Case {
        const char* pszCase;
        DWORD dwStyle;
        bool bOwnerTakesDrop;
        bool bOntoContent; // else onto the first header
        int nDropNotices;
    } const cases[] = {
        {"owner takes the drop", 0, true, false, 1},
        {"released over the content", 0, false, true, 0},
        {"released over the content with the image", SHBS_DRAWHEADERDRAGIMAGE, false, true, 0},
        {"header drags disabled", SHBS_DISABLEDRAGHEADER, false, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszCase);
        MakeShownBar(c.dwStyle);
        // The second header, dragged with the last group open, stays where it
        // is when the press opens its group.
        Bar().ExpandGroup(m_groups[2]);
        m_owner.Answer(SHBN_DROPGROUP, c.bOwnerTakesDrop ? 1 : 0);
        const std::vector<HSHBGROUP> before = Order();
        const CPoint ptTo =
            c.bOntoContent ? Bar().GetChildWndRect().CenterPoint() : HeaderCenter(m_groups[0]);
        DragHeader(ToScreen(HeaderCenter(m_groups[1])), ToScreen(ptTo));
        EXPECT_EQ(m_owner.Count(SHBN_DROPGROUP), c.nDropNotices);
        EXPECT_EQ(Order(), before);
        EXPECT_EQ(Bar().GetDragGroup(), nullptr);
        EXPECT_EQ(::GetCapture(), nullptr);
        ResetBar();
        m_owner.Clear();
        m_owner.Answer(SHBN_DROPGROUP, 0); // the only answer the cases set
    }
}

TEST_F(ShortcutBarInputRealTest, ADragThatLosesTheCaptureEndsWithoutADropInput) {
    MakeShownBar(0);
    const std::vector<HSHBGROUP> before = Order();
    DragHeader(ToScreen(HeaderCenter(m_groups[0])), ToScreen(HeaderCenter(m_groups[2])), [&] {
        ASSERT_EQ(Bar().GetDropTargetGroup(), m_groups[2]);
        // Another window takes the capture; the release goes there.
        m_owner.SetCapture();
    });
    ::ReleaseCapture();
    EXPECT_EQ(Bar().GetDragGroup(), m_groups[0]);
    // The next move over the bar ends the drag without a drop.
    MoveTo(ToScreen(HeaderCenter(m_groups[1])));
    EXPECT_EQ(Bar().GetDragGroup(), nullptr);
    EXPECT_EQ(Bar().GetDropTargetGroup(), nullptr);
    EXPECT_EQ(m_owner.Count(SHBN_DROPGROUP), 0);
    EXPECT_EQ(m_owner.Last(SHBN_DRAGHEADER)->hGroup, nullptr);
    EXPECT_EQ(Order(), before);
}

TEST_F(ShortcutBarInputRealTest, RestingOnACollapsedHeaderAutoExpandsIt800MsInput) {
    MakeShownBar(SHBS_AUTOEXPAND);
    const DWORD dwStart = ::GetTickCount();
    MoveTo(ToScreen(HeaderCenter(m_groups[2])));
    // Moving on the same header does not restart the delay.
    MoveTo(ToScreen(HeaderCenter(m_groups[2]) + CSize(2, 0)));
    Pump(400);
    EXPECT_EQ(Bar().GetExpandedGroup(), m_groups[0]);
    PumpUntilOr([this] { return Bar().GetExpandedGroup() == m_groups[2]; }, 2000);
    EXPECT_EQ(Bar().GetExpandedGroup(), m_groups[2]);
    EXPECT_GE(::GetTickCount() - dwStart, 780u);
    EXPECT_LT(::GetTickCount() - dwStart, 1300u);
}

TEST_F(ShortcutBarInputRealTest, LeavingAHeaderSoonerDoesNotAutoExpandInput) {
    MakeShownBar(SHBS_AUTOEXPAND);
    MoveTo(ToScreen(HeaderCenter(m_groups[2])));
    Pump(400);
    // Onto the expanded group's header, then off the bar.
    MoveTo(ToScreen(HeaderCenter(m_groups[0])));
    CPoint ptOff(5, 5);
    m_owner.ClientToScreen(&ptOff);
    MoveTo(ptOff);
    Pump(1000);
    EXPECT_EQ(Bar().GetExpandedGroup(), m_groups[0]);
    // No auto-expansion without the style either.
    Bar().SetBarStyle(0);
    MoveTo(ToScreen(HeaderCenter(m_groups[1])));
    Pump(1100);
    EXPECT_EQ(Bar().GetExpandedGroup(), m_groups[0]);
}

class ShortcutBarMenuInputTest : public ShortcutBarInputRealTest {
protected:
    // Right-clicks at a client point and, with the menu open, runs shot (if
    // any) and clicks the item of nCommand.
    bool ChooseFromMenu(CPoint point, UINT nCommand, const char* pszShot = nullptr) {
        m_owner.Answer(SHBN_CONTEXTMENU, 0);
        CRect rectItem;
        CUiScript script(::EndMenu, {[] { return FindPopupMenu() != nullptr; },
                                     [] {
                                         static DWORD s_dwShown = 0;
                                         if (s_dwShown == 0)
                                             s_dwShown = ::GetTickCount();
                                         if (::GetTickCount() - s_dwShown < 300)
                                             return false;
                                         s_dwShown = 0;
                                         return true;
                                     },
                                     [&] {
                                         if (pszShot != nullptr) {
                                             CRect rectOwner, rectPopup, rectShot;
                                             m_owner.GetWindowRect(&rectOwner);
                                             ::GetWindowRect(FindPopupMenu(), &rectPopup);
                                             rectShot.UnionRect(rectOwner, rectPopup);
                                             SaveScreenPng(rectShot, pszShot);
                                         }
                                         return TrackedItemRect(nCommand, &rectItem);
                                     },
                                     [&] {
                                         // The menu's own loop takes the click.
                                         SendMouseMove(rectItem.CenterPoint());
                                         SendMouseButton(MOUSEEVENTF_LEFTDOWN);
                                         SendMouseButton(MOUSEEVENTF_LEFTUP);
                                         return true;
                                     },
                                     [] { return FindPopupMenu() == nullptr; }});
        MoveTo(ToScreen(point));
        SendMouseButton(MOUSEEVENTF_RIGHTDOWN);
        Pump(50);
        SendMouseButton(MOUSEEVENTF_RIGHTUP);
        PumpUntil([&script] { return script.Finished() || script.Stalled(); });
        Pump(100);
        return script.Finished() && !script.Stalled();
    }
};

TEST_F(ShortcutBarMenuInputTest, RenameThroughTheContextMenuScreenInput) {
    MakeShownBar(SHBS_EDITHEADERS);
    ASSERT_TRUE(ChooseFromMenu(HeaderCenter(m_groups[1]), SHB_IDMRENAMEGROUP,
                               "shortcutbar_context_menu.png"));
    ASSERT_EQ(Bar().GetEditGroup(), m_groups[1]);
    TypeKeys("flagged");
    TapKey(VK_RETURN);
    EXPECT_EQ(Bar().GetGroupText(m_groups[1]), CString("flagged"));
    EXPECT_EQ(m_owner.Last(SHBN_ENDHEADEREDIT)->sText, "flagged");
    EXPECT_EQ(Bar().GetEditGroup(), nullptr);
    EXPECT_FALSE(Bar().GetEditControl()->IsWindowVisible());
}

TEST_F(ShortcutBarMenuInputTest, RemoveThroughTheContextMenuInput) {
    MakeShownBar(SHBS_EDITHEADERS);
    ASSERT_TRUE(ChooseFromMenu(HeaderCenter(m_groups[2]), SHB_IDMREMOVEGROUP));
    EXPECT_EQ(Bar().GetGroupCount(), 2);
    EXPECT_EQ(Order(), (std::vector<HSHBGROUP>{m_groups[0], m_groups[1]}));
    EXPECT_FALSE(m_content[2].IsWindowVisible());
}

TEST_F(ShortcutBarMenuInputTest, EscapeCancelsAHeaderEditAndStillTellsTheOwnerInput) {
    MakeShownBar(SHBS_EDITHEADERS);
    ASSERT_TRUE(ChooseFromMenu(HeaderCenter(m_groups[0]), SHB_IDMRENAMEGROUP));
    ASSERT_EQ(Bar().GetEditGroup(), m_groups[0]);
    TypeKeys("lost");
    TapKey(VK_ESCAPE);
    EXPECT_EQ(Bar().GetGroupText(m_groups[0]), CString("Calls"));
    ASSERT_EQ(m_owner.Count(SHBN_ENDHEADEREDIT), 1);
    EXPECT_EQ(m_owner.Last(SHBN_ENDHEADEREDIT)->sText, "Calls");
    EXPECT_EQ(Bar().GetEditGroup(), nullptr);
}

TEST_F(ShortcutBarMenuInputTest, NewGroupThroughTheContextMenuOnAnEmptyBarInput) {
    ASSERT_TRUE(Bar().Create(&m_owner, CRect(10, 10, 210, 310), SHBS_EDITHEADERS, 7));
    TakeForeground();
    ASSERT_TRUE(ChooseFromMenu(CPoint(100, 150), SHB_IDMADDGROUP));
    ASSERT_EQ(Bar().GetGroupCount(), 1);
    HSHBGROUP hGroup = Bar().FindGroupByOrder(0);
    EXPECT_EQ(Bar().GetExpandedGroup(), hGroup);
    ASSERT_EQ(Bar().GetEditGroup(), hGroup);
    TypeKeys("new calls");
    TapKey(VK_RETURN);
    EXPECT_EQ(Bar().GetGroupText(hGroup), CString("new calls"));
}

} // namespace
