// What the toolkit model needs from outside: an event loop, a clock with
// timers, font metrics, the clipboard, the screen, and a way to tell the
// front end that a window must be drawn again. The headless implementation
// serves the tests; the Qt one lives in gui/.
#pragma once

#include "toolkit/core/Types.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tk {

// What to print: a title, lines of text under it, captions each with its
// value, then a table (its heading, column titles and rows), laid out by
// the platform on as many pages as it needs. A list has no captions; one
// document has its fields as captions and its history as the table.
struct Printout {
    struct Caption {
        std::string caption;
        std::string value;
    };
    std::string title;
    std::vector<std::string> lines;
    std::vector<Caption> captions;
    std::string tableHeading;
    // What a column's texts are, for a reader that keeps types (a
    // spreadsheet); a column without one is text. A date's text is as
    // stored ("yyyy-mm-dd hh:mm:ss"): a page shows it as the form does.
    enum class Kind { Text, Number, Date };
    std::vector<Kind> kinds;
    std::vector<std::string> columns;
    std::vector<std::vector<std::string>> rows;
};

class TFont;
class TWinControl;

class Platform {
public:
    virtual ~Platform() = default;

    // The platform of the running application, or none before there is
    // one; controls measure text and read the clock through it.
    static Platform* current() { return current_; }

    // Runs the event loop (the main loop, or the nested loop of a modal
    // window) until `done` answers true.
    virtual void runUntil(const std::function<bool()>& done) = 0;

    // Milliseconds on a monotonic clock.
    virtual int64_t now() = 0;
    // Today's date as a day number (day 0 is 30 December 1899).
    virtual double today() = 0;
    // Calls `tick` every `intervalMs` until stopped; returns an id.
    virtual int startTimer(int intervalMs, std::function<void()> tick) = 0;
    virtual void stopTimer(int id) = 0;

    // Pixel metrics of a font.
    virtual int textWidth(const TFont& font, std::string_view text) = 0;
    virtual int textHeight(const TFont& font) = 0;

    virtual std::string clipboardText() = 0;
    virtual void setClipboardText(const std::string& text) = 0;

    virtual TRect screenRect() = 0;

    // A top-level window's look changed (or it was shown, hidden, moved).
    virtual void invalidate(TWinControl* window) = 0;
    // An error escaped an event handler; the model has recorded its text.
    virtual void showError(const std::string& text) = 0;

    // A file to save into, chosen in the platform's own dialog: its path,
    // or an empty path when the user cancelled; none when the platform has
    // no dialog of its own, and the program asks in a window of its own.
    // With a suggested name the dialog offers it and any type; without
    // one, the `types` given by their endings (".pdf", ".csv", ".xlsx").
    virtual std::optional<std::string> chooseSaveFile(const std::string& /*title*/,
                                                      const std::string& /*suggestedName*/ = "",
                                                      const std::vector<std::string>& /*types*/ = {})
    {
        return std::nullopt;
    }
    // Whether chooseSaveFile shows a dialog of the platform's own.
    virtual bool hasFileDialog() const { return false; }
    // Files to open, several at once, chosen in the platform's own dialog;
    // none when the user cancelled (or there is no dialog).
    virtual std::vector<std::string> chooseOpenFiles(const std::string& /*title*/) { return {}; }
    // Hands a file to the desktop's viewer for its type; false when the
    // platform has no desktop to hand it to.
    virtual bool openWithDesktop(const std::string& /*path*/) { return false; }
    // Writes the printout as a PDF file of A4 pages; raises with the reason
    // when it cannot. A platform without printing refuses.
    virtual void printToPdf(const Printout& printout, const std::string& path);
    // The printers the platform knows, by name; none without printing.
    virtual std::vector<std::string> printers() { return {}; }
    // Prints on that printer; on a display, the platform's print dialog
    // is shown first, and false means the user cancelled it. Raises with
    // the reason when the printer cannot take the job.
    virtual bool printOn(const Printout& printout, const std::string& printer);

private:
    friend class TApplication;
    static inline Platform* current_ = nullptr;
};

}  // namespace tk
