// Tests of the menu bar's keyboard rules as tables: mnemonics, the step from
// item to item with and without the MDI child's icon, and the decision of
// HandleMenuKey for each key in each state.
#include "native/gtest.h"

#include "toolkit/OXMenuBarKeys.h"

#include <string>

TEST(OXMenuBarKeys, MnemonicIsTheUpperCaseCharacterAfterTheFirstSingleAmpersand) {
    struct Case {
        const char* text;
        char expected;
    };
    const Case cases[] = {
        {"&File", 'F'},       {"E&dit", 'D'},         {"&file", 'F'},
        {"Save && Exit", 0},  {"Save && E&xit", 'X'}, {"&&&Tools", 'T'},
        {"No mnemonic", 0},   {"Trailing&", 0},       {"", 0},
        {"&1 call.zel", '1'},
    };
    for (const Case& c : cases)
        EXPECT_EQ(OXMenuMnemonic(c.text), c.expected) << c.text;
    EXPECT_EQ(OXMenuMnemonic(nullptr), 0);
}

TEST(OXMenuBarKeys, StepCyclesThroughTheItemsAndTheIconWhenShown) {
    struct Case {
        int nItem, nCount;
        BOOL bIcon, bNext;
        int expected;
    };
    const Case cases[] = {
        // Without the icon: 0..n-1; -1 starts from 0.
        {0, 4, FALSE, TRUE, 1},
        {3, 4, FALSE, TRUE, 0},
        {0, 4, FALSE, FALSE, 3},
        {-1, 4, FALSE, TRUE, 1},
        {-1, 4, FALSE, FALSE, 3},
        // With the icon: 0..n; -1 starts from the icon (n).
        {3, 4, TRUE, TRUE, 4},
        {4, 4, TRUE, TRUE, 0},
        {0, 4, TRUE, FALSE, 4},
        {-1, 4, TRUE, TRUE, 0},
        {-1, 4, TRUE, FALSE, 3},
        // No items at all.
        {-1, 0, FALSE, TRUE, -1},
        {0, 1, FALSE, TRUE, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(OXStepMenuItem(c.nItem, c.nCount, c.bIcon, c.bNext), c.expected)
            << c.nItem << "/" << c.nCount << (c.bIcon ? " icon" : "")
            << (c.bNext ? " next" : " prev");
}

TEST(OXMenuBarKeys, DecisionTable) {
    enum { H = TRUE, V = FALSE };
    struct Case {
        const char* what;
        UINT nKey;
        BOOL bSurfing, bPopupOpen;
        int nButtons;
        BOOL bHorz, bCtrl;
        int nMnemonicItem;
        OXMenuKeyAction nAction;
        BOOL bNext, bSelect, bConsumed;
    };
    const Case cases[] = {
        {"Alt alone toggles surfing", 0, FALSE, FALSE, 4, H, FALSE, -1, OXMK_TOGGLE_SURFING, FALSE,
         FALSE, TRUE},
        {"Alt alone again", 0, TRUE, FALSE, 4, H, FALSE, -1, OXMK_TOGGLE_SURFING, FALSE, FALSE,
         TRUE},
        {"Alt alone on an empty bar", 0, FALSE, FALSE, 0, H, FALSE, -1, OXMK_TOGGLE_SURFING, FALSE,
         FALSE, TRUE},
        {"Esc while surfing", VK_ESCAPE, TRUE, FALSE, 4, H, FALSE, -1, OXMK_END_SURFING, FALSE,
         FALSE, TRUE},
        {"Esc in an open popup", VK_ESCAPE, FALSE, TRUE, 4, H, FALSE, -1, OXMK_BACK_TO_SURFING,
         FALSE, FALSE, FALSE},
        {"Esc otherwise", VK_ESCAPE, FALSE, FALSE, 4, H, FALSE, -1, OXMK_NONE, FALSE, FALSE, FALSE},
        {"no buttons", VK_RIGHT, TRUE, FALSE, 0, H, FALSE, -1, OXMK_NONE, FALSE, FALSE, FALSE},
        {"Right surfing", VK_RIGHT, TRUE, FALSE, 4, H, FALSE, -1, OXMK_MOVE_HOT, TRUE, TRUE, TRUE},
        {"Left surfing", VK_LEFT, TRUE, FALSE, 4, H, FALSE, -1, OXMK_MOVE_HOT, FALSE, TRUE, TRUE},
        {"Down surfing vertical", VK_DOWN, TRUE, FALSE, 4, V, FALSE, -1, OXMK_MOVE_HOT, TRUE, FALSE,
         TRUE},
        {"Up surfing vertical", VK_UP, TRUE, FALSE, 4, V, FALSE, -1, OXMK_MOVE_HOT, FALSE, TRUE,
         TRUE},
        {"Right in a popup", VK_RIGHT, FALSE, TRUE, 4, H, FALSE, -1, OXMK_CHAIN_POPUP, TRUE, FALSE,
         TRUE},
        {"Left in a popup", VK_LEFT, FALSE, TRUE, 4, H, FALSE, -1, OXMK_CHAIN_POPUP, FALSE, FALSE,
         TRUE},
        {"Down in a popup of a vertical bar", VK_DOWN, FALSE, TRUE, 4, V, FALSE, -1, OXMK_NONE,
         FALSE, FALSE, FALSE},
        {"Right idle", VK_RIGHT, FALSE, FALSE, 4, H, FALSE, -1, OXMK_NONE, FALSE, FALSE, FALSE},
        {"Enter surfing", VK_RETURN, TRUE, FALSE, 4, H, FALSE, -1, OXMK_OPEN_HOT, FALSE, FALSE,
         TRUE},
        {"Down surfing", VK_DOWN, TRUE, FALSE, 4, H, FALSE, -1, OXMK_OPEN_HOT, FALSE, FALSE, TRUE},
        {"Right surfing vertical", VK_RIGHT, TRUE, FALSE, 4, V, FALSE, -1, OXMK_OPEN_HOT, FALSE,
         FALSE, TRUE},
        {"Enter idle", VK_RETURN, FALSE, FALSE, 4, H, FALSE, -1, OXMK_NONE, FALSE, FALSE, FALSE},
        {"Down idle", VK_DOWN, FALSE, FALSE, 4, H, FALSE, -1, OXMK_NONE, FALSE, FALSE, FALSE},
        {"mnemonic", 'F', FALSE, FALSE, 4, H, FALSE, 0, OXMK_OPEN_MNEMONIC, FALSE, FALSE, TRUE},
        {"mnemonic surfing", 'E', TRUE, FALSE, 4, H, FALSE, 1, OXMK_OPEN_MNEMONIC, FALSE, FALSE,
         TRUE},
        {"mnemonic with Ctrl", 'F', FALSE, FALSE, 4, H, TRUE, 0, OXMK_NONE, FALSE, FALSE, FALSE},
        {"mnemonic in a popup", 'F', FALSE, TRUE, 4, H, FALSE, 0, OXMK_NONE, FALSE, FALSE, FALSE},
        {"no such mnemonic", 'Q', FALSE, FALSE, 4, H, FALSE, -1, OXMK_NONE, FALSE, FALSE, FALSE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const OXMENUKEYSTATE state = {c.nKey,  c.bSurfing, c.bPopupOpen,   c.nButtons,
                                      c.bHorz, c.bCtrl,    c.nMnemonicItem};
        const OXMENUKEYACTION action = OXDecideMenuKey(state);
        EXPECT_EQ(action.nAction, c.nAction);
        if (c.nAction == OXMK_MOVE_HOT || c.nAction == OXMK_CHAIN_POPUP) {
            EXPECT_EQ(action.bNext, c.bNext);
        }
        if (c.nAction == OXMK_MOVE_HOT) {
            EXPECT_EQ(action.bSelect, c.bSelect);
        }
        EXPECT_EQ(action.bConsumed, c.bConsumed);
    }
}
