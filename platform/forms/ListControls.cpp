#include "platform/forms/ListControls.h"

#include "platform/forms/RuntimeError.h"

#include <QLineEdit>

namespace forms {

namespace {
// Runs a change of the list without raising Click.
class Quietly {
public:
    explicit Quietly(bool& flag)
        : flag_(flag)
        , before_(flag)
    {
        flag_ = true;
    }
    ~Quietly() { flag_ = before_; }

private:
    bool& flag_;
    bool before_;
};
} // namespace

ComboBox::ComboBox(QWidget* parent, Style style)
    : QComboBox(parent)
    , Extent(this)
{
    setEditable(style == Style::DropDownCombo);
    setInsertPolicy(QComboBox::NoInsert);
    connect(this, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!quiet_ && index >= 0) emit Click();
    });
}

void ComboBox::setListIndex(int index)
{
    if (index < -1 || index >= count()) Raise(Err::InvalidPropertyValue);
    if (index == -1) {
        Quietly q(quiet_);
        setCurrentIndex(-1);
        if (isEditable()) setEditText(QString());
        return;
    }
    setCurrentIndex(index);
}

QString ComboBox::List(int index) const
{
    if (index < 0 || index >= count()) return QString();
    return itemText(index);
}

void ComboBox::setList(int index, const QString& text)
{
    if (index < 0 || index >= count()) Raise(Err::InvalidPropertyArrayIndex);
    setItemText(index, text);
}

void ComboBox::setText(const QString& text)
{
    if (isEditable()) {
        setEditText(text);
        return;
    }
    const int row = findText(text);
    if (row < 0) Raise(Err::InvalidPropertyValue);
    setCurrentIndex(row);
}

void ComboBox::AddItem(const QString& item, int index)
{
    if (index < -1 || index > count()) Raise(Err::InvalidPropertyArrayIndex);
    Quietly q(quiet_);
    const int selected = currentIndex();
    const QString text = currentText();
    insertItem(index < 0 ? count() : index, item);
    // Qt selects the first row added to an empty list; the list keeps having no selection.
    if (selected < 0) {
        setCurrentIndex(-1);
        if (isEditable()) setEditText(text);
    }
}

void ComboBox::RemoveItem(int index)
{
    if (index < 0 || index >= count()) Raise(Err::InvalidPropertyArrayIndex);
    Quietly q(quiet_);
    const int selected = currentIndex();
    removeItem(index);
    if (selected == index) setCurrentIndex(-1);
}

void ComboBox::Clear()
{
    Quietly q(quiet_);
    clear();
    if (isEditable()) setEditText(QString());
}

int ComboBox::ItemData(int index) const
{
    if (index < 0 || index >= count()) Raise(Err::InvalidPropertyArrayIndex);
    return itemData(index).toInt();
}

void ComboBox::setItemData(int index, int value)
{
    if (index < 0 || index >= count()) Raise(Err::InvalidPropertyArrayIndex);
    QComboBox::setItemData(index, value);
}

ListBox::ListBox(QWidget* parent)
    : QListWidget(parent)
    , Extent(this)
{
    connect(this, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!quiet_ && row >= 0) emit Click();
    });
}

void ListBox::setListIndex(int index)
{
    if (index < -1 || index >= count()) Raise(Err::InvalidPropertyValue);
    if (index == -1) {
        Quietly q(quiet_);
        setCurrentRow(-1);
        return;
    }
    setCurrentRow(index);
}

QString ListBox::List(int index) const
{
    if (index < 0 || index >= count()) return QString();
    return item(index)->text();
}

void ListBox::setList(int index, const QString& text)
{
    if (index < 0 || index >= count()) Raise(Err::InvalidPropertyArrayIndex);
    item(index)->setText(text);
}

QString ListBox::Text() const { return currentRow() < 0 ? QString() : currentItem()->text(); }

void ListBox::AddItem(const QString& item, int index)
{
    if (index < -1 || index > count()) Raise(Err::InvalidPropertyArrayIndex);
    Quietly q(quiet_);
    insertItem(index < 0 ? count() : index, item);
}

void ListBox::RemoveItem(int index)
{
    if (index < 0 || index >= count()) Raise(Err::InvalidPropertyArrayIndex);
    Quietly q(quiet_);
    const int selected = currentRow();
    delete takeItem(index);
    if (selected == index) setCurrentRow(-1);
}

void ListBox::Clear()
{
    Quietly q(quiet_);
    clear();
}

bool ListBox::Selected(int index) const
{
    if (index < 0 || index >= count()) Raise(Err::InvalidPropertyArrayIndex);
    return item(index)->isSelected();
}

void ListBox::setSelected(int index, bool on)
{
    if (index < 0 || index >= count()) Raise(Err::InvalidPropertyArrayIndex);
    item(index)->setSelected(on);
}

} // namespace forms
