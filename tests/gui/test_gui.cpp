// The Qt front end on the offscreen platform: every window renders, and
// gestures sent as Qt events change the model exactly as the same gestures
// sent to the input API do.
#include "../TempFolder.h"

#include "app/DemoEntryForm.h"
#include "app/DesignerComposition.h"
#include "app/EntryComposition.h"
#include "entry/EntryForm.h"
#include "gui/QtPlatform.h"
#include "gui/WindowWidget.h"
#include "startup/DemoDatabase.h"
#include "startup/PasswordDlg.h"
#include "toolkit/core/PropertyAccess.h"
#include "toolkit/widgets/Buttons.h"
#include "toolkit/widgets/CheckBox.h"
#include "toolkit/widgets/Edit.h"
#include "toolkit/windows/Application.h"
#include "toolkit/windows/Form.h"
#include "toolkit/windows/Menus.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOption>
#include <QTimer>
#include <QUrl>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <thread>

namespace {

// Distinct colours in a picture: an empty or one-colour picture has one.
size_t colours(const QImage& img)
{
    std::set<QRgb> seen;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) seen.insert(img.pixel(x, y));
    return seen.size();
}

}  // namespace

TEST(Gui, EveryWindowOfStartUpRendersAsItsLayoutSays)
{
    TempFolder folder;
    velmora::createDemoDatabase(folder.path());
    gui::QtPlatform platform;
    std::map<std::string, QImage> shots;
    std::map<std::string, QSize> sizes;
    auto shoot = [&](const char* name) {
        platform.sync();
        for (tk::TCustomForm* f : tk::Application->windows())
            if (f->name() == name)
                if (gui::WindowWidget* w = platform.widgetOf(f)) {
                    shots[name] = w->grab().toImage();
                    sizes[name] = QSize(f->clientWidth(), f->clientHeight());
                }
    };
    QTimer::singleShot(50, [&] {
        shoot("frmPasswordDlg");
        velmora::typeLogin(velmora::demoLogin, velmora::demoPassword);
        QTimer::singleShot(50, [&] {
            for (const char* n : {"frmClientMain", "frmComonentPalette", "frmPropertyPage"}) shoot(n);
            tk::Application->terminate();
        });
    });
    ASSERT_EQ(velmora::runVelmora(platform, folder.file("velmora")), 0);
    for (const char* n : {"frmPasswordDlg", "frmClientMain", "frmComonentPalette", "frmPropertyPage"}) {
        ASSERT_TRUE(shots.count(n)) << n << " was not shown";
        EXPECT_EQ(shots[n].size(), sizes[n]) << n;
    }
    // Windows with controls show more than a background.
    EXPECT_GT(colours(shots["frmPasswordDlg"]), 8u);
    EXPECT_GT(colours(shots["frmClientMain"]), 8u);
    EXPECT_EQ(sizes["frmPasswordDlg"], QSize(233, 149));
    EXPECT_EQ(sizes["frmComonentPalette"], QSize(230, 34));
}

TEST(Gui, QtEventsChangeTheModelAsTheInputApiDoes)
{
    gui::QtPlatform platform;
    tk::TApplication app(platform);
    // Two identical windows: one driven by Qt events, one by the input API.
    struct Twin {
        tk::TForm* form;
        tk::TEdit* edit;
        tk::TCheckBox* check;
    };
    auto make = [&](int left) {
        Twin t;
        t.form = tk::createForm<tk::TForm>(&app);
        t.form->setBounds(left, 100, 300, 200);
        t.edit = new tk::TEdit(t.form);
        t.edit->setParent(t.form);
        t.edit->setBounds(10, 10, 150, 21);
        t.check = new tk::TCheckBox(t.form);
        t.check->setParent(t.form);
        t.check->setBounds(10, 50, 120, 17);
        // Alt+arrows move the box, as the designer does with controls.
        t.edit->OnKeyDown = tk::Handler::key([e = t.edit](tk::TObject*, uint16_t& key, tk::TShiftState shift) {
            if ((shift & tk::ssAlt) && key == tk::vk::Right) e->setLeft(e->left() + 4);
            if ((shift & tk::ssAlt) && (shift & tk::ssCtrl) && key == tk::vk::Down) e->setHeight(e->height() + 4);
        });
        t.form->show();
        return t;
    };
    Twin q = make(100), m = make(500);

    // Through Qt: click into the edit, type with a Hungarian layout, Alt+Right, Tab, Space.
    q.form->activate();
    platform.sync();
    gui::WindowWidget* w = platform.widgetOf(q.form);
    ASSERT_NE(w, nullptr);
    auto mouse = [&](QEvent::Type type, QPoint local) {
        QPoint global = local;  // the model's screen place is what counts
        QMouseEvent e(type, local, global, Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(w, &e);
    };
    auto key = [&](int k, Qt::KeyboardModifiers mods, const QString& text) {
        QKeyEvent down(QEvent::KeyPress, k, mods, text);
        QCoreApplication::sendEvent(w, &down);
        QKeyEvent up(QEvent::KeyRelease, k, mods, text);
        QCoreApplication::sendEvent(w, &up);
    };
    mouse(QEvent::MouseButtonPress, QPoint(15, 15));
    mouse(QEvent::MouseButtonRelease, QPoint(15, 15));
    key(Qt::Key_A, Qt::NoModifier, "á");
    key(0x0150, Qt::ShiftModifier, QString::fromUtf8("Ő"));  // Ő on a Hungarian keyboard
    key(0x0171, Qt::NoModifier, QString::fromUtf8("ű"));
    key(Qt::Key_Left, Qt::ShiftModifier, "");
    key(Qt::Key_Right, Qt::AltModifier, "");
    key(Qt::Key_Down, Qt::AltModifier | Qt::ControlModifier, "");
    key(Qt::Key_Tab, Qt::NoModifier, "\t");
    key(Qt::Key_Space, Qt::NoModifier, " ");

    // Through the input API: the same gestures.
    m.form->activate();
    app.click(m.edit, {5, 5});
    app.keyDown(0xDE, 0);
    app.keyPress(U'á');
    app.keyUp(0xDE, 0);
    app.keyDown(0xDE, tk::ssShift);
    app.keyPress(U'Ő');
    app.keyUp(0xDE, tk::ssShift);
    app.keyDown(0xDE, 0);
    app.keyPress(U'ű');
    app.keyUp(0xDE, 0);
    app.pressKey(tk::vk::Left, tk::ssShift);
    app.pressKey(tk::vk::Right, tk::ssAlt);
    app.pressKey(tk::vk::Down, tk::ssAlt | tk::ssCtrl);
    app.pressKey(tk::vk::Tab);
    app.pressKey(tk::vk::Space);

    EXPECT_EQ(q.edit->text(), "áŐű");
    EXPECT_EQ(q.edit->text(), m.edit->text());
    EXPECT_EQ(q.edit->selStart(), m.edit->selStart());
    EXPECT_EQ(q.edit->selLength(), m.edit->selLength());
    EXPECT_EQ(q.edit->left(), 14);
    EXPECT_EQ(q.edit->left(), m.edit->left());
    EXPECT_EQ(q.edit->height(), m.edit->height());
    EXPECT_TRUE(q.check->checked());
    EXPECT_EQ(q.check->checked(), m.check->checked());
    EXPECT_EQ(q.form->focusedChild(), q.check);
    EXPECT_EQ(m.form->focusedChild(), m.check);
}

// A platform that goes while a repaint is queued leaves nothing behind that
// the next turn of the event loop could call.
TEST(Gui, ARepaintQueuedByAPlatformThatIsGoneIsDropped)
{
    auto platform = std::make_unique<gui::QtPlatform>();
    {
        tk::TApplication app(*platform);
        tk::TForm* form = tk::createForm<tk::TForm>(&app);
        form->show();
        form->setCaption("Velmora");
    }
    platform.reset();
    QCoreApplication::processEvents();
    gui::QtPlatform next;
    tk::TApplication app(next);
    QCoreApplication::processEvents();
    EXPECT_TRUE(tk::Application->windows().empty());
}

TEST(Gui, APersonPlacesDragsAndDeletesWithQtMouseEventsAndARealContextMenu)
{
    TempFolder folder;
    velmora::createDemoDatabase(folder.path());
    gui::QtPlatform platform;
    bool ran = false;
    auto send = [&](tk::TCustomForm* form, QEvent::Type type, QPoint local, Qt::MouseButton button) {
        platform.sync();
        gui::WindowWidget* w = platform.widgetOf(form);
        ASSERT_NE(w, nullptr);
        QMouseEvent e(type, local, local, button, type == QEvent::MouseButtonRelease ? Qt::NoButton : button,
                      Qt::NoModifier);
        QCoreApplication::sendEvent(w, &e);
    };
    auto windowNamed = [](const char* name) -> tk::TCustomForm* {
        for (tk::TCustomForm* f : tk::Application->windows())
            if (f->name() == name) return f;
        return nullptr;
    };
    QTimer::singleShot(50, [&] {
        velmora::typeLogin(velmora::demoLogin, velmora::demoPassword);
        QTimer::singleShot(50, [&] {
            ran = true;
            tk::TCustomForm* palette = windowNamed("frmComonentPalette");
            tk::TCustomForm* main = windowNamed("frmClientMain");
            ASSERT_TRUE(palette && main);
            // The edit tool, then a click on the shown page (the search page).
            auto* tool = dynamic_cast<tk::TControl*>(palette->findComponent("SpeedButton2"));
            QPoint toolAt(tool->left() + 10, tool->top() + 10);
            send(palette, QEvent::MouseButtonPress, toolAt, Qt::LeftButton);
            send(palette, QEvent::MouseButtonRelease, toolAt, Qt::LeftButton);
            auto* sheet = dynamic_cast<tk::TControl*>(main->findComponent("tsSearch"));
            tk::TPoint spot = main->screenToClient(sheet->clientToScreen({100, 40}));
            send(main, QEvent::MouseButtonPress, QPoint(spot.x, spot.y), Qt::LeftButton);
            send(main, QEvent::MouseButtonRelease, QPoint(spot.x, spot.y), Qt::LeftButton);
            auto* edit = dynamic_cast<tk::TControl*>(main->findComponent("TZEDit1"));
            ASSERT_TRUE(edit);
            EXPECT_EQ(edit->left(), 100);
            // A drag by (+9, +5) lands on the grid: (+8, +4).
            tk::TPoint grab = main->screenToClient(edit->clientToScreen({5, 5}));
            send(main, QEvent::MouseButtonPress, QPoint(grab.x, grab.y), Qt::LeftButton);
            send(main, QEvent::MouseMove, QPoint(grab.x + 9, grab.y + 5), Qt::LeftButton);
            send(main, QEvent::MouseButtonRelease, QPoint(grab.x + 9, grab.y + 5), Qt::LeftButton);
            EXPECT_EQ(edit->left(), 108);
            EXPECT_EQ(edit->top(), 44);
            // Its right handle, drawn in the highlight colour just outside
            // it, shows the sizing cursor and sizes it onto the grid.
            tk::TPoint right = main->screenToClient(edit->clientToScreen({edit->width() + 2, edit->height() / 2}));
            platform.sync();
            QImage drawn = platform.widgetOf(main)->grab().toImage();
            EXPECT_EQ(QColor(drawn.pixel(right.x, right.y)), QApplication::palette().color(QPalette::Highlight));
            send(main, QEvent::MouseMove, QPoint(right.x, right.y), Qt::NoButton);
            EXPECT_EQ(platform.widgetOf(main)->cursor().shape(), Qt::SizeHorCursor);
            int rightEdge = edit->left() + edit->width();
            send(main, QEvent::MouseButtonPress, QPoint(right.x, right.y), Qt::LeftButton);
            send(main, QEvent::MouseMove, QPoint(right.x + 13, right.y + 7), Qt::LeftButton);
            send(main, QEvent::MouseButtonRelease, QPoint(right.x + 13, right.y + 7), Qt::LeftButton);
            EXPECT_EQ(edit->left(), 108);
            EXPECT_EQ(edit->left() + edit->width(), (rightEdge + 13) / 4 * 4);
            EXPECT_EQ(edit->top(), 44);
            // The right button opens the context menu as a window of its own.
            int shownBefore = 0, shownAfter = 0;
            for (QWidget* t : QApplication::topLevelWidgets()) shownBefore += t->isVisible();
            auto* caption = dynamic_cast<tk::TControl*>(main->findComponent("TZEDText1"));
            ASSERT_TRUE(caption);
            tk::TPoint label = main->screenToClient(caption->clientToScreen({3, 3}));
            send(main, QEvent::MouseButtonPress, QPoint(label.x, label.y), Qt::RightButton);
            send(main, QEvent::MouseButtonRelease, QPoint(label.x, label.y), Qt::RightButton);
            platform.sync();
            for (QWidget* t : QApplication::topLevelWidgets()) shownAfter += t->isVisible();
            EXPECT_EQ(shownAfter, shownBefore + 1);
            ASSERT_NE(tk::Application->popup(), nullptr);
            tk::Application->pressKey(tk::vk::Down);
            tk::Application->pressKey(tk::vk::Return);
            EXPECT_EQ(main->findComponent("TZEDit1"), nullptr);
            EXPECT_EQ(main->findComponent("TZEDText1"), nullptr);
            tk::Application->terminate();
        });
    });
    ASSERT_EQ(velmora::runVelmora(platform, folder.file("velmora")), 0);
    EXPECT_TRUE(ran);
}

TEST(Gui, ABadFieldNameTypedWithQtKeysShowsTheHintAsAWindowOfItsOwn)
{
    TempFolder folder;
    velmora::createDemoDatabase(folder.path());
    gui::QtPlatform platform;
    bool ran = false;
    QTimer::singleShot(50, [&] {
        velmora::typeLogin(velmora::demoLogin, velmora::demoPassword);
        QTimer::singleShot(50, [&] {
            ran = true;
            tk::TCustomForm *main = nullptr, *page = nullptr, *palette = nullptr;
            for (tk::TCustomForm* f : tk::Application->windows()) {
                if (f->name() == "frmClientMain") main = f;
                if (f->name() == "frmPropertyPage") page = f;
                if (f->name() == "frmComonentPalette") palette = f;
            }
            ASSERT_TRUE(main && page && palette);
            // An edit placed on the entry page, as the mouse places it.
            tk::Application->click(dynamic_cast<tk::TControl*>(main->findComponent("pcData")), {20, 10});
            tk::Application->click(dynamic_cast<tk::TControl*>(palette->findComponent("SpeedButton2")));
            tk::Application->click(dynamic_cast<tk::TControl*>(main->findComponent("tsEdit")), {100, 40});
            auto* box = dynamic_cast<tk::TControl*>(page->findComponent("cbxFieldName"));
            auto* hint = dynamic_cast<tk::TCustomForm*>(page->findComponent("ErrorHint"));
            ASSERT_TRUE(box && hint);
            platform.sync();
            gui::WindowWidget* w = platform.widgetOf(page);
            ASSERT_NE(w, nullptr);
            // Click into the field-name box, type "1x" and leave with Tab.
            tk::TPoint at = page->screenToClient(box->clientToScreen({5, 5}));
            for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
                QMouseEvent e(type, QPoint(at.x, at.y), QPoint(at.x, at.y), Qt::LeftButton,
                              type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
                QCoreApplication::sendEvent(w, &e);
            }
            for (auto [k, text] :
                 std::vector<std::pair<int, QString>>{{Qt::Key_1, "1"}, {Qt::Key_X, "x"}, {Qt::Key_Tab, "\t"}}) {
                QKeyEvent down(QEvent::KeyPress, k, Qt::NoModifier, text);
                QCoreApplication::sendEvent(w, &down);
                QKeyEvent up(QEvent::KeyRelease, k, Qt::NoModifier, text);
                QCoreApplication::sendEvent(w, &up);
            }
            EXPECT_EQ(tk::getPropText(*main->findComponent("TZEDit1"), "KeyField"), "1x");
            ASSERT_TRUE(hint->visible());
            platform.sync();
            gui::WindowWidget* shown = platform.widgetOf(hint);
            ASSERT_NE(shown, nullptr);
            EXPECT_TRUE(shown->isVisible());
            EXPECT_EQ(tk::Application->focusedControl(), box);
            tk::Application->terminate();
        });
    });
    ASSERT_EQ(velmora::runVelmora(platform, folder.file("velmora")), 0);
    EXPECT_TRUE(ran);
}

// Files dragged from a file manager reach the window's drop hook by path;
// a window without one refuses the drag; an opened file goes to xdg-open
// (here a stand-in that records what it was given).
TEST(Gui, DroppedLocalFilesReachAWindowThatTakesThem)
{
    gui::QtPlatform platform;
    tk::TApplication app(platform);
    auto* takes = tk::createForm<tk::TForm>(&app);
    takes->setBounds(100, 100, 300, 200);
    std::vector<std::string> dropped;
    takes->onDropFiles = [&](const std::vector<std::string>& paths) { dropped = paths; };
    auto* refuses = tk::createForm<tk::TForm>(&app);
    refuses->setBounds(500, 100, 300, 200);
    takes->show();
    refuses->show();
    platform.sync();

    TempFolder folder;
    auto drag = [&](tk::TForm* form, const QList<QUrl>& urls) {
        QMimeData data;
        data.setUrls(urls);
        gui::WindowWidget* w = platform.widgetOf(form);
        QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(w, &enter);
        if (!enter.isAccepted()) return false;
        QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(w, &drop);
        return drop.isAccepted();
    };
    std::string one = folder.file("levél 1.pdf"), two = folder.file("kép.jpg");
    EXPECT_TRUE(drag(
        takes, {QUrl::fromLocalFile(QString::fromStdString(one)), QUrl::fromLocalFile(QString::fromStdString(two))}));
    EXPECT_EQ(dropped, (std::vector<std::string>{one, two}));
    dropped.clear();
    EXPECT_FALSE(drag(refuses, {QUrl::fromLocalFile(QString::fromStdString(one))}));
    EXPECT_FALSE(drag(takes, {QUrl("https://example.org/levél.pdf")}));
    EXPECT_TRUE(dropped.empty());
}

// The desktop's viewer is xdg-open on PATH; the stand-in keeps a copy of
// what it is handed.
TEST(Gui, AClerkAttachesAScanByDroppingItAndOpensItAfterARestart)
{
    TempFolder folder;
    std::string db = folder.file("db");
    velmora::createDemoDatabase(db);
    velmora::addEntryDemo(db + "/VelmoraDSC.udl");
    std::string scan = folder.file("beolvasott levél.pdf"), seen = folder.file("seen.pdf");
    {
        std::ofstream out(scan, std::ios::binary);
        out << "%PDF-1.4\n";
        for (int i = 0; i < 3000000; ++i) out.put(static_cast<char>(i * 13 % 251));
    }
    std::string bin = folder.file("bin");
    std::filesystem::create_directory(bin);
    std::ofstream(bin + "/xdg-open") << "#!/bin/sh\ncp \"$1\" '" << seen << "'\n";
    std::filesystem::permissions(bin + "/xdg-open", std::filesystem::perms::owner_all);

    gui::QtPlatform platform;
    auto mainWindow = [] {
        for (tk::TCustomForm* f : tk::Application->windows())
            if (f->name().rfind("frmClientMain", 0) == 0) return f;
        return static_cast<tk::TCustomForm*>(nullptr);
    };
    auto run = [&](std::function<void(velmora::EntryForm&)> work) {
        QTimer::singleShot(100, [&] {
            velmora::typeLogin(velmora::entryDemoLogin, velmora::entryDemoPassword);
            QTimer::singleShot(100, [&] {
                if (velmora::EntryForm* form = velmora::runningEntryForm()) {
                    form->showDocument(2);
                    work(*form);
                } else {
                    ADD_FAILURE() << "the clerk's program did not start";
                }
                tk::Application->terminate();
            });
        });
        return velmora::runVelmoraEntry(platform, db + "/velmora-entry");
    };
    EXPECT_EQ(run([&](velmora::EntryForm&) {
                  QMimeData data;
                  data.setUrls({QUrl::fromLocalFile(QString::fromStdString(scan))});
                  gui::WindowWidget* w = platform.widgetOf(mainWindow());
                  ASSERT_NE(w, nullptr);
                  QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
                  QCoreApplication::sendEvent(w, &enter);
                  QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
                  QCoreApplication::sendEvent(w, &drop);
                  EXPECT_TRUE(drop.isAccepted());
              }),
              0);
    std::string path = std::getenv("PATH") ? std::getenv("PATH") : "/usr/bin:/bin";
    setenv("PATH", (bin + ":" + path).c_str(), 1);
    EXPECT_EQ(run([&](velmora::EntryForm& form) {
                  std::vector<velmora::Attachment> files = form.shownAttachments();
                  ASSERT_EQ(files.size(), 1u);
                  EXPECT_EQ(files[0].name, "beolvasott levél.pdf");
                  form.openAttachment(files[0].id);
                  // The viewer copies the file before the program ends and
                  // takes its copy away.
                  for (int i = 0; i < 100 && !std::filesystem::exists(seen); ++i)
                      std::this_thread::sleep_for(std::chrono::milliseconds(50));
                  std::this_thread::sleep_for(std::chrono::milliseconds(200));
              }),
              0);
    setenv("PATH", path.c_str(), 1);
    auto bytes = [](const std::string& file) {
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    ASSERT_TRUE(std::filesystem::exists(seen));
    EXPECT_TRUE(bytes(seen) == bytes(scan));
}

namespace {

// The style the application draws with, keeping what it was asked to draw:
// focus frames, and check boxes with the colours they were drawn in.
class RecordingStyle : public QProxyStyle {
public:
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override
    {
        if (element == PE_FrameFocusRect && (option->state & State_KeyboardFocusChange)) ++focusFrames;
        if (element == PE_IndicatorCheckBox)
            checkBoxes.push_back(!(option->state & State_Enabled) &&
                                 option->palette.currentColorGroup() == QPalette::Disabled);
        QProxyStyle::drawPrimitive(element, option, painter, widget);
    }
    mutable int focusFrames = 0;
    mutable std::vector<bool> checkBoxes;  // each drawn: whether as disabled
};

}  // namespace

// Tab through the clerk's form: each button and check box that takes the
// focus is drawn with a focus frame, and a check box that takes no input
// is drawn in the disabled colours.
TEST(Gui, TheFocusIsFramedOnEachButtonAndCheckBoxAndADisabledBoxLooksDisabled)
{
    TempFolder folder;
    std::string db = folder.file("db");
    velmora::createDemoDatabase(db);
    velmora::addEntryDemo(db + "/VelmoraDSC.udl");
    // The application owns its style: the one before is made again after.
    QString before = QApplication::style()->name();
    auto* recording = new RecordingStyle;
    QApplication::setStyle(recording);
    gui::QtPlatform platform;
    int framed = 0, unframed = 0, disabledBoxes = 0, enabledBoxes = 0;
    std::set<std::string> visited;
    QTimer::singleShot(100, [&] {
        velmora::typeLogin(velmora::entryDemoLogin, velmora::entryDemoPassword);
        QTimer::singleShot(100, [&] {
            velmora::EntryForm* form = velmora::runningEntryForm();
            tk::TCustomForm* main = nullptr;
            for (tk::TCustomForm* f : tk::Application->windows())
                if (f->name().rfind("frmClientMain", 0) == 0) main = f;
            if (!form || !main) {
                ADD_FAILURE() << "the clerk's program did not start";
                tk::Application->terminate();
                return;
            }
            gui::WindowWidget* w = platform.widgetOf(main);
            auto paint = [&] {
                recording->focusFrames = 0;
                recording->checkBoxes.clear();
                platform.sync();
                w->grab();
            };
            // Shown, the check box takes no input.
            form->showDocument(2);
            paint();
            for (bool disabled : recording->checkBoxes) (disabled ? disabledBoxes : enabledBoxes)++;
            form->modifyDocument();
            for (int i = 0; i < 24; ++i) {
                QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
                QCoreApplication::sendEvent(w, &tab);
                QKeyEvent up(QEvent::KeyRelease, Qt::Key_Tab, Qt::NoModifier);
                QCoreApplication::sendEvent(w, &up);
                paint();
                tk::TControl* active = main->activeControl();
                if (!active || (!tk::as<tk::TButton>(active) && !tk::as<tk::TCheckBox>(active))) continue;
                visited.insert(active->name());
                (recording->focusFrames == 1 ? framed : unframed)++;
            }
            tk::Application->terminate();
        });
    });
    EXPECT_EQ(velmora::runVelmoraEntry(platform, db + "/velmora-entry"), 0);
    QApplication::setStyle(QStyleFactory::create(before));
    EXPECT_GT(disabledBoxes, 0);
    EXPECT_EQ(enabledBoxes, 0);
    EXPECT_GE(visited.size(), 3u);  // the check box and the buttons open while modifying
    EXPECT_GT(framed, 0);
    EXPECT_EQ(unframed, 0);
}

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication qt(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
