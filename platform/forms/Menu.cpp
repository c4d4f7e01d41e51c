#include "platform/forms/Menu.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>

namespace forms {

namespace {

// A menu item's key comes before the focused control's own editing keys, as on the platform the
// program was made for: a text box does not keep Ctrl+C or Ctrl+A when a menu item of its window
// owns the key.
class MenuKeysFirst : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::ShortcutOverride || !watched->isWidgetType()) return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        const QKeySequence pressed(key->keyCombination());
        const QWidget* window = static_cast<QWidget*>(watched)->window();
        for (const QAction* action : window->findChildren<QAction*>()) {
            if (action->shortcut() == pressed && action->isEnabled()) {
                // Left unaccepted, the key goes to the menu item's shortcut.
                event->ignore();
                return true;
            }
        }
        return false;
    }
};

void PutMenuKeysFirst()
{
    static MenuKeysFirst* filter = [] {
        auto* f = new MenuKeysFirst;
        f->setParent(qApp);
        qApp->installEventFilter(f);
        return f;
    }();
    (void)filter;
}

} // namespace

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
    // A separator is a line only: its "-" caption is not drawn beside it.
    const bool separator = caption == QLatin1String("-");
    action_ = new QAction(separator ? QString() : caption, parent);
    action_->setSeparator(separator);
    if (!shortcut.isEmpty()) {
        action_->setShortcut(shortcut);
        action_->setShortcutContext(Qt::WindowShortcut);
        PutMenuKeysFirst();
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
    action_->setText(action_->isSeparator() ? QString() : caption);
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
