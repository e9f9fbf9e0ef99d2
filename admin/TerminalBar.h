// A bar on one line of the terminal's standard error, "Copying [####....]
// 42%", written over as the work goes on and cleared when it ends, however
// it ends. Nothing is written where standard error is no terminal.
#pragma once

#include <cstdio>
#include <string>

namespace velmora {

class TerminalBar {
public:
    TerminalBar(const char* what, bool onTerminal) : what_(what), onTerminal_(onTerminal) {}
    ~TerminalBar()
    {
        if (onTerminal_ && shown_ >= 0) std::fprintf(stderr, "\r\033[K");
    }
    TerminalBar(const TerminalBar&) = delete;
    TerminalBar& operator=(const TerminalBar&) = delete;

    // The part done, from 0 to 1, and a note after the bar (the time left).
    void show(double done, const std::string& note = "")
    {
        int percent = static_cast<int>(done * 100);
        if (!onTerminal_ || (percent == shown_ && note == note_)) return;
        shown_ = percent;
        note_ = note;
        std::string bar(static_cast<size_t>(percent / 4), '#');
        bar.resize(25, '.');
        std::fprintf(stderr, "\r\033[K%s [%s] %3d%%%s%s", what_, bar.c_str(), percent, note.empty() ? "" : "  ",
                     note.c_str());
    }

private:
    const char* what_;
    bool onTerminal_;
    int shown_ = -1;
    std::string note_;
};

}  // namespace velmora
