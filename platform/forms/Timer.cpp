#include "platform/forms/Timer.h"

#include <algorithm>

namespace forms {

Timer::Timer(QObject* parent, int interval, bool enabled)
    : QObject(parent)
    , interval_(interval)
    , enabled_(enabled)
{
    // Coarse, like the platform's own timers: timers of the whole program that fall due within a
    // few milliseconds of each other are served by one wake-up of the processor.
    timer_.setTimerType(Qt::CoarseTimer);
    connect(&timer_, &QTimer::timeout, this, &Timer::Tick);
    Rearm();
}

void Timer::setInterval(int ms)
{
    interval_ = std::max(0, ms);
    Rearm();
}

void Timer::setEnabled(bool on)
{
    enabled_ = on;
    Rearm();
}

void Timer::Rearm()
{
    timer_.stop();
    if (enabled_ && interval_ > 0) timer_.start(std::max(interval_, Resolution));
}

} // namespace forms
