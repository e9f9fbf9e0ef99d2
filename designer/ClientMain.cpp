// The main window and its built-in layout.
#include "designer/ClientMain.h"

#include "controls/ZEDBtn.h"
#include "controls/ZEDChxBox.h"
#include "controls/ZEDPicker.h"
#include "controls/ZEDText.h"
#include "controls/ZEDit.h"
#include "glyphs/Glyphs.h"
#include "toolkit/core/PropertyAccess.h"
#include "toolkit/core/PropertyTable.h"
#include "toolkit/data/DBGrid.h"
#include "toolkit/text/Text.h"
#include "toolkit/widgets/PageControl.h"
#include "toolkit/widgets/PlaceControl.h"
#include "toolkit/widgets/StatusBar.h"
#include "toolkit/windows/Application.h"
#include "toolkit/windows/Timer.h"

namespace velmora {

tk::ComponentRef<TfrmClientMain> frmClientMain;

TK_DEFINE_CLASS(TfrmClientMain, tk::TForm)
{
    t.field("btnPrint", &TfrmClientMain::btnPrint);
    t.method("tsMouseUp", &TfrmClientMain::tsMouseUp);
    t.method("ZEDPickerDropDownCloseUp", &TfrmClientMain::ZEDPickerDropDownCloseUp);
    t.method("FormShow", &TfrmClientMain::FormShow);
    t.method("FormHide", &TfrmClientMain::FormHide);
    t.method("FormDestroy", &TfrmClientMain::FormDestroy);
    t.method("ComponentMouseMove", &TfrmClientMain::ComponentMouseMove);
    t.method("ComponentMouseDown", &TfrmClientMain::ComponentMouseDown);
    t.method("ComponentMouseUp", &TfrmClientMain::ComponentMouseUp);
    t.method("ControlKeyDown", &TfrmClientMain::ControlKeyDown);
    t.method("ControlKeyPress", &TfrmClientMain::ControlKeyPress);
    t.method("ComponentEnter", &TfrmClientMain::ComponentEnter);
    t.method("HintTimeTimer", &TfrmClientMain::HintTimeTimer);
    t.method("pmiDeleteClick", &TfrmClientMain::pmiDeleteClick);
    t.method("btnSearchClick", &TfrmClientMain::btnSearchClick);
    t.method("btnNewClick", &TfrmClientMain::btnNewClick);
    t.method("btnModifyClick", &TfrmClientMain::btnModifyClick);
    t.method("btnSaveClick", &TfrmClientMain::btnSaveClick);
    t.method("btnCancelClick", &TfrmClientMain::btnCancelClick);
    t.method("btnPrintClick", &TfrmClientMain::btnPrintClick);
    t.method("dbgSearchDblClick", &TfrmClientMain::dbgSearchDblClick);
}

TfrmClientMain::TfrmClientMain(tk::TComponent* owner) : tk::TForm(owner)
{
    setName("frmClientMain");
    buildLayout();
    designModel().setSurface(*this, *this);
}

namespace {
void setGlyph(tk::TBitBtn* b, std::vector<uint8_t> bmp, int numGlyphs)
{
    b->glyph()->setBmpData(std::move(bmp));
    b->setNumGlyphs(numGlyphs);
}
}  // namespace

void TfrmClientMain::buildLayout()
{
    setBounds(200, 107, 544, 375);
    setCaption("Velmora Document Store");
    setPosition(tk::TPosition::poScreenCenter);
    font()->setName("MS Sans Serif");
    font()->setHeight(-11);
    setKeptValue("OldCreateOrder", tk::Value(false));

    auto* pcData = tk::placeControl<tk::TPageControl>(this, this, "pcData", 0, 0, 536, 329);
    pcData->setAlign(tk::TAlign::alClient);
    pcData->setMultiLine(true);
    pcData->setStyle(tk::TTabStyle::tsFlatButtons);
    pcData->setTabStop(false);
    pcData->setTabOrder(0);

    auto* tsEdit = new tk::TTabSheet(this);
    tsEdit->setName("tsEdit");
    tsEdit->setPageControl(pcData);
    tsEdit->setCaption("Felvitel");
    auto* btnNew = tk::placeControl<TZEDBtn>(this, tsEdit, "btnNew", 440, 8, 75, 25);
    btnNew->setCaption("Új felvitel");
    btnNew->setTabOrder(0);
    setGlyph(btnNew, glyphs::newDocument(), 2);
    auto* btnModify = tk::placeControl<TZEDBtn>(this, tsEdit, "btnModify", 440, 40, 75, 25);
    btnModify->setCaption("Módosít");
    btnModify->setTabOrder(1);
    setGlyph(btnModify, glyphs::modifyDocument(), 2);
    auto* btnSave = tk::placeControl<TZEDBtn>(this, tsEdit, "btnSave", 440, 72, 75, 25);
    btnSave->setKind(tk::TBitBtnKind::bkOK);
    btnSave->setCaption("Rendben");
    btnSave->setTabOrder(2);
    auto* btnCancel = tk::placeControl<TZEDBtn>(this, tsEdit, "btnCancel", 440, 104, 75, 25);
    btnCancel->setKind(tk::TBitBtnKind::bkCancel);
    btnCancel->setCaption("Mégsem");
    btnCancel->setTabOrder(3);

    auto* tsSearch = new tk::TTabSheet(this);
    tsSearch->setName("tsSearch");
    tsSearch->setPageControl(pcData);
    tsSearch->setCaption("Keresés");
    tsSearch->setImageIndex(1);
    auto* dbgSearch = tk::placeControl<tk::TDBGrid>(this, tsSearch, "dbgSearch", 0, 178, 528, 120);
    dbgSearch->setAlign(tk::TAlign::alBottom);
    dbgSearch->setOptions(tk::dgTitles | tk::dgColumnResize | tk::dgColLines | tk::dgRowLines | tk::dgTabs |
                          tk::dgConfirmDelete | tk::dgCancelOnExit | tk::dgMultiSelect);
    dbgSearch->OnDblClick = findMethod("dbgSearchDblClick");
    // The data module's data source, when it exists already.
    if (tk::Application)
        if (tk::TComponent* dm = tk::Application->findComponent("dmClientMain"))
            if (tk::TComponent* ds = dm->findComponent("dtsGetMainData"))
                dbgSearch->setDataSource(tk::as<tk::TDataSource>(ds));
    auto* btnSearch = tk::placeControl<TZEDBtn>(this, tsSearch, "btnSearch", 440, 136, 75, 25);
    btnSearch->setCaption("Keresés");
    btnSearch->setDefault(true);
    btnSearch->setTabOrder(1);
    setGlyph(btnSearch, glyphs::search(), 1);
    auto* print = tk::placeControl<tk::TBitBtn>(this, tsSearch, "btnPrint", 440, 104, 75, 25);
    print->setCaption("Nyomtat");
    print->setTabOrder(2);
    setGlyph(print, glyphs::print(), 1);
    btnPrint = print;
    pcData->setActivePage(tsSearch);

    // Each glyph button carries the handler named after it.
    for (tk::TBitBtn* b : std::initializer_list<tk::TBitBtn*>{btnNew, btnModify, btnSave, btnCancel, btnSearch, print})
        b->OnClick = findMethod(b->name() + "Click");

    auto* status = tk::placeControl<tk::TStatusBar>(this, this, "StatusBar1", 0, 329, 536, 19);
    status->addPanel()->setWidth(50);

    auto* hintTime = new tk::TTimer(this);
    hintTime->setName("HintTime");
    hintTime->setEnabled(false);
    hintTime->setInterval(3000);
    hintTime->OnTimer = findMethod("HintTimeTimer");
}

// The tool windows follow the main window through the model.
void TfrmClientMain::FormShow(tk::TObject*)
{
    designModel().surfaceShown();
}

void TfrmClientMain::FormHide(tk::TObject*)
{
    designModel().surfaceHidden();
}

void TfrmClientMain::FormDestroy(tk::TObject*)
{
    // At the end of the program the model may have gone first.
    if (DesignModel* model = existingDesignModel()) {
        model->ControlClasses.clear();
        model->FieldClasses.clear();
    }
}

// The timer and the data-entry handlers do nothing: this system designs
// forms and enters no documents; stored designs name them.
void TfrmClientMain::HintTimeTimer(tk::TObject*) {}
void TfrmClientMain::btnSearchClick(tk::TObject*) {}
void TfrmClientMain::btnNewClick(tk::TObject*) {}
void TfrmClientMain::btnModifyClick(tk::TObject*) {}
void TfrmClientMain::btnSaveClick(tk::TObject*) {}
void TfrmClientMain::btnCancelClick(tk::TObject*) {}
void TfrmClientMain::btnPrintClick(tk::TObject*) {}
void TfrmClientMain::dbgSearchDblClick(tk::TObject*) {}

}  // namespace velmora
