// Focus, tab order, key preview, cancellable keys and modal results.
#include "Fixture.h"

#include "toolkit/core/Errors.h"
#include "toolkit/widgets/Buttons.h"
#include "toolkit/widgets/Edit.h"

using namespace tk;

TEST_F(ToolkitTest, TabOrderAcceptsMinusOneTo32767AndClampsToTheParentsRange)
{
    std::vector<TEdit*> edits;
    for (int i = 0; i < 5; ++i) edits.push_back(make<TEdit>("e" + std::to_string(i), 10, 10 + 30 * i, 100, 21));
    EXPECT_EQ(edits[3]->tabOrder(), 3);
    edits[0]->setTabOrder(100);
    EXPECT_EQ(edits[0]->tabOrder(), 4);
    EXPECT_EQ(edits[1]->tabOrder(), 0);
    edits[0]->setTabOrder(-1);
    EXPECT_EQ(edits[0]->tabOrder(), 0);
    edits[2]->setTabOrder(32767);
    EXPECT_EQ(edits[2]->tabOrder(), 4);
    EXPECT_THROW(edits[2]->setTabOrder(32768), ERangeError);
    EXPECT_THROW(edits[2]->setTabOrder(-2), ERangeError);
    EXPECT_EQ(edits[2]->tabOrder(), 4);
}

TEST_F(ToolkitTest, TabMovesTheFocusInTabOrderWithExitAndEnterEvents)
{
    auto* a = make<TEdit>("a", 10, 10, 100, 21);
    auto* b = make<TEdit>("b", 10, 40, 100, 21);
    auto* c = make<TEdit>("c", 10, 70, 100, 21);
    c->setTabOrder(0);  // c, a, b
    b->setTabStop(false);
    for (auto* e : {a, b, c}) {
        e->OnEnter = logNotify("enter " + e->name());
        e->OnExit = logNotify("exit " + e->name());
    }
    form->show();
    // Showing a window focuses its first control in tab order.
    EXPECT_EQ(app.focusedControl(), c);
    app.pressKey(vk::Tab);
    EXPECT_EQ(app.focusedControl(), a);
    app.pressKey(vk::Tab);  // b is no tab stop
    EXPECT_EQ(app.focusedControl(), c);
    app.pressKey(vk::Tab, ssShift);
    EXPECT_EQ(app.focusedControl(), a);
    EXPECT_EQ(log,
              (std::vector<std::string>{"enter c", "exit c", "enter a", "exit a", "enter c", "exit c", "enter a"}));
    // A click focuses a control that is no tab stop.
    app.click(b);
    EXPECT_EQ(app.focusedControl(), b);
}

TEST_F(ToolkitTest, AnExitHandlerCanTakeTheFocusBack)
{
    auto* a = make<TEdit>("a", 10, 10, 100, 21);
    auto* b = make<TEdit>("b", 10, 40, 100, 21);
    form->show();
    a->OnExit = Handler::notify([&](TObject*) { a->setFocus(); });
    b->OnEnter = logNotify("enter b");
    app.pressKey(vk::Tab);
    EXPECT_EQ(app.focusedControl(), a);
    EXPECT_TRUE(log.empty());
}

TEST_F(ToolkitTest, FocusIsRefusedForHiddenOrDisabledControls)
{
    auto* a = make<TEdit>("a", 10, 10, 100, 21);
    form->show();
    a->setEnabled(false);
    EXPECT_THROW(a->setFocus(), EInvalidOperation);
    a->setEnabled(true);
    a->hide();
    EXPECT_FALSE(a->canFocus());
}

TEST_F(ToolkitTest, KeyPreviewLetsTheWindowSeeAndCancelKeysFirst)
{
    auto* edit = make<TEdit>("edt", 10, 10, 100, 21);
    form->show();
    edit->OnKeyDown =
        Handler::key([&](TObject*, uint16_t& key, TShiftState) { log.push_back("edit down " + std::to_string(key)); });
    edit->OnKeyPress = Handler::keyPress(
        [&](TObject*, char32_t& ch) { log.push_back(std::string("edit press ") + static_cast<char>(ch)); });
    form->OnKeyDown = Handler::key([&](TObject*, uint16_t& key, TShiftState) {
        log.push_back("form down " + std::to_string(key));
        if (key == 'X') key = 0;
    });
    form->OnKeyPress = Handler::keyPress([&](TObject*, char32_t& ch) {
        if (ch == U'y') ch = 0;
    });
    form->OnKeyUp =
        Handler::key([&](TObject*, uint16_t& key, TShiftState) { log.push_back("form up " + std::to_string(key)); });

    app.typeText("a");  // no key preview yet: the window sees nothing
    EXPECT_EQ(edit->text(), "a");
    EXPECT_EQ(log, (std::vector<std::string>{"edit down 65", "edit press a"}));

    log.clear();
    form->setKeyPreview(true);
    app.typeText("xyz");
    // The window cancels X at key down (the edit never sees it, but the
    // character still arrives) and y at key press (no character typed).
    EXPECT_EQ(edit->text(), "axz");
    EXPECT_EQ(log,
              (std::vector<std::string>{"form down 88", "edit press x", "form up 88", "form down 89", "edit down 89",
                                        "form up 89", "form down 90", "edit down 90", "edit press z", "form up 90"}));
}

TEST_F(ToolkitTest, AHandlerThatZeroesTheKeyStopsTheControlFromActing)
{
    auto* edit = make<TEdit>("edt", 10, 10, 100, 21);
    form->show();
    edit->setText("abc");
    edit->setSelStart(3);
    edit->OnKeyDown = Handler::key([](TObject*, uint16_t& key, TShiftState) { key = 0; });
    app.pressKey(vk::Left);
    app.pressKey(vk::Home);
    EXPECT_EQ(edit->selStart(), 3);
    edit->OnKeyPress = Handler::keyPress([](TObject*, char32_t& ch) { ch = 0; });
    app.pressKey(vk::Back);
    app.typeText("d");
    EXPECT_EQ(edit->text(), "abc");
}

TEST_F(ToolkitTest, ModalWindowsReturnOkForTheDefaultButtonAndCancelForEsc)
{
    auto* dlg = createForm<TForm>(nullptr);
    std::unique_ptr<TForm, void (*)(TForm*)> owned(dlg, [](TForm* f) { f->free(); });
    dlg->setBorderStyle(TFormBorderStyle::bsDialog);
    dlg->setPosition(TPosition::poScreenCenter);
    dlg->setClientWidth(233);
    dlg->setClientHeight(149);
    auto* edit = new TEdit(dlg);
    edit->setParent(dlg);
    edit->setBounds(8, 27, 217, 21);
    auto* ok = new TButton(dlg);
    ok->setParent(dlg);
    ok->setBounds(70, 115, 75, 25);
    ok->setCaption("OK");
    ok->setDefault(true);
    ok->setModalResult(mrOk);
    auto* cancel = new TButton(dlg);
    cancel->setParent(dlg);
    cancel->setBounds(150, 115, 75, 25);
    cancel->setCancel(true);
    cancel->setModalResult(mrCancel);

    platform.script([&] {
        EXPECT_EQ(app.focusedControl(), edit);
        app.typeText("kovacs");
    });
    platform.script([&] { app.pressKey(vk::Return); });
    EXPECT_EQ(dlg->showModal(), mrOk);
    EXPECT_EQ(edit->text(), "kovacs");
    EXPECT_FALSE(dlg->visible());
    // Centred on the 1280 x 1024 screen; the dialog frame adds 3 + 19 + 3.
    EXPECT_EQ(dlg->left(), (1280 - 239) / 2);
    EXPECT_EQ(dlg->top(), (1024 - 174) / 2);

    platform.script([&] { app.pressKey(vk::Escape); });
    EXPECT_EQ(dlg->showModal(), mrCancel);

    platform.script([&] { app.closeByFrame(dlg); });
    EXPECT_EQ(dlg->showModal(), mrCancel);

    platform.script([&] { app.click(ok); });
    EXPECT_EQ(dlg->showModal(), mrOk);

    // While the dialog is modal, other windows take no input.
    auto* back = make<TEdit>("back", 10, 10, 100, 21);
    form->show();
    platform.script([&] {
        app.click(back);
        EXPECT_NE(app.focusedControl(), back);
        app.click(cancel);
    });
    EXPECT_EQ(dlg->showModal(), mrCancel);
    EXPECT_EQ(app.activeForm(), form);
}

TEST_F(ToolkitTest, AnErrorEscapingAHandlerIsShownAndTheLoopGoesOn)
{
    auto* b = make<TButton>("btn", 10, 10, 75, 25);
    b->OnClick = Handler::notify([](TObject*) { throw EPropertyError("Property Relation does not exist"); });
    form->show();
    app.click(b);
    app.click(b);
    EXPECT_EQ(app.errorMessages(),
              (std::vector<std::string>{"Property Relation does not exist", "Property Relation does not exist"}));
    EXPECT_EQ(platform.errorsShown().size(), 2u);
    b->OnClick = Handler::notify([](TObject*) { throw EAbort("silent"); });
    app.click(b);
    EXPECT_EQ(app.errorMessages().size(), 2u);
}
