// The property page window.
#include "properties/PropertyPage.h"

#include "controls/ZEDChxBox.h"
#include "controls/ZEDText.h"
#include "db/Query.h"
#include "startup/DataModule.h"
#include "startup/Schema.h"
#include "toolkit/Buttons.h"
#include "toolkit/PropertyTable.h"

namespace velmora {

tk::ComponentRef<TfrmPropertyPage> frmPropertyPage;

TK_DEFINE_CLASS(TfrmPropertyPage, tk::TForm) {}

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
    ErrorHint = new tk::THintWindow(this);
}

void TfrmPropertyPage::ShowControl(tk::TControl* control)
{
    if (auto* label = tk::as<TZEDText>(control)) {
        // A caption label shows its field control's properties.
        selected_ = label->focusControl();
        caption_ = label;
    } else if (control && !tk::as<TZEDChxBox>(control) && !tk::as<tk::TBitBtn>(control)) {
        selected_ = control;
        caption_ = static_cast<tk::TControl*>(nullptr);
        // The first caption label beside it that names it.
        if (tk::TWinControl* parent = control->parent())
            for (tk::TControl* c : parent->controls())
                if (auto* l = tk::as<TZEDText>(c); l && l->focusControl() == control) {
                    caption_ = l;
                    break;
                }
    } else {
        selected_ = control;
        caption_ = control;
    }
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
