#include "tests/tools/MenuDriver.h"

#include "tests/e2e/PlayerProcess.h"

#include <QElapsedTimer>
#include <QMap>
#include <QProcess>
#include <QRect>
#include <QStringList>
#include <QThread>

namespace {

QString Xdotool(const QStringList& arguments)
{
    QProcess tool;
    tool.start(QStringLiteral("xdotool"), arguments);
    tool.waitForFinished(10000);
    return QString::fromUtf8(tool.readAllStandardOutput());
}

QStringList VisibleWindows(qint64 pid)
{
    return Xdotool({"search", "--onlyvisible", "--pid", QString::number(pid)}).split('\n', Qt::SkipEmptyParts);
}

QRect Geometry(const QString& window)
{
    QMap<QString, int> values;
    for (const QString& line : Xdotool({"getwindowgeometry", "--shell", window}).split('\n', Qt::SkipEmptyParts))
        values.insert(line.section('=', 0, 0), line.section('=', 1).toInt());
    return QRect(values.value("X"), values.value("Y"), values.value("WIDTH"), values.value("HEIGHT"));
}

// A window of the process that came up since the list was taken.
QString WaitForNewWindow(qint64 pid, const QStringList& known, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < timeoutMs) {
        for (const QString& w : VisibleWindows(pid))
            if (!known.contains(w)) return w;
        QThread::msleep(50);
    }
    return {};
}

} // namespace

bool ChooseMenuItem(const QString& window, qint64 pid, const QString& keys, const std::vector<MenuRow>& path)
{
    QStringList known = VisibleWindows(pid);
    if (!known.contains(window)) known << window;
    QString menu;
    for (int attempt = 0; attempt < 6 && menu.isEmpty(); ++attempt) {
        Xdotool({"windowactivate", "--sync", window});
        Xdotool({"windowfocus", "--sync", window});
        Xdotool({"key", "--window", window, keys});
        menu = WaitForNewWindow(pid, known, 3000);
    }
    for (std::size_t level = 0; level < path.size(); ++level) {
        if (menu.isEmpty()) return false;
        known << menu;
        // A menu is placed and sized as it comes up: aim only once it has settled.
        QRect area = Geometry(menu);
        for (int check = 0; check < 20; ++check) {
            QThread::msleep(50);
            const QRect now = Geometry(menu);
            if (now == area && !area.isEmpty()) break;
            area = now;
        }
        const int y = area.top() + area.height() * (2 * path[level].row + 1) / (2 * path[level].rows);
        Xdotool({"mousemove", QString::number(area.left() + 30), QString::number(y)});
        QThread::msleep(150);
        Xdotool({"click", "1"});
        if (level + 1 < path.size()) menu = WaitForNewWindow(pid, known, 5000);
    }
    return !menu.isEmpty();
}

QString OpenFromMenu(PlayerProcess& player, const QString& window, const QString& keys, const std::vector<MenuRow>& path,
    const QString& title, int timeoutMs)
{
    for (int attempt = 0; attempt < 3; ++attempt) {
        ChooseMenuItem(window, player.Process().processId(), keys, path);
        const QString found = player.WaitForWindow(title, timeoutMs);
        if (!found.isEmpty()) return found;
        for (int i = 0; i < 3; ++i)
            Xdotool({"key", "--window", window, "Escape"});
    }
    return {};
}
