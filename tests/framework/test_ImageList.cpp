// Tests of ImageList.h: images added, replaced, removed and drawn, read back at
// pixels; ownership; streams; the image drag.
#include "native/gtest.h"
#include "tests/support/Misuse.h"

#include "tests/support/Canvas.h"

#include "framework/Archive.h"
#include "framework/Dc.h"
#include "framework/File.h"
#include "framework/Gdi.h"
#include "framework/HandleMap.h"
#include "framework/ImageList.h"

#include <functional>

namespace {

const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kBlack = RGB(0, 0, 0);
const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kGreen = RGB(0, 255, 0);
const COLORREF kBlue = RGB(0, 0, 255);
const COLORREF kMagenta = RGB(255, 0, 255);
const int kSize = 8; // every image here is 8 by 8 pixels

// A strip of images side by side, each filled with its colour and with a magenta
// pixel at (1, 1) that a magenta colour mask makes transparent.
class CStrip : public CCanvas {
public:
    explicit CStrip(std::initializer_list<COLORREF> colors)
        : CCanvas(kSize * static_cast<int>(colors.size()), kSize) {
        int x = 0;
        for (COLORREF color : colors) {
            dc.FillSolidRect(x, 0, kSize, kSize, color);
            dc.SetPixel(x + 1, 1, kMagenta);
            x += kSize;
        }
        Release();
    }
};

HICON MakeIcon(COLORREF color) {
    CStrip strip({color});
    CBitmap mask;
    mask.CreateBitmap(kSize, kSize, 1, 1, nullptr); // all 0: opaque
    ICONINFO info = {TRUE, 0, 0, mask, strip.bitmap};
    return ::CreateIconIndirect(&info);
}

// The colour at the image's centre and at its magenta pixel after drawing image
// nImage transparently on green.
struct SDrawn {
    COLORREF centre;
    COLORREF hole;
};

SDrawn DrawOnGreen(CImageList& list, int nImage, UINT nStyle = ILD_TRANSPARENT) {
    CCanvas canvas(kSize, kSize, kGreen);
    EXPECT_TRUE(list.Draw(&canvas.dc, nImage, CPoint(0, 0), nStyle));
    return {canvas.dc.GetPixel(4, 4), canvas.dc.GetPixel(1, 1)};
}

bool IsLiveList(HIMAGELIST hImageList) {
    int cx = 0, cy = 0;
    return ImageList_GetIconSize(hImageList, &cx, &cy) != FALSE;
}

class ImageListTest : public ::testing::Test {
protected:
    void TearDown() override { AfxDeleteTempGdiObjects(); }
};

} // namespace

// ---- adding and drawing ---------------------------------------------------------

TEST_F(ImageListTest, AColourMaskedStripAddsOneImagePerSlice) {
    CImageList list;
    ASSERT_TRUE(list.Create(kSize, kSize, ILC_COLOR32 | ILC_MASK, 0, 4));
    CStrip strip({kRed, kBlue, kBlack});
    EXPECT_EQ(0, list.Add(&strip.bitmap, kMagenta));
    EXPECT_EQ(3, list.GetImageCount());
    struct {
        int image;
        COLORREF centre;
    } cases[] = {{0, kRed}, {1, kBlue}, {2, kBlack}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.image);
        SDrawn drawn = DrawOnGreen(list, c.image);
        EXPECT_EQ(c.centre, drawn.centre);
        EXPECT_EQ(kGreen, drawn.hole); // the masked pixel lets the background through
    }
    CStrip more({kWhite});
    EXPECT_EQ(3, list.Add(&more.bitmap, kMagenta));
    CCanvas canvas(kSize, kSize);
    EXPECT_FALSE(list.Draw(&canvas.dc, 9, CPoint(0, 0), ILD_TRANSPARENT));
    EXPECT_FALSE(list.Draw(nullptr, 0, CPoint(0, 0), ILD_TRANSPARENT));
}

TEST_F(ImageListTest, AMaskBitmapMarksTheTransparentPixels) {
    CImageList list;
    ASSERT_TRUE(list.Create(kSize, kSize, ILC_COLOR32 | ILC_MASK, 1, 1));
    CStrip image({kBlue});
    CBitmap mask;
    ASSERT_TRUE(mask.CreateBitmap(kSize, kSize, 1, 1, nullptr));
    {
        CDC dc;
        dc.CreateCompatibleDC(nullptr);
        CScopedSelect select(dc, &mask);
        dc.PatBlt(0, 0, kSize, kSize, BLACKNESS);
        dc.SetPixel(1, 1, kWhite); // 1 in the mask: transparent
    }
    EXPECT_EQ(0, list.Add(&image.bitmap, &mask));
    SDrawn drawn = DrawOnGreen(list, 0);
    EXPECT_EQ(kBlue, drawn.centre);
    EXPECT_EQ(kGreen, drawn.hole);
    EXPECT_EQ(-1, list.Add(static_cast<CBitmap*>(nullptr), &mask));
}

TEST_F(ImageListTest, IconsGoInAndComeOutAsIcons) {
    CImageList list;
    ASSERT_TRUE(list.Create(kSize, kSize, ILC_COLOR24 | ILC_MASK, 0, 1));
    HICON hIcon = MakeIcon(kRed);
    ASSERT_NE(nullptr, hIcon);
    EXPECT_EQ(0, list.Add(hIcon));
    ::DestroyIcon(hIcon);
    EXPECT_EQ(kRed, DrawOnGreen(list, 0).centre);

    HICON hOut = list.ExtractIcon(0);
    ASSERT_NE(nullptr, hOut);
    CCanvas canvas(kSize, kSize);
    ::DrawIconEx(canvas.dc, 0, 0, hOut, kSize, kSize, 0, nullptr, DI_NORMAL);
    EXPECT_EQ(kRed, canvas.dc.GetPixel(4, 4));
    ::DestroyIcon(hOut);
    EXPECT_EQ(nullptr, list.ExtractIcon(1));
    EXPECT_EQ(nullptr, list.ExtractIcon(-1));
    EXPECT_EQ(-1, list.Add(static_cast<HICON>(nullptr)));
}

TEST_F(ImageListTest, ReplaceAndRemoveChangeWhatIsDrawn) {
    CImageList list;
    ASSERT_TRUE(list.Create(kSize, kSize, ILC_COLOR32 | ILC_MASK, 0, 4));
    CStrip strip({kRed, kBlue});
    ASSERT_EQ(0, list.Add(&strip.bitmap, kMagenta));

    CStrip black({kBlack});
    EXPECT_TRUE(list.Replace(0, &black.bitmap, nullptr));
    EXPECT_EQ(kBlack, DrawOnGreen(list, 0).centre);
    EXPECT_FALSE(list.Replace(5, &black.bitmap, nullptr));

    HICON hIcon = MakeIcon(kWhite);
    EXPECT_EQ(1, list.Replace(1, hIcon));
    EXPECT_EQ(kWhite, DrawOnGreen(list, 1).centre);
    EXPECT_EQ(2, list.Replace(-1, hIcon)); // -1 appends
    EXPECT_EQ(-1, list.Replace(7, hIcon));
    ::DestroyIcon(hIcon);
    EXPECT_EQ(3, list.GetImageCount());

    EXPECT_TRUE(list.Remove(0));
    EXPECT_EQ(2, list.GetImageCount());
    EXPECT_EQ(kWhite, DrawOnGreen(list, 0).centre); // the others moved up
    EXPECT_FALSE(list.Remove(5));
    EXPECT_TRUE(list.Remove(-1));
    EXPECT_EQ(0, list.GetImageCount());
    EXPECT_TRUE(list.SetImageCount(4));
    EXPECT_EQ(4, list.GetImageCount());
}

TEST_F(ImageListTest, ImageInfoCopiesAndTheBackgroundColour) {
    CImageList list;
    ASSERT_TRUE(list.Create(kSize, kSize, ILC_COLOR32 | ILC_MASK, 0, 4));
    CStrip strip({kRed, kBlue});
    list.Add(&strip.bitmap, kMagenta);
    IMAGEINFO info = {};
    ASSERT_TRUE(list.GetImageInfo(1, &info));
    EXPECT_EQ(kSize, info.rcImage.right - info.rcImage.left);
    EXPECT_EQ(kSize, info.rcImage.bottom - info.rcImage.top);
    EXPECT_FALSE(list.GetImageInfo(2, &info));
    EXPECT_FALSE(list.GetImageInfo(0, nullptr));

    CImageList copy;
    ASSERT_TRUE(copy.Create(&list));
    list.Remove(-1);
    EXPECT_EQ(2, copy.GetImageCount());
    EXPECT_EQ(kBlue, DrawOnGreen(copy, 1).centre);

    // Drawn without ILD_TRANSPARENT, masked pixels take the background colour.
    EXPECT_EQ(CLR_NONE, copy.SetBkColor(kWhite));
    EXPECT_EQ(kWhite, copy.GetBkColor());
    EXPECT_EQ(kWhite, DrawOnGreen(copy, 0, ILD_NORMAL).hole);
    EXPECT_EQ(kGreen, DrawOnGreen(copy, 0, ILD_TRANSPARENT).hole);
}

TEST_F(ImageListTest, DrawIndirectPaintsTheShapeInTheBrushColour) {
    // The raised-image shadow of the menus and toolbars: the image's shape in the
    // selected brush's colour, its transparent pixels untouched.
    CImageList list;
    ASSERT_TRUE(list.Create(kSize, kSize, ILC_COLOR32 | ILC_MASK, 0, 1));
    CStrip strip({kRed});
    list.Add(&strip.bitmap, kMagenta);
    CCanvas canvas(kSize, kSize, kGreen);
    CBrush shadow(kBlue);
    CScopedSelect select(canvas.dc, &shadow);
    IMAGELISTDRAWPARAMS params = {};
    params.hdcDst = canvas.dc;
    params.i = 0;
    params.rgbBk = kWhite;
    params.rgbFg = CLR_DEFAULT;
    params.fStyle = ILD_MASK | ILD_ROP;
    params.dwRop = 0xB8074A;
    EXPECT_TRUE(list.DrawIndirect(&params));
    EXPECT_EQ(list.m_hImageList, params.himl);
    EXPECT_EQ(kBlue, canvas.dc.GetPixel(4, 4));
    EXPECT_EQ(kGreen, canvas.dc.GetPixel(1, 1));
}

// ---- ownership ------------------------------------------------------------------

TEST_F(ImageListTest, AnOwnedListIsDestroyedWithItsWrapperAndAViewNever) {
    HIMAGELIST hCreated = nullptr;
    {
        CImageList list;
        ASSERT_TRUE(list.Create(kSize, kSize, ILC_COLOR24, 1, 1));
        hCreated = list.m_hImageList;
        EXPECT_EQ(&list, CImageList::FromHandle(hCreated));
        EXPECT_EQ(&list, CImageList::FromHandlePermanent(hCreated));
        EXPECT_MISUSE_REFUSED(list.Create(kSize, kSize, ILC_COLOR24, 1, 1)); // would lose the first
    }
    EXPECT_FALSE(IsLiveList(hCreated));

    HIMAGELIST hLoose = ImageList_Create(kSize, kSize, ILC_COLOR24, 1, 1);
    CImageList* pView = CImageList::FromHandle(hLoose);
    ASSERT_NE(nullptr, pView);
    EXPECT_EQ(nullptr, CImageList::FromHandlePermanent(hLoose));
    EXPECT_EQ(pView, CImageList::FromHandle(hLoose));
    AfxDeleteTempGdiObjects();
    EXPECT_TRUE(IsLiveList(hLoose));
    {
        CImageList owner;
        ASSERT_TRUE(owner.Attach(hLoose));
        CImageList second;
        EXPECT_FALSE(second.Attach(hLoose));
        EXPECT_EQ(hLoose, owner.Detach());
    }
    EXPECT_TRUE(IsLiveList(hLoose));
    ImageList_Destroy(hLoose);
}

TEST_F(ImageListTest, BadArgumentsAndAnEmptyWrapperFailCleanly) {
    CImageList list;
    EXPECT_FALSE(list.Create(0, kSize, ILC_COLOR24, 1, 1));
    EXPECT_FALSE(list.Create(kSize, kSize, ILC_COLOR24, -1, 1));
    EXPECT_FALSE(list.Create(static_cast<CImageList*>(nullptr)));
    EXPECT_FALSE(list.Create(&list)); // a copy of nothing
    EXPECT_EQ(0, list.GetImageCount());
    EXPECT_EQ(-1, list.Add(static_cast<HICON>(nullptr)));
    EXPECT_FALSE(list.Remove(-1));
    EXPECT_FALSE(list.BeginDrag(0, CPoint(0, 0)));
    EXPECT_FALSE(list.DeleteImageList());
    EXPECT_FALSE(list.Attach(nullptr));
    EXPECT_EQ(nullptr, CImageList::FromHandle(nullptr));
    EXPECT_EQ(nullptr, list.m_hImageList);
}

// ---- streams and dragging -------------------------------------------------------

TEST_F(ImageListTest, AListSurvivesItsStreamThroughAnArchive) {
    CImageList list;
    ASSERT_TRUE(list.Create(kSize, kSize, ILC_COLOR24 | ILC_MASK, 1, 0));
    CStrip strip({kRed, kBlue});
    list.Add(&strip.bitmap, kMagenta);

    CMemFile file(1024);
    {
        CArchive store(&file, CArchive::store, 4096);
        CImageList empty;
        EXPECT_FALSE(empty.Read(&store));         // a storing archive cannot be read
        EXPECT_MISUSE_REFUSED(list.Read(&store)); // nor read into a list that has images
        ASSERT_TRUE(list.Write(&store));
        store.Close();
    }
    file.SeekToBegin();
    CImageList loaded;
    {
        CArchive load(&file, CArchive::load, 4096);
        EXPECT_FALSE(list.Write(&load));
        ASSERT_TRUE(loaded.Read(&load));
    }
    EXPECT_EQ(2, loaded.GetImageCount());
    SDrawn drawn = DrawOnGreen(loaded, 1);
    EXPECT_EQ(kBlue, drawn.centre);
    EXPECT_EQ(kGreen, drawn.hole);

    BYTE garbage[16] = {'n', 'o', 't', ' ', 'a', 'n', ' ', 'i', 'm', 'a', 'g', 'e'};
    CMemFile bad(garbage, sizeof(garbage));
    CArchive badLoad(&bad, CArchive::load, 4096);
    CImageList none;
    EXPECT_FALSE(none.Read(&badLoad));
    EXPECT_EQ(nullptr, none.m_hImageList);
}

TEST_F(ImageListTest, AnImageDragRunsOnTheDesktop) {
    CImageList list;
    ASSERT_TRUE(list.Create(kSize, kSize, ILC_COLOR24 | ILC_MASK, 1, 1));
    CStrip strip({kRed});
    list.Add(&strip.bitmap, kMagenta);
    ASSERT_TRUE(list.BeginDrag(0, CPoint(2, 2)));
    EXPECT_TRUE(CImageList::DragEnter(nullptr, CPoint(100, 100)));
    EXPECT_TRUE(CImageList::DragShowNolock(FALSE));
    EXPECT_TRUE(CImageList::DragMove(CPoint(120, 110)));
    EXPECT_TRUE(CImageList::DragShowNolock(TRUE));
    EXPECT_TRUE(CImageList::DragLeave(nullptr));
    CImageList::EndDrag();
    // The drag copied the image: the list may go while nothing is dragged.
    EXPECT_TRUE(list.DeleteImageList());
}
