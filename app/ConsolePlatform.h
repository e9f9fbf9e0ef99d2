// A headless platform driven from standard input, so that the designer can
// run on a machine without a display: each line is one gesture or question.
//   type TEXT                  types the text into the focused control
//   key NAME [MODS]            presses a key: Enter, Esc, Tab, Back, Delete,
//                              Insert, Left, Up, Right, Down, Home, End, PgUp,
//                              PgDn, Space, F1 to F12 or a letter or digit
//   click X Y [right] [MODS]   clicks at a screen point
//   dblclick X Y [MODS]        double-clicks at a screen point
//   press X Y [right] [MODS]   presses a mouse button at a screen point
//   move X Y [MODS]            moves the mouse (with the buttons held)
//   release X Y [right] [MODS] releases the button
//   close                      closes the active window as its frame's close box does
//   setclipboard MARK          the lines that follow, up to a line MARK, become
//                              the clipboard's text (line ends CR LF)
// MODS are among shift, ctrl and alt. Questions, which change nothing:
//   windows                    the shown windows and their places ("modal"
//                              marks a window shown modally)
//   where WINDOW.COMPONENT     the component's rectangle on the screen:
//                              "left top width height", or "none"
//   text WINDOW                the window's form text as it stands, then "end"
//   get WINDOW[.COMPONENT].PROPERTY
//                              one property in form-text notation
//   focus                      the focused control as WINDOW.COMPONENT, or "none"
//   rows WINDOW.GRID           a data grid's column titles, then each row,
//                              tab-separated display texts (tab, newline and
//                              backslash escaped as \t, \n, \\), then "end";
//                              "none" for no grid or no open data
//   clipboard                  the clipboard's text, then "end"
//   selection                  the designer's selected controls, the primary
//                              one first, one name a line, then "end"
//   handles WINDOW.COMPONENT   the sizing handles a selected control shows:
//                              eight lines "left top width height filled"
//                              (the primary one's) or "... hollow", clockwise
//                              from the top-left corner; "none" when it shows
//                              none
// The main window answers to frmClientMain also when a stored design has
// renamed it (frmClientMain_1).
// An error that reaches the application prints "error: TEXT" at once; its
// message box waits for Enter, Esc or Space as a person would dismiss it.
// When the input ends, the shown windows are printed and the program ends.
#pragma once

#include "toolkit/windows/HeadlessPlatform.h"

#include <iosfwd>
#include <optional>

namespace tk {
class TComponent;
class TDBGrid;
}

class ConsolePlatform : public tk::HeadlessPlatform {
public:
    ConsolePlatform(std::istream& in, std::ostream& out) : in_(in), out_(out) {}
    void runUntil(const std::function<bool()>& done) override;
    void showError(const std::string& text) override;
    // Says "opened PATH": the console's desktop is the person reading it.
    bool openWithDesktop(const std::string& path) override;
    // Writes through Qt's PDF writer on the offscreen platform.
    void printToPdf(const tk::Printout& printout, const std::string& path) override;
    std::vector<std::string> printers() override;
    bool printOn(const tk::Printout& printout, const std::string& printer) override;
    void printWindows();

private:
    void perform(const std::string& line);
    void mouse(const std::string& verb, std::istream& words);
    void key(std::istream& words);
    void where(const std::string& path);
    // A grid column's title cell, the column named by its field.
    void whereTitle(tk::TDBGrid& grid, const std::string& fieldName);
    void text(const std::string& windowName);
    void get(const std::string& path);
    void focus();
    void selection();
    void setClipboard(std::istream& words);
    void handles(const std::string& path);
    void rows(const std::string& path);

    std::istream& in_;
    std::ostream& out_;
    bool ended_ = false;
    bool printedLast_ = false;
    tk::TShiftState heldButtons_ = 0;
    std::optional<std::string> messageBox_;  // an error's box, until dismissed
};
