// Enumeration and set types of the standard controls, with their value
// names as the property tables and stored designs use them.
#pragma once

#include "toolkit/core/TypeInfo.h"

namespace tk {

enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
using TAnchors = unsigned;  // set of TAnchorKind
constexpr TAnchors akLeft = 1, akTop = 2, akRight = 4, akBottom = 8;
enum class TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
using TBorderIcons = unsigned;
constexpr TBorderIcons biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8;
enum class TPosition {
    poDesigned,
    poDefault,
    poDefaultPosOnly,
    poDefaultSizeOnly,
    poScreenCenter,
    poDesktopCenter,
    poMainFormCenter,
    poOwnerFormCenter
};
enum class TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum class TWindowState { wsNormal, wsMinimized, wsMaximized };
using TFontStyles = unsigned;
constexpr TFontStyles fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8;
enum class TFontPitch { fpDefault, fpVariable, fpFixed };
enum class TBorderStyle { bsNone, bsSingle };
enum class TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };
enum class TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };
enum class TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };
enum class TAlignment { taLeftJustify, taRightJustify, taCenter };
enum class TLeftRight { taLeftJustify, taRightJustify };
enum class TStaticBorderStyle { sbsNone, sbsSingle, sbsSunken };
enum class TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
enum class TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
enum class TBevelStyle { bsLowered, bsRaised };
enum class TTextLayout { tlTop, tlCenter, tlBottom };
enum class TBitBtnKind { bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry, bkIgnore, bkAll };
enum class TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
enum class TButtonStyle { bsAutoDetect, bsWin31, bsNew };
enum class TTabStyle { tsTabs, tsButtons, tsFlatButtons };
enum class TTabPosition { tpTop, tpBottom, tpLeft, tpRight };
using TDBGridOptions = unsigned;
constexpr TDBGridOptions dgEditing = 1, dgAlwaysShowEditor = 2, dgTitles = 4, dgIndicator = 8, dgColumnResize = 16,
                         dgColLines = 32, dgRowLines = 64, dgTabs = 128, dgRowSelect = 256, dgAlwaysShowSelection = 512,
                         dgConfirmDelete = 1024, dgCancelOnExit = 2048, dgMultiSelect = 4096;
enum class TStatusPanelStyle { psText, psOwnerDraw };
enum class TStatusPanelBevel { pbNone, pbLowered, pbRaised };
enum class TDateTimeKind { dtkDate, dtkTime };
enum class TDTDateFormat { dfShort, dfLong };
enum class TDTDateMode { dmComboBox, dmUpDown };
enum class TDTCalAlignment { dtaLeft, dtaRight };
enum class TResizeStyle { rsNone, rsLine, rsUpdate, rsPattern };
enum class TPopupAlignment { paLeft, paRight, paCenter };
enum class TTrackButton { tbRightButton, tbLeftButton };

namespace types {
const EnumType& align();
const EnumType& anchors();
const EnumType& formBorderStyle();
const EnumType& borderIcons();
const EnumType& position();
const EnumType& formStyle();
const EnumType& windowState();
const EnumType& fontStyles();
const EnumType& fontPitch();
const EnumType& borderStyle();
const EnumType& editCharCase();
const EnumType& comboBoxStyle();
const EnumType& checkBoxState();
const EnumType& alignment();
const EnumType& leftRight();
const EnumType& staticBorderStyle();
const EnumType& bevelCut();
const EnumType& bevelShape();
const EnumType& bevelStyle();
const EnumType& textLayout();
const EnumType& bitBtnKind();
const EnumType& buttonLayout();
const EnumType& buttonStyle();
const EnumType& tabStyle();
const EnumType& tabPosition();
const EnumType& dbGridOptions();
const EnumType& statusPanelStyle();
const EnumType& statusPanelBevel();
const EnumType& dateTimeKind();
const EnumType& dateFormat();
const EnumType& dateMode();
const EnumType& calAlignment();
const EnumType& resizeStyle();
const EnumType& popupAlignment();
const EnumType& trackButton();
const EnumType& helpType();
const EnumType& dragKind();
const EnumType& dragMode();
const EnumType& bidiMode();
const EnumType& bevelEdges();
const EnumType& defaultMonitor();
const EnumType& menuAutoFlag();
const EnumType& menuBreak();
const EnumType& menuAnimation();
const EnumType& printScale();
const EnumType& scrollBarStyle();
const EnumType& bevelKind();
const EnumType& imeMode();

// Named integer constants: colours, cursors and character sets.
const NamedConstants& colors();
const NamedConstants& cursors();
const NamedConstants& charsets();
}  // namespace types

}  // namespace tk
