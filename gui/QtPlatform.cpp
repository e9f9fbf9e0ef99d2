// The Qt platform.
#include "gui/QtPlatform.h"

#include "gui/Accessibility.h"
#include "gui/Printing.h"
#include "gui/WindowWidget.h"
#include "toolkit/text/Locale.h"
#include "toolkit/text/Text.h"
#include "toolkit/widgets/Font.h"
#include "toolkit/windows/Application.h"
#include "toolkit/windows/Form.h"

#include <QApplication>
#include <QClipboard>
#include <QDate>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFontMetrics>
#include <QMessageBox>
#include <QProcess>
#include <QScreen>
#include <QUrl>
#include <QWindow>

#include <cstdlib>

namespace gui {

namespace {
struct FontEntry {
    QFont font;
    QFontMetrics metrics;
};

const FontEntry& fontEntry(const tk::TFont& font)
{
    static std::map<std::pair<int, unsigned>, std::unique_ptr<FontEntry>> cache;
    auto key = std::make_pair(font.height(), font.style());
    auto& entry = cache[key];
    if (!entry) {
        // The stored faces (MS Sans Serif, Tahoma...) map to an installed
        // sans-serif face at the stored pixel height.
        QFont f(QStringLiteral("DejaVu Sans Condensed"));
        f.setStyleHint(QFont::SansSerif);
        int h = font.height();
        f.setPixelSize(std::max(1, h < 0 ? -h : h * 4 / 5));
        f.setBold(font.style() & tk::fsBold);
        f.setItalic(font.style() & tk::fsItalic);
        f.setUnderline(font.style() & tk::fsUnderline);
        f.setStrikeOut(font.style() & tk::fsStrikeOut);
        entry = std::make_unique<FontEntry>(FontEntry{f, QFontMetrics(f)});
    }
    return *entry;
}
}  // namespace

const QFont& qtFont(const tk::TFont& font)
{
    return fontEntry(font).font;
}

const QFontMetrics& qtMetrics(const tk::TFont& font)
{
    return fontEntry(font).metrics;
}

QtPlatform::QtPlatform()
    : popup_(std::make_unique<PopupWidget>(*this)), accessibility_(std::make_unique<Accessibility>(*this, *popup_))
{
    clock_.start();
    QObject::connect(qApp, &QGuiApplication::focusWindowChanged, &syncContext_,
                     [this](QWindow*) { accessibility_->activeWindowChanged(); });
}

QtPlatform::~QtPlatform() = default;

void QtPlatform::runUntil(const std::function<bool()>& done)
{
    sync();
    while (!done()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents | QEventLoop::AllEvents);
}

double QtPlatform::today()
{
    QDate d = QDate::currentDate();
    return tk::encodeDate(d.year(), d.month(), d.day());
}

int QtPlatform::startTimer(int intervalMs, std::function<void()> tick)
{
    int id = nextTimer_++;
    auto timer = std::make_unique<QTimer>();
    timer->setInterval(intervalMs);
    QObject::connect(timer.get(), &QTimer::timeout, [this, tick] {
        tick();
        sync();
    });
    timer->start();
    timers_[id] = std::move(timer);
    return id;
}

void QtPlatform::stopTimer(int id)
{
    // The timer may be stopped from its own tick: delete it later.
    auto it = timers_.find(id);
    if (it == timers_.end()) return;
    it->second->stop();
    it->second.release()->deleteLater();
    timers_.erase(it);
}

int QtPlatform::textWidth(const tk::TFont& font, std::string_view text)
{
    return qtMetrics(font).horizontalAdvance(QString::fromUtf8(text.data(), static_cast<int>(text.size())));
}

int QtPlatform::textHeight(const tk::TFont& font)
{
    return qtMetrics(font).height();
}

std::string QtPlatform::clipboardText()
{
    return QGuiApplication::clipboard()->text().toStdString();
}

void QtPlatform::setClipboardText(const std::string& text)
{
    QGuiApplication::clipboard()->setText(QString::fromStdString(text));
}

tk::TRect QtPlatform::screenRect()
{
    QScreen* s = QGuiApplication::primaryScreen();
    QRect r = s ? s->geometry() : QRect(0, 0, 1280, 1024);
    return {r.left(), r.top(), r.right() + 1, r.bottom() + 1};
}

void QtPlatform::invalidate(tk::TWinControl*)
{
    if (syncQueued_) return;
    syncQueued_ = true;
    QTimer::singleShot(0, &syncContext_, [this] { sync(); });
}

void QtPlatform::showError(const std::string& text)
{
    // The model has recorded the error; the box does not stop the loop.
    auto* box =
        new QMessageBox(QMessageBox::Critical, QStringLiteral("Velmora Document Store"), QString::fromStdString(text));
    box->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(box, &QDialog::finished, &syncContext_, [this] { returnToModelWindow(); });
    box->show();
}

void QtPlatform::returnToModelWindow()
{
    // Where no window manager gives the keyboard back when a window of
    // Qt's own closes, the model's active window takes it again.
    if (QGuiApplication::platformName() == QLatin1String("offscreen") || !tk::Application) return;
    if (tk::TCustomForm* active = tk::Application->activeForm())
        if (WindowWidget* w = widgetOf(active)) w->activateWindow();
}

namespace {

// The file dialog's filter for these endings: "PDF (*.pdf);;Excel (*.xlsx)".
QString fileDialogFilter(const std::vector<std::string>& types)
{
    QStringList filters;
    for (const std::string& ending : types) {
        QString e = QString::fromStdString(ending);
        QString name = e == QLatin1String(".xlsx") ? QStringLiteral("Excel") : e.mid(1).toUpper();
        filters << QStringLiteral("%1 (*%2)").arg(name, e);
    }
    return filters.join(QStringLiteral(";;"));
}

}  // namespace

std::optional<std::string> QtPlatform::chooseSaveFile(const std::string& title, const std::string& suggestedName,
                                                      const std::vector<std::string>& types)
{
    QString file = suggestedName.empty()
                       ? QFileDialog::getSaveFileName(nullptr, QString::fromStdString(title), QString(),
                                                      fileDialogFilter(types))
                       : QFileDialog::getSaveFileName(nullptr, QString::fromStdString(title),
                                                      QString::fromStdString(suggestedName));
    returnToModelWindow();
    return file.toStdString();
}

std::vector<std::string> QtPlatform::chooseOpenFiles(const std::string& title)
{
    std::vector<std::string> files;
    for (const QString& file : QFileDialog::getOpenFileNames(nullptr, QString::fromStdString(title)))
        files.push_back(file.toStdString());
    returnToModelWindow();
    return files;
}

bool QtPlatform::openWithDesktop(const std::string& path)
{
    // xdg-open underneath, on the desktops Qt knows; a platform plugin
    // without desktop services (offscreen, minimal) gets xdg-open itself.
    QString file = QString::fromStdString(path);
    if (QDesktopServices::openUrl(QUrl::fromLocalFile(file))) return true;
    return QProcess::startDetached(QStringLiteral("xdg-open"), {file});
}

void QtPlatform::printToPdf(const tk::Printout& printout, const std::string& path)
{
    writePdf(printout, path);
}

std::vector<std::string> QtPlatform::printers()
{
    return printerNames();
}

bool QtPlatform::printOn(const tk::Printout& printout, const std::string& printer)
{
    bool printed = printOnPrinter(printout, printer, true);
    returnToModelWindow();
    return printed;
}

WindowWidget* QtPlatform::widgetOf(tk::TCustomForm* form) const
{
    auto it = widgets_.find(form);
    return it == widgets_.end() ? nullptr : it->second.get();
}

void QtPlatform::sync()
{
    syncQueued_ = false;
    if (!tk::Application) return;
    const auto& windows = tk::Application->windows();
    // Widgets of windows that are gone or hidden go too.
    for (auto it = widgets_.begin(); it != widgets_.end();) {
        bool alive = std::find(windows.begin(), windows.end(), it->first) != windows.end();
        if (!alive || !it->first->visible()) it = widgets_.erase(it);
        else ++it;
    }
    for (tk::TCustomForm* f : windows) {
        if (!f->visible()) continue;
        auto& w = widgets_[f];
        if (!w) w = std::make_unique<WindowWidget>(*this, *f);
        w->syncFromModel();
        if (!w->isVisible()) w->show();
        w->updateInputMethod();
    }
    // Stacking as the model has it, back to front (where the platform
    // can), when that changed: a window shown, closed or brought forward.
    bool onScreen = QGuiApplication::platformName() != QLatin1String("offscreen");
    std::vector<const void*> shown;
    for (tk::TCustomForm* f : windows)
        if (widgetOf(f)) shown.push_back(f);
    if (stacking_.restack(shown) && onScreen) {
        for (tk::TCustomForm* f : windows)
            if (WindowWidget* w = widgetOf(f)) w->raise();
        // Qt's own boxes and dialogs (an error, a file dialog) stay above
        // the model's windows, which no window manager may keep in order.
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->isVisible() && !dynamic_cast<WindowWidget*>(top) && top != popup_.get()) top->raise();
    }
    tk::TCustomForm* active = tk::Application->activeForm();
    if (stacking_.activate(active) && active && onScreen)
        if (WindowWidget* w = widgetOf(active); w && !w->isActiveWindow()) w->activateWindow();
    popup_->syncFromModel();
    if (popup_->isVisible() && QGuiApplication::platformName() != QLatin1String("offscreen")) popup_->raise();
    accessibility_->announceChanges();
}

}  // namespace gui
