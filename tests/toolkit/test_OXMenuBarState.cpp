// Tests of the saved menu state as bytes: the stored layout, round trips, the
// MDI window list dropped on load, and profile data that is cut short, lies
// about its counts, ids or texts, or nests too deep, which must leave the
// shown menu exactly as it was.
#include "native/gtest.h"

#include "toolkit/OXMenuBarState.h"

#include <windows.h>

#include <string>
#include <vector>

namespace {

// The menu as lines "depth|type|id|text", submenus after their item; a popup
// item shows id -1.
void DumpLevel(HMENU hMenu, int nDepth, std::vector<std::string>& lines) {
    for (int i = 0; i < ::GetMenuItemCount(hMenu); ++i) {
        MENUITEMINFOA mii = {};
        mii.cbSize = sizeof(mii);
        mii.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU;
        ::GetMenuItemInfoA(hMenu, static_cast<UINT>(i), TRUE, &mii);
        char text[256] = "";
        ::GetMenuStringA(hMenu, static_cast<UINT>(i), text, sizeof(text), MF_BYPOSITION);
        const int nID = mii.hSubMenu != nullptr ? -1 : static_cast<int>(mii.wID);
        lines.push_back(std::to_string(nDepth) + "|" + std::to_string(mii.fType) + "|" +
                        std::to_string(nID) + "|" + text);
        if (mii.hSubMenu != nullptr)
            DumpLevel(mii.hSubMenu, nDepth + 1, lines);
    }
}

std::vector<std::string> Dump(HMENU hMenu) {
    std::vector<std::string> lines;
    DumpLevel(hMenu, 0, lines);
    return lines;
}

HMENU Popup(std::initializer_list<std::pair<UINT, const char*>> items) {
    HMENU hMenu = ::CreatePopupMenu();
    for (const auto& item : items) {
        if (item.second == nullptr)
            ::AppendMenuA(hMenu, MF_SEPARATOR, 0, nullptr);
        else
            ::AppendMenuA(hMenu, MF_STRING, item.first, item.second);
    }
    return hMenu;
}

void AddPopup(HMENU hMenu, HMENU hSub, const char* text) {
    ::AppendMenuA(hMenu, MF_POPUP, reinterpret_cast<UINT_PTR>(hSub), text);
}

// File (with a nested Recent popup), Edit, and a command item at the top.
HMENU SampleMenu() {
    HMENU hMenu = ::CreateMenu();
    HMENU hFile = Popup({{100, "&New\tCtrl+N"}, {0, nullptr}, {102, "E&xit"}});
    AddPopup(hFile, Popup({{110, "&1 call.zel"}, {111, "&2 other.zel"}}), "&Recent");
    AddPopup(hMenu, hFile, "&File");
    HMENU hEdit = Popup({{200, "&Copy"}});
    ::AppendMenuA(hEdit, MF_STRING | MFT_RADIOCHECK, 201, "&Radio");
    AddPopup(hMenu, hEdit, "&Edit");
    ::AppendMenuA(hMenu, MF_STRING, 300, "&Score");
    return hMenu;
}

// A menu that stands for the one shown, to be replaced or left alone.
HMENU ShownMenu() {
    HMENU hMenu = ::CreateMenu();
    AddPopup(hMenu, Popup({{900, "&Old"}}), "&Shown");
    return hMenu;
}

std::vector<BYTE> Bytes(HMENU hMenu) {
    std::vector<BYTE> bytes;
    EXPECT_TRUE(OXMenuItemsToBytes(hMenu, bytes));
    return bytes;
}

// Hand-made profile values.
struct CBytes {
    std::vector<BYTE> data;
    CBytes& Int(int n) {
        for (int i = 0; i < 4; ++i)
            data.push_back(static_cast<BYTE>(static_cast<unsigned>(n) >> (8 * i)));
        return *this;
    }
    CBytes& Text(const std::string& s) {
        data.push_back(static_cast<BYTE>(s.size()));
        data.insert(data.end(), s.begin(), s.end());
        return *this;
    }
    CBytes& Raw(std::initializer_list<BYTE> raw) {
        data.insert(data.end(), raw);
        return *this;
    }
    // One command item.
    CBytes& Command(int nID, const std::string& s) { return Int(0).Int(0).Int(nID).Text(s); }
    // A submenu item; its level follows.
    CBytes& Submenu(const std::string& s) { return Int(0).Int(1).Int(-1).Text(s); }
};

} // namespace

TEST(OXMenuBarState, StoredLayoutIsCountThenTypeFlagIdAndArchiveText) {
    HMENU hMenu = ::CreateMenu();
    HMENU hSub = Popup({{0, nullptr}});
    AddPopup(hMenu, hSub, "&Go");
    ::AppendMenuA(hMenu, MF_STRING, 0x1234, "A");
    const std::vector<BYTE> expected = CBytes()
                                           .Int(2)
                                           .Int(0)
                                           .Int(1)
                                           .Int(-1)
                                           .Text("&Go") // the popup, then its level
                                           .Int(1)
                                           .Int(MFT_SEPARATOR)
                                           .Int(0)
                                           .Int(0)
                                           .Text("")
                                           .Command(0x1234, "A")
                                           .data;
    EXPECT_EQ(Bytes(hMenu), expected);
    ::DestroyMenu(hMenu);
}

TEST(OXMenuBarState, RoundTripReplacesTheShownItemsWithTheSavedOnes) {
    HMENU hSaved = SampleMenu();
    const std::vector<BYTE> bytes = Bytes(hSaved);
    HMENU hShown = ShownMenu();
    OXMENUSTATELOAD load;
    ASSERT_TRUE(OXLoadMenuItems(bytes.data(), static_cast<UINT>(bytes.size()), hShown, &load));
    EXPECT_EQ(Dump(hShown), Dump(hSaved));
    EXPECT_EQ(load.arrBuilt.size(), 3u); // File, Recent, Edit
    for (HMENU hBuilt : load.arrBuilt)
        EXPECT_TRUE(::IsMenu(hBuilt));
    EXPECT_EQ(load.hWindowMenu, nullptr);
    ::DestroyMenu(hSaved);
    ::DestroyMenu(hShown);
}

TEST(OXMenuBarState, OwnerDrawnAndBitmapTypesComeBackAsTextItems) {
    const std::vector<BYTE> bytes =
        CBytes().Int(1).Int(MFT_OWNERDRAW | MFT_RADIOCHECK).Int(0).Int(42).Text("&Tool").data;
    HMENU hShown = ShownMenu();
    OXMENUSTATELOAD load;
    ASSERT_TRUE(OXLoadMenuItems(bytes.data(), static_cast<UINT>(bytes.size()), hShown, &load));
    EXPECT_EQ(Dump(hShown),
              std::vector<std::string>{"0|" + std::to_string(MFT_RADIOCHECK) + "|42|&Tool"});
    ::DestroyMenu(hShown);
}

TEST(OXMenuBarState, WindowListAndItsSeparatorAreDroppedAndThePopupBecomesTheWindowMenu) {
    HMENU hSaved = ::CreateMenu();
    AddPopup(hSaved, Popup({{100, "&New"}}), "&File");
    AddPopup(hSaved,
             Popup({{57650, "&Cascade"}, {0, nullptr}, {0xFF00, "&1 a.zel"}, {0xFF01, "&2 b.zel"}}),
             "&Window");
    const std::vector<BYTE> bytes = Bytes(hSaved);
    ::DestroyMenu(hSaved);

    struct Case {
        BOOL bMDIFrame;
        std::vector<std::string> expected;
        bool bWindowMenu;
    };
    const std::string sep = "1|" + std::to_string(MFT_SEPARATOR) + "|0|";
    const Case cases[] = {
        {TRUE, {"0|0|-1|&File", "1|0|100|&New", "0|0|-1|&Window", "1|0|57650|&Cascade"}, true},
        // Without an MDI frame the separator stays and no window menu is kept.
        {FALSE,
         {"0|0|-1|&File", "1|0|100|&New", "0|0|-1|&Window", "1|0|57650|&Cascade", sep},
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bMDIFrame);
        HMENU hShown = ShownMenu();
        OXMENUSTATELOAD load;
        load.bMDIFrame = c.bMDIFrame;
        ASSERT_TRUE(OXLoadMenuItems(bytes.data(), static_cast<UINT>(bytes.size()), hShown, &load));
        EXPECT_EQ(Dump(hShown), c.expected);
        EXPECT_EQ(load.hWindowMenu, c.bWindowMenu ? ::GetSubMenu(hShown, 1) : nullptr);
        ::DestroyMenu(hShown);
    }
}

TEST(OXMenuBarState, CorruptDataLeavesTheShownMenuUnchanged) {
    auto nested = [](int nLevels) {
        CBytes b;
        for (int i = 0; i < nLevels; ++i)
            b.Int(1).Submenu("&Deeper");
        return b.Int(0).data;
    };
    struct Case {
        const char* what;
        std::vector<BYTE> data;
    };
    const Case cases[] = {
        {"negative count", CBytes().Int(-1).data},
        {"count beyond the bytes", CBytes().Int(1000).Command(1, "A").data},
        {"id above the command range", CBytes().Int(1).Command(0x10000, "A").data},
        {"negative id", CBytes().Int(1).Command(-2, "A").data},
        {"submenu flag 2", CBytes().Int(1).Int(0).Int(2).Int(-1).Text("A").Int(0).data},
        {"submenu with an id", CBytes().Int(1).Int(0).Int(1).Int(5).Text("A").Int(0).data},
        {"nesting too deep", nested(OX_MENUSTATE_MAXDEPTH)},
        {"text longer than the data",
         CBytes().Int(1).Int(0).Int(0).Int(1).Raw({0xFF, 0xFE, 0x00}).data},
        {"text of two gigabytes",
         CBytes().Int(1).Int(0).Int(0).Int(1).Raw({0xFF, 0xFF, 0xFF, 0xF0, 0xFF, 0xFF, 0x7F}).data},
        {"bytes after the menu", CBytes().Int(1).Command(1, "A").Raw({0}).data},
        {"submenu level missing", CBytes().Int(1).Submenu("A").data},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        HMENU hShown = ShownMenu();
        const std::vector<std::string> before = Dump(hShown);
        OXMENUSTATELOAD load;
        load.bMDIFrame = TRUE;
        EXPECT_FALSE(
            OXLoadMenuItems(c.data.data(), static_cast<UINT>(c.data.size()), hShown, &load));
        EXPECT_EQ(Dump(hShown), before);
        EXPECT_TRUE(load.arrBuilt.empty());
        EXPECT_EQ(load.hWindowMenu, nullptr);
        ::DestroyMenu(hShown);
    }
}

TEST(OXMenuBarState, EveryTruncationOfAValidStateIsRefused) {
    HMENU hSaved = SampleMenu();
    const std::vector<BYTE> bytes = Bytes(hSaved);
    ::DestroyMenu(hSaved);
    HMENU hShown = ShownMenu();
    const std::vector<std::string> before = Dump(hShown);
    for (size_t n = 1; n < bytes.size(); ++n) {
        OXMENUSTATELOAD load;
        EXPECT_FALSE(OXLoadMenuItems(bytes.data(), static_cast<UINT>(n), hShown, &load)) << n;
    }
    EXPECT_EQ(Dump(hShown), before);
    ::DestroyMenu(hShown);
}

TEST(OXMenuBarState, NestingUpToTheLimitLoads) {
    CBytes b;
    for (int i = 1; i < OX_MENUSTATE_MAXDEPTH; ++i)
        b.Int(1).Submenu("&Level" + std::to_string(i));
    b.Int(1).Command(7, "&Leaf");
    HMENU hShown = ShownMenu();
    OXMENUSTATELOAD load;
    ASSERT_TRUE(OXLoadMenuItems(b.data.data(), static_cast<UINT>(b.data.size()), hShown, &load));
    const std::vector<std::string> lines = Dump(hShown);
    ASSERT_EQ(lines.size(), static_cast<size_t>(OX_MENUSTATE_MAXDEPTH));
    EXPECT_EQ(lines.back(), std::to_string(OX_MENUSTATE_MAXDEPTH - 1) + "|0|7|&Leaf");
    ::DestroyMenu(hShown);
}
