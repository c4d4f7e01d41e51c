#pragma once

#include <QObject>

namespace forms {

// Tells when the mouse pointer moves anywhere on the screen, from the display server's own
// motion reports, so that nobody has to ask the server for the pointer's place over and over.
// Where the display offers no such reports (no X11, or an X server without XInput 2),
// Watching() is false and Moved is never raised: the caller asks for the place itself.
class PointerMotion : public QObject {
    Q_OBJECT
public:
    explicit PointerMotion(QObject* parent);
    ~PointerMotion() override;

    bool Watching() const { return watching_; }

signals:
    // The pointer moved; raised once for every motion report of the server, however small.
    void Moved();

private:
    bool watching_ = false;
};

} // namespace forms
