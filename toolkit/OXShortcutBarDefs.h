// OXShortcutBarDefs.h: the records, styles, notification codes and private
// messages that the shortcut bar, its group lists and their owners share.
#pragma once

#include <windows.h>
#include <commctrl.h>

class CMenu;
class COXShortcutBar;

// A group's identity for the bar's lifetime: 1, 2, 3, ... in order of
// creation, never reused. Null means no group.
typedef struct SHBGROUP_TAG* HSHBGROUP;

// --- Group record masks (SHB_GROUPINFO::nMask)
#define SHBIF_TEXT 0x00010000
#define SHBIF_IMAGE 0x00020000
#define SHBIF_IMAGEEXPANDED 0x00040000
#define SHBIF_PARAM 0x00080000
#define SHBIF_ORDER 0x00100000
#define SHBIF_VIEW 0x00200000
#define SHBIF_DESCRIPTOR 0x00400000
#define SHBIF_CHILDWND 0x00800000
#define SHBIF_ALL 0x00FF0000

// Special orders of an inserted group.
#define SHBI_FIRST (-1)
#define SHBI_LAST (-2)
#define SHBI_SORT (-3)

// Views of a group's list.
#define SHB_LARGEICON 1
#define SHB_SMALLICON 2

// --- Descriptor masks (SHB_DESCRIPTOR::nMask)
#define SHBDM_CLRBACK 0x01
#define SHBDM_CLRTEXT 0x02
#define SHBDM_CLRHEADERBACK 0x04
#define SHBDM_CLRHEADERTEXT 0x08
#define SHBDM_HEADERTEXTFMT 0x10
#define SHBDM_TEXTFONT 0x20
#define SHBDM_HEADERTEXTFONT 0x40
#define SHBDM_HEADERHEIGHT 0x80

// The header text format of a group whose descriptor names none.
#define SHB_DEFAULTHEADERTEXTFMT (DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS)

// --- Bar styles (a 16-bit word)
#define SHBS_DISABLEDRAGITEM 0x0001
#define SHBS_DISABLEDRAGDROP 0x0002
#define SHBS_EDITHEADERS 0x0004
#define SHBS_EDITITEMS 0x0008
#define SHBS_INFOTIP 0x0010
#define SHBS_NOSCROLL 0x0020
#define SHBS_BOLDEXPANDEDGROUP 0x0040
#define SHBS_UNDERLINEHOTITEM 0x0080
#define SHBS_SHOWACTIVEALWAYS 0x0100
#define SHBS_DISABLEDRAGHEADER 0x0200
#define SHBS_DRAWHEADERDRAGIMAGE 0x0400
#define SHBS_DRAWITEMDRAGIMAGE 0x0800
#define SHBS_AUTOSCROLL 0x1000
#define SHBS_ANIMATEEXPAND 0x2000
#define SHBS_AUTOEXPAND 0x4000
#define SHBS_BUTTONHEADERS 0x8000

// --- WM_NOTIFY codes to the owner (record NMSHORTCUTBAR)
#define SHBN_DRAGENTER 0x80A4
#define SHBN_DRAGLEAVE 0x80A5
#define SHBN_DRAGOVER 0x80A6
#define SHBN_DROP 0x80A8
#define SHBN_DRAGHEADER 0x80D0
#define SHBN_BEGINHEADEREDIT 0x80D1
#define SHBN_DELETINGGROUP 0x80D2
#define SHBN_ENDHEADEREDIT 0x80D3
#define SHBN_GETHEADERINFOTIP 0x80D4
#define SHBN_GROUPEXPANDED 0x80D5
#define SHBN_GROUPEXPANDING 0x80D7
#define SHBN_DRAWHEADER 0x80D8
#define SHBN_DROPGROUP 0x80D9
#define SHBN_INSERTGROUP 0x80DA
#define SHBN_BEGINDRAGITEM 0x80DB
#define SHBN_BEGINITEMEDIT 0x80DC
#define SHBN_DELETEALLITEMS 0x80DD
#define SHBN_DELETEITEM 0x80DE
#define SHBN_ENDITEMEDIT 0x80DF
#define SHBN_GETITEMINFOTIP 0x80E0
#define SHBN_INSERTITEM 0x80E1
#define SHBN_PRESSITEM 0x80E2
#define SHBN_SELECTITEM 0x80E3
#define SHBN_HOTITEM 0x80E4
#define SHBN_DRAWITEM 0x80E5
#define SHBN_GETDROPTARGET 0x80E6
#define SHBN_GETDROPSOURCE 0x80E7
#define SHBN_BEGINDRAGDROP 0x80E8
#define SHBN_GETADDITIONALDRAGDATA 0x80E9
#define SHBN_ADDITIONALDROPDATA 0x80EA
#define SHBN_DRAGDROPFINISHED 0x80EB
#define SHBN_CONTEXTMENU 0x80EC

// --- Private messages between the bar and its content windows
#define SHBM_POPULATECONTEXTMENU 0x80EE
#define SHBM_SETSHBGROUP 0x80EF
#define SHBM_SHBINFOCHANGED 0x80F0
#define SHBM_SHBSTYLECHANGED 0x80F1
#define SHBM_DELETESHBGROUP 0x80F2
#define SHBM_CHECKMOUSE 0x80F3
#define SHBM_STARTDRAGDROP 0x80F4

// --- Context-menu commands of the bar and of its lists
#define SHB_IDMLARGEICON 33014
#define SHB_IDMSMALLICON 33015
#define SHB_IDMADDGROUP 33016
#define SHB_IDMREMOVEGROUP 33017
#define SHB_IDMRENAMEGROUP 33018
#define SHB_IDMREMOVEITEM 33019
#define SHB_IDMRENAMEITEM 33020

// The identifier of the in-place edit control of the bar and of each list.
#define SHB_IDCEDIT 0xFFFF

// Per-group colours, fonts and header metrics. The bar keeps its own copies.
struct SHB_DESCRIPTOR {
    COLORREF clrBackground; // SHBDM_CLRBACK: the content area (the list)
    COLORREF clrText;       // SHBDM_CLRTEXT: the list items' text
    COLORREF clrHeaderBackground;
    COLORREF clrHeaderText;
    UINT nHeaderTextFormat; // DrawText flags
    LOGFONT lfText;         // SHBDM_TEXTFONT: the list items
    LOGFONT lfHeader;       // SHBDM_HEADERTEXTFONT
    int nHeaderHeight;      // SHBDM_HEADERHEIGHT, pixels
    UINT nMask;

    SHB_DESCRIPTOR() { ZeroMemory(this, sizeof(*this)); }
};
typedef SHB_DESCRIPTOR* LPSHB_DESCRIPTOR;

// How a caller describes a group, and how the bar stores it.
struct SHB_GROUPINFO {
    LPTSTR pszText;               // SHBIF_TEXT
    int nTextMax;                 // bytes of the text without its terminator
    int nImage;                   // SHBIF_IMAGE: header image; negative: none
    int nImageExpanded;           // SHBIF_IMAGEEXPANDED
    LPARAM lParam;                // SHBIF_PARAM
    int nOrder;                   // SHBIF_ORDER; SHBI_FIRST, SHBI_LAST, SHBI_SORT on insert
    int nView;                    // SHBIF_VIEW: SHB_LARGEICON or SHB_SMALLICON
    LPSHB_DESCRIPTOR pDescriptor; // SHBIF_DESCRIPTOR
    HWND hwndChild;               // SHBIF_CHILDWND: the application's content window
    UINT nMask;
    BOOL bTextAllocated; // the record owns pszText and frees it

    SHB_GROUPINFO()
        : pszText(nullptr), nTextMax(0), nImage(0), nImageExpanded(0), lParam(0), nOrder(0),
          nView(0), pDescriptor(nullptr), hwndChild(nullptr), nMask(0), bTextAllocated(FALSE) {}
    ~SHB_GROUPINFO() {
        if (bTextAllocated)
            delete[] pszText;
    }
    SHB_GROUPINFO(const SHB_GROUPINFO&) = delete;
    SHB_GROUPINFO& operator=(const SHB_GROUPINFO&) = delete;

    void SetTextAllocated(BOOL bAllocated) { bTextAllocated = bAllocated; }
};
typedef SHB_GROUPINFO* LPSHB_GROUPINFO;

// The record of every notification of the bar and its lists.
struct NMSHORTCUTBAR {
    NMHDR hdr;
    HSHBGROUP hGroup; // the group concerned, or null
    int nItem;        // the list item concerned, -1 when none
    LPARAM lParam;    // the notification's data

    NMSHORTCUTBAR() : hdr(), hGroup(nullptr), nItem(-1), lParam(0) {}
};
typedef NMSHORTCUTBAR* LPNMSHORTCUTBAR;

// Filled by the owner for SHBN_GETHEADERINFOTIP and SHBN_GETITEMINFOTIP.
struct SHBINFOTIP {
    LPTSTR pszText;   // a text the owner keeps, or null
    TCHAR szText[80]; // else the text itself
    HINSTANCE hInstance;

    SHBINFOTIP() { ZeroMemory(this, sizeof(*this)); }
};
typedef SHBINFOTIP* LPSHBINFOTIP;

// The menu of SHBN_CONTEXTMENU and SHBM_POPULATECONTEXTMENU.
struct SHBCONTEXTMENU {
    CMenu* pMenu;
    COXShortcutBar* pShortcutBar;
    HSHBGROUP hGroup;
    POINT point; // screen coordinates

    SHBCONTEXTMENU() : pMenu(nullptr), pShortcutBar(nullptr), hGroup(nullptr), point() {}
};
typedef SHBCONTEXTMENU* LPSHBCONTEXTMENU;

// Extra bytes the owner of a drag source adds to a dragged item, and finds
// again at the drop.
struct SHBADDITIONALDROPINFO {
    DWORD nBufferLength;
    void* pBuffer;

    SHBADDITIONALDROPINFO() : nBufferLength(0), pBuffer(nullptr) {}
};
typedef SHBADDITIONALDROPINFO* LPSHBADDITIONALDROPINFO;

// The bar's colour functions, shared with the skins and the lists.
// TRUE when the mean channel difference (integer division) is at most nTolerance.
BOOL IsSimilarColor(COLORREF clr1, COLORREF clr2, int nTolerance);
// Each channel becomes 255 minus its value.
COLORREF InvertColor(COLORREF clr);
// nDelta is added to each channel, clamped to 0..255.
COLORREF AdjustColor(COLORREF clr, int nDelta);
