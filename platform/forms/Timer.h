#pragma once

#include <QObject>
#include <QTimer>

namespace forms {

// A timer control: raises Tick every Interval milliseconds while Enabled. Enabling it (again)
// restarts its count; an interval of 0 never ticks. The platform's resolution is 15 ms, so a
// shorter interval ticks every 15 ms.
class Timer : public QObject {
    Q_OBJECT
public:
    explicit Timer(QObject* parent, int interval = 0, bool enabled = true);

    int Interval() const { return interval_; }
    void setInterval(int ms);
    bool Enabled() const { return enabled_; }
    void setEnabled(bool on);

    static constexpr int Resolution = 15;

signals:
    void Tick();

private:
    void Rearm();
    QTimer timer_;
    int interval_;
    bool enabled_;
};

} // namespace forms
