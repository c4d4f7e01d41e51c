#pragma once

#include "platform/forms/Extent.h"

#include <QComboBox>
#include <QListWidget>

namespace forms {

// The list vocabulary shared by combo boxes and list boxes: rows by index, the selected row as
// ListIndex (−1 for none). Setting ListIndex to another row raises Click; removing the selected
// row leaves no selection; an index outside the rows is refused with error 380.
class ComboBox : public QComboBox, public Extent {
    Q_OBJECT
public:
    enum class Style { DropDownCombo = 0, DropDownList = 2 };
    explicit ComboBox(QWidget* parent, Style style = Style::DropDownCombo);

    int ListIndex() const { return currentIndex(); }
    void setListIndex(int index);
    int ListCount() const { return count(); }
    QString List(int index) const;
    void setList(int index, const QString& text);
    QString Text() const { return currentText(); }
    void setText(const QString& text);
    void AddItem(const QString& item, int index = -1);
    void RemoveItem(int index);
    void Clear();
    int ItemData(int index) const;
    void setItemData(int index, int value);

signals:
    void Click();

private:
    bool quiet_ = false;
};

class ListBox : public QListWidget, public Extent {
    Q_OBJECT
public:
    explicit ListBox(QWidget* parent);

    int ListIndex() const { return currentRow(); }
    void setListIndex(int index);
    int ListCount() const { return count(); }
    QString List(int index) const;
    void setList(int index, const QString& text);
    QString Text() const;
    void AddItem(const QString& item, int index = -1);
    void RemoveItem(int index);
    void Clear();
    bool Selected(int index) const;
    void setSelected(int index, bool on);

signals:
    void Click();

private:
    bool quiet_ = false;
};

} // namespace forms
