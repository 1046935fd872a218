// Tests of COXSHBListCtrl's item editing and item drag and drop: the image
// streams and the private clipboard block a drag carries (and the refusal of
// every malformed block a drop may meet), the choice of the drop position, the
// insertion mark's rectangles and pixels, the item commands of the context
// menu, the owner's vetoes, and, with real input, renaming an item in place
// and dragging items between two lists side by side and within one list.
//
// Most lists stand on their own in an owner window that records their
// notifications (CShortcutBarOwner); the left one has 32 x 32 and 16 x 16
// images, the right one none, so that a dropped image makes its lists. The
// last tests use the lists of a bar's two groups: the bar's style, its item
// commands through a real context menu, and a drag over the other group's
// header into its list. The drags keep screenshots of the insertion mark
// (insert-mark.png, bar-insert-mark.png) in the working folder.
#include "native/gtest.h"

#include "toolkit/OXSHBListCtrl.h"
#include "toolkit/OXShortcutBar.h"

#include "tests/support/Canvas.h"
#include "tests/support/MouseDrag.h"
#include "tests/support/SyntheticInput.h"
#include "tests/support/TraceCapture.h"
#include "tests/support/UiScript.h"
#include "tests/toolkit/ShortcutBarOwner.h"

#include "framework/Menu.h"
#include "framework/Ole.h"
#include "framework/WinApp.h"

#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

CWinApp theApp;

// Colours outside the 16 of a 4-bit image list, so that images that lose
// their colours show.
const COLORREF kAmber = RGB(200, 120, 40);
const COLORREF kTeal = RGB(30, 140, 150);
const COLORREF kViolet = RGB(120, 60, 170);
const COLORREF kMaskColour = RGB(255, 0, 255);
const COLORREF kBlack = RGB(0, 0, 0);
const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kLight = RGB(240, 240, 230);

// Wider than 32 bits, so that a cut of the item data shows.
const LPARAM kCallsData = static_cast<LPARAM>(0x123456789ALL);

// ---------------------------------------------------------------------------
// The clipboard block, built and read here independently of the list.

void PutDword(std::vector<BYTE>& bytes, DWORD dw) {
    const BYTE* p = reinterpret_cast<const BYTE*>(&dw);
    bytes.insert(bytes.end(), p, p + sizeof(dw));
}

DWORD DwordAt(const std::vector<BYTE>& bytes, size_t nOffset) {
    DWORD dw = 0;
    memcpy(&dw, bytes.data() + nOffset, sizeof(dw));
    return dw;
}

void SetDwordAt(std::vector<BYTE>& bytes, size_t nOffset, DWORD dw) {
    memcpy(bytes.data() + nOffset, &dw, sizeof(dw));
}

struct ImageBlock {
    DWORD nKind;
    std::vector<BYTE> stream;
};

std::vector<BYTE> MakeBlock(const std::string& sText, DWORD nData,
                            const std::vector<ImageBlock>& images, const std::string& sExtra) {
    std::vector<BYTE> bytes(sText.begin(), sText.end());
    bytes.push_back(0);
    PutDword(bytes, nData);
    PutDword(bytes, static_cast<DWORD>(images.size()));
    for (const ImageBlock& image : images) {
        PutDword(bytes, 0);
        PutDword(bytes, image.nKind);
        PutDword(bytes, static_cast<DWORD>(image.stream.size()));
        bytes.insert(bytes.end(), image.stream.begin(), image.stream.end());
    }
    PutDword(bytes, static_cast<DWORD>(sExtra.size()));
    bytes.insert(bytes.end(), sExtra.begin(), sExtra.end());
    return bytes;
}

HGLOBAL ToGlobal(const std::vector<BYTE>& bytes) {
    HGLOBAL hGlobal = ::GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (!bytes.empty())
        memcpy(::GlobalLock(hGlobal), bytes.data(), bytes.size());
    ::GlobalUnlock(hGlobal);
    return hGlobal;
}

std::vector<BYTE> FromGlobal(HGLOBAL hGlobal) {
    std::vector<BYTE> bytes(::GlobalSize(hGlobal));
    memcpy(bytes.data(), ::GlobalLock(hGlobal), bytes.size());
    ::GlobalUnlock(hGlobal);
    ::GlobalFree(hGlobal);
    return bytes;
}

// A block read back: what a well-formed block holds.
struct ReadBlock {
    std::string sText;
    DWORD nData = 0;
    std::vector<ImageBlock> images;
    std::vector<DWORD> zeros;
    std::string sExtra;
    size_t nEnd = 0; // where the extra bytes end
};

ReadBlock ParseBlock(const std::vector<BYTE>& bytes) {
    ReadBlock block;
    block.sText = reinterpret_cast<const char*>(bytes.data());
    size_t nPos = block.sText.size() + 1;
    block.nData = DwordAt(bytes, nPos);
    const DWORD nImages = DwordAt(bytes, nPos + 4);
    nPos += 8;
    for (DWORD i = 0; i < nImages && i < 2; ++i) {
        block.zeros.push_back(DwordAt(bytes, nPos));
        ImageBlock image;
        image.nKind = DwordAt(bytes, nPos + 4);
        const DWORD nSize = DwordAt(bytes, nPos + 8);
        nPos += 12;
        image.stream.assign(bytes.begin() + nPos, bytes.begin() + nPos + nSize);
        nPos += nSize;
        block.images.push_back(image);
    }
    const DWORD nExtra = DwordAt(bytes, nPos);
    nPos += 4;
    block.sExtra.assign(bytes.begin() + nPos, bytes.begin() + nPos + nExtra);
    block.nEnd = nPos + nExtra;
    return block;
}

// A data object offering the formats given, as a drag from elsewhere would.
class CDragData {
public:
    void Offer(CLIPFORMAT cfFormat, HGLOBAL hGlobal) {
        ASSERT_TRUE(m_source.CacheGlobalData(cfFormat, hGlobal));
    }
    COleDataObject* Object() {
        m_object.Release();
        m_object.Attach(m_source.GetDataObject(), TRUE);
        return &m_object;
    }

private:
    COleDataSource m_source;
    COleDataObject m_object;
};

HGLOBAL TextGlobal(const char* pszText) {
    return ToGlobal(std::vector<BYTE>(pszText, pszText + strlen(pszText) + 1));
}

// ---------------------------------------------------------------------------
// Images and pixels

// A list of three solid images: amber, teal, violet.
BOOL MakeColourList(CImageList& imageList, int nSize) {
    if (!imageList.Create(nSize, nSize, ILC_COLOR24 | ILC_MASK, 3, 1))
        return FALSE;
    CCanvas canvas(3 * nSize, nSize, kMaskColour);
    const COLORREF colours[] = {kAmber, kTeal, kViolet};
    for (int i = 0; i < 3; ++i)
        canvas.dc.FillSolidRect(i * nSize + 1, 1, nSize - 2, nSize - 2, colours[i]);
    canvas.Release();
    return imageList.Add(&canvas.bitmap, kMaskColour) == 0;
}

// The colour at the centre of image nImage of the list, drawn on white.
COLORREF CentreOf(CImageList& imageList, int nImage) {
    IMAGEINFO info = {};
    if (!imageList.GetImageInfo(nImage, &info))
        return CLR_INVALID;
    const int w = info.rcImage.right - info.rcImage.left;
    const int h = info.rcImage.bottom - info.rcImage.top;
    CCanvas canvas(w, h, kWhite);
    imageList.Draw(&canvas.dc, nImage, CPoint(0, 0), ILD_TRANSPARENT);
    return canvas.dc.GetPixel(w / 2, h / 2);
}

std::vector<BYTE> StreamOf(COXSHBListCtrl& list, CImageList& imageList, int nImage) {
    DWORD nLength = 0;
    BYTE* pData = list.WriteImage(&imageList, nImage, &nLength);
    std::vector<BYTE> stream(pData, pData + nLength);
    delete[] pData;
    return stream;
}

// ---------------------------------------------------------------------------
// Real input

void TapKey(WORD wVk) {
    SendKeyTap(wVk);
    Settle(60);
}

void TypeKeys(const char* pszLetters) {
    TypeLetters(pszLetters, TapKey);
}

// A script step that waits nTicks ticks of the script's timer.
CUiScript::Step Wait(int nTicks) {
    auto pCount = std::make_shared<int>(0);
    return [pCount, nTicks] { return ++*pCount >= nTicks; };
}

// ---------------------------------------------------------------------------
// Lists

void AddItem(COXSHBListCtrl& list, const char* pszText, int nImage, LPARAM lParam) {
    LVITEM item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    item.iItem = list.GetItemCount();
    item.pszText = const_cast<LPSTR>(pszText);
    item.iImage = nImage;
    item.lParam = lParam;
    ASSERT_NE(list.InsertItem(&item), -1);
}
std::vector<std::string> Texts(const COXSHBListCtrl& list) {
    std::vector<std::string> texts;
    for (int i = 0; i < list.GetItemCount(); ++i)
        texts.push_back(std::string(list.GetItemText(i, 0).GetString()));
    return texts;
}
CRect ItemRect(const COXSHBListCtrl& list, int nItem, UINT nCode) {
    CRect rect;
    list.GetItemRect(nItem, rect, nCode);
    return rect;
}
// A client point in the gap above item nItem (between it and the one before).
CPoint GapAbove(const COXSHBListCtrl& list, int nItem) {
    return CPoint(40, ItemRect(list, nItem, SHBLC_ENTIREITEM).top - 3);
}
CPoint OnImage(const COXSHBListCtrl& list, int nItem) {
    return ItemRect(list, nItem, LVIR_ICON).CenterPoint();
}
CPoint Screen(const CWnd& wnd, CPoint point) {
    wnd.ClientToScreen(&point);
    return point;
}

// ---------------------------------------------------------------------------
// The fixture

class SHBListCtrlDragTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(AfxOleInit());
        ASSERT_TRUE(m_owner.Make(CRect(100, 100, 560, 520)));
        ASSERT_TRUE(MakeColourList(m_ilNormal, 32));
        ASSERT_TRUE(MakeColourList(m_ilSmall, 16));
        ASSERT_TRUE(MakeList(m_left, CRect(10, 10, 210, 400), 1, 0));
        ASSERT_TRUE(MakeList(m_right, CRect(240, 10, 440, 400), 2, 0));
        m_left.SetImageList(&m_ilNormal, LVSIL_NORMAL);
        m_left.SetImageList(&m_ilSmall, LVSIL_SMALL);
        AddItem(m_left, "Calls today", 0, kCallsData);
        AddItem(m_left, "Reviewed", 1, 2);
        AddItem(m_left, "Archive", 2, 3);
        AddItem(m_right, "Inbox", -1, 11);
        AddItem(m_right, "Outbox", -1, 12);
        PumpPending();
        m_owner.Clear();
    }
    void TearDown() override {
        for (COXSHBListCtrl* pList : {&m_left, &m_right})
            if (pList->m_hWnd != nullptr)
                pList->DestroyWindow();
        m_owner.DestroyWindow();
    }

    BOOL MakeList(COXSHBListCtrl& list, const CRect& rect, UINT nID, DWORD dwStyle) {
        return list.Create(WS_CHILD | WS_VISIBLE | LVS_EDITLABELS | LVS_SHAREIMAGELISTS |
                               LVS_SINGLESEL | dwStyle,
                           rect, &m_owner, nID);
    }
    // Runs a drag-over at point and answers the effect the list chose.
    DROPEFFECT DragOver(COXSHBListCtrl& list, COleDataObject* pData, CPoint point,
                        DWORD dwKeys = MK_LBUTTON) {
        SHBDROPTARGETACTION action;
        action.pWnd = &list;
        action.pDataObject = pData;
        action.dwKeyState = dwKeys;
        action.point = point;
        EXPECT_EQ(list.OnDragOver(&action), 1);
        return action.result;
    }
    // Enters, moves to point and drops there; answers the drop's result.
    BOOL DropAt(COXSHBListCtrl& list, COleDataObject* pData, CPoint point,
                DROPEFFECT dropEffect = DROPEFFECT_MOVE) {
        SHBDROPTARGETACTION action;
        action.pWnd = &list;
        action.pDataObject = pData;
        action.dwKeyState = MK_LBUTTON;
        action.point = point;
        EXPECT_EQ(list.OnDragEnter(&action), 1);
        action = SHBDROPTARGETACTION();
        action.pWnd = &list;
        action.pDataObject = pData;
        action.point = point;
        action.dropEffect = dropEffect;
        EXPECT_EQ(list.OnDrop(&action), 1);
        return static_cast<BOOL>(action.result);
    }

    CShortcutBarOwner m_owner;
    CImageList m_ilNormal;
    CImageList m_ilSmall;
    COXSHBListCtrl m_left;
    COXSHBListCtrl m_right;
};

// ---------------------------------------------------------------------------
// Image streams

TEST_F(SHBListCtrlDragTest, AnImageStreamRoundTripsWithItsSizeAndPixels) {
    const std::vector<BYTE> stream = StreamOf(m_left, m_ilNormal, 1);
    ASSERT_FALSE(stream.empty());

    CImageList fresh; // not made yet: the stream makes it in its own size
    EXPECT_EQ(m_left.ReadImage(&fresh, stream.data(), static_cast<DWORD>(stream.size())), 0);
    ASSERT_NE(fresh.m_hImageList, nullptr);
    IMAGEINFO info = {};
    ASSERT_TRUE(fresh.GetImageInfo(0, &info));
    EXPECT_EQ(info.rcImage.right - info.rcImage.left, 32);
    EXPECT_EQ(info.rcImage.bottom - info.rcImage.top, 32);
    EXPECT_EQ(CentreOf(fresh, 0), kTeal);

    // Into a list that exists the image is appended.
    EXPECT_EQ(m_left.ReadImage(&m_ilSmall, stream.data(), static_cast<DWORD>(stream.size())), 3);
    EXPECT_EQ(m_ilSmall.GetImageCount(), 4);
    EXPECT_EQ(CentreOf(m_ilSmall, 3), kTeal);
}

TEST_F(SHBListCtrlDragTest, NoStreamIsWrittenForAnImageThatDoesNotExist) {
    CImageList empty;
    const struct {
        CImageList* pImageList;
        int nImage;
    } cases[] = {{nullptr, 0}, {&empty, 0}, {&m_ilNormal, -1}, {&m_ilNormal, 3}};
    for (const auto& c : cases) {
        DWORD nLength = 99;
        EXPECT_EQ(m_left.WriteImage(c.pImageList, c.nImage, &nLength), nullptr) << c.nImage;
        EXPECT_EQ(nLength, 0u);
    }
}

TEST_F(SHBListCtrlDragTest, AStreamThatCannotBeReadAddsNoImage) {
    const std::vector<BYTE> good = StreamOf(m_left, m_ilNormal, 0);
    ASSERT_GT(good.size(), 16u);
    const std::vector<BYTE> garbage(200, 0x5A);
    const std::vector<BYTE> half(good.begin(), good.begin() + good.size() / 2);
    const struct {
        const char* pszName;
        const BYTE* pData;
        DWORD nLength;
    } cases[] = {
        {"null", nullptr, 10},
        {"empty", good.data(), 0},
        {"garbage", garbage.data(), static_cast<DWORD>(garbage.size())},
        {"half a stream", half.data(), static_cast<DWORD>(half.size())},
        {"its first bytes", good.data(), 6},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(m_left.ReadImage(&m_ilNormal, c.pData, c.nLength), -1) << c.pszName;
        EXPECT_EQ(m_ilNormal.GetImageCount(), 3) << c.pszName;
    }
}

// ---------------------------------------------------------------------------
// The drag's data

TEST_F(SHBListCtrlDragTest, TheDragCarriesTheItemAsTextAndInThePrivateBlock) {
    std::vector<BYTE> block;
    std::string sText;
    static char extra[] = "owner's bytes";
    m_owner.m_onNotify = [&](NMSHORTCUTBAR& nmshb) -> LRESULT {
        if (nmshb.hdr.code == SHBN_GETADDITIONALDRAGDATA) {
            auto* pInfo = reinterpret_cast<SHBADDITIONALDROPINFO*>(nmshb.lParam);
            EXPECT_EQ(pInfo->nBufferLength, 0u);
            EXPECT_EQ(pInfo->pBuffer, nullptr);
            pInfo->nBufferLength = sizeof(extra) - 1;
            pInfo->pBuffer = extra;
        }
        if (nmshb.hdr.code == SHBN_BEGINDRAGDROP) {
            auto* pSource = reinterpret_cast<COleDataSource*>(nmshb.lParam);
            COleDataObject data;
            data.Attach(pSource->GetDataObject(), TRUE);
            HGLOBAL hText = data.GetGlobalData(CF_TEXT);
            HGLOBAL hBlock = data.GetGlobalData(g_cfSHBChildWindowItem);
            EXPECT_NE(hText, nullptr);
            EXPECT_NE(hBlock, nullptr);
            if (hText != nullptr)
                sText = reinterpret_cast<const char*>(FromGlobal(hText).data());
            if (hBlock != nullptr)
                block = FromGlobal(hBlock);
            return 1; // no drag
        }
        return 0;
    };
    EXPECT_EQ(m_left.SetDragItem(0), -1);
    EXPECT_EQ(m_left.GetDragItem(), 0);
    PumpPending(); // the posted start of the drag

    EXPECT_EQ(sText, "Calls today");
    ASSERT_FALSE(block.empty());
    const ReadBlock read = ParseBlock(block);
    EXPECT_EQ(read.sText, "Calls today");
    EXPECT_EQ(read.nData, static_cast<DWORD>(kCallsData));
    ASSERT_EQ(read.images.size(), 2u);
    EXPECT_EQ(read.zeros, (std::vector<DWORD>{0, 0}));
    EXPECT_EQ(read.images[0].nKind, 0u);
    EXPECT_EQ(read.images[1].nKind, 1u);
    EXPECT_EQ(read.sExtra, "owner's bytes");
    EXPECT_EQ(read.nEnd, block.size());
    const int sizes[] = {32, 16}; // the normal image first, then the small one
    for (size_t i = 0; i < 2; ++i) {
        CImageList back;
        const std::vector<BYTE>& stream = read.images[i].stream;
        ASSERT_EQ(m_left.ReadImage(&back, stream.data(), static_cast<DWORD>(stream.size())), 0);
        IMAGEINFO info = {};
        ASSERT_TRUE(back.GetImageInfo(0, &info));
        EXPECT_EQ(info.rcImage.right - info.rcImage.left, sizes[i]);
        EXPECT_EQ(CentreOf(back, 0), kAmber);
    }

    // The owner heard of it in order, with the hot spot it may move.
    const std::vector<UINT> codes = m_owner.Codes();
    const std::vector<UINT> expected = {SHBN_BEGINDRAGITEM, SHBN_GETADDITIONALDRAGDATA,
                                        SHBN_BEGINDRAGDROP};
    EXPECT_EQ(codes, expected);
    EXPECT_EQ(m_owner.Last(SHBN_BEGINDRAGITEM)->nItem, 0);
    EXPECT_NE(m_owner.Last(SHBN_BEGINDRAGITEM)->lParam, 0);
    EXPECT_EQ(m_owner.Last(SHBN_BEGINDRAGDROP)->nItem, 0);

    // The refusal ended the drag, so the same item can start another.
    EXPECT_EQ(m_left.GetDragItem(), -1);
    m_owner.m_onNotify = [](NMSHORTCUTBAR& nmshb) -> LRESULT {
        return nmshb.hdr.code == SHBN_BEGINDRAGDROP ? 1 : 0;
    };
    m_left.SetDragItem(0);
    PumpPending();
    EXPECT_EQ(m_owner.Count(SHBN_BEGINDRAGITEM), 2);
    EXPECT_EQ(m_left.GetDragItem(), -1);
    EXPECT_EQ(m_owner.Count(SHBN_DRAGDROPFINISHED), 0);
}

TEST_F(SHBListCtrlDragTest, AnItemWithoutImageCarriesNoImageBlock) {
    std::vector<BYTE> block;
    m_owner.m_onNotify = [&](NMSHORTCUTBAR& nmshb) -> LRESULT {
        if (nmshb.hdr.code != SHBN_BEGINDRAGDROP)
            return 0;
        COleDataObject data;
        data.Attach(reinterpret_cast<COleDataSource*>(nmshb.lParam)->GetDataObject(), TRUE);
        block = FromGlobal(data.GetGlobalData(g_cfSHBChildWindowItem));
        return 1;
    };
    m_right.SetDragItem(1);
    PumpPending();
    ASSERT_FALSE(block.empty());
    const ReadBlock read = ParseBlock(block);
    EXPECT_EQ(read.sText, "Outbox");
    EXPECT_EQ(read.nData, 12u);
    EXPECT_TRUE(read.images.empty());
    EXPECT_TRUE(read.sExtra.empty());
    EXPECT_EQ(block.size(), strlen("Outbox") + 9 + 4);
}

// ---------------------------------------------------------------------------
// Dropping

TEST_F(SHBListCtrlDragTest, TheDropPositionIsAGapAndNeverAnItem) {
    CDragData item;
    item.Offer(g_cfSHBChildWindowItem, ToGlobal(MakeBlock("x", 0, {}, "")));
    CDragData text;
    text.Offer(CF_TEXT, TextGlobal("from another program"));
    const CRect rectLast = ItemRect(m_left, 2, SHBLC_ENTIREITEM);
    const struct {
        const char* pszName;
        CDragData* pData;
        CPoint point;
        DWORD dwKeys;
        DROPEFFECT expected;
        int nPosition;
    } cases[] = {
        {"above the first item", &item, CPoint(40, 1), MK_LBUTTON, DROPEFFECT_MOVE, 0},
        {"above it with Ctrl", &item, CPoint(40, 1), MK_LBUTTON | MK_CONTROL, DROPEFFECT_COPY, 0},
        {"the gap before item 1", &item, GapAbove(m_left, 1), MK_LBUTTON, DROPEFFECT_MOVE, 1},
        {"the gap before item 2", &item, GapAbove(m_left, 2), MK_LBUTTON | MK_CONTROL,
         DROPEFFECT_COPY, 2},
        {"below the last item", &item, CPoint(40, rectLast.bottom + 20), MK_LBUTTON,
         DROPEFFECT_MOVE, 3},
        {"on the image of item 0", &item, OnImage(m_left, 0), MK_LBUTTON, DROPEFFECT_NONE, -1},
        {"on the text of item 1", &item, ItemRect(m_left, 1, LVIR_LABEL).CenterPoint(), MK_LBUTTON,
         DROPEFFECT_NONE, -1},
        {"beside the image of item 2", &item, CPoint(3, OnImage(m_left, 2).y), MK_LBUTTON,
         DROPEFFECT_NONE, -1},
        {"text only, in a gap", &text, GapAbove(m_left, 1), MK_LBUTTON, DROPEFFECT_NONE, -1},
        {"text only, below", &text, CPoint(40, rectLast.bottom + 20), MK_LBUTTON, DROPEFFECT_NONE,
         -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DragOver(m_left, c.pData->Object(), c.point, c.dwKeys), c.expected) << c.pszName;
        EXPECT_EQ(m_left.GetInsertPosition(), c.nPosition) << c.pszName;
    }

    // An empty list takes a drop anywhere, at position 0.
    m_right.DeleteAllItems();
    EXPECT_EQ(DragOver(m_right, item.Object(), CPoint(100, 200)), DROPEFFECT_MOVE);
    EXPECT_EQ(m_right.GetInsertPosition(), 0);
}

TEST_F(SHBListCtrlDragTest, TextFromAnotherProgramIsRefused) {
    CDragData text;
    text.Offer(CF_TEXT, TextGlobal("from another program"));
    EXPECT_FALSE(DropAt(m_right, text.Object(), GapAbove(m_right, 1)));
    EXPECT_EQ(Texts(m_right), (std::vector<std::string>{"Inbox", "Outbox"}));
    ASSERT_NE(m_owner.Last(SHBN_DRAGDROPFINISHED), nullptr);
    EXPECT_EQ(m_owner.Last(SHBN_DRAGDROPFINISHED)->lParam, 0);
}

TEST_F(SHBListCtrlDragTest, AnItemFromAnotherListArrivesWithItsImageAndTheOwnersBytes) {
    const std::vector<BYTE> normal = StreamOf(m_left, m_ilNormal, 2);
    const std::vector<BYTE> smallStream = StreamOf(m_left, m_ilSmall, 2);
    CDragData data;
    data.Offer(g_cfSHBChildWindowItem,
               ToGlobal(MakeBlock("Dropped", 77, {{0, normal}, {1, smallStream}}, "abc")));
    std::string sExtra;
    m_owner.m_onNotify = [&](NMSHORTCUTBAR& nmshb) -> LRESULT {
        if (nmshb.hdr.code == SHBN_ADDITIONALDROPDATA) {
            auto* pInfo = reinterpret_cast<SHBADDITIONALDROPINFO*>(nmshb.lParam);
            sExtra.assign(static_cast<const char*>(pInfo->pBuffer), pInfo->nBufferLength);
        }
        return 0;
    };

    EXPECT_TRUE(DropAt(m_right, data.Object(), GapAbove(m_right, 1)));
    EXPECT_EQ(Texts(m_right), (std::vector<std::string>{"Inbox", "Dropped", "Outbox"}));
    // The right list had no images: its own lists became the control's.
    CImageList* pNormal = m_right.GetImageList(LVSIL_NORMAL);
    CImageList* pSmall = m_right.GetImageList(LVSIL_SMALL);
    ASSERT_NE(pNormal, nullptr);
    ASSERT_NE(pSmall, nullptr);
    EXPECT_EQ(pNormal->GetImageCount(), 1);
    EXPECT_EQ(pSmall->GetImageCount(), 1);
    EXPECT_EQ(CentreOf(*pNormal, 0), kViolet);
    EXPECT_EQ(m_right.GetItemImage(1), 0);
    // The data is the source's own business unless the drag stays in one list.
    EXPECT_EQ(m_right.GetItemData(1), 0u);
    EXPECT_EQ(sExtra, "abc");
    EXPECT_EQ(m_owner.Last(SHBN_ADDITIONALDROPDATA)->nItem, 1);
    ASSERT_NE(m_owner.Last(SHBN_DRAGDROPFINISHED), nullptr);
    EXPECT_EQ(m_owner.Last(SHBN_DRAGDROPFINISHED)->lParam, static_cast<LPARAM>(DROPEFFECT_MOVE));
    EXPECT_EQ(m_right.GetInsertPosition(), -1);

    // A second drop adds to the lists the control has now.
    EXPECT_TRUE(DropAt(m_right, data.Object(), CPoint(40, 1), DROPEFFECT_COPY));
    EXPECT_EQ(m_right.GetItemText(0, 0), "Dropped");
    EXPECT_EQ(m_right.GetImageList(LVSIL_NORMAL)->GetImageCount(), 2);
    EXPECT_EQ(m_right.GetItemImage(0), 1);
}

TEST_F(SHBListCtrlDragTest, AMalformedBlockIsRefusedAndChangesNothing) {
    const std::vector<BYTE> stream = StreamOf(m_left, m_ilNormal, 0);
    const std::vector<BYTE> good = MakeBlock("Dropped", 1, {{0, stream}}, "xyz");
    const size_t nText = strlen("Dropped") + 1;
    const size_t nFirstBlock = nText + 8;
    const size_t nExtraCount = nFirstBlock + 12 + stream.size();
    const struct {
        const char* pszName;
        std::function<void(std::vector<BYTE>&)> change;
    } cases[] = {
        {"no terminator", [](std::vector<BYTE>& b) { b.assign(40, 'A'); }},
        {"nothing after the text", [&](std::vector<BYTE>& b) { b.resize(nText); }},
        {"cut inside the image count", [&](std::vector<BYTE>& b) { b.resize(nText + 6); }},
        {"three image blocks",
         [&](std::vector<BYTE>& b) {
             b = MakeBlock("Dropped", 1, {{0, stream}, {1, stream}, {0, stream}}, "xyz");
         }},
        {"a huge image count", [&](std::vector<BYTE>& b) { SetDwordAt(b, nText + 4, 0xFFFFFFFF); }},
        {"a leading word of 1", [&](std::vector<BYTE>& b) { SetDwordAt(b, nFirstBlock, 1); }},
        {"an unknown kind", [&](std::vector<BYTE>& b) { SetDwordAt(b, nFirstBlock + 4, 2); }},
        {"a stream past the end",
         [&](std::vector<BYTE>& b) {
             SetDwordAt(b, nFirstBlock + 8, static_cast<DWORD>(stream.size() + 100));
         }},
        {"a stream size of 2^32 - 1",
         [&](std::vector<BYTE>& b) { SetDwordAt(b, nFirstBlock + 8, 0xFFFFFFFF); }},
        {"a stream that is no image list",
         [&](std::vector<BYTE>& b) {
             std::fill(b.begin() + nFirstBlock + 12, b.begin() + nExtraCount, 0x5A);
         }},
        {"extra bytes past the end", [&](std::vector<BYTE>& b) { SetDwordAt(b, nExtraCount, 4); }},
        {"no extra count", [&](std::vector<BYTE>& b) { b.resize(nExtraCount + 2); }},
    };
    for (const auto& c : cases) {
        CTraceCapture trace;
        std::vector<BYTE> bytes = good;
        c.change(bytes);
        CDragData data;
        data.Offer(g_cfSHBChildWindowItem, ToGlobal(bytes));
        m_owner.Clear();
        EXPECT_FALSE(DropAt(m_left, data.Object(), GapAbove(m_left, 1))) << c.pszName;
        EXPECT_EQ(m_left.GetItemCount(), 3) << c.pszName;
        EXPECT_EQ(m_ilNormal.GetImageCount(), 3) << c.pszName;
        EXPECT_EQ(m_ilSmall.GetImageCount(), 3) << c.pszName;
        EXPECT_EQ(m_left.GetInsertPosition(), -1) << c.pszName;
        EXPECT_EQ(m_owner.Count(SHBN_ADDITIONALDROPDATA), 0) << c.pszName;
        ASSERT_NE(m_owner.Last(SHBN_DRAGDROPFINISHED), nullptr) << c.pszName;
        EXPECT_EQ(m_owner.Last(SHBN_DRAGDROPFINISHED)->lParam, 0) << c.pszName;
        EXPECT_TRUE(trace.Holds("COXSHBListCtrl::OnDrop: the dropped item's ")) << c.pszName;
    }
    // The same block unharmed is taken.
    CDragData data;
    data.Offer(g_cfSHBChildWindowItem, ToGlobal(good));
    EXPECT_TRUE(DropAt(m_left, data.Object(), GapAbove(m_left, 1)));
    EXPECT_EQ(m_left.GetItemText(1, 0), "Dropped");
    EXPECT_EQ(m_left.GetItemImage(1), 3);
}

TEST_F(SHBListCtrlDragTest, TheOwnerCanTakeOverOrRefuseEachStep) {
    CDragData data;
    data.Offer(g_cfSHBChildWindowItem, ToGlobal(MakeBlock("Dropped", 0, {}, "")));
    // The owner decides the effect over the list.
    m_owner.m_onNotify = [](NMSHORTCUTBAR& nmshb) -> LRESULT {
        if (nmshb.hdr.code != SHBN_DRAGOVER)
            return 0;
        reinterpret_cast<SHBDROPTARGETACTION*>(nmshb.lParam)->result = DROPEFFECT_LINK;
        return 1;
    };
    EXPECT_EQ(DragOver(m_right, data.Object(), OnImage(m_right, 0)), DROPEFFECT_LINK);
    EXPECT_EQ(m_right.GetInsertPosition(), -1);
    m_owner.m_onNotify = nullptr;

    // The owner takes the drop: nothing is inserted here, and no mark stays.
    m_owner.Answer(SHBN_DROP, 1);
    DropAt(m_right, data.Object(), GapAbove(m_right, 1));
    EXPECT_EQ(m_right.GetItemCount(), 2);
    EXPECT_EQ(m_right.GetInsertPosition(), -1);
    EXPECT_EQ(m_owner.Count(SHBN_DRAGDROPFINISHED), 0);

    // The owner refuses the drag's entry: it answers for the list.
    m_owner.m_onNotify = [](NMSHORTCUTBAR& nmshb) -> LRESULT {
        if (nmshb.hdr.code != SHBN_DRAGENTER)
            return 0;
        reinterpret_cast<SHBDROPTARGETACTION*>(nmshb.lParam)->result = DROPEFFECT_NONE;
        return 1;
    };
    m_owner.Clear();
    SHBDROPTARGETACTION action;
    action.pWnd = &m_right;
    action.pDataObject = data.Object();
    action.point = GapAbove(m_right, 1);
    EXPECT_EQ(m_right.OnDragEnter(&action), 1);
    EXPECT_EQ(action.result, DROPEFFECT_NONE);
    EXPECT_EQ(m_owner.Count(SHBN_DRAGOVER), 0);
    EXPECT_EQ(m_right.GetInsertPosition(), -1);
}

// ---------------------------------------------------------------------------
// The insertion mark

TEST_F(SHBListCtrlDragTest, TheInsertMarkLiesAtTheGapsAndTheEnds) {
    CRect rectClient;
    m_left.GetClientRect(rectClient);
    const int w = rectClient.Width();
    const int nTop1 = ItemRect(m_left, 1, SHBLC_ENTIREITEM).top;
    const int nBottom2 = ItemRect(m_left, 2, SHBLC_ENTIREITEM).bottom;
    const struct {
        int nPosition;
        CRect expected;
    } cases[] = {
        {-1, CRect()},
        {0, CRect(0, 0, w, 10)},
        {1, CRect(0, nTop1 - 10, w, nTop1 + 5)},
        {3, CRect(0, nBottom2 + 2 - 10, w, nBottom2 + 2)},
        {4, CRect()},
    };
    for (const auto& c : cases)
        EXPECT_EQ(m_left.GetInsertMarkRect(c.nPosition), c.expected) << c.nPosition;
    m_left.DeleteAllItems();
    EXPECT_EQ(m_left.GetInsertMarkRect(0), CRect(0, 0, w, 10));
    EXPECT_EQ(m_left.GetInsertMarkRect(1), CRect());
}

TEST_F(SHBListCtrlDragTest, TheInsertMarkIsALineWithArrowheadsInBlackOrOnDarkInWhite) {
    CDragData data;
    data.Offer(g_cfSHBChildWindowItem, ToGlobal(MakeBlock("x", 0, {}, "")));
    CRect rectClient;
    m_left.GetClientRect(rectClient);
    const int w = rectClient.Width();
    const int nBottom2 = ItemRect(m_left, 2, SHBLC_ENTIREITEM).bottom;
    const struct {
        COLORREF clrBack;
        COLORREF clrMark;
    } backgrounds[] = {{kLight, kBlack}, {RGB(40, 40, 60), kWhite}};
    // Pixels of the line and of the two arrowheads or triangles; the last
    // mark's first triangle row lies on its line.
    const struct {
        CPoint point;
        int nPixels;
    } places[] = {
        {CPoint(40, 1), w + 2 * (9 + 8 + 7 + 6 + 5 + 4 + 3 + 2 + 1)},
        {GapAbove(m_left, 1), w + 4 * (6 + 5 + 4 + 3 + 2 + 1)},
        {CPoint(40, nBottom2 + 20), w + 2 * (8 + 7 + 6 + 5 + 4 + 3 + 2 + 1)},
    };
    for (const auto& background : backgrounds) {
        m_left.SetBkColor(background.clrBack);
        for (const auto& place : places) {
            DragOver(m_left, data.Object(), place.point);
            const int nPosition = m_left.GetInsertPosition();
            const CRect rectMark = m_left.GetInsertMarkRect(nPosition);
            CCanvas canvas(rectClient.Width(), rectClient.Height(), background.clrBack);
            m_left.DrawInsertMark(&canvas.dc);
            EXPECT_EQ(canvas.Count(background.clrMark, rectMark), place.nPixels) << nPosition;
            EXPECT_EQ(canvas.Count(background.clrMark, rectMark, false), 0) << nPosition;
            // The line runs across the whole width.
            const int y = nPosition == 0   ? rectMark.top
                          : nPosition == 3 ? rectMark.bottom - 1
                                           : (rectMark.top + rectMark.bottom) / 2;
            EXPECT_EQ(canvas.dc.GetPixel(0, y), background.clrMark) << nPosition;
            EXPECT_EQ(canvas.dc.GetPixel(w - 1, y), background.clrMark) << nPosition;
            EXPECT_EQ(canvas.dc.GetPixel(w / 2, y + (nPosition == 3 ? -1 : 1)), background.clrBack)
                << nPosition;
        }
    }
    // Without a position nothing is drawn.
    SHBDROPTARGETACTION action;
    action.pWnd = &m_left;
    m_left.OnDragLeave(&action);
    CCanvas canvas(rectClient.Width(), rectClient.Height(), kLight);
    m_left.DrawInsertMark(&canvas.dc);
    EXPECT_EQ(canvas.Count(kLight, rectClient), rectClient.Width() * rectClient.Height());
}

TEST_F(SHBListCtrlDragTest, AMarkThatMovesLeavesNothingAtItsOldPlaceScreen) {
    CDragData data;
    data.Offer(g_cfSHBChildWindowItem, ToGlobal(MakeBlock("x", 0, {}, "")));
    m_left.SetBkColor(kLight);
    m_left.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    auto blackOnScreen = [&](int nPosition) {
        CRect rect = m_left.GetInsertMarkRect(nPosition);
        m_left.ClientToScreen(rect);
        CCanvas canvas(rect.Width(), rect.Height());
        CaptureScreen(canvas, rect);
        return canvas.Count(kBlack, CRect(0, 0, rect.Width(), rect.Height()));
    };
    // The places overlap the items' texts, which have black pixels of their own.
    Settle(200);
    const int nTextAt1 = blackOnScreen(1);
    const int nTextAt3 = blackOnScreen(3);
    SHBDROPTARGETACTION action;
    action.pWnd = &m_left;
    action.pDataObject = data.Object();
    action.point = CPoint(40, ItemRect(m_left, 2, SHBLC_ENTIREITEM).bottom + 30);
    m_left.OnDragEnter(&action);
    Settle(200);
    ASSERT_EQ(m_left.GetInsertPosition(), 3);
    EXPECT_GT(blackOnScreen(3), nTextAt3 + 150);
    action.point = GapAbove(m_left, 1);
    m_left.OnDragOver(&action);
    Settle(200);
    EXPECT_EQ(m_left.GetInsertPosition(), 1);
    EXPECT_GT(blackOnScreen(1), nTextAt1 + 150);
    EXPECT_EQ(blackOnScreen(3), nTextAt3);
    m_left.OnDragLeave(&action);
    Settle(200);
    EXPECT_EQ(blackOnScreen(1), nTextAt1);
}

// ---------------------------------------------------------------------------
// The item commands and editing preconditions

TEST_F(SHBListCtrlDragTest, TheContextMenuGetsTheItemCommandsOnlyOverAnItem) {
    COXShortcutBar otherBar;
    const struct {
        const char* pszName;
        CPoint point;
        COXShortcutBar* pBar;
        int nItemsBefore;
        bool bEditable;
        std::vector<UINT> expected;
    } cases[] = {
        {"on an image",
         OnImage(m_left, 1),
         nullptr,
         0,
         true,
         {SHB_IDMRENAMEITEM, SHB_IDMREMOVEITEM}},
        {"on a text after other items",
         ItemRect(m_left, 0, LVIR_LABEL).CenterPoint(),
         nullptr,
         1,
         true,
         {0, SHB_IDMRENAMEITEM, SHB_IDMREMOVEITEM}},
        {"in a gap", GapAbove(m_left, 1), nullptr, 0, true, {}},
        {"beside an image", CPoint(2, OnImage(m_left, 1).y), nullptr, 0, true, {}},
        {"for another bar", OnImage(m_left, 1), &otherBar, 0, true, {}},
        {"without editing", OnImage(m_left, 1), nullptr, 0, false, {}},
    };
    for (const auto& c : cases) {
        m_left.ModifyStyle(c.bEditable ? 0 : LVS_EDITLABELS, c.bEditable ? LVS_EDITLABELS : 0);
        CMenu menu;
        ASSERT_TRUE(menu.CreatePopupMenu());
        if (c.nItemsBefore > 0)
            menu.AppendMenu(MF_STRING, 33016, "New Group");
        SHBCONTEXTMENU info;
        info.pMenu = &menu;
        info.pShortcutBar = c.pBar;
        info.point = Screen(m_left, c.point);
        m_left.SendMessage(SHBM_POPULATECONTEXTMENU, 0, reinterpret_cast<LPARAM>(&info));
        std::vector<UINT> ids;
        for (int i = c.nItemsBefore; i < menu.GetMenuItemCount(); ++i)
            ids.push_back(menu.GetMenuItemID(i));
        EXPECT_EQ(ids, c.expected) << c.pszName;
        if (ids.size() >= 2) {
            CString sRename, sRemove;
            menu.GetMenuString(SHB_IDMRENAMEITEM, sRename, MF_BYCOMMAND);
            menu.GetMenuString(SHB_IDMREMOVEITEM, sRemove, MF_BYCOMMAND);
            EXPECT_EQ(sRename, "Rename Item");
            EXPECT_EQ(sRemove, "Remove Item");
        }
    }
}

TEST_F(SHBListCtrlDragTest, AnEditStartsOnlyWhereItIsAllowedAndSeen) {
    {
        CTraceCapture trace;
        m_left.ModifyStyle(LVS_EDITLABELS, 0);
        EXPECT_EQ(m_left.EditLabel(0), nullptr);
        EXPECT_TRUE(trace.Holds("COXSHBListCtrl::EditLabel: cannot edit item - SHBS_EDITITEMS "
                                "style wasn't set"));
        m_left.ModifyStyle(0, LVS_EDITLABELS);
    }
    {
        m_owner.Answer(SHBN_BEGINITEMEDIT, 1);
        EXPECT_EQ(m_left.EditLabel(1), nullptr);
        EXPECT_EQ(m_left.GetEditItem(), -1);
        ASSERT_NE(m_owner.Last(SHBN_BEGINITEMEDIT), nullptr);
        EXPECT_EQ(m_owner.Last(SHBN_BEGINITEMEDIT)->sText, "Reviewed");
        EXPECT_EQ(m_owner.Last(SHBN_BEGINITEMEDIT)->nItem, 1);
        m_owner.Answer(SHBN_BEGINITEMEDIT, 0);
    }
    {
        CTraceCapture trace;
        m_left.SetWindowPos(nullptr, 0, 0, 200, ItemRect(m_left, 2, LVIR_LABEL).bottom - 4,
                            SWP_NOMOVE | SWP_NOZORDER);
        EXPECT_EQ(m_left.EditLabel(2), nullptr);
        EXPECT_TRUE(trace.Holds("COXSHBListCtrl::EditLabel: failed to edit - item text "
                                "rectangle is not entirely visible"));
        EXPECT_EQ(m_left.EditLabel(5), nullptr);
    }
    EXPECT_FALSE(m_left.GetEditControl()->IsWindowVisible());
}

TEST_F(SHBListCtrlDragTest, AnEditOpensOverTheItemsTextInTheStyleOfItsViewFocus) {
    m_owner.SetForegroundWindow();
    const CRect rectText = ItemRect(m_left, 1, LVIR_LABEL);
    COXSHBEdit* pEdit = m_left.EditLabel(1);
    ASSERT_EQ(pEdit, m_left.GetEditControl());
    EXPECT_EQ(m_left.GetEditItem(), 1);
    EXPECT_TRUE(pEdit->IsWindowVisible());
    EXPECT_TRUE(pEdit->GetStyle() & ES_MULTILINE);
    EXPECT_TRUE(pEdit->GetStyle() & ES_CENTER);
    CRect rect;
    pEdit->GetWindowRect(rect);
    m_left.ScreenToClient(rect);
    EXPECT_EQ(rect, rectText);
    CString sText;
    pEdit->GetWindowText(sText);
    EXPECT_EQ(sText, "Reviewed");
    pEdit->FinishEdit(FALSE);
    EXPECT_EQ(m_left.GetEditItem(), -1);

    // In the small-icon view the editor is a single line, moved 2 pixels left.
    COXSHBListCtrl smallList;
    ASSERT_TRUE(MakeList(smallList, CRect(240, 10, 440, 400), 3, LVS_SMALLICON));
    smallList.SetImageList(&m_ilSmall, LVSIL_SMALL);
    AddItem(smallList, "Calls today", 0, 1);
    const CRect rectSmallText = ItemRect(smallList, 0, LVIR_LABEL);
    pEdit = smallList.EditLabel(0);
    ASSERT_NE(pEdit, nullptr);
    EXPECT_FALSE(pEdit->GetStyle() & ES_MULTILINE);
    pEdit->GetWindowRect(rect);
    smallList.ScreenToClient(rect);
    EXPECT_EQ(rect.left, rectSmallText.left - 2);
    EXPECT_EQ(rect.top, rectSmallText.top);
    pEdit->FinishEdit(FALSE);
}

TEST_F(SHBListCtrlDragTest, AnItemWithoutTextIsEditedInAOneBlankPlaceAtLeastTenPixelsWideFocus) {
    m_owner.SetForegroundWindow();
    COXSHBListCtrl smallList;
    ASSERT_TRUE(MakeList(smallList, CRect(240, 10, 440, 400), 3, LVS_SMALLICON));
    smallList.SetImageList(&m_ilSmall, LVSIL_SMALL);
    AddItem(smallList, "", 0, 1);
    m_left.SetItemText(1, 0, "");
    const struct {
        const char* pszName;
        COXSHBListCtrl* pList;
        int nItem;
        bool bBelow; // below the image (large icons), else beside it
    } cases[] = {{"large icons", &m_left, 1, true}, {"small icons", &smallList, 0, false}};
    for (const auto& c : cases) {
        EXPECT_TRUE(ItemRect(*c.pList, c.nItem, LVIR_LABEL).IsRectEmpty()) << c.pszName;
        const CRect rectImage = ItemRect(*c.pList, c.nItem, LVIR_ICON);
        COXSHBEdit* pEdit = c.pList->EditLabel(c.nItem);
        ASSERT_NE(pEdit, nullptr) << c.pszName;
        CRect rect;
        pEdit->GetWindowRect(rect);
        c.pList->ScreenToClient(rect);
        EXPECT_GE(rect.Width(), 10) << c.pszName;
        EXPECT_GT(rect.Height(), 0) << c.pszName;
        if (c.bBelow) {
            EXPECT_EQ(rect.top, rectImage.bottom) << c.pszName;
            EXPECT_LE(std::abs(rect.CenterPoint().x - rectImage.CenterPoint().x), 1) << c.pszName;
        } else {
            EXPECT_EQ(rect.left, rectImage.right - 2) << c.pszName;
            EXPECT_LT(rect.top, rectImage.bottom) << c.pszName;
        }
        pEdit->FinishEdit(FALSE);
    }
}

TEST_F(SHBListCtrlDragTest, TheItemDragImageIsTheItemsImageAndText) {
    const CRect rectBounds = ItemRect(m_left, 1, LVIR_BOUNDS);
    CImageList* pImage = m_left.CreateItemDragImage(1);
    ASSERT_NE(pImage, nullptr);
    IMAGEINFO info = {};
    ASSERT_TRUE(pImage->GetImageInfo(0, &info));
    EXPECT_EQ(pImage->GetImageCount(), 1);
    EXPECT_EQ(info.rcImage.right - info.rcImage.left, rectBounds.Width());
    EXPECT_EQ(info.rcImage.bottom - info.rcImage.top, rectBounds.Height());
    // The item's teal image, and the background left out.
    CCanvas canvas(rectBounds.Width(), rectBounds.Height(), kWhite);
    pImage->Draw(&canvas.dc, 0, CPoint(0, 0), ILD_TRANSPARENT);
    const CPoint ptImage = OnImage(m_left, 1) - rectBounds.TopLeft();
    EXPECT_EQ(canvas.dc.GetPixel(ptImage.x, ptImage.y), kTeal);
    EXPECT_EQ(canvas.dc.GetPixel(0, 0), kWhite);
    delete pImage;
    EXPECT_EQ(m_left.CreateItemDragImage(3), nullptr);
}

// ---------------------------------------------------------------------------
// Real input: editing

class SHBListCtrlDragInputTest : public SHBListCtrlDragTest {
protected:
    void SetUp() override {
        SHBListCtrlDragTest::SetUp();
        m_owner.SetForegroundWindow();
        Settle(200);
        m_owner.Clear();
    }
};

TEST_F(SHBListCtrlDragInputTest, AnItemIsRenamedInPlaceAndEscapeCancelsInput) {
    ASSERT_NE(m_left.EditLabel(1), nullptr);
    Settle(100);
    TypeKeys("team b");
    TapKey(VK_RETURN);
    EXPECT_EQ(m_left.GetItemText(1, 0), "team b");
    ASSERT_NE(m_owner.Last(SHBN_ENDITEMEDIT), nullptr);
    EXPECT_EQ(m_owner.Last(SHBN_ENDITEMEDIT)->sText, "team b");
    EXPECT_EQ(m_owner.Last(SHBN_ENDITEMEDIT)->nItem, 1);
    EXPECT_EQ(m_left.GetEditItem(), -1);

    m_owner.Clear();
    ASSERT_NE(m_left.EditLabel(0), nullptr);
    Settle(100);
    TypeKeys("lost");
    TapKey(VK_ESCAPE);
    EXPECT_EQ(m_left.GetItemText(0, 0), "Calls today");
    EXPECT_EQ(m_owner.Count(SHBN_ENDITEMEDIT), 0);
    EXPECT_EQ(m_left.GetEditItem(), -1);

    // The owner may keep the old text of an accepted edit.
    m_owner.Answer(SHBN_ENDITEMEDIT, 1);
    ASSERT_NE(m_left.EditLabel(2), nullptr);
    Settle(100);
    TypeKeys("refused");
    TapKey(VK_RETURN);
    EXPECT_EQ(m_left.GetItemText(2, 0), "Archive");
    EXPECT_EQ(m_owner.Last(SHBN_ENDITEMEDIT)->sText, "refused");
}

TEST_F(SHBListCtrlDragInputTest, AnEmptyItemGetsATextTypedIntoItsBlankPlaceInput) {
    m_left.SetItemText(0, 0, "");
    ASSERT_NE(m_left.EditLabel(0), nullptr);
    Settle(100);
    TypeKeys("named");
    TapKey(VK_RETURN);
    EXPECT_EQ(m_left.GetItemText(0, 0), "named");
    EXPECT_FALSE(ItemRect(m_left, 0, LVIR_LABEL).IsRectEmpty());
}

// ---------------------------------------------------------------------------
// Real input: dragging

// A plain OLE target of another kind, which takes text.
class CTextTarget : public COleDropTarget {
public:
    std::string m_sText;
    bool m_bOffersBlock = false;
    int m_nOvers = 0;

    DROPEFFECT OnDragOver(CWnd*, COleDataObject* pData, DWORD, CPoint) override {
        ++m_nOvers;
        return pData->IsDataAvailable(CF_TEXT) ? DROPEFFECT_COPY : DROPEFFECT_NONE;
    }
    BOOL OnDrop(CWnd*, COleDataObject* pData, DROPEFFECT, CPoint) override {
        m_bOffersBlock = pData->IsDataAvailable(g_cfSHBChildWindowItem) != FALSE;
        HGLOBAL hText = pData->GetGlobalData(CF_TEXT);
        if (hText == nullptr)
            return FALSE;
        m_sText = reinterpret_cast<const char*>(FromGlobal(hText).data());
        return TRUE;
    }
};

using Waypoint = DragWaypoint;

// A drag with the real mouse: presses at ptStart, moves past the threshold,
// visits the waypoints, runs atDrop at the last one and releases there (with
// Ctrl held when bCtrl). The steps run from a timer, since the drag's own loop
// owns the thread meanwhile. Answers whether the script ran to its end.
bool RunDrag(CPoint ptStart, const std::vector<Waypoint>& waypoints, bool bCtrl,
             std::function<void()> atDrop) {
    return RunMouseDrag(ptStart, waypoints, bCtrl, atDrop);
}

class SHBListCtrlDragDropInputTest : public SHBListCtrlDragInputTest {
protected:
    // From a client point of list from to a client point of window to.
    bool Drag(COXSHBListCtrl& from, CPoint ptFrom, const CWnd& to, CPoint ptTo, bool bCtrl,
              std::function<bool()> ready, std::function<void()> atDrop = nullptr) {
        return RunDrag(Screen(from, ptFrom), {{Screen(to, ptTo), ready}}, bCtrl, atDrop);
    }
};

TEST_F(SHBListCtrlDragDropInputTest, APlainDropMovesAnItemToTheOtherListBelowTheMarkInput) {
    CRect rectMarkScreen;
    int nMarkPixels = 0;
    auto atGap = [&] {
        // The mark between Inbox and Outbox, black on the light background.
        Settle(150);
        rectMarkScreen = m_right.GetInsertMarkRect(1);
        m_right.ClientToScreen(rectMarkScreen);
        CCanvas canvas(rectMarkScreen.Width(), rectMarkScreen.Height());
        CaptureScreen(canvas, rectMarkScreen);
        nMarkPixels =
            canvas.Count(kBlack, CRect(0, 0, rectMarkScreen.Width(), rectMarkScreen.Height()));
        CRect rectOwner;
        m_owner.GetWindowRect(rectOwner);
        SaveScreenPng(rectOwner, "insert-mark.png");
    };
    m_right.SetBkColor(kLight);
    m_right.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    ASSERT_TRUE(Drag(
        m_left, OnImage(m_left, 1), m_right, GapAbove(m_right, 1), false,
        [&] { return m_right.GetInsertPosition() == 1; }, atGap));
    EXPECT_GE(nMarkPixels, rectMarkScreen.Width() + 4 * 21 - 8);

    EXPECT_EQ(Texts(m_left), (std::vector<std::string>{"Calls today", "Archive"}));
    EXPECT_EQ(Texts(m_right), (std::vector<std::string>{"Inbox", "Reviewed", "Outbox"}));
    ASSERT_NE(m_right.GetImageList(LVSIL_NORMAL), nullptr);
    EXPECT_EQ(CentreOf(*m_right.GetImageList(LVSIL_NORMAL), m_right.GetItemImage(1)), kTeal);
    EXPECT_EQ(m_right.GetInsertPosition(), -1);
    EXPECT_EQ(m_left.GetDragItem(), -1);
    // Both lists told the owner how it ended.
    std::vector<LPARAM> finished;
    for (const CShortcutBarOwner::Seen& seen : m_owner.All())
        if (seen.code == SHBN_DRAGDROPFINISHED)
            finished.push_back(seen.lParam);
    EXPECT_EQ(finished, (std::vector<LPARAM>{DROPEFFECT_MOVE, DROPEFFECT_MOVE}));
}

TEST_F(SHBListCtrlDragDropInputTest, ACtrlDropCopiesAndTheSourceKeepsItsItemInput) {
    ASSERT_TRUE(Drag(m_left, OnImage(m_left, 2), m_right, CPoint(40, 1), true,
                     [&] { return m_right.GetInsertPosition() == 0; }));
    EXPECT_EQ(Texts(m_left), (std::vector<std::string>{"Calls today", "Reviewed", "Archive"}));
    EXPECT_EQ(Texts(m_right), (std::vector<std::string>{"Archive", "Inbox", "Outbox"}));
    ASSERT_NE(m_owner.Last(SHBN_DRAGDROPFINISHED), nullptr);
    EXPECT_EQ(m_owner.Last(SHBN_DRAGDROPFINISHED)->lParam, static_cast<LPARAM>(DROPEFFECT_COPY));
}

TEST_F(SHBListCtrlDragDropInputTest, DraggingDownPastTheNextItemMovesItWithItsDataInput) {
    ASSERT_TRUE(Drag(m_left, OnImage(m_left, 0), m_left, GapAbove(m_left, 2), false,
                     [&] { return m_left.GetInsertPosition() == 2; }));
    EXPECT_EQ(Texts(m_left), (std::vector<std::string>{"Reviewed", "Calls today", "Archive"}));
    EXPECT_EQ(static_cast<LPARAM>(m_left.GetItemData(1)), kCallsData);
    // The moved item keeps its own image; the list gains no copy of it, so
    // reordering never grows a (possibly shared) image list.
    EXPECT_EQ(m_ilNormal.GetImageCount(), 3);
    EXPECT_EQ(m_left.GetItemImage(1), 0);
    EXPECT_EQ(CentreOf(m_ilNormal, 0), kAmber);
    EXPECT_EQ(m_left.GetInsertPosition(), -1);
    EXPECT_EQ(m_owner.Count(SHBN_DRAGDROPFINISHED), 1);
}

TEST_F(SHBListCtrlDragDropInputTest, ADropOnAnItemIsRefusedInput) {
    ASSERT_TRUE(Drag(m_left, OnImage(m_left, 0), m_right,
                     ItemRect(m_right, 0, LVIR_LABEL).CenterPoint(), false,
                     [&] { return m_owner.Count(SHBN_DRAGOVER) > 3; }));
    EXPECT_EQ(Texts(m_left), (std::vector<std::string>{"Calls today", "Reviewed", "Archive"}));
    EXPECT_EQ(Texts(m_right), (std::vector<std::string>{"Inbox", "Outbox"}));
    ASSERT_NE(m_owner.Last(SHBN_DRAGDROPFINISHED), nullptr);
    EXPECT_EQ(m_owner.Last(SHBN_DRAGDROPFINISHED)->lParam, static_cast<LPARAM>(DROPEFFECT_NONE));
}

TEST_F(SHBListCtrlDragDropInputTest, AnItemDraggedToAnotherKindOfTargetOffersItsTextInput) {
    CWnd other;
    ASSERT_TRUE(other.CreateEx(0, AfxRegisterWndClass(0), "other", WS_POPUP | WS_VISIBLE, 600, 100,
                               200, 200, nullptr, nullptr));
    CTextTarget target;
    ASSERT_TRUE(target.Register(&other));
    ASSERT_TRUE(Drag(m_left, OnImage(m_left, 2), other, CPoint(100, 100), false,
                     [&] { return target.m_nOvers > 2; }));
    EXPECT_EQ(target.m_sText, "Archive");
    EXPECT_TRUE(target.m_bOffersBlock);
    EXPECT_EQ(m_left.GetItemCount(), 3); // copied, not moved
    other.DestroyWindow();
}

TEST_F(SHBListCtrlDragDropInputTest, AMoveOfEightPixelsSelectsAndANinthStartsTheDragInput) {
    const CPoint ptItem = Screen(m_left, OnImage(m_left, 1));
    SendMouseMove(ptItem);
    Settle(100);
    SendMouseButton(MOUSEEVENTF_LEFTDOWN);
    Settle(100);
    SendMouseMove(ptItem + CPoint(5, 3));
    Settle(100);
    SendMouseButton(MOUSEEVENTF_LEFTUP);
    Settle(200);
    EXPECT_EQ(m_owner.Count(SHBN_BEGINDRAGITEM), 0);
    EXPECT_EQ(m_left.GetSelectedItem(), 1);

    // One pixel more starts the drag, which the owner stops here.
    m_owner.Answer(SHBN_BEGINDRAGDROP, 1);
    SendMouseMove(ptItem);
    Settle(100);
    SendMouseButton(MOUSEEVENTF_LEFTDOWN);
    Settle(100);
    SendMouseMove(ptItem + CPoint(5, 4));
    Settle(200);
    SendMouseButton(MOUSEEVENTF_LEFTUP);
    Settle(100);
    EXPECT_EQ(m_owner.Count(SHBN_BEGINDRAGITEM), 1);
    EXPECT_EQ(m_owner.Last(SHBN_BEGINDRAGITEM)->nItem, 1);
    EXPECT_EQ(m_left.GetDragItem(), -1);
}

// ---------------------------------------------------------------------------
// Inside a bar: the bar's style, its item commands and drags between groups

class SHBListCtrlInBarTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(AfxOleInit());
        ASSERT_TRUE(m_owner.Make(CRect(100, 100, 420, 560)));
        ASSERT_TRUE(MakeColourList(m_ilNormal, 32));
        ASSERT_TRUE(MakeColourList(m_ilSmall, 16));
    }
    void TearDown() override {
        if (m_bar.m_hWnd != nullptr)
            m_bar.DestroyWindow();
        m_owner.DestroyWindow();
    }
    // A bar of two groups, the first expanded, each list with three items.
    void Make(DWORD dwBarStyle) {
        ASSERT_TRUE(m_bar.Create(&m_owner, CRect(10, 10, 250, 450), dwBarStyle, 1));
        const char* texts[2][3] = {{"Calls today", "Reviewed", "Archive"},
                                   {"Inbox", "Outbox", "Drafts"}};
        const char* groups[2] = {"Shortcuts", "Hot lists"};
        for (int g = 0; g < 2; ++g) {
            SHB_GROUPINFO info;
            info.nMask = SHBIF_TEXT;
            info.pszText = const_cast<LPTSTR>(groups[g]);
            info.nTextMax = static_cast<int>(strlen(groups[g]));
            m_groups[g] = m_bar.InsertGroup(&info);
            ASSERT_NE(m_groups[g], nullptr);
            m_lists[g] = m_bar.GetGroupListCtrl(m_groups[g]);
            ASSERT_NE(m_lists[g], nullptr);
            m_lists[g]->SetImageList(&m_ilNormal, LVSIL_NORMAL);
            m_lists[g]->SetImageList(&m_ilSmall, LVSIL_SMALL);
            for (int i = 0; i < 3; ++i)
                AddItem(*m_lists[g], texts[g][i], i, 10 * g + i);
        }
        m_bar.ExpandGroup(m_groups[0]);
        m_owner.SetForegroundWindow();
        Settle(300);
        m_owner.Clear();
    }
    static CPoint ScreenOf(const COXSHBListCtrl* pList, CPoint point) {
        pList->ClientToScreen(&point);
        return point;
    }

    CShortcutBarOwner m_owner;
    CImageList m_ilNormal;
    CImageList m_ilSmall;
    COXShortcutBar m_bar;
    HSHBGROUP m_groups[2] = {};
    COXSHBListCtrl* m_lists[2] = {};
};

TEST_F(SHBListCtrlInBarTest, ABarThatDisablesDragAndDropLeavesDragsOverItsListsAlone) {
    Make(SHBS_EDITITEMS | SHBS_DISABLEDRAGDROP);
    COXSHBListCtrl* pList = m_lists[0];
    CDragData data;
    data.Offer(g_cfSHBChildWindowItem, ToGlobal(MakeBlock("Dropped", 0, {}, "")));
    SHBDROPTARGETACTION action;
    action.pWnd = pList;
    action.pDataObject = data.Object();
    action.point = GapAbove(*pList, 1);
    action.dropEffect = DROPEFFECT_MOVE;
    EXPECT_EQ(pList->OnDragEnter(&action), 0);
    EXPECT_EQ(pList->OnDragOver(&action), 0);
    EXPECT_EQ(pList->OnDrop(&action), 0);
    EXPECT_EQ(pList->OnDragLeave(&action), 0);
    EXPECT_EQ(pList->GetInsertPosition(), -1);
    EXPECT_EQ(pList->GetItemCount(), 3);
    EXPECT_TRUE(m_owner.All().empty());
}

TEST_F(SHBListCtrlInBarTest, TheListsNotificationsComeFromTheBarWithTheirGroupFocus) {
    Make(SHBS_EDITITEMS);
    COXSHBListCtrl* pList = m_lists[0];
    m_owner.Answer(SHBN_BEGINITEMEDIT, 1);
    EXPECT_EQ(m_bar.EditLCItem(m_groups[0], 1), nullptr);
    const CShortcutBarOwner::Seen* pSeen = m_owner.Last(SHBN_BEGINITEMEDIT);
    ASSERT_NE(pSeen, nullptr);
    EXPECT_EQ(pSeen->hwndFrom, m_bar.m_hWnd);
    EXPECT_EQ(pSeen->hGroup, m_groups[0]);
    EXPECT_EQ(pSeen->nItem, 1);
    EXPECT_EQ(pSeen->sText, "Reviewed");
    m_owner.Answer(SHBN_BEGINITEMEDIT, 0);

    // The editor takes the group's item font.
    SHB_DESCRIPTOR descriptor;
    descriptor.nMask = SHBDM_TEXTFONT;
    descriptor.lfText.lfHeight = -20;
    strcpy(descriptor.lfText.lfFaceName, "Tahoma");
    ASSERT_TRUE(m_bar.SetGroupDescriptor(m_groups[0], &descriptor));
    COXSHBEdit* pEdit = m_bar.EditLCItem(m_groups[0], 1);
    ASSERT_NE(pEdit, nullptr);
    LOGFONT logFont = {};
    ASSERT_NE(pEdit->GetFont(), nullptr);
    pEdit->GetFont()->GetLogFont(&logFont);
    EXPECT_EQ(logFont.lfHeight, -20);
    pEdit->FinishEdit(FALSE);
    EXPECT_EQ(pList->GetEditItem(), -1);
}

TEST_F(SHBListCtrlInBarTest, TheContextMenuRemovesAndRenamesTheItemUnderItInput) {
    Make(SHBS_EDITITEMS);
    COXSHBListCtrl* pList = m_lists[0];
    // Right-click on an item, then pick one of the two last menu entries.
    auto useMenu = [&](int nItem, int nUps) {
        const CPoint pt = ScreenOf(pList, OnImage(*pList, nItem));
        SendMouseMove(pt);
        Settle(300);
        std::vector<CUiScript::Step> steps = {
            [] { return ::FindWindowA("#32768", nullptr) != nullptr; },
            Wait(10),
        };
        for (int i = 0; i < nUps; ++i) {
            steps.push_back([] {
                SendKey(VK_UP, false);
                SendKey(VK_UP, true);
                return true;
            });
            steps.push_back(Wait(5));
        }
        steps.push_back([] {
            SendKey(VK_RETURN, false);
            SendKey(VK_RETURN, true);
            return true;
        });
        // The steps run inside the menu's own loop: they only send keys.
        CUiScript script(
            [] {
                SendKey(VK_ESCAPE, false);
                SendKey(VK_ESCAPE, true);
            },
            steps);
        SendMouseButton(MOUSEEVENTF_RIGHTDOWN);
        SendMouseButton(MOUSEEVENTF_RIGHTUP);
        EXPECT_TRUE(PumpUntil([&] { return script.Finished() || script.Stalled(); }));
        EXPECT_FALSE(script.Stalled());
        Settle(200);
    };

    useMenu(1, 1); // "Remove Item", the last entry
    EXPECT_EQ(Texts(*pList), (std::vector<std::string>{"Calls today", "Archive"}));
    ASSERT_NE(m_owner.Last(SHBN_DELETEITEM), nullptr);
    EXPECT_EQ(m_owner.Last(SHBN_DELETEITEM)->nItem, 1);

    useMenu(1, 2); // "Rename Item", the one before
    EXPECT_EQ(pList->GetEditItem(), 1);
    TypeKeys("old calls");
    TapKey(VK_RETURN);
    EXPECT_EQ(Texts(*pList), (std::vector<std::string>{"Calls today", "old calls"}));
    ASSERT_NE(m_owner.Last(SHBN_ENDITEMEDIT), nullptr);
    EXPECT_EQ(m_owner.Last(SHBN_ENDITEMEDIT)->hGroup, m_groups[0]);
}

TEST_F(SHBListCtrlInBarTest, AnItemDraggedOverAnotherGroupsHeaderArrivesInItsListInput) {
    Make(SHBS_EDITITEMS | SHBS_DRAWITEMDRAGIMAGE);
    COXSHBListCtrl* pFrom = m_lists[0];
    COXSHBListCtrl* pTo = m_lists[1];
    CRect rectHeader;
    ASSERT_TRUE(m_bar.GetGroupHeaderRect(m_groups[1], rectHeader));
    m_bar.ClientToScreen(rectHeader);
    // The gap before the second list's item 1, where that list will be once
    // its group is expanded.
    m_bar.ExpandGroup(m_groups[1]);
    Settle(300);
    const CPoint ptGap = ScreenOf(pTo, GapAbove(*pTo, 1));
    m_bar.ExpandGroup(m_groups[0]);
    Settle(300);
    m_owner.Clear();

    const std::vector<Waypoint> path = {
        {rectHeader.CenterPoint(), [&] { return m_bar.GetExpandedGroup() == m_groups[1]; }},
        {ptGap, [&] { return pTo->GetInsertPosition() == 1; }},
    };
    CRect rectBar;
    m_bar.GetWindowRect(rectBar);
    auto atDrop = [&] {
        Settle(150);
        SaveScreenPng(rectBar, "bar-insert-mark.png");
    };
    const CPoint ptStart = ScreenOf(pFrom, OnImage(*pFrom, 0));
    ASSERT_TRUE(RunDrag(ptStart, path, false, atDrop));
    EXPECT_EQ(Texts(*pFrom), (std::vector<std::string>{"Reviewed", "Archive"}));
    EXPECT_EQ(Texts(*pTo), (std::vector<std::string>{"Inbox", "Calls today", "Outbox", "Drafts"}));
    EXPECT_EQ(pTo->GetInsertPosition(), -1);
    EXPECT_EQ(pFrom->GetDragItem(), -1);
    ASSERT_NE(m_owner.Last(SHBN_DRAGDROPFINISHED), nullptr);
    EXPECT_EQ(m_owner.Last(SHBN_DRAGDROPFINISHED)->lParam, static_cast<LPARAM>(DROPEFFECT_MOVE));
}

} // namespace
