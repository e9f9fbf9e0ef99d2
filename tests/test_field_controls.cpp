// The field controls: their contract properties by name, value conversions
// under the user's locale, emptiness, validation and the entry state.
#include "Fixture.h"

#include "controls/ZEDBtn.h"
#include "controls/ZEDChxBox.h"
#include "controls/ZEDPicker.h"
#include "controls/ZEDText.h"
#include "controls/ZEDit.h"
#include "toolkit/core/Errors.h"
#include "toolkit/core/PropertyAccess.h"
#include "toolkit/text/Locale.h"

using namespace tk;
using namespace velmora;

namespace {

class FieldControls : public ToolkitTest {
protected:
    FieldControls() { setCurrentLocale(Locale::hungarian()); }
    ~FieldControls() override { setCurrentLocale(Locale::hungarian()); }
    Locale dotLocale()
    {
        Locale l = Locale::hungarian();
        l.decimalSeparator = '.';
        l.dateSeparator = '-';
        l.shortDateFormat = "yyyy/mm/dd";
        return l;
    }
};

}  // namespace

TEST_F(FieldControls, ContractPropertiesReadAndWriteByName)
{
    auto* edit = make<TZEDit>("TZEDit1", 120, 16, 121, 21);
    setPropText(*edit, "KeyField", "Targy");
    setPropText(*edit, "Required", "True");
    setPropText(*edit, "FieldType", "1");
    EXPECT_EQ(getPropText(*edit, "KeyField"), "Targy");
    EXPECT_EQ(getPropText(*edit, "Required"), "True");
    EXPECT_EQ(getPropText(*edit, "CanModify"), "False");
    EXPECT_EQ(getProp(*edit, "FieldType").toInt(), 1);
    EXPECT_EQ(getPropText(*edit, "Dictionary"), "");

    auto* chx = make<TZEDChxBox>("TZEDChxBox1", 10, 10, 97, 17);
    EXPECT_THROW(getPropText(*chx, "Dictionary"), EPropertyError);
    EXPECT_EQ(getProp(*chx, "FieldType").toInt(), 3);
    setPropText(*chx, "FieldType", "0");  // kept where nothing reads it
    EXPECT_EQ(getProp(*chx, "FieldType").toInt(), 3);
    // The entry state takes the place of the check box's three-valued one.
    chx->setChecked(true);
    EXPECT_EQ(getPropText(*chx, "State"), "0");
    EXPECT_EQ(getPropText(*chx, "Checked"), "True");

    auto* picker = make<TZEDPicker>("TZEDPicker1", 10, 40, 96, 21);
    EXPECT_EQ(getProp(*picker, "FieldType").toInt(), 2);
    EXPECT_EQ(picker->width(), 96);
    EXPECT_TRUE(picker->showCheckbox());

    auto* label = make<TZEDText>("TZEDText1", 64, 20, 48, 17);
    EXPECT_THROW(getPropText(*label, "KeyField"), EPropertyError);
    EXPECT_THROW(setPropText(*edit, "Validate", "True"), EPropertyError);  // read-only
}

TEST_F(FieldControls, StoredFlagsAndDefaultsOfTheContract)
{
    auto* picker = make<TZEDPicker>("TZEDPicker1", 10, 40, 96, 21);
    const ClassInfo& c = TZEDPicker::staticClassInfo();
    EXPECT_FALSE(c.findProperty("Date")->isStored(*picker));
    EXPECT_EQ(c.findProperty("ShowCheckbox")->defaultValue, 1);
    EXPECT_FALSE(c.findProperty("Required")->defaultValue.has_value());  // always written
    EXPECT_FALSE(c.findProperty("FieldValue")->isStored(*picker));
    EXPECT_FALSE(c.findProperty("State")->isStored(*picker));
    EXPECT_TRUE(c.findProperty("OnMouseDown"));
    // The contract comes last, in its declaration order.
    std::vector<std::string> tail;
    auto props = TZEDit::staticClassInfo().properties();
    for (auto it = props.end() - 10; it != props.end(); ++it) tail.push_back((*it)->name);
    EXPECT_EQ(tail, (std::vector<std::string>{"KeyField", "FieldValue", "Dictionary", "Relation", "Required",
                                              "CanModify", "FieldType", "Empty", "Validate", "State"}));
}

TEST_F(FieldControls, NumberFieldsValidateByTheLocalesDecimalSeparator)
{
    auto* edit = make<TZEDit>("TZEDit1", 120, 16, 121, 21);
    edit->setText("12,5");
    EXPECT_TRUE(edit->Validate());
    setCurrentLocale(dotLocale());
    EXPECT_FALSE(edit->Validate());
    edit->setText("");
    EXPECT_TRUE(edit->Validate());
    edit->setText("alma");
    EXPECT_FALSE(edit->Validate());
    edit->setFieldType(ftText);
    EXPECT_TRUE(edit->Validate());
}

TEST_F(FieldControls, ADictionaryBoundEditKeepsItsValueApartFromItsText)
{
    auto* edit = make<TZEDit>("TZEDit1", 120, 16, 121, 21);
    edit->setFieldValue(Value(42));
    EXPECT_EQ(edit->text(), "42");
    edit->setDictionary("Ügytípus");
    EXPECT_TRUE(edit->Empty());  // no entry chosen yet, whatever the text
    edit->setFieldValue(Value(7));
    EXPECT_EQ(edit->text(), "42");
    EXPECT_EQ(edit->FieldValue(), Value(7));
    EXPECT_FALSE(edit->Empty());
    setPropText(*edit, "Empty", "False");  // any write clears the text
    EXPECT_EQ(edit->text(), "");
    EXPECT_EQ(edit->FieldValue(), Value(7));
    edit->setDictionary("");
    edit->setFieldValue(Value::null());
    EXPECT_EQ(edit->text(), "");
}

TEST_F(FieldControls, DatePickersTakeDatesWithFullStopsUnderAnyLocaleOfTheSameOrder)
{
    auto* picker = make<TZEDPicker>("TZEDPicker1", 10, 40, 96, 21);
    picker->setTime(0.5);
    picker->setFieldValue(Value("2004.02.29."));
    EXPECT_TRUE(picker->checked());
    EXPECT_EQ(picker->date(), encodeDate(2004, 2, 29));
    EXPECT_DOUBLE_EQ(picker->time(), 0.5);
    EXPECT_EQ(picker->FieldValue(), Value("2004.02.29."));

    setCurrentLocale(dotLocale());
    picker->setFieldValue(Value("2004.03.01"));
    EXPECT_EQ(picker->date(), encodeDate(2004, 3, 1));
    EXPECT_EQ(picker->FieldValue(), Value("2004-03-01"));
    picker->setFieldValue(Value(""));
    EXPECT_FALSE(picker->checked());
    EXPECT_EQ(picker->date(), encodeDate(2004, 3, 1));
    // An unchecked picker still gives its date.
    EXPECT_EQ(picker->FieldValue(), Value("2004-03-01"));

    picker->setRequired(true);
    EXPECT_FALSE(picker->Validate());
    picker->setFieldValue(Value("2001.01.01"));
    EXPECT_TRUE(picker->Validate());
    EXPECT_FALSE(picker->Empty());
}

TEST_F(FieldControls, CheckBoxesTakeOneAndZero)
{
    auto* chx = make<TZEDChxBox>("TZEDChxBox1", 10, 10, 97, 17);
    chx->setFieldValue(Value("1"));
    EXPECT_TRUE(chx->checked());
    EXPECT_EQ(chx->FieldValue(), Value("1"));
    chx->setFieldValue(Value("0"));
    EXPECT_FALSE(chx->checked());
    chx->setFieldValue(Value("$1"));
    EXPECT_TRUE(chx->checked());
    chx->setFieldValue(Value("igen"));
    EXPECT_FALSE(chx->checked());
    chx->setChecked(true);
    chx->setFieldValue(Value(""));
    EXPECT_FALSE(chx->checked());
    EXPECT_FALSE(chx->Empty());
    EXPECT_TRUE(chx->Validate());
}

TEST_F(FieldControls, TheEntryStateEnablesAndClears)
{
    auto* edit = make<TZEDit>("TZEDit1", 120, 16, 121, 21);
    auto* picker = make<TZEDPicker>("TZEDPicker1", 10, 40, 96, 21);
    auto* chx = make<TZEDChxBox>("TZEDChxBox1", 10, 70, 97, 17);
    EXPECT_TRUE(edit->enabled());  // a new control starts at 0 without its effects
    edit->setText("x");
    chx->setChecked(true);
    picker->setChecked(true);
    picker->setDate(encodeDate(2004, 2, 29));

    for (TControl* c : std::initializer_list<TControl*>{edit, picker, chx}) setPropText(*c, "State", "2");
    EXPECT_FALSE(edit->enabled());  // CanModify is False
    EXPECT_EQ(edit->text(), "x");
    edit->setCanModify(true);
    edit->setState(2);
    EXPECT_TRUE(edit->enabled());

    for (TControl* c : std::initializer_list<TControl*>{edit, picker, chx}) setPropText(*c, "State", "5");
    EXPECT_FALSE(edit->enabled());
    EXPECT_FALSE(chx->enabled());
    EXPECT_EQ(getPropText(*chx, "State"), "5");
    EXPECT_EQ(edit->text(), "x");
    EXPECT_TRUE(chx->checked());

    for (TControl* c : std::initializer_list<TControl*>{edit, picker, chx}) setPropText(*c, "State", "3");
    EXPECT_TRUE(edit->enabled() && picker->enabled() && chx->enabled());
    EXPECT_EQ(edit->text(), "");
    EXPECT_FALSE(chx->checked());
    EXPECT_FALSE(picker->checked());
    EXPECT_EQ(picker->date(), platform.today());
}

TEST_F(FieldControls, ActionButtonsAreEnabledByTheirNames)
{
    std::map<std::string, TZEDBtn*> b;
    for (const char* n : {"btnNew", "btnModify", "btnSave", "btnCancel", "btnSearch"})
        b[n] = make<TZEDBtn>(n, 0, 0, 75, 25);
    // Names compare with their letter case (this one in another window).
    auto* other = createForm<TForm>(&app);
    b["BTNNEW"] = new TZEDBtn(other);
    b["BTNNEW"]->setName("BTNNEW");
    auto enabled = [&] {
        std::string out;
        for (auto& [n, btn] : b)
            if (btn->enabled()) out += n + " ";
        return out;
    };
    for (auto& [n, btn] : b) btn->setState(0);
    EXPECT_EQ(enabled(), "btnNew ");
    for (auto& [n, btn] : b) btn->setState(1);
    EXPECT_EQ(enabled(), "btnModify btnNew ");
    for (auto& [n, btn] : b) setPropText(*btn, "State", "3");
    EXPECT_EQ(enabled(), "btnCancel btnSave ");
    EXPECT_EQ(b["btnSearch"]->State(), 3);
}
