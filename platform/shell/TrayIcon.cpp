#include "platform/shell/TrayIcon.h"

#include <QSystemTrayIcon>

namespace shell {

TrayIcon::TrayIcon(QObject* parent)
    : QObject(parent)
{
}

TrayIcon::~TrayIcon() { Remove(); }

bool TrayIcon::Add(const QIcon& icon, const QString& tip)
{
    if (!icon_) {
        icon_ = new QSystemTrayIcon(this);
        connect(icon_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
            switch (reason) {
            case QSystemTrayIcon::Trigger: emit Message(LeftButtonUp); break;
            case QSystemTrayIcon::Context: emit Message(RightButtonUp); break;
            case QSystemTrayIcon::DoubleClick: emit Message(LeftButtonDoubleClick); break;
            case QSystemTrayIcon::MiddleClick: emit Message(MiddleButtonUp); break;
            default: break;
            }
        });
    }
    icon_->setIcon(icon);
    icon_->setToolTip(tip);
    if (!QSystemTrayIcon::isSystemTrayAvailable()) return false;
    icon_->show();
    return true;
}

void TrayIcon::Remove()
{
    if (!icon_) return;
    icon_->hide();
    delete icon_;
    icon_ = nullptr;
}

bool TrayIcon::Added() const { return icon_ && icon_->isVisible(); }

} // namespace shell
