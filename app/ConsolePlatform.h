// A headless platform driven from standard input, so that the designer can
// run on a machine without a display: each line is one gesture.
//   type TEXT          types the text into the focused control
//   key NAME [MODS]    presses a key: Enter, Esc, Tab, Back, Delete, Left,
//                      Up, Right, Down, Home, End, Space, F4 or a letter;
//                      MODS among shift, ctrl, alt
//   click X Y [right]  clicks at a screen point
//   windows            prints the shown windows and their places
//   close              closes the active window as its frame's close box does
// When the input ends, the shown windows are printed and the program ends.
#pragma once

#include "toolkit/HeadlessPlatform.h"

#include <iosfwd>

class ConsolePlatform : public tk::HeadlessPlatform {
public:
    ConsolePlatform(std::istream& in, std::ostream& out) : in_(in), out_(out) {}
    void runUntil(const std::function<bool()>& done) override;
    void printWindows();

private:
    void perform(const std::string& line);
    std::istream& in_;
    std::ostream& out_;
    bool ended_ = false;
    bool printedLast_ = false;
};
