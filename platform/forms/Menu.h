#pragma once

#include <QAction>
#include <QKeySequence>
#include <QObject>
#include <QPointer>

class QMenu;
class QMenuBar;

namespace forms {

// A menu item: a caption ("-" makes a separator line), a check mark, enabled and visible states
// and a shortcut key. An item that has items under it is a menu; its Submenu pops up. Choosing
// the item raises Click; the check mark changes only when the program sets Checked.
class MenuItem : public QObject {
    Q_OBJECT
public:
    // A menu at the top of a menu bar.
    MenuItem(QMenuBar* bar, const QString& caption);
    // An item under a menu.
    MenuItem(MenuItem* menu, const QString& caption, const QKeySequence& shortcut = {});
    // A menu that pops up only (a context menu), not shown in any menu bar.
    explicit MenuItem(QObject* owner, const QString& caption);
    ~MenuItem() override;

    QString Caption() const;
    void setCaption(const QString& caption);
    bool Checked() const { return checked_; }
    void setChecked(bool on);
    bool Enabled() const { return action_->isEnabled(); }
    void setEnabled(bool on) { action_->setEnabled(on); }
    bool Visible() const { return visible_; }
    void setVisible(bool on);

    QAction* Action() const { return action_; }
    QMenu* Submenu();

signals:
    void Click();

private:
    void Wire();
    QAction* action_ = nullptr;
    QPointer<QMenu> submenu_;
    QPointer<QMenuBar> bar_;
    bool ownsMenu_ = false;
    QString caption_;
    bool checked_ = false;
    bool visible_ = true;
};

} // namespace forms
