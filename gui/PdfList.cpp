// The PDF list.
#include "gui/PdfList.h"

#include "toolkit/core/Errors.h"

#include <QFile>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

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

void writePdfList(const tk::PrintedList& list, const std::string& path)
{
    QFile probe(qs(path));
    if (!probe.open(QIODevice::WriteOnly))
        throw tk::EInvalidOperation("A fájl nem írható: " + path + " (" + probe.errorString().toStdString() + ")");
    probe.close();

    QPdfWriter writer(qs(path));
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setResolution(72);  // one unit a point
    writer.setPageMargins(QMarginsF(40, 40, 40, 40), QPageLayout::Point);
    writer.setTitle(qs(list.title));
    writer.setCreator("Velmora Document Store");
    QPainter painter;
    if (!painter.begin(&writer)) throw tk::EInvalidOperation("A PDF fájl nem írható: " + path);

    QFont titleFont(fontFamily(), 14, QFont::Bold);
    QFont textFont(fontFamily(), 9);
    QFont headFont(fontFamily(), 9, QFont::Bold);
    QRect page = painter.viewport();
    int width = page.width();
    int height = page.height();
    QFontMetrics text(textFont, &writer), head(headFont, &writer), title(titleFont, &writer);
    int rowHeight = text.height() + 4;
    int footer = text.height() + 8;

    // Column widths: by the widest text, shrunk to the page when too wide.
    size_t n = list.columns.size();
    std::vector<int> widths(n, 0);
    for (size_t c = 0; c < n; ++c) {
        widths[c] = head.horizontalAdvance(qs(list.columns[c])) + 8;
        for (const auto& row : list.rows)
            if (c < row.size()) widths[c] = std::max(widths[c], text.horizontalAdvance(qs(row[c])) + 8);
    }
    int total = 0;
    for (int w : widths) total += w;
    if (total > width && total > 0)
        for (int& w : widths) w = w * width / total;

    int headerHeight = title.height() + 6 + static_cast<int>(list.lines.size()) * rowHeight + 8;
    int firstRows = std::max(1, (height - headerHeight - footer - rowHeight) / rowHeight);
    int otherRows = std::max(1, (height - footer - rowHeight) / rowHeight);
    int rows = static_cast<int>(list.rows.size());
    int pages = rows <= firstRows ? 1 : 1 + (rows - firstRows + otherRows - 1) / otherRows;

    size_t next = 0;
    for (int p = 1; p <= pages; ++p) {
        if (p > 1) writer.newPage();
        int y = 0;
        if (p == 1) {
            painter.setFont(titleFont);
            painter.drawText(QRect(0, y, width, title.height()), Qt::AlignLeft | Qt::AlignVCenter, qs(list.title));
            y += title.height() + 6;
            painter.setFont(textFont);
            for (const std::string& line : list.lines) {
                painter.drawText(QRect(0, y, width, rowHeight), Qt::AlignLeft | Qt::AlignVCenter, qs(line));
                y += rowHeight;
            }
            y += 8;
        }
        // The column titles on every page.
        painter.setFont(headFont);
        int x = 0;
        for (size_t c = 0; c < n; ++c) {
            painter.drawText(QRect(x + 2, y, widths[c] - 4, rowHeight), Qt::AlignLeft | Qt::AlignVCenter,
                             head.elidedText(qs(list.columns[c]), Qt::ElideRight, widths[c] - 4));
            x += widths[c];
        }
        y += rowHeight;
        painter.drawLine(0, y - 1, x, y - 1);
        painter.setFont(textFont);
        int capacity = p == 1 ? firstRows : otherRows;
        for (int r = 0; r < capacity && next < list.rows.size(); ++r, ++next) {
            x = 0;
            for (size_t c = 0; c < n; ++c) {
                QString cell = c < list.rows[next].size() ? qs(list.rows[next][c]) : QString();
                painter.drawText(QRect(x + 2, y, widths[c] - 4, rowHeight), Qt::AlignLeft | Qt::AlignVCenter,
                                 text.elidedText(cell, Qt::ElideRight, widths[c] - 4));
                x += widths[c];
            }
            y += rowHeight;
        }
        painter.drawText(QRect(0, height - footer, width, footer), Qt::AlignRight | Qt::AlignBottom,
                         QString("%1. oldal / %2").arg(p).arg(pages));
    }
    painter.end();
}

}  // namespace gui
