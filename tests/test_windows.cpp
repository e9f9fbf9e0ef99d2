// The application object and its windows: creation, the main window,
// showing and hiding, activation, layout of aligned and anchored children.
#include "Fixture.h"

#include "toolkit/core/Errors.h"
#include "toolkit/core/PropertyTable.h"
#include "toolkit/data/DataModule.h"
#include "toolkit/widgets/Edit.h"
#include "toolkit/widgets/Labels.h"
#include "toolkit/widgets/Panels.h"
#include "toolkit/widgets/StatusBar.h"

using namespace tk;

namespace {

class TMainWindow;
TMainWindow* gMain = nullptr;
TDataModule* gModule = nullptr;
bool gSawReference = false;

class TMainWindow : public TForm {
    TK_CLASS(TMainWindow)
public:
    explicit TMainWindow(TComponent* owner) : TForm(owner) { OnCreate = findMethod("FormCreate"); }
    void FormCreate(TObject*) { gSawReference = gMain == this; }
};
TK_DEFINE_CLASS(TMainWindow, TForm)
{
    t.method("FormCreate", &TMainWindow::FormCreate);
}

class TBrokenWindow : public TForm {
    TK_CLASS(TBrokenWindow)
public:
    explicit TBrokenWindow(TComponent* owner) : TForm(owner)
    {
        OnCreate = Handler::notify([](TObject*) { throw EInvalidOperation("cannot build"); });
    }
};
TK_DEFINE_CLASS(TBrokenWindow, TForm) {}

}  // namespace

TEST(Application, FormCreationSetsTheReferenceFirstAndTheFirstWindowIsTheMainWindow)
{
    HeadlessPlatform platform;
    TApplication app(platform);
    EXPECT_EQ(Application, &app);
    app.createForm(gModule);
    EXPECT_EQ(app.mainForm(), nullptr);  // a data module is no window
    app.createForm(gMain);
    EXPECT_TRUE(gSawReference);
    EXPECT_EQ(app.mainForm(), gMain);
    EXPECT_EQ(gMain->owner(), &app);

    TBrokenWindow* broken = reinterpret_cast<TBrokenWindow*>(1);
    EXPECT_THROW(app.createForm(broken), EInvalidOperation);
    EXPECT_EQ(broken, nullptr);
    EXPECT_EQ(app.componentCount(), 2);

    // Closing the main window ends the program.
    platform.script([&] { app.closeByFrame(gMain); });
    app.run();
    EXPECT_TRUE(app.terminated());
    EXPECT_FALSE(gMain->visible());
}

TEST(Application, RunReturnsAtOnceWithoutAMainWindowOrAfterAQuitRequest)
{
    HeadlessPlatform platform;
    TApplication app(platform);
    app.run();  // no window: returns without waiting for input
    TForm* main = nullptr;
    app.createForm(main);
    app.terminate();
    app.run();
    EXPECT_FALSE(main->visible());
}

TEST_F(ToolkitTest, ShowingAndHidingRaiseEventsAndMoveTheActivation)
{
    auto* second = createForm<TForm>(&app);
    second->setName("frmSecond");
    form->OnShow = logNotify("show 1");
    form->OnHide = logNotify("hide 1");
    form->OnActivate = logNotify("activate 1");
    form->OnDeactivate = logNotify("deactivate 1");
    second->OnActivate = logNotify("activate 2");
    second->OnDeactivate = logNotify("deactivate 2");
    form->show();
    second->show();
    EXPECT_EQ(app.activeForm(), second);
    EXPECT_EQ(app.windows().back(), second);
    form->bringToFront();
    EXPECT_EQ(app.windows().back(), form);
    second->hide();
    form->hide();
    EXPECT_EQ(log, (std::vector<std::string>{"show 1", "activate 1", "deactivate 1", "activate 2", "deactivate 2",
                                             "activate 1", "hide 1", "deactivate 1"}));
    EXPECT_EQ(app.activeForm(), nullptr);
}

TEST_F(ToolkitTest, ClickingAWindowActivatesItAndFocusesTheControlClicked)
{
    auto* second = createForm<TForm>(&app);
    second->setBounds(600, 100, 300, 200);
    auto* edit = new TEdit(second);
    edit->setParent(second);
    edit->setBounds(10, 10, 100, 21);
    auto* mine = make<TEdit>("mine", 10, 10, 100, 21);
    form->show();
    second->show();
    EXPECT_EQ(app.focusedControl(), edit);
    app.click(mine);
    EXPECT_EQ(app.activeForm(), form);
    EXPECT_EQ(app.focusedControl(), mine);
    // Coming back, the other window's control has the focus again.
    app.click(second, {200, 150});
    EXPECT_EQ(app.focusedControl(), edit);
}

TEST_F(ToolkitTest, AlignedChildrenShareTheClientAreaAndAnchorsFollowResizes)
{
    form->setClientWidth(536);
    form->setClientHeight(348);
    auto* bar = make<TStatusBar>("StatusBar1", 0, 0, 10, 19);
    auto* pages = make<TPanel>("pcData", 0, 0, 10, 10);
    pages->setAlign(TAlign::alClient);
    EXPECT_EQ(bar->boundsRect(), (TRect{0, 329, 536, 348}));
    EXPECT_EQ(pages->boundsRect(), (TRect{0, 0, 536, 329}));
    auto* top = make<TPanel>("Panel1", 0, 0, 10, 41);
    top->setAlign(TAlign::alTop);
    EXPECT_EQ(top->boundsRect(), (TRect{0, 0, 536, 41}));
    EXPECT_EQ(pages->boundsRect(), (TRect{0, 41, 536, 329}));

    auto* edit = make<TEdit>("edtSearch", 10, 10, 149, 21, top);
    edit->setAnchors(akLeft | akTop | akRight);
    auto* right = make<TPanel>("btn", 400, 5, 100, 30, top);
    right->setAnchors(akTop | akRight);
    form->setClientWidth(636);
    EXPECT_EQ(top->width(), 636);
    EXPECT_EQ(edit->width(), 249);
    EXPECT_EQ(right->left(), 500);
    // A hidden aligned control gives its room to the others.
    bar->hide();
    EXPECT_EQ(pages->height(), 348 - 41);
}

TEST_F(ToolkitTest, WindowsCentreOnTheScreenWhenShown)
{
    form->setPosition(TPosition::poScreenCenter);
    form->setBounds(200, 107, 544, 375);
    form->show();
    EXPECT_EQ(form->left(), (1280 - 544) / 2);
    EXPECT_EQ(form->top(), (1024 - 375) / 2);
    // A window larger than the screen keeps its top left corner on it.
    form->hide();
    form->setBounds(0, 0, 1400, 1100);
    form->show();
    EXPECT_EQ(form->left(), 0);
    EXPECT_EQ(form->top(), 0);
}

TEST_F(ToolkitTest, TextWidthComesFromTheWindowsCanvasFont)
{
    EXPECT_EQ(form->canvas()->textWidth("Mezőnév:"), 8 * 6);
    form->font()->setHeight(-22);
    EXPECT_EQ(form->canvas()->textWidth("Mezőnév:"), 8 * 12);
    // Children with ParentFont follow the window's font.
    auto* edit = make<TEdit>("e", 0, 0, 100, 21);
    EXPECT_EQ(edit->font()->height(), -22);
    edit->font()->setHeight(-11);
    EXPECT_FALSE(edit->parentFont());
    form->font()->setHeight(-13);
    EXPECT_EQ(edit->font()->height(), -11);
}

TEST_F(ToolkitTest, AControlFollowsItsParentsFontUntilItTakesOneOfItsOwn)
{
    auto* panel = make<TPanel>("pn", 0, 0, 200, 100);
    auto* label = new TLabel(form);
    label->setParent(panel);
    form->font()->setHeight(-15);
    // Drawn and measured in the window's font, through the panel.
    EXPECT_EQ(label->drawingFont().height(), -15);
    EXPECT_EQ(label->textWidth("abcd"), 4 * 8);
    // Asking for its font gives the one it followed, and it keeps following.
    EXPECT_EQ(label->font()->height(), -15);
    EXPECT_TRUE(label->parentFont());
    panel->font()->setHeight(-20);
    EXPECT_EQ(label->font()->height(), -20);
    EXPECT_EQ(label->drawingFont().height(), -20);
    // Taken off its parent's font, a control keeps the face it had.
    auto* other = new TLabel(form);
    other->setParent(panel);
    other->setParentFont(false);
    panel->font()->setHeight(-9);
    EXPECT_EQ(other->drawingFont().height(), -20);
    EXPECT_EQ(other->font()->height(), -20);
    // Set back to follow, it takes its parent's again.
    other->setParentFont(true);
    EXPECT_EQ(other->drawingFont().height(), -9);
    // Moved to another parent, a follower takes that parent's font.
    auto* second = make<TPanel>("pn2", 0, 100, 200, 100);
    second->font()->setHeight(-30);
    label->setParent(second);
    EXPECT_EQ(label->drawingFont().height(), -30);
}

TEST_F(ToolkitTest, DestroyingAWindowRaisesOnDestroyBeforeItsControlsGo)
{
    auto* second = createForm<TForm>(&app);
    auto* edit = new TEdit(second);
    edit->setName("edtInside");
    edit->setParent(second);
    bool editAliveAtDestroy = false;
    second->OnDestroy =
        Handler::notify([&](TObject*) { editAliveAtDestroy = second->findComponent("edtInside") != nullptr; });
    second->show();
    ComponentRef<TForm> ref(second);
    second->OnClose = Handler::close([](TObject*, TCloseAction& action) { action = TCloseAction::caFree; });
    app.closeByFrame(second);  // released once the input has been handled
    EXPECT_FALSE(ref);
    EXPECT_TRUE(editAliveAtDestroy);
    EXPECT_EQ(app.activeForm(), nullptr);
}

TEST_F(ToolkitTest, SettingTheActiveControlOfAnInactiveWindowWaitsForItsActivation)
{
    auto* a = make<TEdit>("a", 10, 10, 100, 21);
    auto* b = make<TEdit>("b", 10, 40, 100, 21);
    auto* other = createForm<TForm>(&app);
    other->setBounds(600, 0, 200, 200);
    form->show();
    other->show();
    b->OnEnter = logNotify("enter b");
    form->setActiveControl(b);
    EXPECT_EQ(app.activeForm(), other);
    EXPECT_TRUE(log.empty());
    form->activate();
    EXPECT_EQ(app.focusedControl(), b);
    EXPECT_EQ(log, (std::vector<std::string>{"enter b"}));
    (void)a;
}
