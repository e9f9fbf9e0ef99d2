// The pages drawn with Qt on its offscreen platform.
#include "Scans.h"

#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QPdfWriter>
#include <QRandomGenerator>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <memory>

namespace scans {

namespace {

constexpr int dpi = 300;
constexpr int pageWidth = 2480, pageHeight = 3508;  // A4 at 300 dpi

// Qt draws text only with a GUI application; one for the whole run.
void needApplication()
{
    if (QGuiApplication::instance()) return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "velmora_tests";
    static char* argv[] = {name, nullptr};
    static std::unique_ptr<QGuiApplication> app = std::make_unique<QGuiApplication>(argc, argv);
}

void drawLines(QPainter& p, const std::vector<std::string>& lines)
{
    QFont font("DejaVu Serif");
    font.setPixelSize(50);  // 12 pt at 300 dpi
    p.setFont(font);
    p.setPen(Qt::black);
    int y = 300;
    for (const std::string& line : lines) {
        p.drawText(250, y, QString::fromStdString(line));
        y += 90;
    }
}

QImage pageImage(const std::vector<std::string>& lines, Look look, int height)
{
    needApplication();
    QImage image(pageWidth, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setDotsPerMeterX(static_cast<int>(dpi / 0.0254));
    image.setDotsPerMeterY(static_cast<int>(dpi / 0.0254));
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        if (look == Look::Turned) {
            p.translate(pageWidth / 2.0, height / 2.0);
            p.rotate(3);
            p.translate(-pageWidth / 2.0, -height / 2.0);
        }
        drawLines(p, lines);
    }
    if (look == Look::Speckled) {
        // Dust and grain: grey noise over the page and a speck in fifty.
        QRandomGenerator random(20261210);
        for (int y = 0; y < height; ++y) {
            auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < pageWidth; ++x) {
                int grey = qGray(row[x]) + static_cast<int>(random.bounded(60)) - 30;
                if (random.bounded(50) == 0) grey = 255 - grey;
                grey = std::clamp(grey, 0, 255);
                row[x] = qRgb(grey, grey, grey);
            }
        }
    }
    return image.convertToFormat(QImage::Format_Grayscale8);
}

}  // namespace

std::vector<std::string> pageLines(const std::string& keyword)
{
    return {"Tárgy: " + keyword + " ügyében",
            "Árvíztűrő tükörfúrógép beszerzése",
            "Iktatószám: 2026/4711, kelt 2026. december 10.",
            "Tisztelt Hivatal! Kérem szíves intézkedésüket",
            "a fenti ügyben, összesen 1250 forint értékben.",
            "Határidő: 2027. január 15. Üdvözlettel: Kovács Péter"};
}

void writePage(const std::string& path, const std::vector<std::string>& lines, Look look, int height)
{
    pageImage(lines, look, height).save(QString::fromStdString(path));
}

void writeTiff(const std::string& path, const std::vector<std::vector<std::string>>& pages, int height)
{
    // Qt writes one image a file: a TIFF of several pages is written here,
    // uncompressed grey, each page an image file directory of its own.
    std::string out = std::string("II*\0", 4);
    auto u16 = [&](uint16_t v) { out.append(reinterpret_cast<const char*>(&v), 2); };
    auto u32 = [&](uint32_t v) { out.append(reinterpret_cast<const char*>(&v), 4); };
    u32(8);
    for (size_t n = 0; n < pages.size(); ++n) {
        QImage image = pageImage(pages[n], Look::Clean, height);
        const uint16_t entries = 12;
        size_t ifd = out.size();
        size_t resolution = ifd + 2 + entries * 12 + 4;
        size_t pixels = resolution + 16;
        uint32_t bytes = static_cast<uint32_t>(pageWidth) * static_cast<uint32_t>(height);
        u16(entries);
        auto entry = [&](uint16_t tag, uint16_t type, uint32_t count, uint32_t value) {
            u16(tag);
            u16(type);
            u32(count);
            u32(value);
        };
        entry(256, 4, 1, pageWidth);
        entry(257, 4, 1, static_cast<uint32_t>(height));
        entry(258, 3, 1, 8);
        entry(259, 3, 1, 1);  // no compression
        entry(262, 3, 1, 1);  // black is zero
        entry(273, 4, 1, static_cast<uint32_t>(pixels));
        entry(277, 3, 1, 1);
        entry(278, 4, 1, static_cast<uint32_t>(height));
        entry(279, 4, 1, bytes);
        entry(282, 5, 1, static_cast<uint32_t>(resolution));
        entry(283, 5, 1, static_cast<uint32_t>(resolution + 8));
        entry(296, 3, 1, 2);  // inches
        size_t next = out.size();
        u32(0);
        u32(dpi);
        u32(1);
        u32(dpi);
        u32(1);
        for (int y = 0; y < height; ++y)
            out.append(reinterpret_cast<const char*>(image.constScanLine(y)), static_cast<size_t>(pageWidth));
        if (n + 1 < pages.size()) {
            uint32_t following = static_cast<uint32_t>(out.size());
            std::memcpy(out.data() + next, &following, 4);
        }
    }
    std::ofstream(path, std::ios::binary) << out;
}

void writeTextAndPicturePdf(const std::string& path, const std::vector<std::string>& textPage,
                            const std::vector<std::string>& picturePage, int height)
{
    needApplication();
    QPdfWriter pdf(QString::fromStdString(path));
    pdf.setResolution(dpi);
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter p(&pdf);
    drawLines(p, textPage);
    if (picturePage.empty()) return;
    pdf.newPage();
    QImage picture = pageImage(picturePage, Look::Clean, height);
    p.drawImage(QRect(0, 0, pageWidth, height), picture);
}

}  // namespace scans
