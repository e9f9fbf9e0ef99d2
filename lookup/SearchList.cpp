// The lookup list dialog.
#include "lookup/SearchList.h"

#include "db/Query.h"
#include "glyphs/Glyphs.h"
#include "startup/DataModule.h"
#include "toolkit/core/PropertyTable.h"
#include "toolkit/text/Text.h"
#include "toolkit/widgets/PlaceControl.h"

namespace velmora {

tk::ComponentRef<TfrmSearchList> frmSearchList;

TK_DEFINE_CLASS(TfrmSearchList, tk::TForm)
{
    t.method("FormShow", &TfrmSearchList::FormShow);
    t.method("FormKeyUp", &TfrmSearchList::FormKeyUp);
    t.method("edtSearchChange", &TfrmSearchList::edtSearchChange);
    t.method("edtSearchKeyDown", &TfrmSearchList::edtSearchKeyDown);
    t.method("btnOKCancelClick", &TfrmSearchList::btnOKCancelClick);
    t.method("dbgSearchEnter", &TfrmSearchList::dbgSearchEnter);
    t.method("dbgSearchKeyDown", &TfrmSearchList::dbgSearchKeyDown);
    t.method("dbgSearchKeyPress", &TfrmSearchList::dbgSearchKeyPress);
    t.method("dbgSearchDblClick", &TfrmSearchList::dbgSearchDblClick);
}

TfrmSearchList::TfrmSearchList(tk::TComponent* owner) : tk::TForm(owner)
{
    setName("frmSearchList");
    setCaption("Keresési lista");
    setBounds(262, 137, 415, 375);
    setPosition(tk::TPosition::poOwnerFormCenter);
    setKeyPreview(true);
    font()->setName("MS Sans Serif");
    font()->setHeight(-14);

    OnShow = findMethod("FormShow");
    OnKeyUp = findMethod("FormKeyUp");

    Panel1 = tk::placeControl<tk::TPanel>(this, this, "Panel1", 0, clientHeight() - 50, clientWidth(), 50);
    Panel1->setAlign(tk::TAlign::alBottom);
    Panel1->setBevelOuter(tk::TBevelCut::bvNone);
    Panel1->setTabOrder(0);
    edtSearch = tk::placeControl<tk::TEdit>(this, Panel1, "edtSearch", 10, 10, 149, 24);
    edtSearch->font()->setHeight(-13);
    edtSearch->setAnchors(tk::akLeft | tk::akTop | tk::akRight);
    edtSearch->setTabOrder(0);
    edtSearch->OnChange = findMethod("edtSearchChange");
    edtSearch->OnKeyDown = findMethod("edtSearchKeyDown");
    btnOK = tk::placeControl<tk::TBitBtn>(this, Panel1, "btnOK", 167, 10, 110, 31);
    btnOK->setCaption("Rendben");
    btnOK->setAnchors(tk::akRight | tk::akBottom);
    btnOK->setTabOrder(1);
    btnOK->glyph()->setBmpData(glyphs::tick());
    btnOK->setNumGlyphs(2);
    btnOK->OnClick = findMethod("btnOKCancelClick");
    btnCancel = tk::placeControl<tk::TBitBtn>(this, Panel1, "btnCancel", 286, 10, 109, 31);
    btnCancel->setCaption("Mégsem");
    btnCancel->setAnchors(tk::akRight);
    btnCancel->setCancel(true);
    btnCancel->setTabOrder(2);
    btnCancel->glyph()->setBmpData(glyphs::cross());
    btnCancel->setNumGlyphs(2);
    btnCancel->OnClick = findMethod("btnOKCancelClick");
    dbgSearch = tk::placeControl<tk::TDBGrid>(this, this, "dbgSearch", 0, 0, clientWidth(), clientHeight() - 50);
    dbgSearch->setAlign(tk::TAlign::alClient);
    dbgSearch->setReadOnly(true);
    dbgSearch->font()->setHeight(-13);
    dbgSearch->titleFont()->setHeight(-11);
    dbgSearch->setTabOrder(1);
    dbgSearch->OnDblClick = findMethod("dbgSearchDblClick");
    dbgSearch->OnEnter = findMethod("dbgSearchEnter");
    dbgSearch->OnKeyDown = findMethod("dbgSearchKeyDown");
    dbgSearch->OnKeyUp = findMethod("dbgSearchKeyDown");
    dbgSearch->OnKeyPress = findMethod("dbgSearchKeyPress");
}

db::TADOQuery* TfrmSearchList::query() const
{
    return dmClientMain ? dmClientMain->qrySearch : nullptr;
}

bool TfrmSearchList::search()
{
    db::TADOQuery* q = query();
    std::string typed = edtSearch->text();
    if (!q->locate(searchColumn_, tk::Value(typed), db::loCaseInsensitive | db::loPartialKey)) return false;
    // The typed characters stay before the caret, the completion is selected.
    int caret = edtSearch->selStart();
    edtSearch->setText(tk::trimmed(q->fieldByName(searchColumn_)->asString()));
    edtSearch->setSelStart(caret);
    edtSearch->setSelLength(tk::charCount(edtSearch->text()) - caret);
    return true;
}

void TfrmSearchList::edtSearchChange(tk::TObject*)
{
    db::TADOQuery* q = query();
    if (!edtSearch->focused() || !armed_ || !q || !q->active()) return;
    armed_ = false;
    try {
        found_ = search();
    } catch (const std::exception&) {
        // A search that fails finds nothing and goes no further.
        found_ = false;
    }
    armed_ = true;
}

void TfrmSearchList::edtSearchKeyDown(tk::TObject*, uint16_t& key, tk::TShiftState)
{
    // Backspace over a completion takes the last typed character too.
    if (key == tk::vk::Back && edtSearch->selStart() > 0 && edtSearch->selLength() > 0) {
        int start = edtSearch->selStart() - 1;
        edtSearch->setSelStart(start);
        edtSearch->setSelLength(tk::charCount(edtSearch->text()) - start);
    }
}

void TfrmSearchList::FormShow(tk::TObject*)
{
    armed_ = true;
    edtSearch->setFocus();
    edtSearch->setSelStart(0);
    edtSearch->setSelLength(0);
}

void TfrmSearchList::startEmpty()
{
    armed_ = false;
    edtSearch->setText("");
    found_ = false;
}

void TfrmSearchList::takeCurrentRow()
{
    armed_ = false;
    edtSearch->setText(tk::trimmed(query()->fieldByName(searchColumn_)->asString()));
    found_ = true;
    armed_ = true;
    edtSearch->selectAll();
}

void TfrmSearchList::dbgSearchEnter(tk::TObject*)
{
    takeCurrentRow();
}

void TfrmSearchList::FormKeyUp(tk::TObject*, uint16_t& key, tk::TShiftState)
{
    if (key == tk::vk::Return && found_) {
        setModalResult(tk::mrOk);
    } else if (key == tk::vk::Escape) {
        setModalResult(tk::mrCancel);
    } else if (key == tk::vk::Return && edtSearch->text().empty()) {
        setModalResult(tk::mrCancel);
    } else if (key == tk::vk::Prior || key == tk::vk::Next || key == tk::vk::Up || key == tk::vk::Down) {
        if (dbgSearch->focused()) return;  // the grid moves its own row
        db::TADOQuery* q = query();
        int step = key == tk::vk::Prior ? -5 : key == tk::vk::Next ? 5 : key == tk::vk::Up ? -1 : 1;
        q->moveBy(step);
        takeCurrentRow();
        found_ = true;
    }
}

void TfrmSearchList::btnOKCancelClick(tk::TObject* sender)
{
    uint16_t key = sender == btnOK ? tk::vk::Return : tk::vk::Escape;
    FormKeyUp(this, key, 0);
}

void TfrmSearchList::dbgSearchDblClick(tk::TObject*)
{
    btnOKCancelClick(btnOK);
}

void TfrmSearchList::dbgSearchKeyDown(tk::TObject*, uint16_t& key, tk::TShiftState)
{
    // Tab does not move between the grid's columns.
    if (key == tk::vk::Tab) key = 0;
}

void TfrmSearchList::dbgSearchKeyPress(tk::TObject*, char32_t& key)
{
    if (key == U'\t') edtSearch->setFocus();
}

}  // namespace velmora
