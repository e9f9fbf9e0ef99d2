// Headless platform for tests and tools.
#include "toolkit/windows/HeadlessPlatform.h"

#include "toolkit/core/Errors.h"
#include "toolkit/text/Text.h"
#include "toolkit/widgets/Font.h"

#include <cstdlib>

namespace tk {

void HeadlessPlatform::runUntil(const std::function<bool()>& done)
{
    while (!done()) {
        if (script_.empty()) throw EInvalidOperation("The event loop waits for input, but the test scripted none");
        auto step = std::move(script_.front());
        script_.pop_front();
        step();
    }
}

void HeadlessPlatform::advance(int ms)
{
    int64_t end = now_ + ms;
    for (;;) {
        // The earliest due timer; ties by id, so timers started first run first.
        int id = 0;
        int64_t due = end + 1;
        for (auto& [tid, t] : timers_)
            if (t.due < due) {
                due = t.due;
                id = tid;
            }
        if (id == 0) break;
        now_ = due;
        Timer& t = timers_.at(id);
        t.due += t.interval > 0 ? t.interval : 1;
        auto tick = t.tick;  // the tick may stop (erase) this timer
        tick();
    }
    now_ = end;
}

int HeadlessPlatform::startTimer(int intervalMs, std::function<void()> tick)
{
    int id = nextTimer_++;
    timers_[id] = Timer{intervalMs, now_ + (intervalMs > 0 ? intervalMs : 1), std::move(tick)};
    return id;
}

void HeadlessPlatform::stopTimer(int id)
{
    timers_.erase(id);
}

int HeadlessPlatform::charWidth(const TFont& font)
{
    int h = std::abs(font.height());
    int w = (h * 6 + 5) / 11;
    return w < 1 ? 1 : w;
}

int HeadlessPlatform::textWidth(const TFont& font, std::string_view text)
{
    return charCount(text) * charWidth(font);
}

int HeadlessPlatform::textHeight(const TFont& font)
{
    return std::abs(font.height()) + 2;
}

int HeadlessPlatform::invalidations(TWinControl* window) const
{
    auto it = invalidated_.find(window);
    return it == invalidated_.end() ? 0 : it->second;
}

}  // namespace tk
