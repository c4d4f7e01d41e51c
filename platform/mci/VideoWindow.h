#pragma once

#include <QObject>
#include <QPointer>
#include <QSize>
#include <cstdint>

class QWidget;

namespace mci {

// The X window a video device's picture is drawn into, for the life of its player core (handed on
// from device to device). The playback library starts its output once, into this window, with the
// first file that has pictures; binding the device to a window of the program moves this window
// into it and keeps it at that window's size, so a new binding never restarts the output (each
// start of the output costs the library a new graphics context: time before the picture shows,
// and memory it keeps). Until it is shown the window is out of view. Made on Qt's own connection
// to the display; without an X display Ok() is false.
class VideoWindow : public QObject {
public:
    VideoWindow();
    ~VideoWindow() override;
    VideoWindow(const VideoWindow&) = delete;
    VideoWindow& operator=(const VideoWindow&) = delete;

    bool Ok() const { return window_ != 0; }
    std::int64_t Id() const { return window_; }

    // Moves the window into the given one, filling it; 0 takes it out again (shown, it is then a
    // window of its own). Nothing shows before Show.
    void BindTo(std::int64_t parent);
    // Brings the window into view: inside the bound window, or, with none bound, as a window of
    // its own of the given size.
    void Show(int width, int height);
    // Takes the window out of view and out of the window it is bound to, as it was made.
    void Hide();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Detach();
    void ShowAlone();
    void Resize(QSize size);

    std::uint32_t window_ = 0;
    std::uint32_t root_ = 0;
    std::int64_t parent_ = 0;
    bool shown_ = false;
    QSize ownSize_;
    // The bound window when it is a widget of this program: its size is followed, and the picture
    // window leaves it before its native window is destroyed (X would destroy children with it).
    QPointer<QWidget> widget_;
    QPointer<QObject> surface_;
};

} // namespace mci
