// Tests of COXShortcutBar's model: creation and set-up, group handles, the
// group table (insert with and without an order, delete, change, exchange of
// orders, sorting, finding), the checks with their traces, the defaults of the
// group getters under each skin, and the owner's vetoes through notifications.
// Each bar lives in a CShortcutBarOwner that records what the bar tells it.
#include "native/gtest.h"

#include "toolkit/OXSHBListCtrl.h"
#include "toolkit/OXShortcutBar.h"
#include "toolkit/OXShortcutBarSkin.h"
#include "toolkit/OXSkinnedApp.h"

#include "tests/support/Canvas.h"
#include "tests/support/TraceCapture.h"
#include "tests/toolkit/ShortcutBarOwner.h"

#include "framework/ImageList.h"
#include "framework/Ole.h"

#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

COXSkinnedApp theApp;

const UINT kBarID = 7565;
const CRect kBarRect(0, 0, 200, 300);

// Group texts from the top position down.
typedef std::vector<std::string> Texts;

// Shows the bar's protected record and lets a test make list creation fail.
class CTestBar : public COXShortcutBar {
public:
    using COXShortcutBar::GetGroupInfo;
    BOOL m_bFailListCreation = FALSE;

    BOOL CreateListControl(HSHBGROUP hGroup) override {
        return m_bFailListCreation ? FALSE : COXShortcutBar::CreateListControl(hGroup);
    }
};

// A content window of the application: a child of the bar that records the
// bar's private messages.
class CContentWnd : public CWnd {
public:
    struct Seen {
        UINT message;
        LPARAM lParam;
    };
    BOOL Make(CWnd* pParent, DWORD dwStyle = WS_CHILD) {
        return CreateEx(0, AfxRegisterWndClass(0), "content", dwStyle, CRect(0, 0, 10, 10), pParent,
                        3000);
    }
    int Count(UINT message) const {
        int nCount = 0;
        for (const Seen& seen : m_seen)
            nCount += seen.message == message;
        return nCount;
    }
    const Seen* Last(UINT message) const {
        for (auto it = m_seen.rbegin(); it != m_seen.rend(); ++it)
            if (it->message == message)
                return &*it;
        return nullptr;
    }
    std::vector<Seen> m_seen;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message >= SHBM_POPULATECONTEXTMENU && message <= SHBM_STARTDRAGDROP)
            m_seen.push_back({message, lParam});
        // A font of its own, as a tree or a list keeps one.
        if (message == WM_SETFONT) {
            m_hFont = reinterpret_cast<HFONT>(wParam);
            return 0;
        }
        if (message == WM_GETFONT)
            return reinterpret_cast<LRESULT>(m_hFont);
        return CWnd::WindowProc(message, wParam, lParam);
    }
    HFONT m_hFont = nullptr;
};

class ShortcutBarModel : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(AfxOleInit());
        ASSERT_TRUE(theApp.SetCurrentSkin("Classic"));
        ASSERT_TRUE(m_owner.Make());
        ASSERT_TRUE(m_bar.Create(&m_owner, kBarRect, 0, kBarID));
        m_owner.Clear();
    }
    void TearDown() override {
        if (::IsWindow(m_bar.m_hWnd))
            m_bar.DestroyWindow();
        m_owner.DestroyWindow();
    }

    HSHBGROUP Insert(const char* pszText, int nOrder = -100, HWND hwndChild = nullptr) {
        SHB_GROUPINFO info;
        info.nMask = SHBIF_TEXT;
        info.pszText = const_cast<char*>(pszText);
        info.nTextMax = (int)strlen(pszText);
        if (nOrder != -100) {
            info.nMask |= SHBIF_ORDER;
            info.nOrder = nOrder;
        }
        if (hwndChild != nullptr) {
            info.nMask |= SHBIF_CHILDWND;
            info.hwndChild = hwndChild;
        }
        return m_bar.InsertGroup(&info);
    }
    Texts Order() const {
        Texts texts;
        for (int i = 0; i < m_bar.GetGroupCount(); i++)
            texts.push_back((LPCTSTR)m_bar.GetGroupText(m_bar.FindGroupByOrder(i)));
        return texts;
    }

    CShortcutBarOwner m_owner;
    CTestBar m_bar;
};

// ---------------------------------------------------------------------------
// Creation

TEST_F(ShortcutBarModel, CreateMakesAChildOfTheRegisteredClassWithItsEditorAndDefaults) {
    char szClass[64] = {};
    ::GetClassNameA(m_bar.m_hWnd, szClass, sizeof(szClass));
    EXPECT_STREQ("OXShortcutBar", szClass);
    EXPECT_EQ((UINT)CS_DBLCLKS, (UINT)::GetClassLongA(m_bar.m_hWnd, GCL_STYLE));
    EXPECT_TRUE(m_bar.GetStyle() & WS_CHILD);
    EXPECT_EQ(m_owner.m_hWnd, ::GetParent(m_bar.m_hWnd));
    EXPECT_EQ((int)kBarID, m_bar.GetDlgCtrlID());

    // The header editor exists from the start, hidden, under its own identifier.
    COXSHBEdit* pEdit = m_bar.GetEditControl();
    ASSERT_TRUE(::IsWindow(pEdit->m_hWnd));
    EXPECT_EQ(m_bar.m_hWnd, ::GetParent(pEdit->m_hWnd));
    EXPECT_EQ(SHB_IDCEDIT, pEdit->GetDlgCtrlID());
    EXPECT_FALSE(pEdit->IsWindowVisible());

    EXPECT_EQ(0, m_bar.GetGroupCount());
    EXPECT_EQ(nullptr, m_bar.GetExpandedGroup());
    EXPECT_EQ(0u, m_bar.GetBarStyle());
    EXPECT_EQ(CSize(16, 16), m_bar.GetScrollButtonSize());
    EXPECT_EQ(200u, m_bar.GetScrollingDelay());
    EXPECT_EQ(400u, m_bar.GetAutoScrollingDelay());
    EXPECT_EQ(800u, m_bar.GetAutoExpandDelay());
    EXPECT_EQ(CRect(5, 5, 5, 5), m_bar.GetMargins());
    EXPECT_TRUE(m_bar.GetChildWndRect().IsRectEmpty());
    EXPECT_EQ(nullptr, m_bar.GetGroupImageList());
}

TEST_F(ShortcutBarModel, CreateRefusesAStyleBeyondSixteenBitsAndLeavesNoWindow) {
    CTraceCapture trace;
    COXShortcutBar bar;
    EXPECT_FALSE(bar.Create(&m_owner, kBarRect, 0x10000, 1));
    EXPECT_EQ(nullptr, bar.m_hWnd);
    EXPECT_EQ(nullptr, ::GetDlgItem(m_owner.m_hWnd, 1));
    EXPECT_TRUE(
        trace.Holds("COXShortcutBar::VerifyBarStyle: unspecified Shortcut Bar style was used"));
}

TEST_F(ShortcutBarModel, ASecondBarReusesTheRegisteredClass) {
    COXShortcutBar bar;
    EXPECT_TRUE(bar.Create(&m_owner, CRect(200, 0, 300, 300), SHBS_EDITHEADERS, 2));
    EXPECT_EQ((DWORD)SHBS_EDITHEADERS, bar.GetBarStyle());
}

TEST_F(ShortcutBarModel, AttachingToAnExistingWindowSetsTheEditingStyleAndInitialises) {
    HWND hWnd = ::CreateWindowExA(0, "OXShortcutBar", "", WS_CHILD | WS_VISIBLE, 200, 0, 100, 300,
                                  m_owner.m_hWnd, (HMENU)5, AfxGetInstanceHandle(), nullptr);
    ASSERT_NE(nullptr, hWnd);
    COXShortcutBar bar;
    ASSERT_TRUE(bar.SubclassWindow(hWnd));
    EXPECT_EQ(0x020Fu, bar.GetBarStyle());
    EXPECT_TRUE(::IsWindow(bar.GetEditControl()->m_hWnd));
    EXPECT_EQ(hWnd, ::GetParent(bar.GetEditControl()->m_hWnd));
}

TEST_F(ShortcutBarModel, SetBarStyleTellsEveryDescendantAndRefusesWideStyles) {
    CContentWnd content;
    ASSERT_TRUE(content.Make(&m_bar));
    EXPECT_TRUE(m_bar.SetBarStyle(SHBS_NOSCROLL | SHBS_BUTTONHEADERS));
    EXPECT_EQ((DWORD)(SHBS_NOSCROLL | SHBS_BUTTONHEADERS), m_bar.GetBarStyle());
    ASSERT_EQ(1, content.Count(SHBM_SHBSTYLECHANGED));
    EXPECT_EQ(0x20, content.Last(SHBM_SHBSTYLECHANGED)->lParam);

    CTraceCapture trace;
    EXPECT_FALSE(m_bar.SetBarStyle(0x10000));
    EXPECT_EQ((DWORD)(SHBS_NOSCROLL | SHBS_BUTTONHEADERS), m_bar.GetBarStyle());
    EXPECT_EQ(1, content.Count(SHBM_SHBSTYLECHANGED));
    EXPECT_TRUE(trace.Holds("unspecified Shortcut Bar style was used"));
}

TEST_F(ShortcutBarModel, SetGroupImageListReturnsThePreviousList) {
    CImageList first, second;
    EXPECT_EQ(nullptr, m_bar.SetGroupImageList(&first));
    EXPECT_EQ(&first, m_bar.SetGroupImageList(&second));
    EXPECT_EQ(&second, m_bar.GetGroupImageList());
}

TEST_F(ShortcutBarModel, ABarWithoutAWindowSendsNoNotification) {
    COXShortcutBar bar;
    EXPECT_EQ(0, bar.SendSHBNotification(SHBN_INSERTGROUP, nullptr, -1, 0));
}

class CNoEditBar : public COXShortcutBar {
public:
    BOOL CreateEditControl() override { return FALSE; }
};

TEST_F(ShortcutBarModel, ABarThatCannotInitialiseLeavesNoWindow) {
    CTraceCapture trace;
    CNoEditBar bar;
    EXPECT_FALSE(bar.Create(&m_owner, kBarRect, 0, 4));
    EXPECT_EQ(nullptr, bar.m_hWnd);
    EXPECT_EQ(nullptr, ::GetDlgItem(m_owner.m_hWnd, 4));
    EXPECT_TRUE(trace.Holds("COXShortcutBar::InitShortcutBar: failed to create edit control"));
    EXPECT_TRUE(trace.Holds("COXShortcutBar::Create: failed to initialize the shortcut bar"));
}

TEST_F(ShortcutBarModel, CreateRunsTheHotCheckTimer) {
    // KillTimer succeeds only for a timer that runs.
    EXPECT_TRUE(::KillTimer(m_bar.m_hWnd, SHB_IDTHOTCHECK));
    EXPECT_FALSE(::KillTimer(m_bar.m_hWnd, SHB_IDTAUTOEXPAND));
}

// A thread that never initialised OLE cannot register the bar as a drop
// target; the bar still works.
DWORD WINAPI CreateWithoutOle(LPVOID pParam) {
    std::string& sResult = *static_cast<std::string*>(pParam);
    CTraceCapture trace;
    CShortcutBarOwner owner;
    COXShortcutBar bar;
    if (!owner.Make() || !bar.Create(&owner, kBarRect, 0, 1)) {
        sResult = "not created";
        return 0;
    }
    SHB_GROUPINFO info;
    info.nMask = SHBIF_TEXT;
    info.pszText = const_cast<char*>("A");
    if (bar.InsertGroup(&info) == nullptr)
        sResult = "no group";
    else if (!trace.Holds("COXShortcutBar::InitShortcutBar: failed to register the shortcut bar "
                          "with COleDropTarget") ||
             !trace.Holds("you've probably forgot to initialize OLE libraries using AfxOleInit"))
        sResult = "no trace";
    else
        sResult = "ok";
    bar.DestroyWindow();
    owner.DestroyWindow();
    return 0;
}

TEST_F(ShortcutBarModel, WithoutOleTheBarTracesAndStillWorks) {
    std::string sResult;
    HANDLE hThread = ::CreateThread(nullptr, 0, CreateWithoutOle, &sResult, 0, nullptr);
    ASSERT_NE(nullptr, hThread);
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(hThread, 30000));
    ::CloseHandle(hThread);
    EXPECT_EQ("ok", sResult);
}

// ---------------------------------------------------------------------------
// Handles and insertion

TEST_F(ShortcutBarModel, HandlesCountFromOneAndAreNeverReused) {
    const HSHBGROUP hFirst = Insert("A");
    const HSHBGROUP hSecond = Insert("B");
    const HSHBGROUP hThird = Insert("C");
    EXPECT_EQ((HSHBGROUP)1, hFirst);
    EXPECT_EQ((HSHBGROUP)2, hSecond);
    EXPECT_EQ((HSHBGROUP)3, hThird);
    ASSERT_TRUE(m_bar.DeleteGroup(hSecond));
    ASSERT_TRUE(m_bar.DeleteGroup(hThird));
    EXPECT_EQ((HSHBGROUP)4, Insert("D"));
    EXPECT_EQ(2, m_bar.GetGroupCount());
    // A deleted handle is unknown for good.
    EXPECT_EQ(-1, m_bar.GetGroupOrder(hSecond));
    EXPECT_FALSE(m_bar.DeleteGroup(hSecond));
}

struct InsertCase {
    const char* pszName;
    BOOL bOrder;
    int nOrder;
    Texts expected; // texts from the top; empty when the insert is refused
};

TEST_F(ShortcutBarModel, InsertPlacesTheGroupByItsOrder) {
    const InsertCase cases[] = {
        {"no order appends", FALSE, 0, {"b", "D", "f", "C"}},
        {"-2 appends", TRUE, SHBI_LAST, {"b", "D", "f", "C"}},
        {"-1 goes first", TRUE, SHBI_FIRST, {"C", "b", "D", "f"}},
        {"0 goes first", TRUE, 0, {"C", "b", "D", "f"}},
        {"1 goes second", TRUE, 1, {"b", "C", "D", "f"}},
        {"2 goes third", TRUE, 2, {"b", "D", "C", "f"}},
        {"-3 sorts by text, case ignored", TRUE, SHBI_SORT, {"b", "C", "D", "f"}},
        {"the count is refused", TRUE, 3, {}},
        {"-4 is refused", TRUE, -4, {}},
    };
    for (const InsertCase& test : cases) {
        SCOPED_TRACE(test.pszName);
        m_bar.DeleteAllGroups();
        Insert("b");
        Insert("D");
        Insert("f");
        SHB_GROUPINFO info;
        info.nMask = SHBIF_TEXT | (test.bOrder ? SHBIF_ORDER : 0);
        info.pszText = const_cast<char*>("C");
        info.nOrder = test.nOrder;
        const HSHBGROUP hGroup = m_bar.InsertGroup(&info);
        if (test.expected.empty()) {
            EXPECT_EQ(nullptr, hGroup);
            EXPECT_EQ(Texts({"b", "D", "f"}), Order());
            continue;
        }
        ASSERT_NE(nullptr, hGroup);
        EXPECT_EQ(test.expected, Order());
        // Every position 0 .. count - 1 is held by exactly one group.
        for (int i = 0; i < m_bar.GetGroupCount(); i++)
            EXPECT_NE(nullptr, m_bar.FindGroupByOrder(i)) << i;
    }
}

TEST_F(ShortcutBarModel, InsertTellsTheOwnerFirstAndDoesNotExpand) {
    SHB_GROUPINFO info;
    info.nMask = SHBIF_TEXT;
    info.pszText = const_cast<char*>("Mail");
    const HSHBGROUP hGroup = m_bar.InsertGroup(&info);
    ASSERT_NE(nullptr, hGroup);
    ASSERT_EQ(std::vector<UINT>({SHBN_INSERTGROUP}), m_owner.Codes());
    const CShortcutBarOwner::Seen& seen = m_owner.All()[0];
    EXPECT_EQ(m_bar.m_hWnd, seen.hwndFrom);
    EXPECT_EQ((UINT_PTR)kBarID, seen.idFrom);
    EXPECT_EQ(nullptr, seen.hGroup);
    EXPECT_EQ(-1, seen.nItem);
    EXPECT_EQ(reinterpret_cast<LPARAM>(&info), seen.lParam);
    EXPECT_EQ(nullptr, m_bar.GetExpandedGroup());
}

TEST_F(ShortcutBarModel, AnOwnerVetoOfInsertLeavesTheBarUnchanged) {
    const HSHBGROUP hFirst = Insert("A");
    m_owner.Answer(SHBN_INSERTGROUP, 1);
    EXPECT_EQ(nullptr, Insert("B", SHBI_FIRST));
    EXPECT_EQ(Texts({"A"}), Order());
    EXPECT_EQ(0, m_bar.GetGroupOrder(hFirst));
    m_owner.Answer(SHBN_INSERTGROUP, 0);
    // The refused insert took no handle.
    EXPECT_EQ((HSHBGROUP)2, Insert("B"));
}

TEST_F(ShortcutBarModel, AnImageWithoutAnImageListIsRefusedAndChangesNothing) {
    Insert("A");
    Insert("B");
    CTraceCapture trace;
    SHB_GROUPINFO info;
    info.nMask = SHBIF_TEXT | SHBIF_IMAGE | SHBIF_ORDER;
    info.pszText = const_cast<char*>("C");
    info.nImage = 0;
    info.nOrder = SHBI_FIRST;
    EXPECT_EQ(nullptr, m_bar.InsertGroup(&info));
    EXPECT_TRUE(trace.Holds("COXShortcutBar::VerifyImage: image list wasn't set"));
    EXPECT_EQ(Texts({"A", "B"}), Order());
    EXPECT_EQ(2, m_bar.GetGroupCount());
    EXPECT_EQ((HSHBGROUP)3, Insert("C"));
}

TEST_F(ShortcutBarModel, ImagesAreCheckedAgainstTheImageList) {
    CImageList images;
    ASSERT_TRUE(images.Create(16, 16, ILC_COLOR24, 4, 1));
    ASSERT_TRUE(images.SetImageCount(3));
    m_bar.SetGroupImageList(&images);
    const HSHBGROUP hGroup = Insert("A");

    CTraceCapture trace;
    EXPECT_FALSE(m_bar.SetGroupImage(hGroup, 3));
    EXPECT_TRUE(
        trace.Holds("COXShortcutBar::VerifyImage: image number 3 is out of range: 0 ... 3"));
    EXPECT_EQ(-1, m_bar.GetGroupImage(hGroup));

    EXPECT_TRUE(m_bar.SetGroupImage(hGroup, 2));
    EXPECT_EQ(2, m_bar.GetGroupImage(hGroup));
    // Without an expanded image of its own the group shows its image.
    EXPECT_EQ(2, m_bar.GetGroupImageExpanded(hGroup));
    EXPECT_TRUE(m_bar.SetGroupImageExpanded(hGroup, 0));
    EXPECT_EQ(0, m_bar.GetGroupImageExpanded(hGroup));
    // A negative index takes the image away.
    EXPECT_TRUE(m_bar.SetGroupImage(hGroup, -1));
    EXPECT_EQ(-1, m_bar.GetGroupImage(hGroup));
    EXPECT_FALSE(m_bar.GetGroupInfo(hGroup)->nMask & SHBIF_IMAGE);
}

// ---------------------------------------------------------------------------
// Content windows and lists

TEST_F(ShortcutBarModel, AGroupWithoutAContentWindowGetsAListNamedByItsHandle) {
    const HSHBGROUP hGroup = Insert("List");
    COXSHBListCtrl* pList = m_bar.GetGroupListCtrl(hGroup);
    ASSERT_NE(nullptr, pList);
    ASSERT_TRUE(::IsWindow(pList->m_hWnd));
    EXPECT_EQ(m_bar.m_hWnd, ::GetParent(pList->m_hWnd));
    EXPECT_EQ((int)(INT_PTR)hGroup, pList->GetDlgCtrlID());
    EXPECT_EQ(0x2044u, (DWORD)(pList->GetStyle() & 0xFFFF));
    EXPECT_TRUE(pList->GetStyle() & WS_CHILD);
    EXPECT_EQ(nullptr, m_bar.GetGroupChildWnd(hGroup));
    EXPECT_EQ(pList->m_hWnd, m_bar.GetGroupChildWndHandle(hGroup));
}

TEST_F(ShortcutBarModel, AGroupWithAContentWindowGetsNoListAndIsTold) {
    CContentWnd content;
    ASSERT_TRUE(content.Make(&m_bar));
    const HSHBGROUP hGroup = Insert("Tree", -100, content.m_hWnd);
    ASSERT_NE(nullptr, hGroup);
    EXPECT_EQ(nullptr, m_bar.GetGroupListCtrl(hGroup));
    EXPECT_EQ(content.m_hWnd, m_bar.GetGroupChildWnd(hGroup));
    EXPECT_EQ(content.m_hWnd, m_bar.GetGroupChildWndHandle(hGroup));
    ASSERT_EQ(1, content.Count(SHBM_SETSHBGROUP));
    EXPECT_EQ(reinterpret_cast<LPARAM>(hGroup), content.Last(SHBM_SETSHBGROUP)->lParam);
}

TEST_F(ShortcutBarModel, AContentWindowMustBeAChildOfTheBar) {
    CContentWnd popup, elsewhere;
    ASSERT_TRUE(popup.CreateEx(0, AfxRegisterWndClass(0), "popup", WS_POPUP, 0, 0, 10, 10,
                               m_bar.m_hWnd, nullptr));
    ASSERT_TRUE(elsewhere.Make(&m_owner));
    CContentWnd gone;
    ASSERT_TRUE(gone.Make(&m_bar));
    const HWND hWndGone = gone.m_hWnd;
    gone.DestroyWindow();
    const struct {
        HWND hWnd;
        const char* pszTrace;
    } cases[] = {
        {popup.m_hWnd, "COXShortcutBar::VerifyChildWnd: WS_CHILD style must be specified"},
        {elsewhere.m_hWnd, "COXShortcutBar::VerifyChildWnd: child window parent window is not"},
        {hWndGone, "COXShortcutBar::VerifyChildWnd: window wasn't created"},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.pszTrace);
        CTraceCapture trace;
        EXPECT_EQ(nullptr, Insert("X", -100, test.hWnd));
        EXPECT_TRUE(trace.Holds(test.pszTrace));
        EXPECT_EQ(0, m_bar.GetGroupCount());
    }
}

TEST_F(ShortcutBarModel, ChangingTheContentWindowSwitchesBetweenListAndWindow) {
    const HSHBGROUP hGroup = Insert("List");
    COXSHBListCtrl* pList = m_bar.GetGroupListCtrl(hGroup);
    ASSERT_NE(nullptr, pList);
    CContentWnd content;
    ASSERT_TRUE(content.Make(&m_bar));

    m_bar.ExpandGroup(hGroup);
    ASSERT_TRUE(pList->IsWindowVisible());

    SHB_GROUPINFO info;
    info.nMask = SHBIF_CHILDWND;
    info.hwndChild = content.m_hWnd;
    ASSERT_TRUE(m_bar.SetGroupInfo(hGroup, &info));
    EXPECT_EQ(content.m_hWnd, m_bar.GetGroupChildWndHandle(hGroup));
    // The list the group no longer shows is put away.
    EXPECT_FALSE(pList->IsWindowVisible());
    EXPECT_EQ(1, content.Count(SHBM_SETSHBGROUP));
    ASSERT_EQ(1, content.Count(SHBM_SHBINFOCHANGED));
    EXPECT_EQ(SHBIF_CHILDWND, content.Last(SHBM_SHBINFOCHANGED)->lParam);

    // Back to no window: the group shows its list again.
    info.hwndChild = nullptr;
    ASSERT_TRUE(m_bar.SetGroupInfo(hGroup, &info));
    EXPECT_EQ(nullptr, m_bar.GetGroupChildWnd(hGroup));
    EXPECT_EQ(pList, m_bar.GetGroupListCtrl(hGroup));
    EXPECT_EQ(pList->m_hWnd, m_bar.GetGroupChildWndHandle(hGroup));
}

TEST_F(ShortcutBarModel, AFailedListIsTakenOutAgainWithoutAskingTheOwner) {
    Insert("A");
    Insert("B");
    m_owner.Answer(SHBN_DELETINGGROUP, 1);
    m_owner.Clear();
    m_bar.m_bFailListCreation = TRUE;
    EXPECT_EQ(nullptr, Insert("C", SHBI_FIRST));
    EXPECT_EQ(0, m_owner.Count(SHBN_DELETINGGROUP));
    EXPECT_EQ(2, m_bar.GetGroupCount());
    EXPECT_EQ(Texts({"A", "B"}), Order());
    EXPECT_EQ(nullptr, m_bar.GetGroupListCtrl((HSHBGROUP)3));
}

// ---------------------------------------------------------------------------
// Deleting

TEST_F(ShortcutBarModel, DeleteClosesTheGapAndTellsTheContentWindow) {
    CContentWnd content;
    ASSERT_TRUE(content.Make(&m_bar));
    const HSHBGROUP hA = Insert("A");
    const HSHBGROUP hB = Insert("B", -100, content.m_hWnd);
    const HSHBGROUP hC = Insert("C");
    m_owner.Clear();
    ASSERT_TRUE(m_bar.DeleteGroup(hB));
    ASSERT_EQ(1, m_owner.Count(SHBN_DELETINGGROUP));
    EXPECT_EQ(hB, m_owner.Last(SHBN_DELETINGGROUP)->hGroup);
    EXPECT_EQ(0, m_owner.Last(SHBN_DELETINGGROUP)->lParam);
    EXPECT_EQ(1, content.Count(SHBM_DELETESHBGROUP));
    EXPECT_FALSE(content.IsWindowVisible());
    EXPECT_EQ(0, m_bar.GetGroupOrder(hA));
    EXPECT_EQ(1, m_bar.GetGroupOrder(hC));
    EXPECT_EQ(Texts({"A", "C"}), Order());
}

TEST_F(ShortcutBarModel, NoStateOfTheBarNamesADeletedGroup) {
    const HSHBGROUP hA = Insert("A");
    const HSHBGROUP hB = Insert("B");
    m_bar.SetHotGroup(hA);
    m_bar.SetDropTargetGroup(hA);
    ASSERT_TRUE(m_bar.DeleteGroup(hA));
    EXPECT_EQ(nullptr, m_bar.GetHotGroup());
    EXPECT_EQ(nullptr, m_bar.GetDropTargetGroup());
    m_bar.SetHotGroup(hB);
    ASSERT_TRUE(m_bar.DeleteGroup(hB));
    EXPECT_EQ(nullptr, m_bar.GetHotGroup());
}

TEST_F(ShortcutBarModel, DeletingAGroupWhoseHeaderIsEditedCancelsTheEdit) {
    ASSERT_TRUE(m_bar.SetBarStyle(SHBS_EDITHEADERS));
    Insert("A");
    const HSHBGROUP hB = Insert("B");
    ASSERT_NE(nullptr, m_bar.EditGroupHeader(hB));
    ASSERT_EQ(hB, m_bar.GetEditGroup());
    m_owner.Clear();
    ASSERT_TRUE(m_bar.DeleteGroup(hB));
    EXPECT_EQ(nullptr, m_bar.GetEditGroup());
    EXPECT_FALSE(m_bar.GetEditControl()->IsWindowVisible());
    ASSERT_EQ(1, m_owner.Count(SHBN_ENDHEADEREDIT));
    EXPECT_EQ(hB, m_owner.Last(SHBN_ENDHEADEREDIT)->hGroup);
    EXPECT_EQ("B", m_owner.Last(SHBN_ENDHEADEREDIT)->sText);
}

TEST_F(ShortcutBarModel, DeleteFreesTheGroupsList) {
    const HSHBGROUP hGroup = Insert("A");
    const HWND hWndList = m_bar.GetGroupChildWndHandle(hGroup);
    ASSERT_TRUE(::IsWindow(hWndList));
    ASSERT_TRUE(m_bar.DeleteGroup(hGroup));
    EXPECT_FALSE(::IsWindow(hWndList));
    EXPECT_EQ(nullptr, m_bar.GetGroupListCtrl(hGroup));
}

TEST_F(ShortcutBarModel, AnOwnerVetoOfDeleteKeepsTheGroup) {
    const HSHBGROUP hA = Insert("A");
    Insert("B");
    m_owner.Answer(SHBN_DELETINGGROUP, 1);
    EXPECT_FALSE(m_bar.DeleteGroup(hA));
    EXPECT_EQ(Texts({"A", "B"}), Order());
    EXPECT_NE(nullptr, m_bar.GetGroupListCtrl(hA));
    // DeleteAllGroups reports the refusal but deletes what it may.
    m_owner.m_onNotify = [hA](NMSHORTCUTBAR& nmshb) -> LRESULT {
        return nmshb.hdr.code == SHBN_DELETINGGROUP && nmshb.hGroup == hA ? 1 : 0;
    };
    m_owner.Answer(SHBN_DELETINGGROUP, 0);
    EXPECT_FALSE(m_bar.DeleteAllGroups());
    EXPECT_EQ(Texts({"A"}), Order());
    m_owner.m_onNotify = nullptr;
    EXPECT_TRUE(m_bar.DeleteAllGroups());
    EXPECT_EQ(0, m_bar.GetGroupCount());
}

TEST_F(ShortcutBarModel, DestroyingTheBarTellsTheOwnerOfEveryGroup) {
    {
        COXShortcutBar bar;
        ASSERT_TRUE(bar.Create(&m_owner, CRect(200, 0, 300, 300), 0, 9));
        SHB_GROUPINFO info;
        info.nMask = SHBIF_TEXT;
        info.pszText = const_cast<char*>("one");
        bar.InsertGroup(&info);
        bar.InsertGroup(&info);
        m_owner.Clear();
    }
    EXPECT_EQ(2, m_owner.Count(SHBN_DELETINGGROUP));
    EXPECT_EQ(nullptr, ::GetDlgItem(m_owner.m_hWnd, 9));
}

TEST_F(ShortcutBarModel, DeletingTheExpandedGroupExpandsTheGroupThatTakesItsPlace) {
    const struct {
        const char* pszName;
        int nDeleted;        // position of the expanded group that goes
        const char* pszNext; // the group expanded afterwards
    } cases[] = {
        {"first", 0, "B"},
        {"middle", 1, "C"},
        {"last of several", 2, "A"},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.pszName);
        m_bar.DeleteAllGroups();
        for (const char* pszText : {"A", "B", "C"})
            Insert(pszText);
        const HSHBGROUP hDeleted = m_bar.FindGroupByOrder(test.nDeleted);
        m_bar.ExpandGroup(hDeleted);
        ASSERT_EQ(hDeleted, m_bar.GetExpandedGroup());
        m_owner.Clear();
        ASSERT_TRUE(m_bar.DeleteGroup(hDeleted));
        EXPECT_STREQ(test.pszNext, m_bar.GetGroupText(m_bar.GetExpandedGroup()));
        ASSERT_EQ(1, m_owner.Count(SHBN_GROUPEXPANDED));
        EXPECT_EQ(m_bar.GetExpandedGroup(), m_owner.Last(SHBN_GROUPEXPANDED)->hGroup);
    }
}

TEST_F(ShortcutBarModel, DeletingTheOnlyGroupOrARefusedNeighbourLeavesNoGroupExpanded) {
    const HSHBGROUP hOnly = Insert("only");
    m_bar.ExpandGroup(hOnly);
    ASSERT_TRUE(m_bar.DeleteGroup(hOnly));
    EXPECT_EQ(nullptr, m_bar.GetExpandedGroup());
    EXPECT_TRUE(m_bar.GetChildWndRect().IsRectEmpty());

    // The owner refuses to expand the neighbour: no group is expanded, rather
    // than the deleted one.
    const HSHBGROUP hA = Insert("A");
    const HSHBGROUP hB = Insert("B");
    m_bar.ExpandGroup(hA);
    m_owner.Answer(SHBN_GROUPEXPANDING, 1);
    m_owner.Clear();
    ASSERT_TRUE(m_bar.DeleteGroup(hA));
    EXPECT_EQ(1, m_owner.Count(SHBN_GROUPEXPANDING));
    EXPECT_EQ(hB, m_owner.Last(SHBN_GROUPEXPANDING)->hGroup);
    EXPECT_EQ(nullptr, m_bar.GetExpandedGroup());
    EXPECT_TRUE(m_bar.GetChildWndRect().IsRectEmpty());
    CRect rectHeader;
    ASSERT_TRUE(m_bar.GetGroupHeaderRect(hB, &rectHeader));
    EXPECT_EQ(CRect(0, 0, 200, 18), rectHeader);
}

TEST_F(ShortcutBarModel, HitTestNamesTheHeaderOrTheExpandedGroupsContent) {
    const HSHBGROUP hA = Insert("A");
    const HSHBGROUP hB = Insert("B");
    const HSHBGROUP hC = Insert("C");
    m_bar.ExpandGroup(hB);
    const struct {
        CPoint point;
        HSHBGROUP expected;
        UINT nFlags;
    } cases[] = {
        {CPoint(10, 5), hA, SHB_ONHEADER},        {CPoint(199, 35), hB, SHB_ONHEADER},
        {CPoint(100, 150), hB, SHB_ONCHILD},    // the content of the expanded group
        {CPoint(100, 290), hC, SHB_ONHEADER},   // pushed to the bottom edge
        {CPoint(2, 150), nullptr, SHB_NOWHERE}, // in the margin beside the content
        {CPoint(100, 279), nullptr, SHB_NOWHERE}, {CPoint(250, 5), nullptr, SHB_NOWHERE},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(testing::Message() << test.point.x << "," << test.point.y);
        UINT nFlags = 0;
        EXPECT_EQ(test.expected, m_bar.HitTest(test.point, &nFlags));
        EXPECT_EQ(test.nFlags, nFlags);
    }
    CRect rect;
    ASSERT_TRUE(m_bar.GetGroupHeaderRect(hC, &rect));
    EXPECT_EQ(CRect(0, 282, 200, 300), rect);
    CTraceCapture trace;
    EXPECT_FALSE(m_bar.GetGroupHeaderRect((HSHBGROUP)99, &rect));
    EXPECT_TRUE(trace.Holds("COXShortcutBar::GetGroupHeaderRect: bound rect not found"));
}

TEST_F(ShortcutBarModel, TheBarsListKnowsItsBarAndGroup) {
    const HSHBGROUP hGroup = Insert("List");
    COXSHBListCtrl* pList = m_bar.GetGroupListCtrl(hGroup);
    ASSERT_NE(nullptr, pList);
    EXPECT_EQ(&m_bar, pList->GetShortcutBar());
    EXPECT_EQ(hGroup, pList->GetShbGroup());
}

// ---------------------------------------------------------------------------
// Changing a group

TEST_F(ShortcutBarModel, SetGroupOrderExchangesExactlyTwoGroups) {
    const struct {
        int nFrom, nTo;
        Texts expected;
    } cases[] = {
        {2, 0, {"C", "B", "A", "D"}},
        {0, 3, {"D", "B", "C", "A"}},
        {1, 2, {"A", "C", "B", "D"}},
        {3, 3, {"A", "B", "C", "D"}},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(testing::Message() << test.nFrom << " to " << test.nTo);
        m_bar.DeleteAllGroups();
        for (const char* pszText : {"A", "B", "C", "D"})
            Insert(pszText);
        EXPECT_TRUE(m_bar.SetGroupOrder(m_bar.FindGroupByOrder(test.nFrom), test.nTo));
        EXPECT_EQ(test.expected, Order());
    }
}

TEST_F(ShortcutBarModel, AnExistingGroupTakesNoInsertOnlyOrderAndNoOrderBeyondTheLast) {
    for (const char* pszText : {"A", "B", "C"})
        Insert(pszText);
    const HSHBGROUP hB = m_bar.FindGroupByOrder(1);
    const struct {
        int nOrder;
        const char* pszTrace;
    } cases[] = {
        {SHBI_FIRST, "COXShortcutBar::SetGroupInfo: order -1 is only valid for a new group"},
        {SHBI_LAST, "COXShortcutBar::SetGroupInfo: order -2 is only valid for a new group"},
        {SHBI_SORT, "COXShortcutBar::SetGroupInfo: order -3 is only valid for a new group"},
        {3, "COXShortcutBar::VerifyOrder: order number 3 is out of range: 0 ... 3"},
        {-4, "COXShortcutBar::VerifyOrder: order number -4 is out of range: 0 ... 3"},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.nOrder);
        CTraceCapture trace;
        EXPECT_FALSE(m_bar.SetGroupOrder(hB, test.nOrder));
        EXPECT_TRUE(trace.Holds(test.pszTrace));
        EXPECT_EQ(1, m_bar.GetGroupOrder(hB));
        EXPECT_EQ(Texts({"A", "B", "C"}), Order());
    }
}

TEST_F(ShortcutBarModel, ARefusedValueInSetGroupInfoChangesNothing) {
    const HSHBGROUP hGroup = Insert("Old");
    const SHB_GROUPINFO* pStored = m_bar.GetGroupInfo(hGroup);
    const struct {
        const char* pszName;
        UINT nExtraMask;
        int nView;
        int nOrder;
    } cases[] = {
        {"bad view", SHBIF_VIEW, 4, 0},
        {"bad order", SHBIF_ORDER, 1, 1},
        {"unknown mask bit", 0x01000000, 1, 0},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.pszName);
        SHB_GROUPINFO info;
        info.nMask = SHBIF_TEXT | SHBIF_PARAM | test.nExtraMask;
        info.pszText = const_cast<char*>("New");
        info.lParam = 42;
        info.nView = test.nView;
        info.nOrder = test.nOrder;
        EXPECT_FALSE(m_bar.SetGroupInfo(hGroup, &info));
        EXPECT_STREQ("Old", m_bar.GetGroupText(hGroup));
        EXPECT_EQ(0, m_bar.GetGroupData(hGroup));
        EXPECT_EQ((UINT)(SHBIF_TEXT | SHBIF_ORDER), pStored->nMask);
    }
    CTraceCapture trace;
    EXPECT_FALSE(m_bar.SetGroupText((HSHBGROUP)99, "X"));
    EXPECT_TRUE(trace.Holds("COXShortcutBar::SetGroupInfo: group wasn't created"));
}

TEST_F(ShortcutBarModel, ReplacingARecordKeepsThePositionAndResetsTheRest) {
    Insert("A");
    const HSHBGROUP hB = Insert("B");
    Insert("C");
    ASSERT_TRUE(m_bar.SetGroupView(hB, SHB_SMALLICON));
    SHB_GROUPINFO info;
    info.nMask = SHBIF_TEXT;
    info.pszText = const_cast<char*>("Bee");
    ASSERT_TRUE(m_bar.SetGroupInfo(hB, &info, TRUE));
    EXPECT_EQ(Texts({"A", "Bee", "C"}), Order());
    EXPECT_EQ(SHB_LARGEICON, m_bar.GetGroupView(hB));

    // A replacing record without a content window leaves the group a list.
    CContentWnd content;
    ASSERT_TRUE(content.Make(&m_bar));
    const HSHBGROUP hD = Insert("D", -100, content.m_hWnd);
    ASSERT_EQ(nullptr, m_bar.GetGroupListCtrl(hD));
    ASSERT_TRUE(m_bar.SetGroupInfo(hD, &info, TRUE));
    EXPECT_EQ(nullptr, m_bar.GetGroupChildWnd(hD));
    ASSERT_NE(nullptr, m_bar.GetGroupListCtrl(hD));
    EXPECT_EQ(m_bar.GetGroupListCtrl(hD)->m_hWnd, m_bar.GetGroupChildWndHandle(hD));
    EXPECT_EQ(3, m_bar.GetGroupOrder(hD));
}

TEST_F(ShortcutBarModel, TheTextIsCopiedUpToItsTerminatorOrTheGivenLength) {
    const struct {
        const char* pszText;
        int nTextMax;
        const char* pszStored;
    } cases[] = {
        {"Contacts", 0, "Contacts"},   // no length given
        {"Contacts", 100, "Contacts"}, // a length beyond the text is a bound only
        {"Contacts", 4, "Cont"},       // a shorter length cuts
        {"", 5, ""},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.pszStored);
        SHB_GROUPINFO info;
        info.nMask = SHBIF_TEXT;
        info.pszText = const_cast<char*>(test.pszText);
        info.nTextMax = test.nTextMax;
        const HSHBGROUP hGroup = m_bar.InsertGroup(&info);
        ASSERT_NE(nullptr, hGroup);
        EXPECT_STREQ(test.pszStored, m_bar.GetGroupText(hGroup));
        const SHB_GROUPINFO* pStored = m_bar.GetGroupInfo(hGroup);
        EXPECT_EQ((int)strlen(test.pszStored), pStored->nTextMax);
        EXPECT_NE(test.pszText, pStored->pszText); // the bar's own copy
    }
    // A group whose text is set from its own stored text keeps it.
    const HSHBGROUP hGroup = m_bar.FindGroupByOrder(0);
    EXPECT_TRUE(m_bar.SetGroupInfo(hGroup, m_bar.GetGroupInfo(hGroup)));
    EXPECT_STREQ("Contacts", m_bar.GetGroupText(hGroup));
}

TEST_F(ShortcutBarModel, SetGroupViewWithoutAGroupAppliesToEveryGroup) {
    const HSHBGROUP hA = Insert("A");
    const HSHBGROUP hB = Insert("B");
    EXPECT_EQ(SHB_LARGEICON, m_bar.GetGroupView(hA));
    EXPECT_TRUE(m_bar.SetGroupView(nullptr, SHB_SMALLICON));
    EXPECT_EQ(SHB_SMALLICON, m_bar.GetGroupView(hA));
    EXPECT_EQ(SHB_SMALLICON, m_bar.GetGroupView(hB));
    CTraceCapture trace;
    EXPECT_FALSE(m_bar.SetGroupView(nullptr, 4));
    EXPECT_TRUE(trace.Holds("COXShortcutBar::VerifyView: unknown view specified"));
    EXPECT_EQ(SHB_SMALLICON, m_bar.GetGroupView(hA));
    EXPECT_EQ(-1, m_bar.GetGroupView((HSHBGROUP)99));
}

// ---------------------------------------------------------------------------
// Descriptors, colours and fonts

struct SkinCase {
    const char* pszSkin;
    int nHeaderHeight;
};

TEST_F(ShortcutBarModel, TheHeaderHeightFollowsTheSkinUnlessTheDescriptorSetsOne) {
    const HSHBGROUP hPlain = Insert("plain");
    const HSHBGROUP hTall = Insert("tall");
    SHB_DESCRIPTOR descriptor;
    descriptor.nMask = SHBDM_HEADERHEIGHT;
    descriptor.nHeaderHeight = 40;
    ASSERT_TRUE(m_bar.SetGroupDescriptor(hTall, &descriptor));
    const SkinCase cases[] = {{"Classic", 18}, {"Office XP", 18}, {"Office 2003", 32}};
    for (const SkinCase& test : cases) {
        SCOPED_TRACE(test.pszSkin);
        ASSERT_TRUE(theApp.SetCurrentSkin(test.pszSkin));
        EXPECT_EQ(test.nHeaderHeight, m_bar.GetGroupHeaderHeight(hPlain));
        EXPECT_EQ(40, m_bar.GetGroupHeaderHeight(hTall));
        EXPECT_EQ(m_bar.GetShortcutBarSkin(), theApp.GetCurrentSkin()->GetShortcutBarSkin());
    }
    // Without a current skin the bar draws with a Classic skin of its own.
    EXPECT_FALSE(theApp.SetCurrentSkin("no such skin"));
    EXPECT_EQ(OX_SKIN_CLASSIC, m_bar.GetShortcutBarSkin()->GetSkinType());
    EXPECT_EQ(18, m_bar.GetGroupHeaderHeight(hPlain));
    EXPECT_EQ(-1, m_bar.GetGroupHeaderHeight((HSHBGROUP)99));
}

TEST_F(ShortcutBarModel, ColoursAndFormatFallBackToTheirDefaults) {
    const HSHBGROUP hGroup = Insert("A");
    COXShortcutBarSkin* pSkin = m_bar.GetShortcutBarSkin();
    EXPECT_EQ(pSkin->GetBackgroundColor(&m_bar), m_bar.GetGroupBkColor(hGroup));
    EXPECT_EQ(pSkin->GetTextColor(&m_bar), m_bar.GetGroupTextColor(hGroup));
    EXPECT_EQ(::GetSysColor(COLOR_BTNFACE), m_bar.GetGroupHeaderBkColor(hGroup));
    EXPECT_EQ(::GetSysColor(COLOR_BTNTEXT), m_bar.GetGroupHeaderTextColor(hGroup));
    EXPECT_EQ(0x8025u, m_bar.GetGroupHeaderTextFormat(hGroup));
    EXPECT_FALSE(m_bar.HasGroupBkColor(hGroup));

    const HSHBGROUP hUnknown = (HSHBGROUP)99;
    EXPECT_EQ((COLORREF)-1, m_bar.GetGroupBkColor(hUnknown));
    EXPECT_EQ((COLORREF)-1, m_bar.GetGroupTextColor(hUnknown));
    EXPECT_EQ((COLORREF)-1, m_bar.GetGroupHeaderBkColor(hUnknown));
    EXPECT_EQ((COLORREF)-1, m_bar.GetGroupHeaderTextColor(hUnknown));
    EXPECT_EQ(0u, m_bar.GetGroupHeaderTextFormat(hUnknown));
    EXPECT_EQ(-1, m_bar.GetGroupImage(hUnknown));
    EXPECT_EQ(-1, m_bar.GetGroupImageExpanded(hUnknown));
    EXPECT_STREQ("", m_bar.GetGroupText(hUnknown));
}

TEST_F(ShortcutBarModel, ColourSettersMergeIntoTheBarsOwnDescriptor) {
    const HSHBGROUP hGroup = Insert("A");
    SHB_DESCRIPTOR descriptor;
    descriptor.nMask = SHBDM_CLRHEADERBACK | SHBDM_HEADERTEXTFMT;
    descriptor.clrHeaderBackground = RGB(1, 2, 3);
    descriptor.nHeaderTextFormat = DT_LEFT | DT_SINGLELINE;
    ASSERT_TRUE(m_bar.SetGroupDescriptor(hGroup, &descriptor));
    // The caller's record is copied, never kept.
    descriptor.clrHeaderBackground = RGB(9, 9, 9);
    EXPECT_EQ(RGB(1, 2, 3), m_bar.GetGroupHeaderBkColor(hGroup));
    EXPECT_NE(&descriptor, m_bar.GetGroupInfo(hGroup)->pDescriptor);

    ASSERT_TRUE(m_bar.SetGroupBkColor(hGroup, RGB(10, 20, 30)));
    ASSERT_TRUE(m_bar.SetGroupTextColor(hGroup, RGB(40, 50, 60)));
    EXPECT_TRUE(m_bar.HasGroupBkColor(hGroup));
    EXPECT_EQ(RGB(10, 20, 30), m_bar.GetGroupBkColor(hGroup));
    EXPECT_EQ(RGB(40, 50, 60), m_bar.GetGroupTextColor(hGroup));
    EXPECT_EQ(RGB(1, 2, 3), m_bar.GetGroupHeaderBkColor(hGroup));
    EXPECT_EQ((UINT)(DT_LEFT | DT_SINGLELINE), m_bar.GetGroupHeaderTextFormat(hGroup));

    // No descriptor: the group falls back to every default.
    ASSERT_TRUE(m_bar.SetGroupDescriptor(hGroup, nullptr));
    EXPECT_FALSE(m_bar.HasGroupBkColor(hGroup));
    EXPECT_EQ(::GetSysColor(COLOR_BTNFACE), m_bar.GetGroupHeaderBkColor(hGroup));
}

TEST_F(ShortcutBarModel, FontsAreCopiedIntoTheCallersRecord) {
    const HSHBGROUP hA = Insert("A");
    const HSHBGROUP hB = Insert("B");
    SHB_DESCRIPTOR descriptor;
    descriptor.nMask = SHBDM_HEADERTEXTFONT;
    descriptor.lfHeader.lfHeight = -20;
    strcpy(descriptor.lfHeader.lfFaceName, "Tahoma");
    ASSERT_TRUE(m_bar.SetGroupDescriptor(hB, &descriptor));

    // Two answers live side by side: no buffer is shared between calls.
    LOGFONT fontA = {}, fontB = {};
    ASSERT_TRUE(m_bar.GetGroupHeaderTextFont(hA, &fontA));
    ASSERT_TRUE(m_bar.GetGroupHeaderTextFont(hB, &fontB));
    EXPECT_EQ(-11, fontA.lfHeight);
    EXPECT_EQ(FW_NORMAL, fontA.lfWeight);
    EXPECT_STREQ("MS Sans Serif", fontA.lfFaceName);
    EXPECT_EQ(-20, fontB.lfHeight);
    EXPECT_STREQ("Tahoma", fontB.lfFaceName);
    EXPECT_FALSE(m_bar.GetGroupHeaderTextFont((HSHBGROUP)99, &fontA));

    // The item font: the descriptor's, else the content window's.
    CContentWnd content;
    ASSERT_TRUE(content.Make(&m_bar));
    CFont font;
    ASSERT_TRUE(font.CreateFont(-15, 0, 0, 0, FW_BOLD, 0, 0, 0, 0, 0, 0, 0, 0, "Arial"));
    const HSHBGROUP hC = Insert("C", -100, content.m_hWnd);
    LOGFONT itemFont = {};
    EXPECT_FALSE(m_bar.GetGroupTextFont(hC, &itemFont)); // neither window has a font
    content.SendMessage(WM_SETFONT, (WPARAM)(HFONT)font.m_hObject);
    ASSERT_TRUE(m_bar.GetGroupTextFont(hC, &itemFont));
    EXPECT_EQ(-15, itemFont.lfHeight);
    descriptor.nMask = SHBDM_TEXTFONT;
    descriptor.lfText.lfHeight = -9;
    ASSERT_TRUE(m_bar.SetGroupDescriptor(hC, &descriptor));
    ASSERT_TRUE(m_bar.GetGroupTextFont(hC, &itemFont));
    EXPECT_EQ(-9, itemFont.lfHeight);
    EXPECT_FALSE(m_bar.GetGroupTextFont((HSHBGROUP)99, &itemFont));
}

// ---------------------------------------------------------------------------
// Sorting and finding

int CALLBACK CompareByData(HSHBGROUP hGroup1, HSHBGROUP hGroup2, LPARAM lParamSort) {
    const COXShortcutBar* pBar = reinterpret_cast<const COXShortcutBar*>(lParamSort);
    return (int)(pBar->GetGroupData(hGroup1) - pBar->GetGroupData(hGroup2));
}

TEST_F(ShortcutBarModel, SortingFollowsTheDirection) {
    const struct {
        int nDirection;
        Texts expected;
    } cases[] = {
        {0, {"delta", "Alpha", "charlie", "Bravo"}},
        {1, {"Alpha", "Bravo", "charlie", "delta"}},
        {-1, {"delta", "charlie", "Bravo", "Alpha"}},
        {1000, {"Alpha", "Bravo", "charlie", "delta"}},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.nDirection);
        m_bar.DeleteAllGroups();
        for (const char* pszText : {"delta", "Alpha", "charlie", "Bravo"})
            Insert(pszText);
        EXPECT_TRUE(m_bar.SortGroupsByText(test.nDirection));
        EXPECT_EQ(test.nDirection, m_bar.GetSortDirection());
        EXPECT_EQ(test.expected, Order());
    }

    // A comparison of the caller's, here by the groups' data.
    m_bar.DeleteAllGroups();
    const LPARAM data[] = {30, 10, 20};
    for (LPARAM lData : data) {
        SHB_GROUPINFO info;
        info.nMask = SHBIF_TEXT | SHBIF_PARAM;
        const std::string sText = std::to_string(lData);
        info.pszText = const_cast<char*>(sText.c_str());
        info.lParam = lData;
        m_bar.InsertGroup(&info);
    }
    EXPECT_TRUE(m_bar.SortGroups(CompareByData, reinterpret_cast<LPARAM>(&m_bar), 1));
    EXPECT_EQ(Texts({"10", "20", "30"}), Order());
}

TEST_F(ShortcutBarModel, FindGroupMatchesEveryFieldThePatternNames) {
    SHB_GROUPINFO info;
    info.nMask = SHBIF_TEXT | SHBIF_PARAM;
    info.pszText = const_cast<char*>("Inbox");
    info.lParam = 7;
    const HSHBGROUP hInbox = m_bar.InsertGroup(&info);
    info.pszText = const_cast<char*>("Outbox");
    info.lParam = 8;
    const HSHBGROUP hOutbox = m_bar.InsertGroup(&info);

    const struct {
        const char* pszName;
        UINT nMask;
        const char* pszText;
        LPARAM lParam;
        HSHBGROUP expected;
    } cases[] = {
        {"whole text", SHBIF_TEXT, "Outbox", 0, hOutbox},
        {"a leading part", SHBIF_TEXT, "Inb", 0, hInbox},
        {"case counts", SHBIF_TEXT, "inbox", 0, nullptr},
        {"data", SHBIF_PARAM, nullptr, 8, hOutbox},
        {"text and data must both match", SHBIF_TEXT | SHBIF_PARAM, "Inbox", 8, nullptr},
        {"a field no group has", SHBIF_VIEW, nullptr, 0, nullptr},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.pszName);
        SHB_GROUPINFO pattern;
        pattern.nMask = test.nMask;
        pattern.pszText = const_cast<char*>(test.pszText);
        pattern.lParam = test.lParam;
        EXPECT_EQ(test.expected, m_bar.FindGroup(&pattern));
    }
    EXPECT_EQ(hInbox, m_bar.FindGroupByOrder(0));
    EXPECT_EQ(hOutbox, m_bar.FindGroupByOrder(1));
}

// ---------------------------------------------------------------------------
// Checks

TEST_F(ShortcutBarModel, ChecksTraceWhyTheyRefuse) {
    Insert("A");
    Insert("B");
    // A null trace: the value passes, silently.
    const struct {
        std::function<BOOL()> check;
        const char* pszTrace;
    } cases[] = {
        {[&] { return m_bar.VerifyMask(SHBIF_ALL); }, nullptr},
        {[&] { return m_bar.VerifyMask(0x01000000); },
         "COXShortcutBar::VerifyMask: unknown mask specified"},
        {[&] { return m_bar.VerifyView(3); }, nullptr},
        {[&] { return m_bar.VerifyView(-1); },
         "COXShortcutBar::VerifyView: unknown view specified"},
        {[&] { return m_bar.VerifyOrder(SHBI_SORT); }, nullptr},
        {[&] { return m_bar.VerifyOrder(1); }, nullptr},
        {[&] { return m_bar.VerifyOrder(2); },
         "COXShortcutBar::VerifyOrder: order number 2 is out of range: 0 ... 2"},
        {[&] { return m_bar.VerifyOrder(-4); },
         "COXShortcutBar::VerifyOrder: order number -4 is out of range: 0 ... 2"},
        {[&] { return m_bar.VerifyBarStyle(0xFFFF); }, nullptr},
        {[&] { return m_bar.VerifyBarStyle(0x10000); },
         "COXShortcutBar::VerifyBarStyle: unspecified Shortcut Bar style was used"},
        {[&] { return m_bar.VerifyImage(0); },
         "COXShortcutBar::VerifyImage: image list wasn't set"},
        {[&] { return m_bar.VerifyChildWnd(m_owner.m_hWnd); },
         "COXShortcutBar::VerifyChildWnd: WS_CHILD style must be specified"},
        {[&] { return m_bar.VerifyGroupInfo(nullptr); }, "COXShortcutBar::VerifyGroupInfo"},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.pszTrace != nullptr ? test.pszTrace : "passes");
        CTraceCapture trace;
        EXPECT_EQ(test.pszTrace == nullptr, test.check() != FALSE);
        if (test.pszTrace != nullptr)
            EXPECT_TRUE(trace.Holds(test.pszTrace));
        else
            EXPECT_EQ("", trace.Text());
    }
}

// ---------------------------------------------------------------------------
// On the screen

TEST_F(ShortcutBarModel, ScreenGroupsInsertedWithOrdersShowInThatOrder) {
    ASSERT_TRUE(theApp.SetCurrentSkin("Office 2003"));
    Insert("Mail");
    Insert("Calendar", SHBI_FIRST);
    const HSHBGROUP hContacts = Insert("Contacts", 1);
    Insert("Notes", SHBI_LAST);
    m_bar.ExpandGroup(hContacts);
    m_bar.UpdateBar();
    m_owner.UpdateWindow();
    EXPECT_EQ(Texts({"Calendar", "Contacts", "Mail", "Notes"}), Order());

    CRect rectBar;
    m_bar.GetWindowRect(&rectBar);
    EXPECT_TRUE(SaveScreenPng(rectBar, "shortcutbar_model_2003.png"));
    // Every header lies at the bottom, in order, 32 pixels high.
    for (int i = 0; i < 4; i++) {
        CRect rect;
        ASSERT_TRUE(m_bar.GetGroupHeaderRect(m_bar.FindGroupByOrder(i), &rect));
        EXPECT_EQ(CRect(0, 300 - 32 * (4 - i), 200, 300 - 32 * (3 - i)), rect) << i;
    }
}

} // namespace
