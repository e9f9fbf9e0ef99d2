// The PDF list.
#include "gui/Printing.h"

#include "toolkit/core/Errors.h"

#include <QFile>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include <algorithm>
#include <cstdlib>
#include <memory>

namespace gui {

namespace {

QString qs(const std::string& s)
{
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// DejaVu Sans from its Debian package, or Qt's sans serif without it.
QString fontFamily()
{
    static QString family = [] {
        for (const char* path : {"/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"}) {
            int id = QFontDatabase::addApplicationFont(path);
            if (id >= 0) {
                QStringList families = QFontDatabase::applicationFontFamilies(id);
                if (!families.isEmpty()) return families.front();
            }
        }
        return QString("Sans Serif");
    }();
    return family;
}

}  // namespace

void ensureGuiApplication()
{
    if (QGuiApplication::instance()) return;
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "velmora";
    static char* argv[] = {name, nullptr};
    // Lives until the program ends.
    static auto* app = new QGuiApplication(argc, argv);
    (void)app;
}

namespace {

// Lays the printout out on the device's pages: the title, the lines and
// the captions on the first, the table's heading and column titles on
// every page it reaches, page numbers at the bottom.
void paint(const tk::Printout& out, QPagedPaintDevice& device, QPainter& painter)
{
    QFont titleFont(fontFamily(), 14, QFont::Bold);
    QFont textFont(fontFamily(), 9);
    QFont headFont(fontFamily(), 9, QFont::Bold);
    QRect page = painter.viewport();
    // Lengths below are in points, made the device's own units (a
    // printer's dots) by u(); the fonts' sizes are points already.
    double scale = device.logicalDpiY() / 72.0;
    auto u = [scale](int points) { return static_cast<int>(points * scale); };
    int width = page.width();
    int height = page.height();
    QFontMetrics text(textFont, &device), head(headFont, &device), title(titleFont, &device);
    int rowHeight = text.height() + u(4);
    int titleHeight = title.height();
    int footer = rowHeight + u(4);
    auto advance = [&](const QFontMetrics& m, const std::string& s) { return m.horizontalAdvance(qs(s)); };
    auto elided = [&](const QFontMetrics& m, const std::string& s, int w) {
        return m.elidedText(qs(s), Qt::ElideRight, w);
    };

    // Column widths: by the widest text, shrunk to the page when too wide.
    size_t n = out.columns.size();
    std::vector<int> widths(n, 0);
    for (size_t c = 0; c < n; ++c) {
        widths[c] = advance(head, out.columns[c]) + u(8);
        for (const auto& row : out.rows)
            if (c < row.size()) widths[c] = std::max(widths[c], advance(text, row[c]) + u(8));
    }
    int total = 0;
    for (int w : widths) total += w;
    if (total > width && total > 0)
        for (int& w : widths) w = w * width / total;
    int captionWidth = 0;
    for (const auto& c : out.captions) captionWidth = std::max(captionWidth, advance(head, c.caption) + u(12));
    captionWidth = std::min(captionWidth, width / 3);

    int pages = 1, y = 0, next = 0;
    auto footerText = [&](int p) {
        painter.setFont(textFont);
        painter.drawText(QRect(0, height - footer, width, footer), Qt::AlignRight | Qt::AlignBottom,
                         QString("%1. oldal / %2").arg(p).arg(pages));
    };
    // Two passes: the first counts the pages, the second draws them.
    for (int pass = 0; pass < 2; ++pass) {
        bool draw = pass == 1;
        int p = 1;
        y = 0;
        next = 0;
        auto newPage = [&] {
            if (draw) {
                footerText(p);
                device.newPage();
            }
            ++p;
            y = 0;
        };
        auto line = [&](const QFont& font, const QFontMetrics& m, const std::string& s, int x, int w, int h) {
            if (!draw) return;
            painter.setFont(font);
            painter.drawText(QRect(x, y, w, h), Qt::AlignLeft | Qt::AlignVCenter, elided(m, s, w));
        };
        int room = height - footer;
        if (draw) {
            painter.setFont(titleFont);
            painter.drawText(QRect(0, 0, width, titleHeight), Qt::AlignLeft | Qt::AlignVCenter, qs(out.title));
        }
        y += titleHeight + u(6);
        for (const std::string& l : out.lines) {
            if (y + rowHeight > room) newPage();
            line(textFont, text, l, 0, width, rowHeight);
            y += rowHeight;
        }
        if (!out.lines.empty()) y += u(8);
        for (const auto& c : out.captions) {
            if (y + rowHeight > room) newPage();
            line(headFont, head, c.caption, 0, captionWidth - u(8), rowHeight);
            line(textFont, text, c.value, captionWidth, width - captionWidth, rowHeight);
            y += rowHeight;
        }
        if (!out.captions.empty()) y += u(12);
        if (!out.tableHeading.empty()) {
            if (y + 3 * rowHeight > room) newPage();
            line(headFont, head, out.tableHeading, 0, width, rowHeight);
            y += rowHeight + u(2);
        }
        if (n == 0) {
            pages = p;
            if (draw) footerText(p);
            continue;
        }
        // The column titles on every page the table reaches.
        auto titles = [&] {
            int x = 0;
            for (size_t c = 0; c < n; ++c) {
                line(headFont, head, out.columns[c], x + u(2), widths[c] - u(4), rowHeight);
                x += widths[c];
            }
            y += rowHeight;
            if (draw) painter.drawLine(0, y - 1, x, y - 1);
        };
        if (y + 2 * rowHeight > room) newPage();
        titles();
        for (; next < static_cast<int>(out.rows.size()); ++next) {
            if (y + rowHeight > room) {
                newPage();
                titles();
            }
            int x = 0;
            const auto& row = out.rows[next];
            for (size_t c = 0; c < n; ++c) {
                line(textFont, text, c < row.size() ? row[c] : std::string(), x + u(2), widths[c] - u(4),
                     rowHeight);
                x += widths[c];
            }
            y += rowHeight;
        }
        pages = p;
        if (draw) footerText(p);
    }
}

}  // namespace

void writePdf(const tk::Printout& printout, const std::string& path)
{
    QFile probe(qs(path));
    if (!probe.open(QIODevice::WriteOnly))
        throw tk::EInvalidOperation("A fájl nem írható: " + path + " (" + probe.errorString().toStdString() + ")");
    probe.close();

    QPdfWriter writer(qs(path));
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setResolution(72);  // one unit a point
    writer.setPageMargins(QMarginsF(40, 40, 40, 40), QPageLayout::Point);
    writer.setTitle(qs(printout.title));
    writer.setCreator("Velmora Document Store");
    QPainter painter;
    if (!painter.begin(&writer)) throw tk::EInvalidOperation("A PDF fájl nem írható: " + path);
    paint(printout, writer, painter);
    painter.end();
}

std::vector<std::string> printerNames()
{
    std::vector<std::string> names;
    for (const QString& name : QPrinterInfo::availablePrinterNames()) names.push_back(name.toStdString());
    return names;
}

bool printOnPrinter(const tk::Printout& printout, const std::string& printer, bool askFirst)
{
    QPrinterInfo info = QPrinterInfo::printerInfo(qs(printer));
    if (info.isNull()) throw tk::EInvalidOperation("Nincs ilyen nyomtató: " + printer);
    QPrinter device(info, QPrinter::HighResolution);
    device.setPageSize(QPageSize(QPageSize::A4));
    device.setPageMargins(QMarginsF(40, 40, 40, 40), QPageLayout::Point);
    device.setDocName(qs(printout.title));
    device.setCreator("Velmora Document Store");
    if (askFirst) {
        QPrintDialog dialog(&device);
        dialog.setWindowTitle("Nyomtatás");
        if (dialog.exec() != QDialog::Accepted) return false;
    }
    QPainter painter;
    if (!painter.begin(&device))
        throw tk::EInvalidOperation("A nyomtató nem fogadta a nyomtatást: " + device.printerName().toStdString());
    paint(printout, device, painter);
    if (!painter.end())
        throw tk::EInvalidOperation("A nyomtatás nem sikerült: " + device.printerName().toStdString());
    return true;
}

}  // namespace gui
