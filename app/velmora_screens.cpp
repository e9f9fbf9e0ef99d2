// velmora-screens FOLDER: runs the designer on Qt's offscreen platform
// against a new demonstration database, logs in through the input API as
// the demonstration user, and saves a PNG picture of every window into
// FOLDER: the login dialog, then the main window, the palette and the
// property page, and last a designed form: controls placed on the entry
// page with the palette's tools, one of them dragged, and the property page
// showing an entry-page and a search-page field, three fields selected at
// once and aligned; then the clerk's program
// with a document being entered, a dictionary field completing what is
// typed, a search finding a voided document, the clerk's menu, both print
// dialogs, the history and the attachment list. Prints the files it wrote.
// Each of the clerk's windows is checked as it is pictured (ScreenCheck.h):
// each fault is said on standard error and the exit status is 1.
#include "app/DemoEntryForm.h"
#include "app/DesignerComposition.h"
#include "app/EntryComposition.h"
#include "app/ScreenCheck.h"
#include "controls/ZEDit.h"
#include "entry/EntryForm.h"
#include "gui/Painter.h"
#include "gui/QtPlatform.h"
#include "gui/WindowWidget.h"
#include "startup/DemoDatabase.h"
#include "startup/PasswordDlg.h"
#include "toolkit/data/DBGrid.h"
#include "toolkit/text/Locale.h"
#include "toolkit/windows/Application.h"
#include "toolkit/windows/Form.h"
#include "toolkit/windows/Popup.h"

#include <QApplication>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QTimer>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

std::string folder;
int failures = 0;
bool checking = false;  // the clerk's windows, not the designer's

void shoot(gui::QtPlatform& platform, const char* windowName, const char* file)
{
    platform.sync();
    for (tk::TCustomForm* f : tk::Application->windows())
        if (f->name() == windowName)
            if (gui::WindowWidget* w = platform.widgetOf(f)) {
                std::string path = folder + "/" + file;
                QPixmap picture = w->grab();
                // An open popup is a window of its own: drawn in its place.
                if (tk::TPopup* popup = tk::Application->popup()) {
                    QPainter p(&picture);
                    tk::TRect r = popup->screenRect();
                    p.translate(QPoint(r.left, r.top) - w->mapToGlobal(QPoint(0, 0)));
                    gui::paintPopup(p, *popup);
                }
                if (picture.save(QString::fromStdString(path))) {
                    std::printf("%s\n", path.c_str());
                    for (const std::string& problem :
                         checking ? velmora::screenProblems(*f) : std::vector<std::string>()) {
                        std::fprintf(stderr, "velmora-screens: %s: %s\n", file, problem.c_str());
                        ++failures;
                    }
                    return;
                }
            }
    std::fprintf(stderr, "velmora-screens: no picture of %s\n", windowName);
    ++failures;
}

tk::TControl* named(const char* window, const char* name)
{
    for (tk::TCustomForm* f : tk::Application->windows())
        if (f->name() == window) return tk::as<tk::TControl>(f->findComponent(name));
    return nullptr;
}

// A person's design session: the entry page, then each tool and a click.
void design()
{
    tk::TApplication& app = *tk::Application;
    auto* pages = named("frmClientMain", "pcData");
    auto* sheet = named("frmClientMain", "tsEdit");
    if (!pages || !sheet) return;
    app.click(pages, {20, 10});  // the "Felvitel" tab
    struct Step {
        const char* tool;
        int x, y;
    } steps[] = {{"SpeedButton2", 110, 16},
                 {"SpeedButton2", 110, 48},
                 {"SpeedButton3", 110, 80},
                 {"SpeedButton4", 60, 116},
                 {"SpeedButton5", 250, 16}};
    for (const Step& s : steps) {
        if (auto* button = named("frmComonentPalette", s.tool)) app.click(button, {10, 10});
        app.click(sheet, {s.x, s.y});
    }
    // Drag the second edit a little, as on the grid.
    if (auto* edit = named("frmClientMain", "TZEDit2")) {
        tk::TPoint at = edit->clientToScreen({5, 5});
        app.mouseMove(0, at);
        app.mouseDown(tk::TMouseButton::mbLeft, tk::ssLeft, at);
        app.mouseMove(tk::ssLeft, {at.x + 41, at.y + 2});
        app.mouseUp(tk::TMouseButton::mbLeft, 0, {at.x + 41, at.y + 2});
    }
}

// Three of the placed fields selected together (the last one clicked is
// the primary one, with filled handles), then aligned on their left edges
// from the context menu.
void selectSeveral(gui::QtPlatform& platform)
{
    tk::TApplication& app = *tk::Application;
    const char* fields[] = {"TZEDit1", "TZEDit2", "TZEDPicker1"};
    for (const char* name : fields)
        if (auto* c = named("frmClientMain", name))
            app.click(c, {3, 3}, tk::TMouseButton::mbLeft, name == fields[0] ? 0 : tk::ssShift);
    shoot(platform, "frmClientMain", "selection.png");
    if (auto* c = named("frmClientMain", "TZEDPicker1")) {
        app.click(c, {3, 3}, tk::TMouseButton::mbRight);
        app.pressKey(tk::vk::Down);
        app.pressKey(tk::vk::Down);
        app.pressKey(tk::vk::Return);  // "Bal szélek igazítása"
    }
    shoot(platform, "frmClientMain", "aligned.png");
}

// An edit placed on the search page, to show the page's search layout.
void searchField()
{
    tk::TApplication& app = *tk::Application;
    auto* pages = named("frmClientMain", "pcData");
    auto* sheet = named("frmClientMain", "tsSearch");
    if (!pages || !sheet) return;
    app.click(pages, {70, 10});  // the "Keresés" tab
    if (auto* button = named("frmComonentPalette", "SpeedButton2")) app.click(button, {10, 10});
    app.click(sheet, {110, 16});
}

// The clerk begins a new document and fills in some of it.
void enterDocument()
{
    tk::TApplication& app = *tk::Application;
    if (auto* button = named("frmClientMain_1", "btnNew")) app.click(button, {10, 10});
    app.typeText("2004");
    app.pressKey(tk::vk::Tab);
    app.typeText("Panasz a szállítás miatt");
    app.pressKey(tk::vk::Tab);
    app.pressKey(tk::vk::Space);
}

// A modal window the clerk opens: pictured from within, then closed.
// A letter as a scanner gives it: a page of Hungarian text at 300 dpi.
void scannedLetter(const std::string& path)
{
    QImage page(2480, 1000, QImage::Format_Grayscale8);
    page.fill(Qt::white);
    QPainter p(&page);
    QFont font("DejaVu Serif");
    font.setPixelSize(50);
    p.setFont(font);
    int y = 300;
    for (const char* line : {"Tárgy: Árvíztűrő tükörfúrógép beszerzése", "Iktatószám: 2026/4711, kelt 2026. december 10.",
                             "Tisztelt Hivatal! Kérem szíves intézkedésüket."}) {
        p.drawText(250, y, QString::fromUtf8(line));
        y += 90;
    }
    p.end();
    page.save(QString::fromStdString(path));
}

void inModal(gui::QtPlatform& platform, const char* window, const char* file, void (velmora::EntryForm::*open)())
{
    velmora::EntryForm* form = velmora::runningEntryForm();
    if (!form) return;
    QTimer::singleShot(0, [&platform, window, file] {
        shoot(platform, window, file);
        tk::Application->pressKey(tk::vk::Escape);
    });
    (form->*open)();
}

void printDialog(gui::QtPlatform& platform, const char* file, void (velmora::EntryForm::*print)())
{
    inModal(platform, "frmSaveFile", file, print);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: velmora-screens FOLDER\n");
        return 2;
    }
    folder = std::filesystem::absolute(argv[1]).string();
    std::filesystem::create_directories(folder);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    std::string db =
        (std::filesystem::temp_directory_path() / ("velmora-screens-" + std::to_string(getpid()))).string();
    std::filesystem::remove_all(db);
    velmora::createDemoDatabase(db);

    // The desk's locale, as the programs take it: the designer follows it,
    // the clerk's program keeps its own dates.
    std::setlocale(LC_ALL, "");
    tk::setCurrentLocale(tk::Locale::fromSystem());
    QApplication qt(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    gui::QtPlatform platform;
    // The gestures, one after the other on the event loop.
    QTimer::singleShot(100, [&] {
        shoot(platform, "frmPasswordDlg", "login.png");
        velmora::typeLogin(velmora::demoLogin, velmora::demoPassword);
        QTimer::singleShot(100, [&] {
            shoot(platform, "frmClientMain", "main.png");
            shoot(platform, "frmComonentPalette", "palette.png");
            shoot(platform, "frmPropertyPage", "properties.png");
            design();
            shoot(platform, "frmClientMain", "design.png");
            shoot(platform, "frmPropertyPage", "properties-entry.png");
            selectSeveral(platform);
            searchField();
            shoot(platform, "frmPropertyPage", "properties-search.png");
            tk::Application->terminate();
        });
    });
    int status = velmora::runVelmora(platform, db + "/velmora");

    velmora::addEntryDemo(db + "/VelmoraDSC.udl");
    checking = true;
    QTimer::singleShot(100, [&] {
        velmora::typeLogin(velmora::entryDemoLogin, velmora::entryDemoPassword);
        QTimer::singleShot(100, [&] {
            enterDocument();
            shoot(platform, "frmClientMain_1", "entry.png");
            // A dictionary field completing the typed text.
            tk::Application->pressKey(tk::vk::Tab);
            tk::Application->pressKey(tk::vk::Tab);
            tk::Application->typeText("Re");
            shoot(platform, "frmClientMain_1", "dictionary.png");
            // A document voided (F8 and its reason), then a search for every
            // document, the voided one marked, ordered by subject, and the list
            // printed.
            tk::Application->pressKey(tk::vk::Escape);
            if (auto* button = named("frmClientMain_1", "btnCancel")) tk::Application->click(button, {10, 10});
            if (velmora::EntryForm* form = velmora::runningEntryForm()) form->showDocument(2);
            // The reason is asked in a modal dialog, answered from within it.
            QTimer::singleShot(0, [] {
                tk::Application->typeText("Kétszer iktatva");
                tk::Application->pressKey(tk::vk::Return);
            });
            tk::Application->pressKey(tk::vk::F8);
            if (auto* pages = named("frmClientMain_1", "pcData")) tk::Application->click(pages, {70, 10});
            if (auto* button = named("frmClientMain_1", "btnSearch")) tk::Application->click(button, {10, 10});
            // The result ordered by its subject: a click on the column's title.
            if (auto* grid = tk::as<tk::TDBGrid>(named("frmClientMain_1", "dbgSearch")); grid && grid->dataSet()) {
                for (const tk::TDBGrid::Column& c : grid->columns())
                    if (c.shown && grid->dataSet()->fieldName(c.field) == "Targy") {
                        tk::Application->click(grid, {c.left + c.width / 2, grid->titleHeight() / 2});
                        break;
                    }
            }
            shoot(platform, "frmClientMain_1", "search.png");
            // The clerk's menu (F10) with its document actions open.
            tk::Application->pressKey(tk::vk::F10);
            tk::Application->pressKey(tk::vk::Return);
            shoot(platform, "frmClientMain_1", "menu.png");
            tk::Application->pressKey(tk::vk::Escape);
            printDialog(platform, "print-list-dialog.png", &velmora::EntryForm::printResult);
            // A scan with a long name attached to the first document; the
            // voided one's history.
            if (velmora::EntryForm* form = velmora::runningEntryForm()) {
                form->showDocument(1);
                std::string scan = db + "/Beérkezett levél a szállítási határidő módosításáról, aláírva.pdf";
                std::ofstream(scan) << "%PDF-1.4\n";
                form->attachFiles({scan});
            }
            printDialog(platform, "print-document-dialog.png", &velmora::EntryForm::printShownDocument);
            inModal(platform, "frmAttachments", "attachments.png", &velmora::EntryForm::showAttachments);
            if (velmora::EntryForm* form = velmora::runningEntryForm()) form->showDocument(2);
            inModal(platform, "frmHistory", "history.png", &velmora::EntryForm::showHistory);
            // A scanned letter attached to the third document, read, and
            // found by a word of it with "Mellékletekben is" on.
            if (velmora::EntryForm* form = velmora::runningEntryForm()) {
                std::string scan = db + "/beérkezett levél.png";
                scannedLetter(scan);
                form->showDocument(3);
                form->attachFiles({scan});
                form->finishReading();
                form->switchAttachmentsInSearch();
                if (auto* pages = named("frmClientMain_1", "pcData")) tk::Application->click(pages, {70, 10});
                if (auto* subject = tk::as<velmora::TZEDit>(named("frmClientMain_1", "TZEDit5")))
                    subject->setText("tukorfurogep");
                if (auto* button = named("frmClientMain_1", "btnSearch")) tk::Application->click(button, {10, 10});
                shoot(platform, "frmClientMain_1", "search-in-scan.png");
                form->switchAttachmentsInSearch();
            }
            if (velmora::EntryForm* form = velmora::runningEntryForm()) {
                std::string pdf = db + "/lista.pdf";
                platform.printToPdf(form->resultList(), pdf);
                std::string png = folder + "/print";
                std::string command = "pdftoppm -png -r 60 -singlefile '" + pdf + "' '" + png + "'";
                if (std::system(command.c_str()) == 0) std::printf("%s.png\n", png.c_str());
                else ++failures;
            }
            tk::Application->terminate();
        });
    });
    status |= velmora::runVelmoraEntry(platform, db + "/velmora-entry");
    std::filesystem::remove_all(db);
    return status != 0 || failures ? 1 : 0;
}
