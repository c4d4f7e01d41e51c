#include "platform/forms/CaretBlink.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QTimer>

namespace forms {

namespace {

constexpr int IdleMs = 10000;

class CaretRest : public QObject {
public:
    explicit CaretRest(QObject* parent)
        : QObject(parent)
        , flashTime_(QApplication::cursorFlashTime())
    {
        idle_.setSingleShot(true);
        idle_.setInterval(IdleMs);
        connect(&idle_, &QTimer::timeout, this, [] { QApplication::setCursorFlashTime(0); });
        idle_.start();
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::MouseButtonPress:
        case QEvent::InputMethod:
            if (QApplication::cursorFlashTime() != flashTime_) QApplication::setCursorFlashTime(flashTime_);
            idle_.start();
            break;
        default: break;
        }
        return false;
    }

private:
    const int flashTime_;
    QTimer idle_;
};

} // namespace

void RestCaretWhenIdle()
{
    static QPointer<CaretRest> rest;
    if (qApp && !rest) rest = new CaretRest(qApp);
}

} // namespace forms
