// Pages of known Hungarian text made the way an office's scanner and
// word processor make them: a 300 dpi page image (clean, turned a few
// degrees, or speckled), and a two-page PDF whose first page has its own
// text and whose second is only a picture of a page.
#pragma once

#include <string>
#include <vector>

namespace scans {

// The words of a page: Hungarian with every accent, numbers and a date.
std::vector<std::string> pageLines(const std::string& keyword);

enum class Look { Clean, Turned, Speckled };
// A whole A4 page at 300 dpi, and the top of one, which holds the lines
// and is read in a fraction of the time.
inline constexpr int wholePage = 3508, pageTop = 1000;
// A PNG (or JPEG, by the name's ending) of a page with `lines`.
void writePage(const std::string& path, const std::vector<std::string>& lines, Look look = Look::Clean,
               int height = pageTop);
// A multi-page TIFF, a page for each list of lines.
void writeTiff(const std::string& path, const std::vector<std::vector<std::string>>& pages, int height = pageTop);
// A PDF: page one's lines as text, page two's (if any) only as a picture.
void writeTextAndPicturePdf(const std::string& path, const std::vector<std::string>& textPage,
                            const std::vector<std::string>& picturePage, int height = pageTop);

}  // namespace scans
