// The property page window: its layout, its handlers' table, and the one
// catalogue query it asks itself.
#include "properties/PropertyPage.h"

#include "db/Query.h"
#include "startup/DataModule.h"
#include "startup/Schema.h"
#include "toolkit/core/PropertyAccess.h"
#include "toolkit/core/PropertyTable.h"
#include "toolkit/widgets/Labels.h"
#include "toolkit/widgets/PlaceControl.h"

namespace velmora {

tk::ComponentRef<TfrmPropertyPage> frmPropertyPage;

TK_DEFINE_CLASS(TfrmPropertyPage, tk::TForm)
{
    t.method("FormCreate", &TfrmPropertyPage::FormCreate);
    t.method("FormDestroy", &TfrmPropertyPage::FormDestroy);
    t.method("FormDeactivate", &TfrmPropertyPage::FormDeactivate);
    t.method("edtCaptionChange", &TfrmPropertyPage::edtCaptionChange);
    t.method("chxCanModifyClick", &TfrmPropertyPage::chxCanModifyClick);
    t.method("rgFieldTypeClick", &TfrmPropertyPage::rgFieldTypeClick);
    t.method("seTabOrderChange", &TfrmPropertyPage::seTabOrderChange);
    t.method("edKeyFieldChange", &TfrmPropertyPage::edKeyFieldChange);
    t.method("cbxFieldNameKeyUp", &TfrmPropertyPage::cbxFieldNameKeyUp);
    t.method("cbxFieldNameClick", &TfrmPropertyPage::cbxFieldNameClick);
    t.method("cbxDictionaryChange", &TfrmPropertyPage::cbxDictionaryChange);
    t.method("cbxRelationChange", &TfrmPropertyPage::cbxRelationChange);
    t.method("edtIdentExit", &TfrmPropertyPage::edtIdentExit);
    t.method("edtIdentKeyPress", &TfrmPropertyPage::edtIdentKeyPress);
    t.method("HintTimeTimer", &TfrmPropertyPage::HintTimeTimer);
}

TfrmPropertyPage::TfrmPropertyPage(tk::TComponent* owner) : tk::TForm(owner)
{
    setName("frmPropertyPage");
    setCaption("...");
    setBorderStyle(tk::TFormBorderStyle::bsSizeToolWin);
    setBorderIcons(tk::biMinimize | tk::biMaximize);
    constraints()->setMinWidth(140);
    constraints()->setMinHeight(310);
    setBounds(left(), top(), 176, 372);
    font()->setName("MS Sans Serif");
    font()->setHeight(-11);
    buildLayout();
    ErrorHint = new tk::THintWindow(this);
    ErrorHint->setName("ErrorHint");  // scripts ask it by name
    tk::bindEvent(*this, "OnCreate", *this, "FormCreate");
    tk::bindEvent(*this, "OnDestroy", *this, "FormDestroy");
    tk::bindEvent(*this, "OnDeactivate", *this, "FormDeactivate");
    DesignModel& model = designModel();
    model.addObserver(*this, *this);
    model.setMeasuringWindow(this);
}

namespace {

tk::TPanel* panel(TfrmPropertyPage* page, const char* name, tk::TAlign align, int top, int height)
{
    auto* p = tk::placeControl<tk::TPanel>(page, page, name, 0, top, page->clientWidth(), height);
    p->setBevelOuter(tk::TBevelCut::bvNone);
    p->setAlign(align);
    return p;
}

void label(TfrmPropertyPage* page, tk::TPanel* on, const char* name, const char* text, int left, int top)
{
    auto* l = tk::placeControl<tk::TLabel>(page, on, name, left, top, 60, 13);
    l->setCaption(text);
}

// An editor that stretches with the page.
template <class T>
T* editor(TfrmPropertyPage* page, tk::TPanel* on, const char* name, int left, int top, int height)
{
    auto* e = tk::placeControl<T>(page, on, name, left, top, on->clientWidth() - left - 8, height);
    e->setAnchors(tk::akLeft | tk::akTop | tk::akRight);
    return e;
}

}  // namespace

void TfrmPropertyPage::buildLayout()
{
    // The top panels, then the bottom ones from the bottom edge up, then
    // the type choice that fills what is left.
    Panel1 = panel(this, "Panel1", tk::TAlign::alTop, 0, 41);
    label(this, Panel1, "Label1", "Felirat", 8, 4);
    edtCaption = editor<tk::TEdit>(this, Panel1, "edtCaption", 8, 18, 21);
    tk::bindEvent(*edtCaption, "OnChange", *this, "edtCaptionChange");

    pnFieldName = panel(this, "pnFieldName", tk::TAlign::alTop, 41, 49);
    label(this, pnFieldName, "Label2", "Mezőnév", 8, 6);
    cbxFieldName = editor<tk::TComboBox>(this, pnFieldName, "cbxFieldName", 8, 22, 21);
    tk::bindEvent(*cbxFieldName, "OnChange", *this, "edKeyFieldChange");
    tk::bindEvent(*cbxFieldName, "OnKeyUp", *this, "cbxFieldNameKeyUp");
    tk::bindEvent(*cbxFieldName, "OnClick", *this, "cbxFieldNameClick");
    tk::bindEvent(*cbxFieldName, "OnExit", *this, "edtIdentExit");
    tk::bindEvent(*cbxFieldName, "OnKeyPress", *this, "edtIdentKeyPress");

    int bottom = clientHeight();
    pnTabOrder = panel(this, "pnTabOrder", tk::TAlign::alBottom, bottom -= 31, 31);
    label(this, pnTabOrder, "Label5", "Tab sorsz.:", 8, 9);
    seTabOrder = tk::placeControl<tk::TSpinEdit>(this, pnTabOrder, "seTabOrder", 72, 5, 60, 22);
    seTabOrder->setValue(0);
    tk::bindEvent(*seTabOrder, "OnChange", *this, "seTabOrderChange");

    pnDictionary = panel(this, "pnDictionary", tk::TAlign::alBottom, bottom -= 48, 48);
    label(this, pnDictionary, "Label4", "Szótár neve", 8, 5);
    cbxDictionary = editor<tk::TComboBox>(this, pnDictionary, "cbxDictionary", 8, 21, 21);
    tk::bindEvent(*cbxDictionary, "OnChange", *this, "cbxDictionaryChange");

    pnRelation = panel(this, "pnRelation", tk::TAlign::alBottom, bottom -= 31, 31);
    label(this, pnRelation, "Label3", "Reláció", 8, 9);
    cbxRelation = editor<tk::TComboBox>(this, pnRelation, "cbxRelation", 56, 5, 21);
    cbxRelation->setStyle(tk::TComboBoxStyle::csDropDownList);
    tk::bindEvent(*cbxRelation, "OnChange", *this, "cbxRelationChange");

    pnFieldMod = panel(this, "pnFieldMod", tk::TAlign::alBottom, bottom -= 31, 31);
    chxRequired = tk::placeControl<tk::TCheckBox>(this, pnFieldMod, "chxRequired", 8, 8, 70, 17);
    chxRequired->setCaption("Kötelező");
    chxCanModify = tk::placeControl<tk::TCheckBox>(this, pnFieldMod, "chxCanModify", 80, 8, 88, 17);
    chxCanModify->setCaption("Módosítható");
    tk::bindEvent(*chxRequired, "OnClick", *this, "chxCanModifyClick");
    tk::bindEvent(*chxCanModify, "OnClick", *this, "chxCanModifyClick");

    rgFieldType = tk::placeControl<tk::TRadioGroup>(this, this, "rgFieldType", 0, 90, clientWidth(), bottom - 90);
    rgFieldType->setCaption("Típus");
    rgFieldType->setItems({"Szám", "Szöveg", "Dátum", "Igen/Nem"});
    rgFieldType->setAlign(tk::TAlign::alClient);
    tk::bindEvent(*rgFieldType, "OnClick", *this, "rgFieldTypeClick");

    HintTime = new tk::TTimer(this);
    HintTime->setName("HintTime");
    HintTime->setInterval(3000);
    tk::bindEvent(*HintTime, "OnTimer", *this, "HintTimeTimer");
}

void TfrmPropertyPage::FormCreate(tk::TObject*)
{
    // The timer runs from the start; its first tick only stops it.
    HintTime->setEnabled(true);
}

void TfrmPropertyPage::FormDestroy(tk::TObject*)
{
    if (ErrorHint) ErrorHint->free();
}

std::string TfrmPropertyPage::DictionaryOfField(const std::string& name)
{
    db::TADOQuery* q = dmClientMain->qrySearch;
    q->close();
    q->setSqlText(sql::fields);
    q->open();
    if (!q->locate("FieldName", tk::Value(name), db::loCaseInsensitive)) return {};
    db::TField* id = q->fieldByName("DictionaryGroupID");
    if (id->isNull()) return {};
    int64_t group = id->asInteger();
    q->close();
    q->setSqlText(sql::dictionaries);
    q->open();
    if (!q->locate("DictionaryGroupID", tk::Value(group), 0)) return {};
    return q->fieldByName("DictionaryGroupName")->asString();
}

}  // namespace velmora
