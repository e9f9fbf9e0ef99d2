// The painted windows as a screen reader sees them through Qt's
// accessibility: the login dialog and the clerk's form are walked by role
// and name, filled through the text and action interfaces, and every
// change reaches the reader as an event.
#include "../TempFolder.h"
#include "../TestDatabase.h"

#include "app/DemoEntryForm.h"
#include "app/DesignerComposition.h"
#include "app/EntryComposition.h"
#include "gui/Accessibility.h"
#include "gui/QtPlatform.h"
#include "gui/WindowWidget.h"
#include "startup/DemoDatabase.h"
#include "startup/PasswordDlg.h"
#include "toolkit/text/Locale.h"
#include "toolkit/windows/Application.h"
#include "toolkit/windows/Form.h"

#include <QAccessible>
#include <QTimer>
#include <QtGui/private/qguiapplication_p.h>
#include <QtGui/qpa/qplatformaccessibility.h>
#include <QtGui/qpa/qplatformintegration.h>

#include <gtest/gtest.h>

#include <functional>

namespace {

struct Told {
    QAccessible::Event type;
    QAccessible::Role role;
    QString name, value;
    QAccessible::State changed;
    QString inserted = {};  // a text insertion's characters, at `at`
    int at = -1;
};
std::vector<Told> told;

void record(QAccessibleEvent* e)
{
    Told t{e->type(), QAccessible::NoRole, {}, {}, {}};
    if (QAccessibleInterface* i = e->accessibleInterface()) {
        t.role = i->role();
        t.name = i->text(QAccessible::Name);
        t.value = i->text(QAccessible::Value);
    }
    if (e->type() == QAccessible::StateChanged)
        t.changed = static_cast<QAccessibleStateChangeEvent*>(e)->changedStates();
    if (e->type() == QAccessible::TextInserted) {
        t.inserted = static_cast<QAccessibleTextInsertEvent*>(e)->textInserted();
        t.at = static_cast<QAccessibleTextInsertEvent*>(e)->changePosition();
    }
    told.push_back(t);
}

bool wasTold(QAccessible::Event type, const QString& name)
{
    return std::any_of(told.begin(), told.end(), [&](const Told& t) { return t.type == type && t.name == name; });
}

// Turns Qt's accessibility on with a recorder in the place of a bridge,
// as a reader's coming does (the offscreen platform has no bridge that
// would turn it on).
struct ReaderListening {
    ReaderListening()
    {
        told.clear();
        previous = QAccessible::installUpdateHandler(record);
        QGuiApplicationPrivate::platformIntegration()->accessibility()->setActive(true);
    }
    ~ReaderListening()
    {
        QGuiApplicationPrivate::platformIntegration()->accessibility()->setActive(false);
        QAccessible::installUpdateHandler(previous);
    }
    QAccessible::UpdateHandler previous;
};

QAccessibleInterface* windowNamed(gui::QtPlatform& platform, const std::string& name)
{
    for (tk::TCustomForm* f : tk::Application->windows())
        if (f->name().rfind(name, 0) == 0)
            if (gui::WindowWidget* w = platform.widgetOf(f)) return QAccessible::queryAccessibleInterface(w);
    return nullptr;
}

// The first interface under `root` of the role and name, depth first.
QAccessibleInterface* find(QAccessibleInterface* root, QAccessible::Role role, const QString& name)
{
    if (!root) return nullptr;
    for (int i = 0; i < root->childCount(); ++i) {
        QAccessibleInterface* c = root->child(i);
        if (!c) continue;
        EXPECT_EQ(c->parent(), root) << c->text(QAccessible::Name).toStdString();
        EXPECT_EQ(root->indexOfChild(c), i);
        if (c->role() == role && c->text(QAccessible::Name) == name) return c;
        if (QAccessibleInterface* deeper = find(c, role, name)) return deeper;
    }
    return nullptr;
}

// Runs the next step once the queued actions and the syncs after them
// have run.
void then(std::function<void()> step)
{
    QTimer::singleShot(100, step);
}

// The demonstration database with the clerk's form, in a folder of its own.
struct EntryDemo {
    EntryDemo()
    {
        velmora::createDemoDatabase(db);
        velmora::addEntryDemo(db + "/VelmoraDSC.udl");
    }
    TempFolder folder;
    std::string db = folder.file("db");
};

}  // namespace

TEST(Accessibility, AClerkLogsInAndEntersADocumentThroughTheReadersInterfacesAlone)
{
    EntryDemo demo;
    std::string db = demo.db;
    gui::QtPlatform platform;
    ReaderListening reader;
    bool reachedTheEnd = false;
    // The entry form's parts, found once and used by the later steps.
    QAccessibleInterface *number = nullptr, *subject = nullptr, *arrived = nullptr, *closed = nullptr, *kind = nullptr,
                         *add = nullptr, *save = nullptr;
    then([&] {
        QAccessibleInterface* login = windowNamed(platform, "frmPasswordDlg");
        ASSERT_NE(login, nullptr);
        EXPECT_EQ(login->role(), QAccessible::Dialog);
        EXPECT_EQ(login->text(QAccessible::Name), QStringLiteral("Bejelentkezés"));
        QAccessibleInterface* name = find(login, QAccessible::EditableText, QStringLiteral("Bejelentkező név"));
        QAccessibleInterface* password = find(login, QAccessible::EditableText, QStringLiteral("Jelszó"));
        QAccessibleInterface* ok = find(login, QAccessible::Button, QStringLiteral("OK"));
        ASSERT_TRUE(name && password && ok);
        EXPECT_TRUE(name->state().focused);
        EXPECT_EQ(login->focusChild(), name);
        EXPECT_TRUE(password->state().passwordEdit);
        EXPECT_FALSE(name->state().passwordEdit);
        // The name is labelled by its caption, for a reader that follows relations.
        auto labels = name->relations(QAccessible::Label);
        ASSERT_EQ(labels.size(), 1);
        EXPECT_EQ(labels[0].first->role(), QAccessible::StaticText);

        name->editableTextInterface()->insertText(0, QString::fromUtf8(velmora::entryDemoLogin));
        EXPECT_EQ(name->text(QAccessible::Value), QString::fromUtf8(velmora::entryDemoLogin));
        EXPECT_EQ(name->textInterface()->cursorPosition(), 6);
        EXPECT_TRUE(wasTold(QAccessible::TextInserted, QStringLiteral("Bejelentkező név")));
        told.clear();
        password->editableTextInterface()->insertText(0, QString::fromUtf8(velmora::entryDemoPassword));
        // Focus moved to the password as the reader typed there, and the
        // password is read as what the box shows, never as typed.
        EXPECT_TRUE(wasTold(QAccessible::Focus, QStringLiteral("Jelszó")));
        EXPECT_TRUE(password->state().focused);
        EXPECT_NE(password->text(QAccessible::Value), QString::fromUtf8(velmora::entryDemoPassword));
        EXPECT_EQ(password->text(QAccessible::Value).size(), 6);
        // What was typed is told as typed, in the masks the box shows;
        // nothing is told as deleted and typed again.
        for (const Told& t : told)
            if (t.name == QStringLiteral("Jelszó")) {
                EXPECT_NE(t.type, QAccessible::TextRemoved);
                EXPECT_NE(t.type, QAccessible::TextUpdated);
                if (t.type == QAccessible::TextInserted) {
                    EXPECT_EQ(t.inserted, password->text(QAccessible::Value));
                }
            }
        // Only a field is labelled by a caption.
        EXPECT_TRUE(ok->relations(QAccessible::Label).isEmpty());
        ASSERT_TRUE(ok->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
        ok->actionInterface()->doAction(QAccessibleActionInterface::pressAction());

        then([&] {
            QAccessibleInterface* main = windowNamed(platform, "frmClientMain");
            ASSERT_NE(main, nullptr);
            EXPECT_EQ(main->role(), QAccessible::Window);
            number = find(main, QAccessible::EditableText, QStringLiteral("Iktatószám"));
            subject = find(main, QAccessible::EditableText, QStringLiteral("Tárgy"));
            arrived = find(main, QAccessible::SpinBox, QStringLiteral("Érkezett"));
            closed = find(main, QAccessible::CheckBox, QStringLiteral("Lezárt"));
            kind = find(main, QAccessible::EditableText, QStringLiteral("Ügytípus"));
            add = find(main, QAccessible::Button, QStringLiteral("Új felvitel"));
            save = find(main, QAccessible::Button, QStringLiteral("Rendben"));
            ASSERT_TRUE(number && subject && arrived && closed && kind && add && save);
            EXPECT_EQ(arrived->text(QAccessible::Description), QStringLiteral("dátum"));
            EXPECT_FALSE(arrived->text(QAccessible::Value).isEmpty());
            // The pages are tabs of one list; the entry page is the one shown.
            QAccessibleInterface* tabs = number->parent()->parent();
            ASSERT_EQ(tabs->role(), QAccessible::PageTabList);
            EXPECT_EQ(number->parent()->role(), QAccessible::PageTab);
            EXPECT_TRUE(number->parent()->state().selected);
            EXPECT_FALSE(number->state().invisible);
            EXPECT_FALSE(number->rect().isEmpty());
            EXPECT_TRUE(main->childAt(number->rect().center().x(), number->rect().center().y()) != nullptr);
            // Before a new document nothing can be typed or saved.
            EXPECT_TRUE(save->state().invisible || save->state().disabled);
            told.clear();
            add->actionInterface()->doAction(QAccessibleActionInterface::pressAction());

            then([&] {
                EXPECT_FALSE(save->state().invisible || save->state().disabled);
                EXPECT_TRUE(std::any_of(told.begin(), told.end(), [](const Told& t) {
                    return t.type == QAccessible::StateChanged && t.name == QStringLiteral("Rendben");
                }));
                number->editableTextInterface()->insertText(0, QStringLiteral("77"));
                subject->editableTextInterface()->insertText(0, QStringLiteral("Felolvasott levél"));
                EXPECT_EQ(subject->text(QAccessible::Value), QStringLiteral("Felolvasott levél"));
                EXPECT_TRUE(std::any_of(told.begin(), told.end(), [](const Told& t) {
                    return t.type == QAccessible::TextInserted && t.name == QStringLiteral("Tárgy") &&
                           t.inserted == QStringLiteral("Felolvasott levél") && t.at == 0;
                }));
                // The date field reads and takes its date as text.
                ASSERT_TRUE(arrived->textInterface() && arrived->editableTextInterface() && arrived->valueInterface());
                EXPECT_EQ(arrived->textInterface()->text(0, -1), arrived->text(QAccessible::Value));
                arrived->editableTextInterface()->replaceText(0, arrived->textInterface()->characterCount(),
                                                              QStringLiteral("20261116"));
                EXPECT_EQ(arrived->textInterface()->text(0, -1), QStringLiteral("2026.11.16."));
                EXPECT_TRUE(arrived->state().checked);
                arrived->editableTextInterface()->replaceText(0, 4, QStringLiteral("nem"));  // no date: unchanged
                EXPECT_EQ(arrived->text(QAccessible::Value), QStringLiteral("2026.11.16."));
                EXPECT_EQ(arrived->valueInterface()->currentValue().toDouble(), tk::encodeDate(2026, 11, 16));
                EXPECT_TRUE(closed->relations(QAccessible::Label).isEmpty());
                kind->editableTextInterface()->insertText(0, QStringLiteral("Panasz"));
                EXPECT_FALSE(closed->state().checked);
                ASSERT_TRUE(
                    closed->actionInterface()->actionNames().contains(QAccessibleActionInterface::toggleAction()));
                closed->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
                then([&] {
                    EXPECT_TRUE(closed->state().checked);
                    EXPECT_TRUE(std::any_of(told.begin(), told.end(), [](const Told& t) {
                        return t.type == QAccessible::StateChanged && t.name == QStringLiteral("Lezárt") &&
                               t.changed.checked;
                    }));
                    told.clear();
                    save->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
                    then([&] {
                        // The save is said once on the status bar, and the
                        // focus is told on "Új felvitel".
                        int said = 0;
                        for (const Told& t : told)
                            if (t.type == QAccessible::NameChanged && t.role == QAccessible::StatusBar) {
                                ++said;
                                EXPECT_TRUE(t.name.startsWith(QStringLiteral("Dokumentum: "))) << t.name.toStdString();
                            }
                        EXPECT_EQ(said, 1);
                        // ...and shown once as its notification, which a
                        // reader speaks wherever the focus is.
                        EXPECT_EQ(std::count_if(told.begin(), told.end(),
                                                [](const Told& t) {
                                                    return t.type == QAccessible::ObjectShow &&
                                                           t.role == QAccessible::Notification &&
                                                           t.name.startsWith(QStringLiteral("Dokumentum: "));
                                                }),
                                  1);
                        ASSERT_FALSE(told.empty());
                        auto focus = std::find_if(told.rbegin(), told.rend(),
                                                  [](const Told& t) { return t.type == QAccessible::Focus; });
                        ASSERT_NE(focus, told.rend());
                        EXPECT_EQ(focus->name, QStringLiteral("Új felvitel"));
                        reachedTheEnd = true;
                        tk::Application->terminate();
                    });
                });
            });
        });
    });
    ASSERT_EQ(velmora::runVelmoraEntry(platform, db + "/velmora-entry"), 0);
    EXPECT_TRUE(reachedTheEnd);
    EXPECT_EQ(
        readRows(db + "/VelmoraDSC.udl",
                 "Select Iktatoszam, Targy, Lezart, Ugytipus is not null from Document where Targy like 'Felol%'"),
        std::vector<std::string>{"77|Felolvasott levél|\x01|1"});
    EXPECT_EQ(readRows(db + "/VelmoraDSC.udl", "Select substr(Erkezett, 1, 10) from Document where Iktatoszam = 77"),
              std::vector<std::string>{"2026-11-16"});
}

TEST(Accessibility, TheDesignersToolsPropertiesAndPlacedControlsAreReachable)
{
    TempFolder folder;
    velmora::createDemoDatabase(folder.path());
    gui::QtPlatform platform;
    ReaderListening reader;
    QAccessibleInterface *editTool = nullptr, *fieldName = nullptr;
    bool reachedTheEnd = false;
    then([&] {
        velmora::typeLogin(velmora::demoLogin, velmora::demoPassword);
        then([&] {
            QAccessibleInterface* palette = windowNamed(platform, "frmComonentPalette");
            editTool = find(palette, QAccessible::Button, QStringLiteral("Beviteli mező"));
            ASSERT_NE(editTool, nullptr);
            EXPECT_TRUE(editTool->state().checkable);
            EXPECT_FALSE(editTool->state().checked);
            for (const char* tool : {"Kijelölés", "Felirat", "Dátummező", "Jelölőnégyzet", "Megnyitás", "Mentés"})
                EXPECT_NE(find(palette, QAccessible::Button, QString::fromUtf8(tool)), nullptr) << tool;
            fieldName =
                find(windowNamed(platform, "frmPropertyPage"), QAccessible::ComboBox, QStringLiteral("Mezőnév"));
            ASSERT_NE(fieldName, nullptr);
            // The design surface's buttons read as the class and caption.
            QAccessibleInterface* surface = windowNamed(platform, "frmClientMain");
            EXPECT_NE(find(surface, QAccessible::Button, QStringLiteral("TZEDBtn Rendben")), nullptr);
            // The entry page is chosen by its tab's action, then the tool.
            QAccessibleInterface* entryTab = find(surface, QAccessible::PageTab, QStringLiteral("Felvitel"));
            ASSERT_NE(entryTab, nullptr);
            entryTab->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
            editTool->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
            then([&] {
                EXPECT_TRUE(editTool->state().checked);
                EXPECT_TRUE(
                    find(windowNamed(platform, "frmClientMain"), QAccessible::PageTab, QStringLiteral("Felvitel"))
                        ->state()
                        .selected);
                // A click on the entry page places an edit there.
                tk::TCustomForm* main = nullptr;
                for (tk::TCustomForm* f : tk::Application->windows())
                    if (f->name() == "frmClientMain") main = f;
                ASSERT_NE(main, nullptr);
                auto* sheet = dynamic_cast<tk::TControl*>(main->findComponent("tsEdit"));
                ASSERT_NE(sheet, nullptr);
                tk::Application->click(sheet, {300, 150});
                platform.sync();
                QAccessibleInterface* placed =
                    find(windowNamed(platform, "frmClientMain"), QAccessible::EditableText, QStringLiteral("TZEDit"));
                ASSERT_NE(placed, nullptr);
                EXPECT_FALSE(placed->rect().isEmpty());
                told.clear();
                fieldName->editableTextInterface()->insertText(0, QStringLiteral("Kozos"));
                // Leaving the box with Tab takes the name, as a person's Tab does.
                tk::Application->keyDown(tk::vk::Tab, 0);
                tk::Application->keyUp(tk::vk::Tab, 0);
                platform.sync();
                EXPECT_EQ(placed->text(QAccessible::Name), QStringLiteral("TZEDit Kozos"));
                EXPECT_TRUE(wasTold(QAccessible::NameChanged, QStringLiteral("TZEDit Kozos")));
                // A name that is no identifier: the hint that says so is announced.
                fieldName->editableTextInterface()->replaceText(0, fieldName->textInterface()->characterCount(),
                                                                QStringLiteral("1rossz"));
                tk::Application->keyDown(tk::vk::Tab, 0);
                tk::Application->keyUp(tk::vk::Tab, 0);
                platform.sync();
                EXPECT_TRUE(wasTold(QAccessible::Alert, QStringLiteral("Az azonosító érvénytelen")));
                // The field's kind: a group of choices, each reached and chosen.
                QAccessibleInterface* kind =
                    find(windowNamed(platform, "frmPropertyPage"), QAccessible::Grouping, QStringLiteral("Típus"));
                ASSERT_NE(kind, nullptr);
                ASSERT_EQ(kind->childCount(), 4);
                QAccessibleInterface* date = kind->child(2);
                EXPECT_EQ(date->role(), QAccessible::RadioButton);
                EXPECT_EQ(date->text(QAccessible::Name), QStringLiteral("Dátum"));
                EXPECT_EQ(kind->indexOfChild(date), 2);
                EXPECT_TRUE(date->state().disabled);  // an edit holds a number or a text
                QAccessibleInterface* choice = kind->child(kind->child(0)->state().checked ? 1 : 0);
                QString chosen = choice->text(QAccessible::Name);
                EXPECT_FALSE(choice->state().checked);
                told.clear();
                choice->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
                then([&, choice, chosen] {
                    EXPECT_TRUE(choice->state().checked);
                    EXPECT_TRUE(std::any_of(told.begin(), told.end(), [&](const Told& t) {
                        return t.type == QAccessible::StateChanged && t.name == chosen && t.changed.checked;
                    }));
                    reachedTheEnd = true;
                    tk::Application->terminate();
                });
            });
        });
    });
    ASSERT_EQ(velmora::runVelmora(platform, folder.file("velmora")), 0);
    EXPECT_TRUE(reachedTheEnd);
}

TEST(Accessibility, TheResultGridTheMenuAndAQuestionReadAsATableAMenuAndAMessage)
{
    EntryDemo demo;
    std::string db = demo.db;
    gui::QtPlatform platform;
    ReaderListening reader;
    QAccessibleInterface* main = nullptr;
    bool reachedTheEnd = false;
    auto press = [&](QAccessible::Role role, const char* name) {
        QAccessibleInterface* i = find(main, role, QString::fromUtf8(name));
        ASSERT_NE(i, nullptr) << name;
        i->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    };
    then([&] {
        velmora::typeLogin(velmora::entryDemoLogin, velmora::entryDemoPassword);
        then([&] {
            main = windowNamed(platform, "frmClientMain");
            ASSERT_NE(main, nullptr);
            press(QAccessible::PageTab, "Keresés");
            then([&] {
                press(QAccessible::Button, "Keresés");
                then([&] {
                    // Every document found, under the grid's column titles.
                    QAccessibleInterface* grid = find(main, QAccessible::Table, QString());
                    ASSERT_NE(grid, nullptr);
                    QAccessibleTableInterface* table = grid->tableInterface();
                    ASSERT_NE(table, nullptr);
                    EXPECT_EQ(table->rowCount(), 3);
                    ASSERT_GT(table->columnCount(), 1);
                    QAccessibleInterface* title = grid->child(0);
                    EXPECT_EQ(title->role(), QAccessible::ColumnHeader);
                    EXPECT_EQ(title->text(QAccessible::Name), table->columnDescription(0));
                    QStringList cells;
                    for (int r = 0; r < table->rowCount(); ++r)
                        for (int c = 0; c < table->columnCount(); ++c)
                            cells << table->cellAt(r, c)->text(QAccessible::Name);
                    for (const char* number : {"1001", "1002", "1003"})
                        EXPECT_TRUE(cells.contains(QString::fromUtf8(number))) << cells.join('|').toStdString();
                    EXPECT_TRUE(cells.contains(QStringLiteral("Szerződés módosítás")));
                    QAccessibleInterface* cell = table->cellAt(0, 0);
                    EXPECT_EQ(cell->tableCellInterface()->columnHeaderCells().value(0), title);
                    EXPECT_EQ(grid->indexOfChild(cell), table->columnCount());
                    EXPECT_EQ(table->selectedRows(), QList<int>{0});
                    // Choosing a row through the table makes it the current one.
                    told.clear();
                    EXPECT_TRUE(table->selectRow(2));
                    EXPECT_EQ(table->selectedRows(), QList<int>{2});
                    // In the grid exactly one object has the focus, the
                    // current row's cell in the selected column; a move is
                    // told as the focus on the new cell and the selection
                    // moving within the table.
                    tk::TWinControl* results = nullptr;
                    for (tk::TCustomForm* f : tk::Application->windows())
                        if (auto* g = dynamic_cast<tk::TWinControl*>(f->findComponent("dbgSearch"))) results = g;
                    ASSERT_NE(results, nullptr);
                    results->setFocus();
                    platform.sync();
                    told.clear();
                    tk::Application->keyDown(tk::vk::Up, 0);
                    tk::Application->keyDown(tk::vk::Right, 0);
                    platform.sync();
                    int focused = grid->state().focused ? 1 : 0;
                    for (int r = 0; r < table->rowCount(); ++r)
                        for (int c = 0; c < table->columnCount(); ++c)
                            focused += table->cellAt(r, c)->state().focused ? 1 : 0;
                    EXPECT_EQ(focused, 1);
                    EXPECT_TRUE(table->cellAt(1, 1)->state().focused);
                    EXPECT_TRUE(std::any_of(told.begin(), told.end(), [&](const Told& t) {
                        return t.type == QAccessible::Focus && t.role == QAccessible::Cell &&
                               t.name == table->cellAt(1, 1)->text(QAccessible::Name);
                    }));
                    EXPECT_TRUE(std::any_of(told.begin(), told.end(),
                                            [](const Told& t) { return t.type == QAccessible::SelectionWithin; }));

                    // The clerk's menu: its items, the highlighted one focused.
                    press(QAccessible::PageTab, "Felvitel");
                    then([&] {
                        // F10 opens it with its first item highlighted, as a
                        // menu opened by a key is.
                        tk::Application->keyDown(tk::vk::F10, 0);
                        platform.sync();
                        QAccessibleInterface* menu = gui::Accessibility::current()->popupInterface();
                        ASSERT_NE(menu, nullptr);
                        EXPECT_EQ(menu->role(), QAccessible::PopupMenu);
                        ASSERT_GE(menu->childCount(), 3);
                        EXPECT_EQ(menu->child(0)->role(), QAccessible::MenuItem);
                        EXPECT_EQ(menu->child(0)->text(QAccessible::Name), QStringLiteral("Dokumentum"));
                        EXPECT_TRUE(menu->child(0)->state().hasPopup);
                        EXPECT_TRUE(wasTold(QAccessible::Focus, QStringLiteral("Dokumentum")));
                        EXPECT_EQ(menu->focusChild(), menu->child(0));
                        EXPECT_FALSE(menu->child(0)->rect().isEmpty());
                        // Right opens "Dokumentum"; Right on an item of its
                        // own goes on to the next menu, Left back out.
                        told.clear();
                        tk::Application->keyDown(tk::vk::Right, 0);
                        platform.sync();
                        EXPECT_EQ(menu->text(QAccessible::Name), QStringLiteral("Dokumentum"));
                        EXPECT_TRUE(wasTold(QAccessible::Focus, QStringLiteral("Érvénytelenítés")));
                        tk::Application->keyDown(tk::vk::Right, 0);
                        platform.sync();
                        EXPECT_EQ(menu->text(QAccessible::Name), QStringLiteral("Keresés"));
                        EXPECT_TRUE(wasTold(QAccessible::Focus, QStringLiteral("Érvénytelenítettek nélkül")));
                        tk::Application->keyDown(tk::vk::Left, 0);
                        platform.sync();
                        EXPECT_EQ(menu->focusChild()->text(QAccessible::Name), QStringLiteral("Keresés"));
                        EXPECT_TRUE(menu->focusChild()->state().hasPopup);
                        tk::Application->keyDown(tk::vk::Escape, 0);
                        platform.sync();

                        // A dictionary text with no entry asks, and the
                        // question is announced as a message.
                        press(QAccessible::Button, "Új felvitel");
                        then([&] {
                            find(main, QAccessible::EditableText, QStringLiteral("Iktatószám"))
                                ->editableTextInterface()
                                ->insertText(0, QStringLiteral("78"));
                            find(main, QAccessible::EditableText, QStringLiteral("Tárgy"))
                                ->editableTextInterface()
                                ->insertText(0, QStringLiteral("Kérdés"));
                            find(main, QAccessible::EditableText, QStringLiteral("Ügytípus"))
                                ->editableTextInterface()
                                ->insertText(0, QStringLiteral("Ismeretlen"));
                            told.clear();
                            press(QAccessible::Button, "Rendben");
                            then([&] {
                                QAccessibleInterface* question = windowNamed(platform, "frmAddEntry");
                                ASSERT_NE(question, nullptr);
                                EXPECT_EQ(question->role(), QAccessible::AlertMessage);
                                EXPECT_TRUE(question->text(QAccessible::Description)
                                                .contains(QStringLiteral("Felveszi a szótárba?")));
                                EXPECT_TRUE(std::any_of(told.begin(), told.end(), [](const Told& t) {
                                    return t.type == QAccessible::Alert && t.role == QAccessible::AlertMessage;
                                }));
                                QAccessibleInterface* no = find(question, QAccessible::Button, QStringLiteral("Nem"));
                                ASSERT_NE(no, nullptr);
                                QAccessible::Id noId = QAccessible::uniqueId(no);
                                no->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
                                then([&, noId] {
                                    EXPECT_EQ(windowNamed(platform, "frmAddEntry"), nullptr);
                                    // The question's controls are gone, and so are their interfaces.
                                    EXPECT_EQ(QAccessible::accessibleInterface(noId), nullptr);
                                    reachedTheEnd = true;
                                    tk::Application->terminate();
                                });
                            });
                        });
                    });
                });
            });
        });
    });
    ASSERT_EQ(velmora::runVelmoraEntry(platform, db + "/velmora-entry"), 0);
    EXPECT_TRUE(reachedTheEnd);
    EXPECT_EQ(readRows(db + "/VelmoraDSC.udl", "Select count(*) from Document where Targy = 'Kérdés'"),
              std::vector<std::string>{"0"});
}
