// Value names of the enumeration types and the tables of named constants.
#include "toolkit/core/Enums.h"

namespace tk::types {

#define TK_ENUM(fn, typeName, ...)                        \
    const EnumType& fn()                                  \
    {                                                     \
        static const EnumType t{typeName, {__VA_ARGS__}}; \
        return t;                                         \
    }

TK_ENUM(align, "TAlign", "alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient", "alCustom")
TK_ENUM(anchors, "TAnchorKind", "akLeft", "akTop", "akRight", "akBottom")
TK_ENUM(formBorderStyle, "TFormBorderStyle", "bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow",
        "bsSizeToolWin")
TK_ENUM(borderIcons, "TBorderIcon", "biSystemMenu", "biMinimize", "biMaximize", "biHelp")
TK_ENUM(position, "TPosition", "poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly", "poScreenCenter",
        "poDesktopCenter", "poMainFormCenter", "poOwnerFormCenter")
TK_ENUM(formStyle, "TFormStyle", "fsNormal", "fsMDIChild", "fsMDIForm", "fsStayOnTop")
TK_ENUM(windowState, "TWindowState", "wsNormal", "wsMinimized", "wsMaximized")
TK_ENUM(fontStyles, "TFontStyle", "fsBold", "fsItalic", "fsUnderline", "fsStrikeOut")
TK_ENUM(fontPitch, "TFontPitch", "fpDefault", "fpVariable", "fpFixed")
TK_ENUM(borderStyle, "TBorderStyle", "bsNone", "bsSingle")
TK_ENUM(editCharCase, "TEditCharCase", "ecNormal", "ecUpperCase", "ecLowerCase")
TK_ENUM(comboBoxStyle, "TComboBoxStyle", "csDropDown", "csSimple", "csDropDownList", "csOwnerDrawFixed",
        "csOwnerDrawVariable")
TK_ENUM(checkBoxState, "TCheckBoxState", "cbUnchecked", "cbChecked", "cbGrayed")
TK_ENUM(alignment, "TAlignment", "taLeftJustify", "taRightJustify", "taCenter")
TK_ENUM(leftRight, "TLeftRight", "taLeftJustify", "taRightJustify")
TK_ENUM(staticBorderStyle, "TStaticBorderStyle", "sbsNone", "sbsSingle", "sbsSunken")
TK_ENUM(bevelCut, "TBevelCut", "bvNone", "bvLowered", "bvRaised", "bvSpace")
TK_ENUM(bevelShape, "TBevelShape", "bsBox", "bsFrame", "bsTopLine", "bsBottomLine", "bsLeftLine", "bsRightLine",
        "bsSpacer")
TK_ENUM(bevelStyle, "TBevelStyle", "bsLowered", "bsRaised")
TK_ENUM(textLayout, "TTextLayout", "tlTop", "tlCenter", "tlBottom")
TK_ENUM(bitBtnKind, "TBitBtnKind", "bkCustom", "bkOK", "bkCancel", "bkHelp", "bkYes", "bkNo", "bkClose", "bkAbort",
        "bkRetry", "bkIgnore", "bkAll")
TK_ENUM(buttonLayout, "TButtonLayout", "blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom")
TK_ENUM(buttonStyle, "TButtonStyle", "bsAutoDetect", "bsWin31", "bsNew")
TK_ENUM(tabStyle, "TTabStyle", "tsTabs", "tsButtons", "tsFlatButtons")
TK_ENUM(tabPosition, "TTabPosition", "tpTop", "tpBottom", "tpLeft", "tpRight")
TK_ENUM(dbGridOptions, "TDBGridOption", "dgEditing", "dgAlwaysShowEditor", "dgTitles", "dgIndicator", "dgColumnResize",
        "dgColLines", "dgRowLines", "dgTabs", "dgRowSelect", "dgAlwaysShowSelection", "dgConfirmDelete",
        "dgCancelOnExit", "dgMultiSelect")
TK_ENUM(statusPanelStyle, "TStatusPanelStyle", "psText", "psOwnerDraw")
TK_ENUM(statusPanelBevel, "TStatusPanelBevel", "pbNone", "pbLowered", "pbRaised")
TK_ENUM(dateTimeKind, "TDateTimeKind", "dtkDate", "dtkTime")
TK_ENUM(dateFormat, "TDTDateFormat", "dfShort", "dfLong")
TK_ENUM(dateMode, "TDTDateMode", "dmComboBox", "dmUpDown")
TK_ENUM(calAlignment, "TDTCalAlignment", "dtaLeft", "dtaRight")
TK_ENUM(resizeStyle, "TResizeStyle", "rsNone", "rsLine", "rsUpdate", "rsPattern")
TK_ENUM(popupAlignment, "TPopupAlignment", "paLeft", "paRight", "paCenter")
TK_ENUM(trackButton, "TTrackButton", "tbRightButton", "tbLeftButton")
TK_ENUM(menuAutoFlag, "TMenuAutoFlag", "maAutomatic", "maManual", "maParent")
TK_ENUM(menuBreak, "TMenuBreak", "mbNone", "mbBreak", "mbBarBreak")
TK_ENUM(menuAnimation, "TMenuAnimations", "maLeftToRight", "maRightToLeft", "maTopToBottom", "maBottomToTop", "maNone")
TK_ENUM(defaultMonitor, "TDefaultMonitor", "dmDesktop", "dmPrimary", "dmMainForm", "dmActiveForm")
TK_ENUM(printScale, "TPrintScale", "poNone", "poProportional", "poPrintToFit")
TK_ENUM(scrollBarStyle, "TScrollBarStyle", "ssRegular", "ssFlat", "ssHotTrack")
TK_ENUM(bevelEdges, "TBevelEdge", "beLeft", "beTop", "beRight", "beBottom")
TK_ENUM(bevelKind, "TBevelKind", "bkNone", "bkTile", "bkSoft", "bkFlat")
TK_ENUM(imeMode, "TImeMode", "imDisable", "imClose", "imOpen", "imDontCare", "imSAlpha", "imAlpha", "imHira", "imSKata",
        "imKata", "imChinese", "imSHanguel", "imHanguel")
TK_ENUM(helpType, "THelpType", "htKeyword", "htContext")
TK_ENUM(dragKind, "TDragKind", "dkDrag", "dkDock")
TK_ENUM(dragMode, "TDragMode", "dmManual", "dmAutomatic")
TK_ENUM(bidiMode, "TBiDiMode", "bdLeftToRight", "bdRightToLeft", "bdRightToLeftNoAlign", "bdRightToLeftReadingOnly")

namespace {
constexpr int32_t rgb(int r, int g, int b)
{
    return r + 256 * g + 65536 * b;
}
constexpr int32_t sys(int index)
{
    return -16777216 + index;
}
}  // namespace

const NamedConstants& colors()
{
    static const NamedConstants t{{
        {"clBlack", rgb(0, 0, 0)},
        {"clMaroon", rgb(128, 0, 0)},
        {"clGreen", rgb(0, 128, 0)},
        {"clOlive", rgb(128, 128, 0)},
        {"clNavy", rgb(0, 0, 128)},
        {"clPurple", rgb(128, 0, 128)},
        {"clTeal", rgb(0, 128, 128)},
        {"clGray", rgb(128, 128, 128)},
        {"clSilver", rgb(192, 192, 192)},
        {"clRed", rgb(255, 0, 0)},
        {"clLime", rgb(0, 255, 0)},
        {"clYellow", rgb(255, 255, 0)},
        {"clBlue", rgb(0, 0, 255)},
        {"clFuchsia", rgb(255, 0, 255)},
        {"clAqua", rgb(0, 255, 255)},
        {"clWhite", rgb(255, 255, 255)},
        {"clMoneyGreen", rgb(192, 220, 192)},
        {"clSkyBlue", rgb(166, 202, 240)},
        {"clCream", rgb(255, 251, 240)},
        {"clMedGray", rgb(160, 160, 164)},
        {"clActiveBorder", sys(10)},
        {"clActiveCaption", sys(2)},
        {"clAppWorkSpace", sys(12)},
        {"clBackground", sys(1)},
        {"clBtnFace", sys(15)},
        {"clBtnHighlight", sys(20)},
        {"clBtnShadow", sys(16)},
        {"clBtnText", sys(18)},
        {"clCaptionText", sys(9)},
        {"clDefault", 536870912},
        {"clGradientActiveCaption", sys(27)},
        {"clGradientInactiveCaption", sys(28)},
        {"clGrayText", sys(17)},
        {"clHighlight", sys(13)},
        {"clHighlightText", sys(14)},
        {"clHotLight", sys(26)},
        {"clInactiveBorder", sys(11)},
        {"clInactiveCaption", sys(3)},
        {"clInactiveCaptionText", sys(19)},
        {"clInfoBk", sys(24)},
        {"clInfoText", sys(23)},
        {"clMenu", sys(4)},
        {"clMenuBar", sys(30)},
        {"clMenuHighlight", sys(29)},
        {"clMenuText", sys(7)},
        {"clNone", 536870911},
        {"clScrollBar", sys(0)},
        {"cl3DDkShadow", sys(21)},
        {"cl3DLight", sys(22)},
        {"clWindow", sys(5)},
        {"clWindowFrame", sys(6)},
        {"clWindowText", sys(8)},
    }};
    return t;
}

const NamedConstants& cursors()
{
    static const NamedConstants t{{
        {"crDefault", 0},   {"crArrow", -2},    {"crCross", -3},     {"crIBeam", -4},    {"crSizeNESW", -6},
        {"crSizeNS", -7},   {"crSizeNWSE", -8}, {"crSizeWE", -9},    {"crUpArrow", -10}, {"crHourGlass", -11},
        {"crDrag", -12},    {"crNoDrop", -13},  {"crHSplit", -14},   {"crVSplit", -15},  {"crMultiDrag", -16},
        {"crSQLWait", -17}, {"crNo", -18},      {"crAppStart", -19}, {"crHelp", -20},    {"crHandPoint", -21},
        {"crSizeAll", -22}, {"crSize", -22},
    }};
    return t;
}

const NamedConstants& charsets()
{
    static const NamedConstants t{{
        {"ANSI_CHARSET", 0},
        {"DEFAULT_CHARSET", 1},
        {"SYMBOL_CHARSET", 2},
        {"MAC_CHARSET", 77},
        {"SHIFTJIS_CHARSET", 128},
        {"HANGEUL_CHARSET", 129},
        {"JOHAB_CHARSET", 130},
        {"GB2312_CHARSET", 134},
        {"CHINESEBIG5_CHARSET", 136},
        {"GREEK_CHARSET", 161},
        {"TURKISH_CHARSET", 162},
        {"HEBREW_CHARSET", 177},
        {"ARABIC_CHARSET", 178},
        {"BALTIC_CHARSET", 186},
        {"RUSSIAN_CHARSET", 204},
        {"THAI_CHARSET", 222},
        {"EASTEUROPE_CHARSET", 238},
        {"OEM_CHARSET", 255},
    }};
    return t;
}

}  // namespace tk::types
