#include "platform/forms/Menu.h"

#include <QMenu>
#include <QMenuBar>

namespace forms {

MenuItem::MenuItem(QMenuBar* bar, const QString& caption)
    : QObject(bar)
    , bar_(bar)
    , caption_(caption)
{
    submenu_ = new QMenu(caption, bar);
    action_ = bar->addMenu(submenu_);
    Wire();
}

MenuItem::MenuItem(MenuItem* menu, const QString& caption, const QKeySequence& shortcut)
    : QObject(menu)
    , caption_(caption)
{
    QMenu* parent = menu->Submenu();
    action_ = new QAction(caption, parent);
    action_->setSeparator(caption == QLatin1String("-"));
    if (!shortcut.isEmpty()) {
        action_->setShortcut(shortcut);
        action_->setShortcutContext(Qt::WindowShortcut);
    }
    parent->addAction(action_);
    Wire();
}

MenuItem::MenuItem(QObject* owner, const QString& caption)
    : QObject(owner)
    , caption_(caption)
{
    submenu_ = new QMenu(caption);
    ownsMenu_ = true;
    action_ = submenu_->menuAction();
    Wire();
}

MenuItem::~MenuItem()
{
    if (ownsMenu_) delete submenu_;
}

void MenuItem::Wire()
{
    connect(action_, &QAction::triggered, this, [this] {
        // The platform's menus never tick an item by themselves; the handler decides.
        action_->setCheckable(checked_);
        action_->setChecked(checked_);
        emit Click();
    });
}

QString MenuItem::Caption() const { return caption_; }

void MenuItem::setCaption(const QString& caption)
{
    caption_ = caption;
    action_->setText(caption);
    if (submenu_) submenu_->setTitle(caption);
}

void MenuItem::setChecked(bool on)
{
    checked_ = on;
    action_->setCheckable(on);
    action_->setChecked(on);
}

void MenuItem::setVisible(bool on)
{
    visible_ = on;
    action_->setVisible(on);
    if (!bar_) return;
    // A menu bar whose menus are all hidden disappears, and the window's client area grows.
    bool anyShown = false;
    for (const QAction* menu : bar_->actions())
        anyShown = anyShown || menu->isVisible();
    bar_->setVisible(anyShown);
}

QMenu* MenuItem::Submenu()
{
    if (!submenu_) {
        // An item becomes a menu when the first item is put under it.
        QMenu* owner = qobject_cast<QMenu*>(action_->parent());
        submenu_ = new QMenu(caption_, owner);
        action_->setMenu(submenu_);
    }
    return submenu_;
}

} // namespace forms
