#pragma once

#include "platform/forms/Extent.h"

#include <QMainWindow>
#include <QStatusBar>
#include <QTreeWidget>

namespace forms {

class StatusPanel;

// A list in report style: rows of text under column headers, optionally with a check box in the
// first column. Rows are counted from 1, as the program's lists count them; column 0 is the row's
// own text and columns 1 .. are its sub-items.
class ListView : public QTreeWidget, public Extent {
    Q_OBJECT
public:
    enum class Align { Left, Right, Center };

    explicit ListView(QWidget* parent);

    void setCheckboxes(bool on) { checkboxes_ = on; }
    // Lets the list take files dropped from the desktop or another view; they arrive as
    // FilesDropped.
    void AcceptFiles(bool on);
    // Adds a column header of the width in twips.
    void AddColumn(const QString& caption, double widthTwips, Align align = Align::Left);

    int Count() const { return topLevelItemCount(); }
    // Adds a row with its texts (its own first, then the sub-items); returns its index.
    int Add(const QStringList& texts);
    void Remove(int index);
    void Clear() { clear(); }
    QString Text(int index, int column = 0) const;
    void setText(int index, int column, const QString& text);
    bool Checked(int index) const;
    void setChecked(int index, bool on);
    // The selected row, 0 when none; selecting 0 clears the selection.
    int SelectedIndex() const;
    void setSelectedIndex(int index);

signals:
    void ItemClick(int index);
    void ItemCheck(int index);
    void FilesDropped(const QStringList& files);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    QTreeWidgetItem* Row(int index) const;
    std::vector<Align> aligns_;
    bool checkboxes_ = false;
    bool acceptFiles_ = false;
};

// A status bar with panels of text, counted from 1, at the bottom of a form. A text longer than
// its panel is cut short there with an ellipsis rather than widening the form; the panel keeps
// the whole text.
class StatusBar : public QStatusBar {
    Q_OBJECT
public:
    // Creates the panels and puts the bar in the form; the last panel takes the remaining width.
    StatusBar(QMainWindow* form, int panels);

    int PanelCount() const { return static_cast<int>(panels_.size()); }
    QString PanelText(int panel) const;
    void setPanelText(int panel, const QString& text);

private:
    std::vector<StatusPanel*> panels_;
};

} // namespace forms
