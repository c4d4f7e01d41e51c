#pragma once

#include <QObject>
#include <functional>

class QSocketNotifier;

// Turns SIGTERM and SIGINT into a call on the user-interface thread.
class QuitOnSignal : public QObject {
    Q_OBJECT
public:
    explicit QuitOnSignal(std::function<void()> onSignal);
    ~QuitOnSignal() override;

private:
    std::function<void()> onSignal_;
    QSocketNotifier* notifier_ = nullptr;
};
