// The clerk's demonstration group, design and documents.
#include "app/DemoEntryForm.h"

#include "controls/ZEDChxBox.h"
#include "controls/ZEDPicker.h"
#include "controls/ZEDText.h"
#include "controls/ZEDit.h"
#include "db/Connection.h"
#include "designer/ClientMain.h"
#include "designs/Design.h"
#include "entry/Dictionaries.h"
#include "registry/RegistryTables.h"
#include "startup/DemoDatabase.h"
#include "toolkit/core/PropertyAccess.h"
#include "toolkit/widgets/PageControl.h"
#include "toolkit/windows/Application.h"
#include "toolkit/windows/HeadlessPlatform.h"

namespace velmora {

namespace {

// A caption label for `field`, to its left.
void labelFor(TfrmClientMain& window, tk::TWinControl& sheet, tk::TWinControl& field, const char* caption)
{
    auto* label = new TZEDText(&window);
    label->setParent(&sheet);
    label->setName(window.uniqueName("TZEDText"));
    label->setCaption(caption);
    label->setLeft(16);
    label->setTop(field.top() + 4);
    label->setFocusControl(&field);
}

template <class T>
T* field(TfrmClientMain& window, tk::TWinControl& sheet, int top, const char* keyField, bool required, bool canModify)
{
    auto* c = new T(&window);
    c->setParent(&sheet);
    c->setName(window.uniqueName(c->className()));
    c->setLeft(104);
    c->setTop(top);
    tk::setPropText(*c, "KeyField", keyField);
    tk::setPropText(*c, "Required", required ? "True" : "False");
    tk::setPropText(*c, "CanModify", canModify ? "True" : "False");
    return c;
}

}  // namespace

std::string entryDemoDesign(const DemoSearchRelations& relations)
{
    tk::HeadlessPlatform platform;
    tk::TApplication app(platform);
    tk::ComponentRef<TfrmClientMain> window;
    app.createForm(window);
    auto& sheet = *tk::as<tk::TWinControl>(window->findComponent("tsEdit"));
    auto* number = field<TZEDit>(*window, sheet, 16, "Iktatoszam", true, false);
    number->setText("");
    tk::setPropText(*number, "FieldType", "0");
    labelFor(*window, sheet, *number, "Iktatószám:");
    auto* subject = field<TZEDit>(*window, sheet, 48, "Targy", true, true);
    subject->setText("");
    subject->setWidth(240);
    tk::setPropText(*subject, "FieldType", "1");
    labelFor(*window, sheet, *subject, "Tárgy:");
    auto* arrived = field<TZEDPicker>(*window, sheet, 80, "Erkezett", false, true);
    labelFor(*window, sheet, *arrived, "Érkezett:");
    auto* closed = field<TZEDChxBox>(*window, sheet, 112, "Lezart", false, true);
    closed->setCaption("Lezárt");
    auto* kind = field<TZEDit>(*window, sheet, 140, "Ugytipus", false, true);
    kind->setText("");
    kind->setWidth(160);
    tk::setPropText(*kind, "FieldType", "1");
    tk::setPropText(*kind, "Dictionary", "Ügytípus");
    labelFor(*window, sheet, *kind, "Ügytípus:");
    int order = 0;
    for (tk::TWinControl* c : std::initializer_list<tk::TWinControl*>{number, subject, arrived, closed, kind})
        c->setTabOrder(order++);
    // The search page: the same fields, each with its relation.
    auto& search = *tk::as<tk::TWinControl>(window->findComponent("tsSearch"));
    struct SearchSpec {
        const char* keyField;
        const char* caption;
        const std::string& relation;
        int top;
    };
    const SearchSpec specs[] = {{"Iktatoszam", "Iktatószám:", relations.number, 8},
                                {"Targy", "Tárgy:", relations.subject, 36},
                                {"Erkezett", "Érkezett:", relations.arrived, 64},
                                {"Lezart", "Lezárt", relations.closed, 92},
                                {"Ugytipus", "Ügytípus:", relations.kind, 120}};
    for (const SearchSpec& s : specs) {
        tk::TWinControl* c = nullptr;
        if (std::string(s.keyField) == "Erkezett")
            c = field<TZEDPicker>(*window, search, s.top, s.keyField, false, false);
        else if (std::string(s.keyField) == "Lezart")
            c = field<TZEDChxBox>(*window, search, s.top, s.keyField, false, false);
        else c = field<TZEDit>(*window, search, s.top, s.keyField, false, false);
        tk::setPropText(*c, "Relation", s.relation);
        if (auto* edit = tk::as<TZEDit>(c)) {
            edit->setText("");
            edit->setWidth(160);
            tk::setPropText(*edit, "FieldType", std::string(s.keyField) == "Iktatoszam" ? "0" : "1");
            if (std::string(s.keyField) == "Ugytipus") tk::setPropText(*edit, "Dictionary", "Ügytípus");
        }
        if (auto* box = tk::as<TZEDChxBox>(c)) box->setCaption(s.caption);
        else labelFor(*window, search, *c, s.caption);
    }
    auto* pages = tk::as<tk::TPageControl>(window->findComponent("pcData"));
    pages->setActivePage(tk::as<tk::TTabSheet>(&sheet));
    return designText(*window);
}

void addEntryDemo(const std::string& dataLinkFile)
{
    db::TADOConnection connection(nullptr);
    connection.setConnectionString("FILE NAME=" + dataLinkFile);
    connection.open();
    // A dictionary field: its column, its registration and its entries.
    addEntryDemoDictionaryField(connection);
    ensureDictionaryItemTable(connection);
    for (const char* entry : {"Panasz", "Árajánlat", "Megrendelés", "Reklamáció"})
        addDictionaryEntry(connection, 1, entry);
    addEntryDemoGroup(connection, entryDemoDesign());
}

}  // namespace velmora
