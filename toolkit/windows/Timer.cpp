// Timers on the platform's clock.
#include "toolkit/windows/Timer.h"

#include "toolkit/core/PropertyTable.h"
#include "toolkit/windows/Application.h"

namespace tk {

TK_DEFINE_CLASS(TTimer, TComponent)
{
    t.boolean("Enabled", &TTimer::enabled, &TTimer::setEnabled, true);
    t.integer("Interval", &TTimer::interval, &TTimer::setInterval, 1000);
    t.event("OnTimer", EventKind::Notify, &TTimer::OnTimer);
}

TTimer::TTimer(TComponent* owner) : TComponent(owner)
{
    update();
}

TTimer::~TTimer()
{
    if (id_ && Application) Application->platform().stopTimer(id_);
}

void TTimer::setEnabled(bool v)
{
    if (v == enabled_) return;
    enabled_ = v;
    update();
}

void TTimer::setInterval(int ms)
{
    if (ms < 0) ms = 0;
    if (ms == interval_) return;
    interval_ = ms;
    update();
}

void TTimer::loaded()
{
    TComponent::loaded();
    update();
}

void TTimer::update()
{
    if (!Application) return;
    if (id_) Application->platform().stopTimer(id_);
    id_ = 0;
    // A timer runs only when enabled, with an interval and a handler.
    if (enabled_ && interval_ > 0 && !loading())
        id_ = Application->platform().startTimer(interval_, [this] { tick(); });
}

void TTimer::tick()
{
    if (!OnTimer) return;
    Application->safely([&] {
        EventCall call;
        call.sender = this;
        OnTimer(call);
    });
}

}  // namespace tk
