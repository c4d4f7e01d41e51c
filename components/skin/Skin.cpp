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
    if (!previous_.contains(hWnd)) previous_.insert(hWnd, window->styleSheet());
    window->setStyleSheet(StyleSheet());
}

void Skin::RemoveSkin(quintptr hWnd)
{
    if (!previous_.contains(hWnd)) return;
    const QString before = previous_.take(hWnd);
    if (QWidget* window = QWidget::find(static_cast<WId>(hWnd))) window->setStyleSheet(before);
}

SkinLabel::SkinLabel(QWidget* parent, const QString& caption)
    : forms::Label(parent, caption)
{
    setProperty("skinned", true);
}
