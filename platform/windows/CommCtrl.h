// Messages, styles and notification records of the standard controls (edit, list box,
// combo box, button, list view and header, tree view, tab control, track bar,
// progress bar), with the numbers Windows programs know.  The controls themselves are
// in platform/forms (StdCtrls.h, ComCtrls.h).
#pragma once

#include "platform/windows/Windows.h"

// ---- notification records ------------------------------------------------------------------
struct NMHDR {
    HWND hwndFrom = nullptr;
    uintptr_t idFrom = 0;
    int code = 0;
};
using TNMHdr = NMHDR;

// Owner drawing (WM_DRAWITEM / CN_DRAWITEM).
constexpr UINT ODT_MENU = 1, ODT_LISTBOX = 2, ODT_COMBOBOX = 3, ODT_BUTTON = 4, ODT_LISTVIEW = 102;
constexpr UINT ODA_DRAWENTIRE = 1, ODA_SELECT = 2, ODA_FOCUS = 4;
constexpr UINT ODS_SELECTED = 0x1, ODS_GRAYED = 0x2, ODS_DISABLED = 0x4, ODS_CHECKED = 0x8, ODS_FOCUS = 0x10,
               ODS_DEFAULT = 0x20, ODS_COMBOBOXEDIT = 0x1000, ODS_HOTLIGHT = 0x40, ODS_NOFOCUSRECT = 0x200;
struct DRAWITEMSTRUCT {
    UINT CtlType = 0, CtlID = 0, itemID = 0, itemAction = 0, itemState = 0;
    HWND hwndItem = nullptr;
    HDC hDC = nullptr;
    TRect rcItem;
    uintptr_t itemData = 0;
};
struct MEASUREITEMSTRUCT {
    UINT CtlType = 0, CtlID = 0, itemID = 0, itemWidth = 0, itemHeight = 0;
    uintptr_t itemData = 0;
};

// ---- edit -----------------------------------------------------------------------------------------
constexpr DWORD ES_LEFT = 0x0, ES_CENTER = 0x1, ES_RIGHT = 0x2, ES_MULTILINE = 0x4, ES_UPPERCASE = 0x8,
                ES_LOWERCASE = 0x10, ES_PASSWORD = 0x20, ES_AUTOVSCROLL = 0x40, ES_AUTOHSCROLL = 0x80,
                ES_NOHIDESEL = 0x100, ES_OEMCONVERT = 0x400, ES_READONLY = 0x800, ES_WANTRETURN = 0x1000,
                ES_NUMBER = 0x2000;
constexpr UINT EM_GETSEL = 0xB0, EM_SETSEL = 0xB1, EM_GETRECT = 0xB2, EM_SETRECT = 0xB3, EM_SETRECTNP = 0xB4,
               EM_SCROLL = 0xB5, EM_LINESCROLL = 0xB6, EM_SCROLLCARET = 0xB7, EM_GETMODIFY = 0xB8,
               EM_SETMODIFY = 0xB9, EM_GETLINECOUNT = 0xBA, EM_LINEINDEX = 0xBB, EM_LINELENGTH = 0xC1,
               EM_REPLACESEL = 0xC2, EM_GETLINE = 0xC4, EM_LIMITTEXT = 0xC5, EM_SETLIMITTEXT = 0xC5,
               EM_CANUNDO = 0xC6, EM_UNDO = 0xC7, EM_LINEFROMCHAR = 0xC9, EM_SETPASSWORDCHAR = 0xCC,
               EM_EMPTYUNDOBUFFER = 0xCD, EM_GETFIRSTVISIBLELINE = 0xCE, EM_SETREADONLY = 0xCF,
               EM_GETPASSWORDCHAR = 0xD2, EM_SETMARGINS = 0xD3, EM_GETMARGINS = 0xD4, EM_GETLIMITTEXT = 0xD5,
               EM_POSFROMCHAR = 0xD6, EM_CHARFROMPOS = 0xD7;
constexpr WPARAM EC_LEFTMARGIN = 0x1, EC_RIGHTMARGIN = 0x2, EC_USEFONTINFO = 0xFFFF;
constexpr WORD EN_SETFOCUS = 0x100, EN_KILLFOCUS = 0x200, EN_CHANGE = 0x300, EN_UPDATE = 0x400,
               EN_MAXTEXT = 0x501, EN_HSCROLL = 0x601, EN_VSCROLL = 0x602;

// ---- list box ---------------------------------------------------------------------------------------
constexpr DWORD LBS_NOTIFY = 0x1, LBS_SORT = 0x2, LBS_NOREDRAW = 0x4, LBS_MULTIPLESEL = 0x8,
                LBS_OWNERDRAWFIXED = 0x10, LBS_OWNERDRAWVARIABLE = 0x20, LBS_HASSTRINGS = 0x40,
                LBS_USETABSTOPS = 0x80, LBS_NOINTEGRALHEIGHT = 0x100, LBS_MULTICOLUMN = 0x200,
                LBS_WANTKEYBOARDINPUT = 0x400, LBS_EXTENDEDSEL = 0x800, LBS_NOSEL = 0x4000;
constexpr UINT LB_ADDSTRING = 0x180, LB_INSERTSTRING = 0x181, LB_DELETESTRING = 0x182, LB_RESETCONTENT = 0x184,
               LB_SETSEL = 0x185, LB_SETCURSEL = 0x186, LB_GETSEL = 0x187, LB_GETCURSEL = 0x188,
               LB_GETTEXT = 0x189, LB_GETTEXTLEN = 0x18A, LB_GETCOUNT = 0x18B, LB_SELECTSTRING = 0x18C,
               LB_GETTOPINDEX = 0x18E, LB_FINDSTRING = 0x18F, LB_GETSELCOUNT = 0x190, LB_GETSELITEMS = 0x191,
               LB_SETTABSTOPS = 0x192, LB_SETCOLUMNWIDTH = 0x195, LB_SETTOPINDEX = 0x197, LB_GETITEMRECT = 0x198,
               LB_GETITEMDATA = 0x199, LB_SETITEMDATA = 0x19A, LB_SETCARETINDEX = 0x19E,
               LB_GETCARETINDEX = 0x19F, LB_SETITEMHEIGHT = 0x1A0, LB_GETITEMHEIGHT = 0x1A1,
               LB_FINDSTRINGEXACT = 0x1A2, LB_SETCOUNT = 0x1A7, LB_ITEMFROMPOINT = 0x1A9;
constexpr LRESULT LB_OKAY = 0, LB_ERR = -1, LB_ERRSPACE = -2;
constexpr WORD LBN_ERRSPACE = WORD(-2), LBN_SELCHANGE = 1, LBN_DBLCLK = 2, LBN_SELCANCEL = 3, LBN_SETFOCUS = 4,
               LBN_KILLFOCUS = 5;

// ---- combo box ---------------------------------------------------------------------------------------
constexpr DWORD CBS_SIMPLE = 0x1, CBS_DROPDOWN = 0x2, CBS_DROPDOWNLIST = 0x3, CBS_OWNERDRAWFIXED = 0x10,
                CBS_AUTOHSCROLL = 0x40, CBS_SORT = 0x100, CBS_HASSTRINGS = 0x200;
constexpr UINT CB_GETEDITSEL = 0x140, CB_LIMITTEXT = 0x141, CB_SETEDITSEL = 0x142, CB_ADDSTRING = 0x143,
               CB_DELETESTRING = 0x144, CB_GETCOUNT = 0x146, CB_GETCURSEL = 0x147, CB_GETLBTEXT = 0x148,
               CB_GETLBTEXTLEN = 0x149, CB_INSERTSTRING = 0x14A, CB_RESETCONTENT = 0x14B, CB_FINDSTRING = 0x14C,
               CB_SELECTSTRING = 0x14D, CB_SETCURSEL = 0x14E, CB_SHOWDROPDOWN = 0x14F, CB_GETITEMDATA = 0x150,
               CB_SETITEMDATA = 0x151, CB_GETDROPPEDSTATE = 0x157, CB_FINDSTRINGEXACT = 0x158;
constexpr LRESULT CB_ERR = -1;
constexpr WORD CBN_SELCHANGE = 1, CBN_DBLCLK = 2, CBN_SETFOCUS = 3, CBN_KILLFOCUS = 4, CBN_EDITCHANGE = 5,
               CBN_EDITUPDATE = 6, CBN_DROPDOWN = 7, CBN_CLOSEUP = 8, CBN_SELENDOK = 9, CBN_SELENDCANCEL = 10;

// ---- buttons --------------------------------------------------------------------------------------------
constexpr DWORD BS_PUSHBUTTON = 0x0, BS_DEFPUSHBUTTON = 0x1, BS_CHECKBOX = 0x2, BS_AUTOCHECKBOX = 0x3,
                BS_RADIOBUTTON = 0x4, BS_3STATE = 0x5, BS_AUTO3STATE = 0x6, BS_GROUPBOX = 0x7,
                BS_AUTORADIOBUTTON = 0x9, BS_OWNERDRAW = 0xB;
constexpr UINT BM_GETCHECK = 0xF0, BM_SETCHECK = 0xF1, BM_GETSTATE = 0xF2, BM_SETSTATE = 0xF3,
               BM_SETSTYLE = 0xF4, BM_CLICK = 0xF5;
constexpr WPARAM BST_UNCHECKED = 0, BST_CHECKED = 1, BST_INDETERMINATE = 2, BST_PUSHED = 4, BST_FOCUS = 8;
constexpr WORD BN_CLICKED = 0, BN_DOUBLECLICKED = 5;

// ---- common notification codes -----------------------------------------------------------------------
constexpr int NM_FIRST = 0, NM_CLICK = -2, NM_DBLCLK = -3, NM_RETURN = -4, NM_RCLICK = -5, NM_RDBLCLK = -6,
              NM_SETFOCUS = -7, NM_KILLFOCUS = -8, NM_CUSTOMDRAW = -12;

// Custom drawing.
constexpr DWORD CDDS_PREPAINT = 0x1, CDDS_POSTPAINT = 0x2, CDDS_ITEM = 0x10000,
                CDDS_ITEMPREPAINT = CDDS_ITEM | CDDS_PREPAINT, CDDS_ITEMPOSTPAINT = CDDS_ITEM | CDDS_POSTPAINT,
                CDDS_SUBITEM = 0x20000;
constexpr LRESULT CDRF_DODEFAULT = 0x0, CDRF_NEWFONT = 0x2, CDRF_SKIPDEFAULT = 0x4, CDRF_NOTIFYPOSTPAINT = 0x10,
                  CDRF_NOTIFYITEMDRAW = 0x20, CDRF_NOTIFYSUBITEMDRAW = 0x20;
constexpr UINT CDIS_SELECTED = 0x1, CDIS_GRAYED = 0x2, CDIS_DISABLED = 0x4, CDIS_CHECKED = 0x8, CDIS_FOCUS = 0x10,
               CDIS_DEFAULT = 0x20, CDIS_HOT = 0x40;
struct NMCUSTOMDRAW {
    NMHDR hdr;
    DWORD dwDrawStage = 0;
    HDC hdc = nullptr;
    TRect rc;
    uintptr_t dwItemSpec = 0;
    UINT uItemState = 0;
    LPARAM lItemlParam = 0;
};

// ---- header ----------------------------------------------------------------------------------------------
constexpr UINT HDM_FIRST = 0x1200;
constexpr UINT HDM_GETITEMCOUNT = HDM_FIRST + 0, HDM_INSERTITEM = HDM_FIRST + 10, HDM_DELETEITEM = HDM_FIRST + 2,
               HDM_GETITEM = HDM_FIRST + 11, HDM_SETITEM = HDM_FIRST + 12, HDM_LAYOUT = HDM_FIRST + 5,
               HDM_HITTEST = HDM_FIRST + 6, HDM_GETITEMRECT = HDM_FIRST + 7, HDM_ORDERTOINDEX = HDM_FIRST + 15,
               HDM_GETORDERARRAY = HDM_FIRST + 17, HDM_SETORDERARRAY = HDM_FIRST + 18;
constexpr UINT HHT_NOWHERE = 0x1, HHT_ONHEADER = 0x2, HHT_ONDIVIDER = 0x4, HHT_ONDIVOPEN = 0x8,
               HHT_ABOVE = 0x100, HHT_BELOW = 0x200, HHT_TORIGHT = 0x400, HHT_TOLEFT = 0x800;
struct HDHITTESTINFO {
    TPoint pt;
    UINT flags = 0;
    int iItem = -1;
};
constexpr int HDN_FIRST = -300;
constexpr int HDN_ITEMCHANGING = HDN_FIRST - 20, HDN_ITEMCHANGED = HDN_FIRST - 21, HDN_ITEMCLICK = HDN_FIRST - 22,
              HDN_DIVIDERDBLCLICK = HDN_FIRST - 25, HDN_BEGINTRACK = HDN_FIRST - 26, HDN_ENDTRACK = HDN_FIRST - 27,
              HDN_TRACK = HDN_FIRST - 28;
struct NMHEADER {
    NMHDR hdr;
    int iItem = -1;
    int iButton = 0;
    int cxy = 0;  // the new width for track notifications
};

// ---- list view ----------------------------------------------------------------------------------------------
constexpr UINT LVM_FIRST = 0x1000;
constexpr UINT LVM_GETITEMCOUNT = LVM_FIRST + 4, LVM_GETNEXTITEM = LVM_FIRST + 12, LVM_GETITEMRECT = LVM_FIRST + 14,
               LVM_HITTEST = LVM_FIRST + 18, LVM_ENSUREVISIBLE = LVM_FIRST + 19, LVM_SCROLL = LVM_FIRST + 20,
               LVM_REDRAWITEMS = LVM_FIRST + 21, LVM_GETCOLUMNWIDTH = LVM_FIRST + 29,
               LVM_SETCOLUMNWIDTH = LVM_FIRST + 30, LVM_GETHEADER = LVM_FIRST + 31,
               LVM_GETTOPINDEX = LVM_FIRST + 39, LVM_GETCOUNTPERPAGE = LVM_FIRST + 40,
               LVM_SETITEMSTATE = LVM_FIRST + 43, LVM_GETITEMSTATE = LVM_FIRST + 44,
               LVM_SETITEMCOUNT = LVM_FIRST + 47, LVM_GETSELECTEDCOUNT = LVM_FIRST + 50,
               LVM_GETSUBITEMRECT = LVM_FIRST + 56, LVM_GETCOLUMNORDERARRAY = LVM_FIRST + 59,
               LVM_SETCOLUMNORDERARRAY = LVM_FIRST + 58, LVM_GETSELECTIONMARK = LVM_FIRST + 66,
               LVM_EDITLABEL = LVM_FIRST + 118, LVM_FINDITEM = LVM_FIRST + 83, LVM_GETIMAGELIST = LVM_FIRST + 2,
               LVM_SETIMAGELIST = LVM_FIRST + 3;
// The kinds of image list a list view window holds (LVM_SETIMAGELIST's first parameter):
// large icons for the icon view, small icons for the other views, state pictures.
constexpr int LVSIL_NORMAL = 0, LVSIL_SMALL = 1, LVSIL_STATE = 2;
constexpr UINT LVNI_ALL = 0x0, LVNI_FOCUSED = 0x1, LVNI_SELECTED = 0x2, LVNI_ABOVE = 0x100, LVNI_BELOW = 0x200;
constexpr UINT LVIS_FOCUSED = 0x1, LVIS_SELECTED = 0x2, LVIS_CUT = 0x4, LVIS_DROPHILITED = 0x8,
               LVIS_STATEIMAGEMASK = 0xF000;
constexpr UINT LVIF_TEXT = 0x1, LVIF_IMAGE = 0x2, LVIF_PARAM = 0x4, LVIF_STATE = 0x8, LVIF_INDENT = 0x10;
constexpr UINT LVIR_BOUNDS = 0, LVIR_ICON = 1, LVIR_LABEL = 2, LVIR_SELECTBOUNDS = 3;
constexpr UINT LVHT_NOWHERE = 0x1, LVHT_ONITEMICON = 0x2, LVHT_ONITEMLABEL = 0x4, LVHT_ONITEMSTATEICON = 0x8,
               LVHT_ONITEM = 0xE, LVHT_ABOVE = 0x8, LVHT_BELOW = 0x10, LVHT_TORIGHT = 0x20, LVHT_TOLEFT = 0x40;
constexpr UINT LVFI_PARAM = 0x1, LVFI_STRING = 0x2, LVFI_PARTIAL = 0x8, LVFI_WRAP = 0x20, LVFI_NEARESTXY = 0x40;
struct LVHITTESTINFO {
    TPoint pt;
    UINT flags = 0;
    int iItem = -1;
    int iSubItem = 0;
};
struct LVFINDINFO {
    UINT flags = 0;
    String psz;
    LPARAM lParam = 0;
    TPoint pt;
    UINT vkDirection = 0;
};
struct LVITEM {
    UINT mask = 0;
    int iItem = 0, iSubItem = 0;
    UINT state = 0, stateMask = 0;
    String pszText;
    int iImage = -1;
    LPARAM lParam = 0;
    int iIndent = 0;
};
constexpr int LVN_FIRST = -100;
constexpr int LVN_ITEMCHANGING = LVN_FIRST - 0, LVN_ITEMCHANGED = LVN_FIRST - 1, LVN_INSERTITEM = LVN_FIRST - 2,
              LVN_DELETEITEM = LVN_FIRST - 3, LVN_DELETEALLITEMS = LVN_FIRST - 4, LVN_COLUMNCLICK = LVN_FIRST - 8,
              LVN_BEGINLABELEDIT = LVN_FIRST - 75, LVN_ENDLABELEDIT = LVN_FIRST - 76, LVN_GETDISPINFO = LVN_FIRST - 77,
              LVN_ODFINDITEM = LVN_FIRST - 79, LVN_ODCACHEHINT = LVN_FIRST - 13, LVN_KEYDOWN = LVN_FIRST - 55;
constexpr UINT LVIF_DI_SETITEM = 0x1000;
struct NMLISTVIEW {
    NMHDR hdr;
    int iItem = -1, iSubItem = 0;
    UINT uNewState = 0, uOldState = 0, uChanged = 0;
    TPoint ptAction;
    LPARAM lParam = 0;
};
struct NMLVDISPINFO {
    NMHDR hdr;
    LVITEM item;
};
struct NMLVFINDITEM {
    NMHDR hdr;
    int iStart = 0;
    LVFINDINFO lvfi;
};
struct NMLVCUSTOMDRAW {
    NMCUSTOMDRAW nmcd;
    COLORREF clrText = 0, clrTextBk = 0;
    int iSubItem = 0;
};

// ---- tree view ------------------------------------------------------------------------------------------------
struct TTreeItemData;
using HTREEITEM = TTreeItemData*;
constexpr UINT TVM_FIRST = 0x1100;
constexpr UINT TVM_EXPAND = TVM_FIRST + 2, TVM_GETITEMRECT = TVM_FIRST + 4, TVM_GETCOUNT = TVM_FIRST + 5,
               TVM_GETINDENT = TVM_FIRST + 6, TVM_SETINDENT = TVM_FIRST + 7, TVM_GETIMAGELIST = TVM_FIRST + 8,
               TVM_SETIMAGELIST = TVM_FIRST + 9, TVM_GETNEXTITEM = TVM_FIRST + 10, TVM_SELECTITEM = TVM_FIRST + 11,
               TVM_GETVISIBLECOUNT = TVM_FIRST + 16, TVM_HITTEST = TVM_FIRST + 17, TVM_ENSUREVISIBLE = TVM_FIRST + 20,
               TVM_GETITEMHEIGHT = TVM_FIRST + 28;
constexpr WPARAM TVE_COLLAPSE = 0x1, TVE_EXPAND = 0x2, TVE_TOGGLE = 0x3;
constexpr WPARAM TVGN_ROOT = 0x0, TVGN_NEXT = 0x1, TVGN_PREVIOUS = 0x2, TVGN_PARENT = 0x3, TVGN_CHILD = 0x4,
                 TVGN_FIRSTVISIBLE = 0x5, TVGN_NEXTVISIBLE = 0x6, TVGN_PREVIOUSVISIBLE = 0x7,
                 TVGN_DROPHILITE = 0x8, TVGN_CARET = 0x9, TVGN_LASTVISIBLE = 0xA;
constexpr WPARAM TVSIL_NORMAL = 0, TVSIL_STATE = 2;
constexpr UINT TVHT_NOWHERE = 0x1, TVHT_ONITEMICON = 0x2, TVHT_ONITEMLABEL = 0x4, TVHT_ONITEMINDENT = 0x8,
               TVHT_ONITEMBUTTON = 0x10, TVHT_ONITEMRIGHT = 0x20, TVHT_ONITEMSTATEICON = 0x40,
               TVHT_ONITEM = TVHT_ONITEMICON | TVHT_ONITEMLABEL | TVHT_ONITEMSTATEICON, TVHT_ABOVE = 0x100,
               TVHT_BELOW = 0x200, TVHT_TORIGHT = 0x400, TVHT_TOLEFT = 0x800;
struct TVHITTESTINFO {
    TPoint pt;
    UINT flags = 0;
    HTREEITEM hItem = nullptr;
};
struct NMTREEVIEW {
    NMHDR hdr;
    UINT action = 0;  // TVE_EXPAND / TVE_COLLAPSE for expansion notices
    HTREEITEM itemOld = nullptr, itemNew = nullptr;
    TPoint ptDrag;
};
struct NMTVCUSTOMDRAW {
    NMCUSTOMDRAW nmcd;
    COLORREF clrText = 0, clrTextBk = 0;
    int iLevel = 0;
};
constexpr int TVN_FIRST = -400;
constexpr int TVN_SELCHANGING = TVN_FIRST - 50, TVN_SELCHANGED = TVN_FIRST - 51, TVN_ITEMEXPANDING = TVN_FIRST - 54,
              TVN_ITEMEXPANDED = TVN_FIRST - 55, TVN_DELETEITEM = TVN_FIRST - 58;

// ---- tab control -----------------------------------------------------------------------------------------------
constexpr DWORD TCS_SCROLLOPPOSITE = 0x1, TCS_BOTTOM = 0x2, TCS_RIGHT = 0x2, TCS_FLATBUTTONS = 0x8,
                TCS_HOTTRACK = 0x40, TCS_VERTICAL = 0x80, TCS_TABS = 0x0, TCS_BUTTONS = 0x100,
                TCS_SINGLELINE = 0x0, TCS_MULTILINE = 0x200, TCS_RIGHTJUSTIFY = 0x0, TCS_FIXEDWIDTH = 0x400,
                TCS_RAGGEDRIGHT = 0x800, TCS_FOCUSONBUTTONDOWN = 0x1000, TCS_OWNERDRAWFIXED = 0x2000;
constexpr UINT TCM_FIRST = 0x1300;
constexpr UINT TCM_GETIMAGELIST = TCM_FIRST + 2, TCM_SETIMAGELIST = TCM_FIRST + 3, TCM_GETITEMCOUNT = TCM_FIRST + 4,
               TCM_DELETEITEM = TCM_FIRST + 8, TCM_DELETEALLITEMS = TCM_FIRST + 9, TCM_GETITEMRECT = TCM_FIRST + 10,
               TCM_GETCURSEL = TCM_FIRST + 11, TCM_SETCURSEL = TCM_FIRST + 12, TCM_HITTEST = TCM_FIRST + 13,
               TCM_ADJUSTRECT = TCM_FIRST + 40, TCM_SETITEMSIZE = TCM_FIRST + 41, TCM_GETROWCOUNT = TCM_FIRST + 44,
               TCM_SETPADDING = TCM_FIRST + 43, TCM_GETCURFOCUS = TCM_FIRST + 47, TCM_SETCURFOCUS = TCM_FIRST + 48;
constexpr UINT TCHT_NOWHERE = 0x1, TCHT_ONITEMICON = 0x2, TCHT_ONITEMLABEL = 0x4, TCHT_ONITEM = 0x6;
struct TCHITTESTINFO {
    TPoint pt;
    UINT flags = 0;
};
constexpr int TCN_FIRST = -550;
constexpr int TCN_KEYDOWN = TCN_FIRST - 0, TCN_SELCHANGE = TCN_FIRST - 1, TCN_SELCHANGING = TCN_FIRST - 2;

// ---- track bar and progress bar ----------------------------------------------------------------------------------
constexpr UINT TBM_GETPOS = WM_USER, TBM_GETRANGEMIN = WM_USER + 1, TBM_GETRANGEMAX = WM_USER + 2,
               TBM_SETPOS = WM_USER + 5, TBM_SETRANGEMIN = WM_USER + 7, TBM_SETRANGEMAX = WM_USER + 8,
               TBM_SETPAGESIZE = WM_USER + 21, TBM_GETPAGESIZE = WM_USER + 22, TBM_SETLINESIZE = WM_USER + 23,
               TBM_GETLINESIZE = WM_USER + 24, TBM_SETTICFREQ = WM_USER + 20;
constexpr int TB_LINEUP = 0, TB_LINEDOWN = 1, TB_PAGEUP = 2, TB_PAGEDOWN = 3, TB_THUMBPOSITION = 4,
              TB_THUMBTRACK = 5, TB_TOP = 6, TB_BOTTOM = 7, TB_ENDTRACK = 8;
constexpr UINT PBM_SETRANGE = WM_USER + 1, PBM_SETPOS = WM_USER + 2, PBM_DELTAPOS = WM_USER + 3,
               PBM_SETSTEP = WM_USER + 4, PBM_STEPIT = WM_USER + 5, PBM_SETRANGE32 = WM_USER + 6,
               PBM_GETRANGE = WM_USER + 7, PBM_GETPOS = WM_USER + 8;
