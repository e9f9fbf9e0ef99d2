// TTimer: raises OnTimer every Interval milliseconds while Enabled.
#pragma once

#include "toolkit/core/Component.h"

namespace tk {

class TTimer : public TComponent {
    TK_CLASS(TTimer)
public:
    explicit TTimer(TComponent* owner);
    ~TTimer() override;

    bool enabled() const { return enabled_; }
    void setEnabled(bool v);
    int interval() const { return interval_; }
    void setInterval(int ms);

    Handler OnTimer;

protected:
    void loaded() override;

private:
    void update();
    void tick();
    bool enabled_ = true;
    int interval_ = 1000;
    int id_ = 0;
};

}  // namespace tk
