// The platform without a screen: scripted input, a clock that only moves
// when the test advances it, and deterministic font metrics.
#pragma once

#include "toolkit/windows/Platform.h"

#include <deque>
#include <map>
#include <string>
#include <vector>

namespace tk {

class HeadlessPlatform : public Platform {
public:
    // Input that the event loop runs, one step per turn, while a modal
    // window or the main loop waits. Each step usually calls the input API.
    void script(std::function<void()> step) { script_.push_back(std::move(step)); }
    size_t pendingSteps() const { return script_.size(); }
    // Drops the steps no loop has taken.
    void clearScript() { script_.clear(); }

    // Moves the clock forward, running every timer that falls due, in order.
    void advance(int ms);

    // Character width of a font: (|Height| * 6 + 5) / 11 pixels per
    // character (6 for the usual Height -11); line height |Height| + 2.
    static int charWidth(const TFont& font);

    void setScreen(TRect r) { screen_ = r; }
    int invalidations(TWinControl* window) const;
    const std::vector<std::string>& errorsShown() const { return errors_; }

    void runUntil(const std::function<bool()>& done) override;
    int64_t now() override { return now_; }
    double today() override { return today_; }
    void setToday(double date) { today_ = date; }
    int startTimer(int intervalMs, std::function<void()> tick) override;
    void stopTimer(int id) override;
    int textWidth(const TFont& font, std::string_view text) override;
    int textHeight(const TFont& font) override;
    std::string clipboardText() override { return clipboard_; }
    void setClipboardText(const std::string& text) override { clipboard_ = text; }
    TRect screenRect() override { return screen_; }
    void invalidate(TWinControl* window) override { ++invalidated_[window]; }
    void showError(const std::string& text) override { errors_.push_back(text); }

private:
    struct Timer {
        int interval;
        int64_t due;
        std::function<void()> tick;
    };
    std::deque<std::function<void()>> script_;
    std::map<int, Timer> timers_;
    int nextTimer_ = 1;
    int64_t now_ = 0;
    double today_ = 46362;  // 6 December 2026
    TRect screen_{0, 0, 1280, 1024};
    std::string clipboard_;
    std::map<TWinControl*, int> invalidated_;
    std::vector<std::string> errors_;
};

}  // namespace tk
