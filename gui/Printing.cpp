// The PDF list.
#include "gui/Printing.h"

#include "toolkit/core/Errors.h"
#include "toolkit/text/Locale.h"

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

// A cell as a page shows it: a date as the form shows one.
std::string cellShown(const tk::Printout& out, const std::vector<std::string>& row, size_t c)
{
    bool date = c < out.kinds.size() && out.kinds[c] == tk::Printout::Kind::Date;
    return date ? tk::shownDateTime(row[c]) : row[c];
}

QFont textFont()
{
    return QFont(fontFamily(), 9);
}

QFont headFont()
{
    return QFont(fontFamily(), 9, QFont::Bold);
}

// Each column's width for its widest text, in the device's units.
std::vector<int> naturalWidths(const tk::Printout& out, QPaintDevice& device)
{
    QFontMetrics text(textFont(), &device), head(headFont(), &device);
    int gap = static_cast<int>(8 * device.logicalDpiX() / 72.0);
    std::vector<int> widths(out.columns.size(), 0);
    for (size_t c = 0; c < widths.size(); ++c) {
        widths[c] = head.horizontalAdvance(qs(out.columns[c])) + gap;
        for (const auto& row : out.rows)
            if (c < row.size())
                widths[c] = std::max(widths[c], text.horizontalAdvance(qs(cellShown(out, row, c))) + gap);
    }
    return widths;
}

// The columns fitted into `width`: a column narrower than its fair share
// keeps its width, the wider ones share what is left (their texts wrap).
std::vector<int> fitted(std::vector<int> widths, int width)
{
    int total = 0;
    for (int w : widths) total += w;
    if (total <= width || widths.empty()) return widths;
    std::vector<bool> wide(widths.size(), true);
    int left = width;
    size_t wideCount = widths.size();
    for (bool settled = false; !settled && wideCount > 0;) {
        settled = true;
        int share = left / static_cast<int>(wideCount);
        for (size_t c = 0; c < widths.size(); ++c)
            if (wide[c] && widths[c] <= share) {
                wide[c] = false;
                left -= widths[c];
                --wideCount;
                settled = false;
            }
    }
    for (size_t c = 0; c < widths.size(); ++c)
        if (wide[c]) widths[c] = left / static_cast<int>(wideCount);
    return widths;
}

// A table that does not fit a portrait page turns the page. A column
// counts at most 150 points here: a longer text wraps, so a long subject
// alone does not turn it.
void orientFor(const tk::Printout& out, QPagedPaintDevice& device)
{
    int most = static_cast<int>(150 * device.logicalDpiX() / 72.0);
    int total = 0;
    for (int w : naturalWidths(out, device)) total += std::min(w, most);
    int portrait = device.pageLayout().paintRectPixels(device.logicalDpiX()).width();
    if (total > portrait) device.setPageOrientation(QPageLayout::Landscape);
}

// Lays the printout out on the device's pages: the title, the lines and
// the captions on the first, the table's heading and column titles on
// every page it reaches, page numbers at the bottom. Texts too long for
// their place wrap onto more lines.
void paint(const tk::Printout& out, QPagedPaintDevice& device, QPainter& painter)
{
    QFont titleFont(fontFamily(), 14, QFont::Bold);
    QFont plainFont = textFont(), boldFont = headFont();
    QRect page = painter.viewport();
    // Lengths below are in points, made the device's own units (a
    // printer's dots) by u(); the fonts' sizes are points already.
    double scale = device.logicalDpiY() / 72.0;
    auto u = [scale](int points) { return static_cast<int>(points * scale); };
    int width = page.width();
    int height = page.height();
    QFontMetrics text(plainFont, &device), head(boldFont, &device), title(titleFont, &device);
    int rowHeight = text.height() + u(4);
    int titleHeight = title.height();
    int footer = rowHeight + u(4);
    const int wrap = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap | Qt::TextWrapAnywhere;
    // The height a text takes in `w`, wrapped, with the row's spacing.
    auto heightOf = [&](const QFontMetrics& m, const std::string& s, int w) {
        if (s.empty() || w <= 0) return rowHeight;
        return std::max(rowHeight, m.boundingRect(QRect(0, 0, w, 1 << 24), wrap, qs(s)).height() + u(4));
    };

    std::vector<int> widths = fitted(naturalWidths(out, device), width);
    size_t n = widths.size();
    int captionWidth = 0;
    for (const auto& c : out.captions)
        captionWidth = std::max(captionWidth, head.horizontalAdvance(qs(c.caption)) + u(12));
    captionWidth = std::min(captionWidth, width / 3);

    int pages = 1, y = 0;
    auto footerText = [&](int p) {
        painter.setFont(plainFont);
        painter.drawText(QRect(0, height - footer, width, footer), Qt::AlignRight | Qt::AlignBottom,
                         QString("%1. oldal / %2").arg(p).arg(pages));
    };
    // Two passes: the first counts the pages, the second draws them.
    for (int pass = 0; pass < 2; ++pass) {
        bool draw = pass == 1;
        int p = 1;
        y = 0;
        auto newPage = [&] {
            if (draw) {
                footerText(p);
                device.newPage();
            }
            ++p;
            y = 0;
        };
        auto line = [&](const QFont& font, const std::string& s, int x, int w, int h) {
            if (!draw) return;
            painter.setFont(font);
            painter.drawText(QRect(x, y, w, h), wrap, qs(s));
        };
        int room = height - footer;
        // Starts a new page unless `h` fits on this one (a page never
        // starts empty for want of room).
        auto makeRoom = [&](int h) {
            if (y + h > room && y > 0) newPage();
        };
        if (draw) {
            painter.setFont(titleFont);
            painter.drawText(QRect(0, 0, width, titleHeight), wrap, qs(out.title));
        }
        y += titleHeight + u(6);
        for (const std::string& l : out.lines) {
            int h = heightOf(text, l, width);
            makeRoom(h);
            line(plainFont, l, 0, width, h);
            y += h;
        }
        if (!out.lines.empty()) y += u(8);
        for (const auto& c : out.captions) {
            int h =
                std::max(heightOf(head, c.caption, captionWidth - u(8)), heightOf(text, c.value, width - captionWidth));
            makeRoom(h);
            line(boldFont, c.caption, 0, captionWidth - u(8), h);
            line(plainFont, c.value, captionWidth, width - captionWidth, h);
            y += h;
        }
        if (!out.captions.empty()) y += u(12);
        if (!out.tableHeading.empty()) {
            makeRoom(3 * rowHeight);
            line(boldFont, out.tableHeading, 0, width, rowHeight);
            y += rowHeight + u(2);
        }
        if (n == 0) {
            pages = p;
            if (draw) footerText(p);
            continue;
        }
        // The column titles on every page the table reaches.
        int titlesHeight = rowHeight;
        for (size_t c = 0; c < n; ++c)
            titlesHeight = std::max(titlesHeight, heightOf(head, out.columns[c], widths[c] - u(4)));
        auto titles = [&] {
            int x = 0;
            for (size_t c = 0; c < n; ++c) {
                line(boldFont, out.columns[c], x + u(2), widths[c] - u(4), titlesHeight);
                x += widths[c];
            }
            y += titlesHeight;
            if (draw) painter.drawLine(0, y - 1, x, y - 1);
        };
        makeRoom(titlesHeight + rowHeight);
        titles();
        for (const auto& row : out.rows) {
            int h = rowHeight;
            for (size_t c = 0; c < n && c < row.size(); ++c)
                h = std::max(h, heightOf(text, cellShown(out, row, c), widths[c] - u(4)));
            if (y + h > room) {
                newPage();
                titles();
            }
            int x = 0;
            for (size_t c = 0; c < n; ++c) {
                line(plainFont, c < row.size() ? cellShown(out, row, c) : std::string(), x + u(2), widths[c] - u(4), h);
                x += widths[c];
            }
            y += h;
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
    orientFor(printout, writer);
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
    orientFor(printout, device);
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
    if (!painter.end()) throw tk::EInvalidOperation("A nyomtatás nem sikerült: " + device.printerName().toStdString());
    return true;
}

}  // namespace gui
