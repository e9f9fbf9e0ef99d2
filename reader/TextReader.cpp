// The reader: Poppler for PDFs, Leptonica to load and clean pictures,
// Tesseract to read them.
#include "reader/TextReader.h"

#include "registry/AttachmentText.h"

#include <leptonica/allheaders.h>
#include <poppler/cpp/poppler-document.h>
#include <poppler/cpp/poppler-global.h>
#include <poppler/cpp/poppler-image.h>
#include <poppler/cpp/poppler-page-renderer.h>
#include <poppler/cpp/poppler-page.h>
#include <poppler/cpp/poppler-version.h>
#include <tesseract/baseapi.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>

namespace velmora {

namespace {

constexpr int renderDpi = 300;
// A page larger than A2 at 300 dpi is read at a lower resolution: its
// picture would otherwise take gigabytes.
constexpr double maxPixels = 36e6;
// A PDF page with fewer letters of its own than these is read as a picture
// (a scan with a stray page number, say).
constexpr int fewestLetters = 16;

struct PixDeleter {
    void operator()(Pix* p) const { pixDestroy(&p); }
};
using PixPtr = std::unique_ptr<Pix, PixDeleter>;

void quietPoppler(const std::string&, void*) {}

// Grey, straightened, then black and white on a levelled background, as
// Tesseract reads best; where a step cannot be taken, its input goes on.
PixPtr cleaned(Pix* picture)
{
    PixPtr grey(pixConvertTo8(picture, 0));
    if (!grey) return nullptr;
    if (PixPtr straight{pixDeskew(grey.get(), 0)}) grey = std::move(straight);
    PixPtr blackAndWhite(
        pixOtsuThreshOnBackgroundNorm(grey.get(), nullptr, 10, 15, 100, 50, 255, 2, 2, 0.1f, nullptr));
    return blackAndWhite ? std::move(blackAndWhite) : std::move(grey);
}

bool isLetter(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c >= 0xC0;
}

int letterCount(const std::string& text)
{
    return static_cast<int>(std::count_if(text.begin(), text.end(), [](char c) {
        return isLetter(static_cast<unsigned char>(c));
    }));
}

class Reader {
public:
    explicit Reader(const ReadLimits& limits) : limits_(limits) {}

    ReadText pdf(const std::string& path)
    {
        poppler::set_debug_error_function(quietPoppler, nullptr);
        std::unique_ptr<poppler::document> doc(poppler::document::load_from_file(path));
        if (!doc) return failed("A PDF nem nyitható meg: sérült vagy nem PDF.");
        if (doc->is_locked()) return failed("A PDF jelszóval védett.");
        int pages = doc->pages();
        for (int i = 0; i < pages; ++i) {
            if (tooManyPages(pages)) break;
            std::unique_ptr<poppler::page> page(doc->create_page(i));
            if (!page) return failed("A PDF " + std::to_string(i + 1) + ". oldala nem olvasható.");
            poppler::byte_array bytes = page->text().to_utf8();
            std::string own(bytes.begin(), bytes.end());
            if (letterCount(own) >= fewestLetters) {
                result_.pages.push_back(own);
                continue;
            }
            // A page that is only a picture is read from its rendering.
            poppler::rectf box = page->page_rect();
            double dpi = renderDpi;
            double pixels = box.width() / 72.0 * dpi * box.height() / 72.0 * dpi;
            if (pixels > maxPixels) dpi *= std::sqrt(maxPixels / pixels);
            poppler::page_renderer renderer;
            renderer.set_render_hint(poppler::page_renderer::antialiasing, true);
            renderer.set_render_hint(poppler::page_renderer::text_antialiasing, true);
            poppler::image image = renderer.render_page(page.get(), dpi, dpi);
            PixPtr picture = toPix(image);
            if (!picture) return failed("A PDF " + std::to_string(i + 1) + ". oldala nem rajzolható ki.");
            pixSetResolution(picture.get(), static_cast<int>(dpi), static_cast<int>(dpi));
            if (!recognise(picture.get())) return result_;
        }
        return done();
    }

    ReadText picture(const std::string& path, bool tiff)
    {
        int pages = 1;
        if (tiff) {
            std::FILE* f = std::fopen(path.c_str(), "rb");
            if (!f) return failed("A kép nem nyitható meg.");
            if (tiffGetCount(f, &pages) != 0) pages = 0;
            std::fclose(f);
            if (pages < 1) return failed("A TIFF kép sérült.");
        }
        for (int i = 0; i < pages; ++i) {
            if (tooManyPages(pages)) break;
            PixPtr picture(tiff ? pixReadTiff(path.c_str(), i) : pixRead(path.c_str()));
            if (!picture) return failed("A kép sérült vagy nem olvasható.");
            // A picture that says no resolution is taken as a 300 dpi scan.
            if (pixGetXRes(picture.get()) < 50) pixSetResolution(picture.get(), renderDpi, renderDpi);
            if (!recognise(picture.get())) return result_;
        }
        return done();
    }

private:
    bool tooManyPages(int pages)
    {
        if (static_cast<int>(result_.pages.size()) < limits_.maxPages) return false;
        result_.reason = "Csak az első " + std::to_string(limits_.maxPages) + " oldal olvasva a " +
                         std::to_string(pages) + " közül.";
        return true;
    }

    ReadText failed(std::string reason)
    {
        result_.state = ReadText::State::Failed;
        result_.reason = std::move(reason);
        return result_;
    }

    ReadText done()
    {
        result_.state = ReadText::State::Done;
        return result_;
    }

    PixPtr toPix(const poppler::image& image)
    {
        if (!image.is_valid() || image.format() != poppler::image::format_argb32) return nullptr;
        int w = image.width(), h = image.height();
        PixPtr pix(pixCreate(w, h, 32));
        if (!pix) return nullptr;
        const char* data = image.const_data();
        l_uint32* out = pixGetData(pix.get());
        int wpl = pixGetWpl(pix.get());
        for (int y = 0; y < h; ++y) {
            auto* row = reinterpret_cast<const uint32_t*>(data + static_cast<size_t>(y) * image.bytes_per_row());
            for (int x = 0; x < w; ++x) out[static_cast<size_t>(y) * wpl + x] = (row[x] & 0xFFFFFFu) << 8;
        }
        return pix;
    }

    // Reads one picture into the next page; false when Tesseract cannot
    // start (the result then says why).
    bool recognise(Pix* picture)
    {
        if (!ocrStarted_) {
            ocrStarted_ = true;
            if (ocr_.Init(nullptr, readerLanguages, tesseract::OEM_DEFAULT) != 0) {
                result_.state = ReadText::State::Missing;
                result_.reason = "A szövegfelismerés nyelvi adatai (tesseract-ocr-hun, tesseract-ocr-eng) nincsenek "
                                 "telepítve.";
                ocrMissing_ = true;
            }
            ocr_.SetPageSegMode(tesseract::PSM_AUTO);
        }
        if (ocrMissing_) return false;
        PixPtr clean = cleaned(picture);
        Pix* read = clean ? clean.get() : picture;
        ocr_.SetImage(read);
        ocr_.SetSourceResolution(std::max(pixGetXRes(picture), 70));
        std::unique_ptr<char[]> text(ocr_.GetUTF8Text());
        result_.pages.push_back(text ? text.get() : "");
        ocr_.Clear();
        return true;
    }

    ReadLimits limits_;
    ReadText result_;
    tesseract::TessBaseAPI ocr_;
    bool ocrStarted_ = false, ocrMissing_ = false;
};

}  // namespace

std::string readerEngine()
{
    return std::string("Tesseract ") + tesseract::TessBaseAPI::Version() + ", Poppler " + poppler::version_string();
}

ReadText readFileText(const std::string& path, const std::string& mimeType, const ReadLimits& limits)
{
    setMsgSeverity(L_SEVERITY_NONE);
    Reader reader(limits);
    if (mimeType == "application/pdf") return reader.pdf(path);
    if (isReadableAttachment(mimeType)) return reader.picture(path, mimeType == "image/tiff");
    ReadText unreadable;
    unreadable.state = ReadText::State::Unreadable;
    unreadable.reason = "Ebből a fájltípusból nem olvasható szöveg: " + mimeType;
    return unreadable;
}

}  // namespace velmora
