#include "tests/e2e/Desktop.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>

namespace desktop {

QString Run(const QString& tool, const QStringList& arguments)
{
    QProcess process;
    process.start(tool, arguments);
    process.waitForFinished(20000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

void PressKeys(const QString& window, const QStringList& keys)
{
    // The window manager makes a window the active one before it hands it the keyboard, and just
    // after a dialog has closed the keyboard's focus is nowhere for a moment: keys sent then are
    // lost. They wait until the window has the focus.
    Run("xdotool", {"windowactivate", "--sync", window});
    Run("xdotool", {"windowfocus", "--sync", window});
    Run("xdotool", QStringList {"key", "--clearmodifiers"} + keys);
}

QStringList WmStates(const QString& window)
{
    const QString reply = Run("xprop", {"-id", window, "_NET_WM_STATE"});
    return reply.section('=', 1).split(',', Qt::SkipEmptyParts).replaceInStrings(QRegularExpression("\\s"), "");
}

QRect ClientRect(const QString& window)
{
    const QString info = Run("xwininfo", {"-id", window});
    const auto number = [&](const QString& label) {
        const auto m = QRegularExpression(label + ":\\s*(-?\\d+)").match(info);
        return m.hasMatch() ? m.captured(1).toInt() : 0;
    };
    return QRect(number("Absolute upper-left X"), number("Absolute upper-left Y"), number("Width"), number("Height"));
}

QRect FrameRect(const QString& window)
{
    const QRect client = ClientRect(window);
    const QStringList extents
        = Run("xprop", {"-id", window, "_NET_FRAME_EXTENTS"}).section('=', 1).split(',', Qt::SkipEmptyParts);
    if (extents.size() != 4) return client;
    return client.adjusted(-extents[0].trimmed().toInt(), -extents[2].trimmed().toInt(), extents[1].trimmed().toInt(),
        extents[3].trimmed().toInt());
}

QStringList WindowsOf(qint64 pid, const QString& title)
{
    // Without --all, xdotool lists the windows that meet any one of the conditions.
    QStringList arguments {"search", "--all", "--onlyvisible", "--pid", QString::number(pid)};
    if (!title.isEmpty()) arguments << "--name" << title;
    return Run("xdotool", arguments).split('\n', Qt::SkipEmptyParts);
}

bool WaitUntil(const std::function<bool()>& condition, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        if (condition()) return true;
        if (clock.elapsed() > timeoutMs) return false;
        QThread::msleep(100);
    }
}

double ColouredShare(const QImage& image)
{
    if (image.isNull() || image.width() < 2 || image.height() < 2) return 0;
    qint64 coloured = 0;
    for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2)
            if (image.pixelColor(x, y).hsvSaturation() > 120) ++coloured;
    return double(coloured) / ((image.width() / 2) * (image.height() / 2));
}

} // namespace desktop
