// Ownership, names and what happens to references when a component goes.
#include "Fixture.h"

#include "toolkit/core/Errors.h"
#include "toolkit/core/PropertyAccess.h"
#include "toolkit/widgets/Edit.h"
#include "toolkit/widgets/Labels.h"
#include "toolkit/windows/Menus.h"

#include <random>

using namespace tk;

TEST_F(ToolkitTest, AnOwnerDestroysWhatItOwnsFromTheLastToTheFirst)
{
    std::vector<std::string> order;
    struct Probe : TComponent {
        Probe(TComponent* o, std::vector<std::string>& log, std::string n) : TComponent(o), log_(log), n_(std::move(n))
        {
        }
        ~Probe() override { log_.push_back(n_); }
        std::vector<std::string>& log_;
        std::string n_;
    };
    auto* owner = new TComponent(&app);
    new Probe(owner, order, "first");
    new Probe(owner, order, "second");
    new Probe(owner, order, "third");
    EXPECT_EQ(owner->componentCount(), 3);
    owner->free();
    EXPECT_EQ(order, (std::vector<std::string>{"third", "second", "first"}));
}

TEST_F(ToolkitTest, ReferencesToADestroyedComponentBecomeNone)
{
    auto* edit = make<TEdit>("edtName", 10, 10, 100, 21);
    auto* label = make<TStaticText>("lblName", 10, 40, 60, 17);
    auto* menu = new TPopupMenu(form);
    label->setFocusControl(edit);
    edit->setPopupMenu(menu);
    label->setPopupMenu(menu);
    form->show();
    edit->setFocus();
    ASSERT_EQ(app.focusedControl(), edit);
    ASSERT_EQ(form->activeControl(), edit);

    ComponentRef<TEdit> held(edit);
    edit->free();
    EXPECT_EQ(held.get(), nullptr);
    EXPECT_EQ(label->focusControl(), nullptr);
    EXPECT_EQ(app.focusedControl(), nullptr);
    EXPECT_EQ(form->activeControl(), nullptr);
    EXPECT_EQ(getPropText(*label, "FocusControl"), "");

    menu->free();
    EXPECT_EQ(label->popupMenu(), nullptr);
}

TEST_F(ToolkitTest, HandlersAreSharedByCopiesAndMayReplaceThemselvesWhileTheyRun)
{
    auto* edit = make<TEdit>("edtName", 10, 10, 100, 21);
    std::vector<std::string> calls;
    // The handler's own state outlives its replacement during the call.
    std::string word = "first handler, long enough to live on the heap";
    edit->OnClick = Handler::notify([&, word](TObject*) {
        edit->OnClick = Handler::notify([&](TObject*) { calls.push_back("second"); });
        calls.push_back(word);
    });
    Handler copy = edit->OnClick;
    edit->click();
    edit->click();
    EXPECT_EQ(calls, (std::vector<std::string>{word, "second"}));
    // The copy taken before still calls the first.
    EventCall call;
    copy(call);
    EXPECT_EQ(calls.back(), word);
    // Unset handlers are alike; set anonymous ones never are.
    EXPECT_FALSE(Handler());
    EXPECT_TRUE(Handler() == Handler());
    EXPECT_FALSE(copy == edit->OnClick);
}

TEST_F(ToolkitTest, DestroyingAMenuTakesItsItemsAndClearsThePopupComponent)
{
    auto* edit = make<TEdit>("edtName", 10, 10, 100, 21);
    auto* menu = new TPopupMenu(form);
    menu->setName("CompPopup");
    auto* item = new TMenuItem(form);
    item->setName("pmiDelete");
    menu->items()->add(item);
    edit->setPopupMenu(menu);
    form->show();
    app.click(edit, {5, 5}, TMouseButton::mbRight);
    ASSERT_EQ(menu->popupComponent(), edit);
    ASSERT_TRUE(menu->isOpen());
    edit->free();
    EXPECT_EQ(menu->popupComponent(), nullptr);
    menu->free();
    EXPECT_EQ(form->findComponent("pmiDelete"), nullptr);
    EXPECT_EQ(app.popup(), nullptr);
}

TEST_F(ToolkitTest, ParentsTakeTheirChildControlsAlongAndKeepStackingOrder)
{
    auto* panel = make<TWinControl>("pnl", 0, 0, 200, 200);
    auto* a = make<TEdit>("a", 0, 0, 50, 21, panel);
    auto* b = make<TEdit>("b", 0, 30, 50, 21, panel);
    auto* c = make<TEdit>("c", 0, 60, 50, 21, panel);
    EXPECT_EQ(panel->controls(), (std::vector<TControl*>{a, b, c}));
    a->bringToFront();
    c->sendToBack();
    EXPECT_EQ(panel->controls(), (std::vector<TControl*>{c, b, a}));
    panel->free();
    EXPECT_EQ(form->findComponent("a"), nullptr);
    EXPECT_EQ(form->findComponent("c"), nullptr);
    EXPECT_EQ(form->componentCount(), 0);
}

TEST_F(ToolkitTest, CoordinatesConvertBetweenScreenAndClient)
{
    auto* panel = make<TWinControl>("pnl", 20, 30, 200, 200);
    auto* edit = make<TEdit>("edt", 5, 7, 50, 21, panel);
    // A sizeable frame: 4 pixels of border, a caption of 19.
    EXPECT_EQ(form->clientOrigin(), (TPoint{104, 123}));
    EXPECT_EQ(form->clientWidth(), 392);
    EXPECT_EQ(form->clientHeight(), 273);
    EXPECT_EQ(edit->clientToScreen({1, 2}), (TPoint{104 + 20 + 5 + 1, 123 + 30 + 7 + 2}));
    EXPECT_EQ(edit->screenToClient({130, 160}), (TPoint{1, 0}));
    form->setClientWidth(233);
    form->setClientHeight(149);
    EXPECT_EQ(form->width(), 241);
    EXPECT_EQ(form->height(), 176);
}

TEST_F(ToolkitTest, NamesAreUniqueWithinTheOwnerWithoutRegardToCaseThroughRenamesAndRemovals)
{
    auto* a = make<TEdit>("Alpha", 0, 0, 10, 10);
    a->setName("ALPHA");  // only the case changes: still itself
    EXPECT_EQ(form->findComponent("alpha"), a);
    a->setName("Beta");
    EXPECT_EQ(form->findComponent("alpha"), nullptr);
    EXPECT_EQ(form->findComponent("BETA"), a);
    // The old name is free again, the new one taken.
    auto* b = make<TEdit>("alpha", 0, 0, 10, 10);
    try {
        b->setName("beta");
        FAIL() << "a duplicate name was accepted";
    } catch (const EComponentError& e) {
        EXPECT_STREQ(e.what(), "A component named beta already exists");
    }
    EXPECT_EQ(b->name(), "alpha");
    EXPECT_THROW(b->setName("1abc"), EComponentError);
    a->setName("");
    EXPECT_EQ(form->findComponent("beta"), nullptr);
    b->setName("Beta");
    EXPECT_EQ(form->findComponent("beta"), b);
    // A component that changes owner leaves the old owner's index; another
    // owner's component may carry a name taken here.
    TForm* other = nullptr;
    app.createForm(other);
    other->insertComponent(b);
    EXPECT_EQ(form->findComponent("beta"), nullptr);
    EXPECT_EQ(other->findComponent("BETA"), b);
    EXPECT_NO_THROW(make<TEdit>("beta", 0, 0, 10, 10));
    b->free();
    EXPECT_EQ(other->findComponent("beta"), nullptr);
}

// Thousands of creations, renames and frees in a random order: every name
// is found exactly when a live component bears it, as a walk over the
// owner's components finds it.
TEST_F(ToolkitTest, TheNameIndexAgreesWithAWalkOverTheComponentsThroughChurn)
{
    std::mt19937 random(7);
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    auto walk = [&](const std::string& name) -> TComponent* {
        for (TComponent* c : form->components())
            if (sameName(c->name(), name)) return c;
        return nullptr;
    };
    auto nameOf = [&](int i) { return (pick(2) ? "Mezo" : "MEZO") + std::to_string(i); };
    for (int step = 0; step < 20000; ++step) {
        int action = pick(10);
        const auto& all = form->components();
        if (action < 5 || all.size() < 10) {
            auto* c = new TEdit(form);
            try {
                c->setName(nameOf(pick(3000)));
            } catch (const EComponentError&) {
                // Taken: stays without a name.
            }
        } else if (action < 8) {
            TComponent* c = all[static_cast<size_t>(pick(static_cast<int>(all.size())))];
            std::string wanted = action == 7 ? std::string() : nameOf(pick(3000));
            std::string before = c->name();
            try {
                c->setName(wanted);
            } catch (const EComponentError&) {
                EXPECT_EQ(c->name(), before);
            }
        } else {
            all[static_cast<size_t>(pick(static_cast<int>(all.size())))]->free();
        }
        if (step % 97 == 0)
            for (int probe = 0; probe < 3000; probe += 7) {
                std::string name = nameOf(probe);
                ASSERT_EQ(form->findComponent(name), walk(name)) << name << " at step " << step;
            }
    }
}

TEST_F(ToolkitTest, UniqueNamesFillTheLowestGapWithoutRegardToCase)
{
    make<TEdit>("tzedit1", 0, 0, 10, 10);
    auto* third = make<TEdit>("TZEDit3", 0, 0, 10, 10);
    EXPECT_EQ(form->uniqueName("TZEDit"), "TZEDit2");
    make<TEdit>("TZEDIT2", 0, 0, 10, 10);
    EXPECT_EQ(form->uniqueName("TZEDit"), "TZEDit4");
    third->free();
    EXPECT_EQ(form->uniqueName("TZEDit"), "TZEDit3");
}

TEST_F(ToolkitTest, TabOrderKeepsItsPlacesThroughInsertMoveAndRemove)
{
    auto* a = make<TEdit>("a", 0, 0, 10, 10);
    auto* b = make<TEdit>("b", 0, 0, 10, 10);
    auto* c = make<TEdit>("c", 0, 0, 10, 10);
    c->setTabOrder(0);
    EXPECT_EQ(c->tabOrder(), 0);
    EXPECT_EQ(a->tabOrder(), 1);
    EXPECT_EQ(b->tabOrder(), 2);
    a->setTabOrder(99);  // clamped to the last place
    EXPECT_EQ(a->tabOrder(), 2);
    EXPECT_EQ(b->tabOrder(), 1);
    b->free();
    EXPECT_EQ(c->tabOrder(), 0);
    EXPECT_EQ(a->tabOrder(), 1);
    EXPECT_THROW(a->setTabOrder(32768), ERangeError);
}
