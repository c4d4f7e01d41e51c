#pragma once

#include <QIcon>
#include <QObject>
#include <QString>

class QSystemTrayIcon;

namespace shell {

// The program's icon in the desktop's notification area. The user's clicks on it arrive as the
// platform's mouse message numbers.
class TrayIcon : public QObject {
    Q_OBJECT
public:
    // Message numbers that Message reports.
    static constexpr int LeftButtonUp = 514;
    static constexpr int LeftButtonDoubleClick = 515;
    static constexpr int RightButtonUp = 517;
    static constexpr int MiddleButtonUp = 520;

    explicit TrayIcon(QObject* parent = nullptr);
    ~TrayIcon() override;

    // Puts the icon with its tip in the notification area; false when the desktop has none.
    bool Add(const QIcon& icon, const QString& tip);
    void Remove();
    bool Added() const;

signals:
    void Message(int message);

private:
    QSystemTrayIcon* icon_ = nullptr;
};

} // namespace shell
