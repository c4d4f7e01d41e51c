#include "components/skin/Skin.h"

#include <QFile>
#include <QWidget>

static void LoadSkinResources() { Q_INIT_RESOURCE(skin); }

Skin::Skin(QObject* parent)
    : QObject(parent)
{
    LoadSkinResources();
}

QString Skin::StyleSheet()
{
    LoadSkinResources();
    QFile file(QStringLiteral(":/skin/skin.qss"));
    if (!file.open(QIODevice::ReadOnly)) return QString();
    return QString::fromUtf8(file.readAll());
}

QIcon Skin::ProgramIcon()
{
    LoadSkinResources();
    return QIcon(QStringLiteral(":/skin/images/tessel.png"));
}

void Skin::ApplySkin(quintptr hWnd)
{
    QWidget* window = QWidget::find(static_cast<WId>(hWnd));
    if (!window) return;
    if (!previous_.contains(window)) {
        previous_.insert(window, window->styleSheet());
        connect(window, &QObject::destroyed, this, [this, window] { previous_.remove(window); });
    }
    window->setStyleSheet(StyleSheet());
}

void Skin::RemoveSkin(quintptr hWnd)
{
    QWidget* window = QWidget::find(static_cast<WId>(hWnd));
    if (!window || !previous_.contains(window)) return;
    disconnect(window, &QObject::destroyed, this, nullptr);
    window->setStyleSheet(previous_.take(window));
}

SkinLabel::SkinLabel(QWidget* parent, const QString& caption)
    : forms::Label(parent, caption)
{
    setProperty("skinned", true);
}
