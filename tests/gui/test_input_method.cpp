// Text composed by an input method reaches the painted edit boxes: the
// composition shows at the caret, the committed text is typed into the
// box, and the input method is told where the caret is and what the box
// takes.
#include "../TempFolder.h"
#include "../TestDatabase.h"

#include "app/DemoEntryForm.h"
#include "app/EntryComposition.h"
#include "gui/QtPlatform.h"
#include "gui/WindowWidget.h"
#include "startup/DemoDatabase.h"
#include "startup/PasswordDlg.h"
#include "toolkit/widgets/Edit.h"
#include "toolkit/windows/Application.h"
#include "toolkit/windows/Form.h"

#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

tk::TCustomForm* windowNamed(const std::string& name)
{
    for (tk::TCustomForm* f : tk::Application->windows())
        if (f->name().rfind(name, 0) == 0) return f;
    return nullptr;
}

template <class T>
T* component(tk::TCustomForm* form, const std::string& name)
{
    return form ? dynamic_cast<T*>(form->findComponent(name)) : nullptr;
}

void compose(QWidget* w, const QString& preedit, const QString& commit = {})
{
    QInputMethodEvent e(preedit, {});
    if (!commit.isEmpty()) e.setCommitString(commit);
    QCoreApplication::sendEvent(w, &e);
}

}  // namespace

TEST(InputMethod, ComposedTextIsShownWhileComposedThenTypedAndSaved)
{
    TempFolder folder;
    std::string db = folder.file("db");
    velmora::createDemoDatabase(db);
    velmora::addEntryDemo(db + "/VelmoraDSC.udl");
    gui::QtPlatform platform;
    bool reachedTheEnd = false;
    QTimer::singleShot(100, [&] {
        velmora::typeLogin(velmora::entryDemoLogin, velmora::entryDemoPassword);
        QTimer::singleShot(100, [&] {
            tk::TCustomForm* main = windowNamed("frmClientMain");
            gui::WindowWidget* w = platform.widgetOf(main);
            auto* number = component<tk::TCustomEdit>(main, "TZEDit1");
            auto* subject = component<tk::TCustomEdit>(main, "TZEDit2");
            ASSERT_TRUE(w && number && subject);
            // Nothing to type into before a new document: no input method.
            EXPECT_FALSE(w->inputMethodQuery(Qt::ImEnabled).toBool());
            tk::Application->click(component<tk::TControl>(main, "btnNew"));
            tk::Application->click(number);
            platform.sync();
            EXPECT_TRUE(w->inputMethodQuery(Qt::ImEnabled).toBool());
            EXPECT_TRUE(w->inputMethodQuery(Qt::ImHints).toInt() & Qt::ImhDigitsOnly);
            tk::Application->typeText("79");
            tk::Application->click(subject);
            platform.sync();
            EXPECT_FALSE(w->inputMethodQuery(Qt::ImHints).toInt() & Qt::ImhDigitsOnly);
            tk::Application->typeText("Kis ");

            // A dead key: the accent waits at the caret, underlined, and
            // is no text of the box yet.
            QImage before = w->grab().toImage();
            compose(w, QStringLiteral("´"));
            EXPECT_EQ(w->preedit(), QStringLiteral("´"));
            EXPECT_EQ(subject->text(), "Kis ");
            EXPECT_NE(w->grab().toImage(), before);
            QRect caret = w->inputMethodQuery(Qt::ImCursorRectangle).toRect();
            EXPECT_GT(caret.height(), 0);
            EXPECT_TRUE(w->rect().contains(caret.topLeft()));
            EXPECT_EQ(w->inputMethodQuery(Qt::ImSurroundingText).toString(), QStringLiteral("Kis "));
            EXPECT_EQ(w->inputMethodQuery(Qt::ImCursorPosition).toInt(), 4);

            // The letter completes it: the composed letter is typed.
            compose(w, {}, QStringLiteral("á"));
            EXPECT_TRUE(w->preedit().isEmpty());
            EXPECT_EQ(subject->text(), "Kis á");
            // A whole word from an input method, and one that corrects the
            // letter before the caret (ő for the o typed).
            compose(w, {}, QStringLiteral("rpád "));
            tk::Application->typeText("o");
            QInputMethodEvent correction({}, {});
            correction.setCommitString(QStringLiteral("ő"), -1, 1);
            QCoreApplication::sendEvent(w, &correction);
            EXPECT_EQ(subject->text(), "Kis árpád ő");
            EXPECT_GT(w->inputMethodQuery(Qt::ImCursorRectangle).toRect().left(), caret.left());

            // A composition left when the focus moves goes with it.
            compose(w, QStringLiteral("˝"));
            tk::Application->click(number);
            platform.sync();
            EXPECT_TRUE(w->preedit().isEmpty());
            EXPECT_EQ(number->text(), "79");
            tk::Application->click(component<tk::TControl>(main, "btnSave"));
            reachedTheEnd = true;
            tk::Application->terminate();
        });
    });
    ASSERT_EQ(velmora::runVelmoraEntry(platform, db + "/velmora-entry"), 0);
    EXPECT_TRUE(reachedTheEnd);
    EXPECT_EQ(readRows(db + "/VelmoraDSC.udl", "Select Iktatoszam, Targy from Document where Iktatoszam = 79"),
              std::vector<std::string>{"79|Kis árpád ő"});
}
